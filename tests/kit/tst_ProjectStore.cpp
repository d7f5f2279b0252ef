#include "ProjectStore.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
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

#if defined(Q_OS_LINUX)
// Whether saving `project` throws while files may not grow beyond 4 KB, the way a full disk fails.
bool saveFailsOverFourKilobytes(ProjectStore& store, const Project& project)
{
    rlimit old{};
    if (getrlimit(RLIMIT_FSIZE, &old) != 0)
        return false;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, old.rlim_max};
    bool failed = false;
    if (setrlimit(RLIMIT_FSIZE, &small) == 0) {
        try {
            store.save(project);
        } catch (const StoreError&) {
            failed = true;
        }
        setrlimit(RLIMIT_FSIZE, &old);
    }
    std::signal(SIGXFSZ, previousHandler);
    return failed;
}
#endif

} // namespace

class tst_ProjectStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    int m_round = 0;
    QString freshFolder() { return m_home.filePath(u"store%1/data/Projects"_s.arg(++m_round)); }

private slots:
    // A write that fails the way a full disk does (a file size limit, also for root; 10 KB under
    // 4 KB fails inside the write buffer), a replacement that cannot be renamed into place (a file
    // mounted over the record) and a full small file system all throw and leave the previous file
    // and nothing else.
    void save_failureKeepsThePreviousVersion()
    {
#if defined(Q_OS_LINUX)
        ProjectStore store(freshFolder());
        Project project = makeProject(u"first"_s);
        store.save(project);
        const QString path = store.filePath(project.id);
        const QByteArray before = test::readFile(path);
        project.transcript = QString(10 * 1024, u'x');
        QVERIFY(saveFailsOverFourKilobytes(store, project));
        QCOMPARE(test::readFile(path), before);
        QCOMPARE(entries(store), QStringList{QFileInfo(path).fileName()});

        const QString over = m_home.filePath(u"over.json"_s);
        QVERIFY(test::writeFile(over, before));
        if (::mount(QFile::encodeName(over).constData(), QFile::encodeName(path).constData(),
                    nullptr, MS_BIND, nullptr) != 0)
            QSKIP("cannot mount over a file here (needs root)");
        project.transcript = u"short"_s;
        QVERIFY_THROWS_EXCEPTION(StoreError, store.save(project));
        QCOMPARE(entries(store), QStringList{QFileInfo(path).fileName()});
        QCOMPARE(::umount(QFile::encodeName(path).constData()), 0);
        QCOMPARE(test::readFile(path), before);

        // A small file system filled up to the last few kilobytes, with a record of under 16 KB.
        const QString tiny = m_home.filePath(u"small"_s);
        QVERIFY(QDir().mkpath(tiny));
        QCOMPARE(::mount("tmpfs", QFile::encodeName(tiny).constData(), "tmpfs", 0, "size=64k"), 0);
        ProjectStore full(tiny + u"/Projects"_s);
        full.save(project);
        const QString fullPath = full.filePath(project.id);
        const QByteArray saved = test::readFile(fullPath);
        QFile filler(tiny + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
        }
        filler.close();
        project.transcript = QString(12 * 1024, u'y');
        QVERIFY_THROWS_EXCEPTION(StoreError, full.save(project));
        QCOMPARE(test::readFile(fullPath), saved);
        QCOMPARE(entries(full), QStringList{QFileInfo(fullPath).fileName()});
        QCOMPARE(::umount(QFile::encodeName(tiny).constData()), 0);
#else
        QSKIP("needs a file size limit and bind mounts");
#endif
    }

    // The projects folder deleted while the application runs is made again by the next save, but
    // not when the data folder it lives in is gone too.
    void save_makesADeletedFolderAgainButNotItsParents()
    {
        ProjectStore store(freshFolder());
        QVERIFY(QDir(store.directory()).removeRecursively());
        Project again = makeProject(u"again"_s);
        again.id = QUuid::fromString(u"0f8fad5b-d9cb-469f-a165-70867728950e"_s);
        store.save(again);
        QCOMPARE(entries(store), QStringList{u"0F8FAD5B-D9CB-469F-A165-70867728950E.json"_s});
        const QString data = QDir::cleanPath(store.directory() + u"/../.."_s);
        QVERIFY(QDir(data).removeRecursively());
        QVERIFY_THROWS_EXCEPTION(StoreError, store.save(makeProject(u"nowhere"_s)));
        QVERIFY(!QFileInfo::exists(data));
    }

    void store_removesTemporariesLeftByAKilledSave()
    {
        const QString folder = freshFolder();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(test::writeFile(folder + u"/0F8FAD5B-D9CB-469F-A165-70867728950E.json.Ab3xYz"_s,
                                "{\"id\""));
        QVERIFY(
            test::writeFile(folder + u"/0F8FAD5B-D9CB-469F-A165-70867728950E.words.aB3xYz"_s, "{"));
        QVERIFY(test::writeFile(folder + u"/notes.json.backup"_s, "mine"));
        const ProjectStore store(folder);
        QCOMPARE(entries(store), QStringList{u"notes.json.backup"_s});
    }

    // Only regular ".json" files that decode are listed: a FIFO, a link to a device or a huge
    // file never hangs or exhausts the start. A copy of a record under another name is listed
    // once, from the file named after its identity even when the copy is newer (ten of them, so
    // that some copy is listed after its record whatever order the folder lists in), else the
    // newest copy.
    void loadAll_listsOnlyReadableRegularJsonRecordsOncePerId()
    {
        ProjectStore store(freshFolder());
        const QDir dir(store.directory());
        const auto put = [&](const QString& name, const Project& project) {
            QVERIFY(test::writeFile(dir.filePath(name), encodeProject(project)));
        };
        QStringList expected{u"hidden json"_s, u"orphan newer"_s};
        for (int i = 0; i < 10; ++i) {
            Project project = makeProject(u"named %1"_s.arg(i));
            store.save(project);
            expected << project.name;
            project.name = u"newer copy"_s;
            project.updatedAt = project.updatedAt.addSecs(60);
            put(u"copy %1.json"_s.arg(i), project);
        }
        Project orphan = makeProject(u"orphan copy"_s);
        put(u"a.json"_s, orphan);
        orphan.name = u"orphan newer"_s;
        orphan.updatedAt = orphan.updatedAt.addSecs(60);
        put(u"b.json"_s, orphan);
        put(u"UPPER.JSON"_s, makeProject(u"upper"_s));
        put(u".hidden-copy.json"_s, makeProject(u"hidden json"_s));
        QVERIFY(test::writeFile(dir.filePath(u"corrupt.json"_s), "{\"id\": "));
        QVERIFY(dir.mkdir(u"folder.json"_s));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"fifo.json"_s)).constData(), 0600), 0);
        QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"zero.json"_s)));
        QFile huge(dir.filePath(u"huge.json"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(257LL * 1024 * 1024)); // sparse
        huge.close();

        QStringList listed = names(store.loadAll());
        QStringList summarised;
        for (const ProjectSummary& summary : store.summaries())
            summarised << summary.name;
        listed.sort();
        summarised.sort();
        expected.sort();
        QCOMPARE(listed, expected);
        QCOMPARE(summarised, expected);
    }

    // Newest first; equal whole seconds keep the folder listing's own order. Removing deletes only
    // that record, and throws when it is gone.
    void loadAll_sortsNewestFirstAndKeepsListingOrderForTies()
    {
        ProjectStore store(freshFolder());
        const Project newest = makeProject(u"newest"_s, "2025-03-01T10:00:01Z");
        store.save(newest);
        for (int i = 0; i < 24; ++i) { // enough for an unstable sort to reorder; named by file
            Project tie = makeProject({});
            tie.name = QFileInfo(store.filePath(tie.id)).fileName();
            store.save(tie);
        }
        QStringList expected = QDir(store.directory()).entryList(QDir::Files, QDir::Unsorted);
        expected.removeOne(QFileInfo(store.filePath(newest.id)).fileName());
        expected.prepend(newest.name);
        QCOMPARE(names(store.loadAll()), expected);

        store.remove(newest.id);
        QVERIFY_THROWS_EXCEPTION(StoreError, store.remove(newest.id));
        expected.removeFirst();
        QCOMPARE(names(store.loadAll()), expected);
        QCOMPARE(store.summaries().size(), expected.size());
    }

    // A record in a file not named after its identity (copied in by hand) is listed from the newest
    // such file, opens from it and can be removed. Saving moves it to its own name: the file it
    // came from goes once the new one is written, and stays when that fails. A copy beside the
    // named file is left alone.
    void fileOfAnotherName_opensMovesOnSaveAndIsRemoved()
    {
        ProjectStore store(freshFolder());
        const QDir dir(store.directory());
        Project project = makeProject(u"copied in"_s);
        Project older = project;
        older.name = u"older copy"_s;
        older.updatedAt = older.updatedAt.addSecs(-60);
        QVERIFY(test::writeFile(dir.filePath(u"older.json"_s), encodeProject(older)));
        QVERIFY(test::writeFile(dir.filePath(u"interview.json"_s), encodeProject(project)));
        QCOMPARE(names(store.loadAll()), QStringList{project.name});
        QCOMPARE(store.load(project.id), project);

        const QString named = QFileInfo(store.filePath(project.id)).fileName();
#if defined(Q_OS_LINUX)
        project.transcript = QString(10 * 1024, u'x');
        QVERIFY(saveFailsOverFourKilobytes(store, project));
        QCOMPARE(entries(store), (QStringList{u"interview.json"_s, u"older.json"_s}));
#endif
        project.transcript = u"typed"_s;
        store.save(project);
        QCOMPARE(entries(store), (QStringList{named, u"older.json"_s}));
        QCOMPARE(store.load(project.id), project);
        QCOMPARE(names(store.loadAll()), QStringList{project.name});

        const Project other = makeProject(u"other"_s);
        QVERIFY(test::writeFile(dir.filePath(u"other.json"_s), encodeProject(other)));
        store.remove(other.id);
        QCOMPARE(entries(store), (QStringList{named, u"older.json"_s}));
        QVERIFY_THROWS_EXCEPTION(StoreError, store.remove(other.id));
    }
};

QTEST_GUILESS_MAIN(tst_ProjectStore)
#include "tst_ProjectStore.moc"
