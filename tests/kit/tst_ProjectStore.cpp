#include "ProjectStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

using namespace dictaro;

namespace {

Project makeProject(const QString& name, const char* updatedAt = "2025-03-01T10:00:00Z")
{
    const QDateTime updated = QDateTime::fromString(QLatin1String(updatedAt), Qt::ISODate);
    return Project{QUuid::createUuid(),
                   name,
                   std::nullopt,
                   name + QStringLiteral(".mp3"),
                   QStringLiteral("text"),
                   1.5,
                   1.0,
                   updated,
                   updated};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QStringList names(const QList<Project>& projects)
{
    QStringList result;
    for (const Project& project : projects)
        result.append(project.name);
    return result;
}

} // namespace

class tst_ProjectStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QVERIFY(m_home.isValid()); }

    void defaultDirectory_isInsideTheDataFolder();
    void construction_createsMissingParents();
    void saveAndLoad_roundTripUnderTheUpperCaseIdName();
    void save_replacesTheFileAndLeavesNoTemporaries();
    void save_failsWhenTheFolderVanished();
    void save_failedWriteKeepsThePreviousVersion();
    void uncreatableFolder_listsNothingAndRefusesSaves();
    void loadAll_listsOnlyReadableJsonRecords();
    void loadAll_sortsNewestFirstAndKeepsListingOrderForTies();
    void loadAll_listsCopiesUnderOtherNames();
    void load_throwsForMissingOrCorruptFiles();
    void remove_deletesOnlyThatFileAndThrowsWhenMissing();

private:
    QTemporaryDir m_home;
    int m_round = 0;
    QString freshFolder() { return m_home.filePath(QStringLiteral("store%1").arg(++m_round)); }
};

void tst_ProjectStore::defaultDirectory_isInsideTheDataFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QCOMPARE(ProjectStore::defaultDirectory(), base + QStringLiteral("/Dictaro/Projects"));
}

void tst_ProjectStore::construction_createsMissingParents()
{
    const QString folder = freshFolder() + QStringLiteral("/a/b/Projects");
    ProjectStore store(folder);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(store.directory(), folder);
    QVERIFY(store.loadAll().isEmpty());
    ProjectStore again(folder); // an existing folder is fine
    QVERIFY(QFileInfo(folder).isDir());
}

void tst_ProjectStore::saveAndLoad_roundTripUnderTheUpperCaseIdName()
{
    ProjectStore store(freshFolder());
    Project project = makeProject(QStringLiteral("A"));
    project.id = QUuid::fromString(QLatin1String("0f8fad5b-d9cb-469f-a165-70867728950e"));
    store.save(project);

    const QString expected =
        store.directory() + QStringLiteral("/0F8FAD5B-D9CB-469F-A165-70867728950E.json");
    QCOMPARE(store.filePath(project.id), expected);
    QVERIFY(QFile::exists(expected));
    QCOMPARE(store.load(project.id), project);
}

