#include "ProjectStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

Project makeProject(const QString& name, const char* updatedAt = "2025-03-01T10:00:00Z")
{
    Project project;
    project.id = QUuid::createUuid();
    project.name = name;
    project.createdAt = project.updatedAt =
        QDateTime::fromString(QLatin1String(updatedAt), Qt::ISODate);
    return project;
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

QStringList entries(const ProjectStore& store)
{
    return QDir(store.directory())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class tst_ProjectStore : public QObject
{
    Q_OBJECT

private slots:
    void save_replacesTheFileAndFailedWritesKeepThePreviousVersion();
    void loadAll_listsOnlyReadableJsonRecords();
    void loadAll_sortsNewestFirstAndKeepsListingOrderForTies();
    void remove_deletesOnlyThatFileAndThrowsWhenMissing();

private:
    QTemporaryDir m_home;
    int m_round = 0;
    QString freshFolder() { return m_home.filePath(u"store%1"_s.arg(++m_round)); }
};

void tst_ProjectStore::save_replacesTheFileAndFailedWritesKeepThePreviousVersion()
{
#if defined(Q_OS_UNIX)
    ProjectStore store(freshFolder() + u"/a/b"_s); // missing parents are created
    Project project = makeProject(u"first"_s);
    project.id = QUuid::fromString(QLatin1String("0f8fad5b-d9cb-469f-a165-70867728950e"));
    store.save(project);
    project.transcript = u"second version"_s;
    store.save(project);
    QCOMPARE(store.load(project.id), project);
    const QByteArray before = encodeProject(project);

    // A file size limit makes the write fail the way a full disk does, even for root.
    project.transcript = QString(64 * 1024, u'x');
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, old.rlim_max};
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
    // One file, named by the upper-case id, holding the last good version; no temporaries.
    QCOMPARE(entries(store), QStringList{u"0F8FAD5B-D9CB-469F-A165-70867728950E.json"_s});
    QFile file(store.filePath(project.id));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_ProjectStore::loadAll_listsOnlyReadableJsonRecords()
{
    ProjectStore store(freshFolder());
    const QDir dir(store.directory());
    const Project valid = makeProject(u"valid"_s);
    store.save(valid);
    const auto put = [&](const char* name, const QByteArray& bytes) {
        writeFile(dir.filePath(QLatin1String(name)), bytes);
    };
    put("notes.txt", "hello");
    put("UPPER.JSON", encodeProject(makeProject(u"upper"_s)));
    put("json", encodeProject(makeProject(u"no dot"_s)));
    put("corrupt.json", "{\"id\": ");
    put(".hidden-copy.json", encodeProject(makeProject(u"hidden json"_s)));
    put("copy of valid.json", encodeProject(valid)); // the same id twice is listed twice
    QVERIFY(dir.mkdir(u"folder.json"_s));

    QStringList listed = names(store.loadAll());
    listed.sort();
    QCOMPARE(listed, (QStringList{u"hidden json"_s, u"valid"_s, u"valid"_s}));
}

void tst_ProjectStore::loadAll_sortsNewestFirstAndKeepsListingOrderForTies()
{
    ProjectStore store(freshFolder());
    const Project newest = makeProject(u"newest"_s, "2025-03-01T10:00:01Z");
    store.save(newest);
    for (int i = 0; i < 24; ++i) { // enough for an unstable sort to reorder; named by file
        Project tie = makeProject({});
        tie.name = QFileInfo(store.filePath(tie.id)).fileName();
        store.save(tie);
    }
    // Equal whole seconds: the folder listing's own order decides.
    QStringList expected = QDir(store.directory()).entryList(QDir::Files, QDir::Unsorted);
    expected.removeOne(QFileInfo(store.filePath(newest.id)).fileName());
    expected.prepend(newest.name);
    QCOMPARE(names(store.loadAll()), expected);
}

void tst_ProjectStore::remove_deletesOnlyThatFileAndThrowsWhenMissing()
{
    ProjectStore store(freshFolder());
    const Project drop = makeProject(u"drop"_s);
    store.save(makeProject(u"keep"_s));
    store.save(drop);
    store.remove(drop.id);
    QVERIFY_THROWS_EXCEPTION(StoreError, store.remove(drop.id));
    QCOMPARE(names(store.loadAll()), QStringList{u"keep"_s});
}

QTEST_GUILESS_MAIN(tst_ProjectStore)
#include "tst_ProjectStore.moc"
