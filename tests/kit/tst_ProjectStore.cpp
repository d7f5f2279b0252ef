#include "ProjectStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

// A save of `project` that must fail; the previous file stays byte for byte, nothing else is
// left in the folder.
void expectFailedSaveKeepsPrevious(ProjectStore& store, const Project& project)
{
    const QString path = store.filePath(project.id);
    const QByteArray before = readFile(path);
    QVERIFY(!before.isEmpty());
    QVERIFY_THROWS_EXCEPTION(StoreError, store.save(project));
    QCOMPARE(readFile(path), before);
    QCOMPARE(entries(store), QStringList{QFileInfo(path).fileName()});
}

} // namespace

class tst_ProjectStore : public QObject
{
    Q_OBJECT

private slots:
    void save_failedWriteUnderASizeLimitKeepsThePreviousVersion();
    void save_fullFileSystemKeepsThePreviousVersion();
    void save_makesADeletedFolderAgainButNotItsParents();
    void store_removesTemporariesLeftByAKilledSave();
    void loadAll_listsOnlyReadableRegularJsonRecordsOncePerId();
    void loadAll_sortsNewestFirstAndKeepsListingOrderForTies();
    void remove_deletesOnlyThatFileAndThrowsWhenMissing();

private:
    QTemporaryDir m_home;
    int m_round = 0;
    QString freshFolder() { return m_home.filePath(u"store%1/data/Projects"_s.arg(++m_round)); }
};

void tst_ProjectStore::save_failedWriteUnderASizeLimitKeepsThePreviousVersion()
{
#if defined(Q_OS_UNIX)
    ProjectStore store(freshFolder());
    Project project = makeProject(u"first"_s);
    store.save(project);
    project.transcript = u"second version"_s;
    store.save(project);
    QCOMPARE(store.load(project.id), project);

    // A file size limit makes a write fail the way a full disk does, even for root; 10 KB
    // under a 4 KB limit fails inside the write buffer, not at the first write.
    project.transcript = QString(10 * 1024, u'x');
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, old.rlim_max};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    expectFailedSaveKeepsPrevious(store, project);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
#else
    QSKIP("needs a file size limit");
#endif
}

void tst_ProjectStore::save_fullFileSystemKeepsThePreviousVersion()
{
#if defined(Q_OS_LINUX)
    const QString mountPoint = m_home.filePath(u"small"_s);
    QVERIFY(QDir().mkpath(mountPoint));
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("cannot mount a small file system here (needs root)");
    ProjectStore store(mountPoint + u"/Projects"_s);
    Project project = makeProject(u"small"_s);
    store.save(project);
    // Fill the disk up to the last few kilobytes, then save a record of under 16 KB.
    QFile filler(mountPoint + u"/filler"_s);
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
    }
    filler.close();
    project.transcript = QString(12 * 1024, u'y');
    expectFailedSaveKeepsPrevious(store, project);
    QVERIFY(::umount(QFile::encodeName(mountPoint).constData()) == 0);
#else
    QSKIP("mounts a tmpfs");
#endif
}

// The projects folder deleted while the application runs is made again by the next save, but
// not when the data folder it lives in is gone too.
void tst_ProjectStore::save_makesADeletedFolderAgainButNotItsParents()
{
    ProjectStore store(freshFolder());
    QVERIFY(QDir(store.directory()).removeRecursively());
    store.save(makeProject(u"again"_s));
    QCOMPARE(names(store.loadAll()), QStringList{u"again"_s});
    const QString data = QDir::cleanPath(store.directory() + u"/../.."_s);
    QVERIFY(QDir(data).removeRecursively());
    QVERIFY_THROWS_EXCEPTION(StoreError, store.save(makeProject(u"nowhere"_s)));
    QVERIFY(!QFileInfo::exists(data));
}

void tst_ProjectStore::store_removesTemporariesLeftByAKilledSave()
{
    const QString folder = freshFolder();
    QVERIFY(QDir().mkpath(folder));
    const QString leftover = u"0F8FAD5B-D9CB-469F-A165-70867728950E.json.Ab3xYz"_s;
    writeFile(folder + u"/"_s + leftover, "{\"id\"");
    writeFile(folder + u"/notes.json.backup"_s, "mine");
    const ProjectStore store(folder);
    QCOMPARE(entries(store), QStringList{u"notes.json.backup"_s});
}

// Only regular ".json" files that decode are listed: a FIFO, a link to a device or a huge
// file never hangs or exhausts the start. A copy of a record under another name is listed
// once, from the file named after its identity even when the copy is newer.
void tst_ProjectStore::loadAll_listsOnlyReadableRegularJsonRecordsOncePerId()
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
    put("corrupt.json", "{\"id\": ");
    put(".hidden-copy.json", encodeProject(makeProject(u"hidden json"_s)));
    Project copy = valid;
    copy.name = u"newer copy"_s;
    copy.updatedAt = copy.updatedAt.addSecs(60);
    put("copy of valid.json", encodeProject(copy));
    Project orphan = makeProject(u"orphan copy"_s);
    put("a.json", encodeProject(orphan));
    orphan.name = u"orphan newer"_s;
    orphan.updatedAt = orphan.updatedAt.addSecs(60);
    put("b.json", encodeProject(orphan));
    QVERIFY(dir.mkdir(u"folder.json"_s));
#if defined(Q_OS_UNIX)
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"fifo.json"_s)).constData(), 0600), 0);
    QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"zero.json"_s)));
    QFile huge(dir.filePath(u"huge.json"_s));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(257LL * 1024 * 1024)); // sparse
    huge.close();
#endif

    QStringList listed = names(store.loadAll());
    listed.sort();
    const QStringList expected{u"hidden json"_s, u"orphan newer"_s, u"valid"_s};
    QCOMPARE(listed, expected);
    QStringList summarised;
    for (const ProjectSummary& summary : store.summaries())
        summarised << summary.name;
    summarised.sort();
    QCOMPARE(summarised, expected);
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
    QCOMPARE(store.summaries().size(), 2);
    store.remove(drop.id);
    QVERIFY_THROWS_EXCEPTION(StoreError, store.remove(drop.id));
    QCOMPARE(names(store.loadAll()), QStringList{u"keep"_s});
    QCOMPARE(store.summaries().size(), 1);
}

QTEST_GUILESS_MAIN(tst_ProjectStore)
#include "tst_ProjectStore.moc"