void tst_ProjectStore::save_replacesTheFileAndLeavesNoTemporaries()
{
    ProjectStore store(freshFolder());
    Project project = makeProject(QStringLiteral("first"));
    store.save(project);
    project.transcript = QStringLiteral("second version");
    store.save(project);

    const QStringList entries =
        QDir(store.directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(entries, QStringList{QFileInfo(store.filePath(project.id)).fileName()});
    QCOMPARE(store.load(project.id).transcript, QStringLiteral("second version"));
}

void tst_ProjectStore::save_failsWhenTheFolderVanished()
{
    ProjectStore store(freshFolder());
    QVERIFY(QDir(store.directory()).removeRecursively());
    QVERIFY_THROWS_EXCEPTION(StoreError, store.save(makeProject(QStringLiteral("lost"))));
    QVERIFY(!QFileInfo::exists(store.directory())); // the store does not recreate it
    QVERIFY(store.loadAll().isEmpty());
}

void tst_ProjectStore::save_failedWriteKeepsThePreviousVersion()
{
#if defined(Q_OS_UNIX)
    // A file size limit makes the write fail the way a full disk does, even for root.
    ProjectStore store(freshFolder());
    Project project = makeProject(QStringLiteral("kept"));
    store.save(project);
    const QByteArray before = encodeProject(project);

    project.transcript = QString(64 * 1024, u'x');
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        store.save(project);
    } catch (const StoreError&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(threw);
    QFile file(store.filePath(project.id));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QDir(store.directory()).entryList(QDir::Files | QDir::Hidden).size(), 1);
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_ProjectStore::uncreatableFolder_listsNothingAndRefusesSaves()
{
    // A folder below a regular file can never be created, whatever the permissions.
    const QString blocker = freshFolder();
    writeFile(blocker, "not a folder");
    ProjectStore store(blocker + QStringLiteral("/Dictaro/Projects"));
    QVERIFY(!QFileInfo::exists(store.directory()));
    QVERIFY(store.loadAll().isEmpty());
    QVERIFY_THROWS_EXCEPTION(StoreError, store.save(makeProject(QStringLiteral("x"))));
}

void tst_ProjectStore::loadAll_listsOnlyReadableJsonRecords()
{
    ProjectStore store(freshFolder());
    const QDir dir(store.directory());
    store.save(makeProject(QStringLiteral("valid")));
    writeFile(dir.filePath(QStringLiteral("notes.txt")), "hello");
    writeFile(dir.filePath(QStringLiteral("UPPER.JSON")),
              encodeProject(makeProject(QStringLiteral("upper"))));
    writeFile(dir.filePath(QStringLiteral(".hidden")),
              encodeProject(makeProject(QStringLiteral("hidden without extension"))));
    writeFile(dir.filePath(QStringLiteral("json")),
              encodeProject(makeProject(QStringLiteral("no dot"))));
    writeFile(dir.filePath(QStringLiteral("corrupt.json")), "{\"id\": ");
    writeFile(dir.filePath(QStringLiteral("empty.json")), "");
    QVERIFY(dir.mkdir(QStringLiteral("folder.json")));
    writeFile(dir.filePath(QStringLiteral(".hidden-copy.json")),
              encodeProject(makeProject(QStringLiteral("hidden json"))));

    QStringList listed = names(store.loadAll());
    listed.sort();
    QCOMPARE(listed, (QStringList{QStringLiteral("hidden json"), QStringLiteral("valid")}));
}

void tst_ProjectStore::loadAll_sortsNewestFirstAndKeepsListingOrderForTies()
{
    ProjectStore store(freshFolder());
    store.save(makeProject(QStringLiteral("A"), "2025-03-01T10:00:00Z"));
    store.save(makeProject(QStringLiteral("B"), "2025-03-01T10:00:01Z"));
    QCOMPARE(names(store.loadAll()), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));

    // Equal whole seconds: the folder listing's own order decides.
    ProjectStore ties(freshFolder());
    QList<Project> saved;
    for (int i = 0; i < 6; ++i) {
        saved.append(makeProject(QString::number(i), "2025-03-01T10:00:00Z"));
        ties.save(saved.last());
    }
    QStringList listingOrder;
    const QStringList files = QDir(ties.directory()).entryList(QDir::Files, QDir::Unsorted);
    for (const QString& file : files) {
        for (const Project& project : saved) {
            if (QFileInfo(ties.filePath(project.id)).fileName() == file)
                listingOrder.append(project.name);
        }
    }
    QCOMPARE(names(ties.loadAll()), listingOrder);
}

void tst_ProjectStore::loadAll_listsCopiesUnderOtherNames()
{
    ProjectStore store(freshFolder());
    Project project = makeProject(QStringLiteral("original"));
    store.save(project);
    QVERIFY(QFile::copy(store.filePath(project.id),
                        store.directory() + QStringLiteral("/copy of project.json")));
    QCOMPARE(store.loadAll().size(), 2);
    project.updatedAt = project.updatedAt.addSecs(5);
    store.save(project);
    const QList<Project> all = store.loadAll();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.first().updatedAt, project.updatedAt);
}

void tst_ProjectStore::load_throwsForMissingOrCorruptFiles()
{
    ProjectStore store(freshFolder());
    const Project project = makeProject(QStringLiteral("p"));
    QVERIFY_THROWS_EXCEPTION(StoreError, store.load(project.id));
    writeFile(store.filePath(project.id), "{}");
    QVERIFY_THROWS_EXCEPTION(StoreError, store.load(project.id));
}

void tst_ProjectStore::remove_deletesOnlyThatFileAndThrowsWhenMissing()
{
    ProjectStore store(freshFolder());
    const Project keep = makeProject(QStringLiteral("keep"));
    const Project drop = makeProject(QStringLiteral("drop"));
    store.save(keep);
    store.save(drop);
    store.remove(drop.id);
    QVERIFY(!QFile::exists(store.filePath(drop.id)));
    QVERIFY_THROWS_EXCEPTION(StoreError, store.remove(drop.id));
    QCOMPARE(names(store.loadAll()), QStringList{QStringLiteral("keep")});
}

QTEST_GUILESS_MAIN(tst_ProjectStore)
#include "tst_ProjectStore.moc"
