#include "SingleInstance.h"
#include "TestFiles.h"

#include <cstdio>

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

// The later starts are this program again, run with one of these first arguments.
const QString secondStartMode = u"--second-start"_s; // <folder> <timeout ms> [files…]
const QString holdMode = u"--hold"_s;                // <folder>: lock it, say so, run until killed

int secondStart(const QString& folder, int timeoutMs, const QStringList& files)
{
    SingleInstance::Result result = SingleInstance::acquire(folder);
    if (result.status != SingleInstance::Status::Secondary)
        return 3;
    return result.instance->sendToPrimary(files, timeoutMs) ? 0 : 2;
}

int hold(const QString& folder)
{
    SingleInstance::Result result = SingleInstance::acquire(folder);
    if (result.status != SingleInstance::Status::Primary)
        return 3;
    std::puts("holding");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

class tst_SingleInstance : public QObject
{
    Q_OBJECT

    void startSelf(QProcess& process, const QStringList& arguments)
    {
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments(arguments);
        process.start();
        QVERIFY(process.waitForStarted());
    }

    QTemporaryDir m_runtime; // the user's runtime folder, for this process and the later starts
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_folder;

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        m_folder = m_home->filePath(u"Dictaro/Projects"_s);
    }

    void secondStart_handsItsFilesOver_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected"); // relative to the later start's working folder
        QTest::newRow("no file: just come to the front") << QStringList() << QStringList();
        // The lock and the socket of a process killed with SIGKILL stay behind and must not block.
        QTest::newRow("files, after a holder was killed")
            << QStringList{u"rec.wav"_s, u"/x y/kayıt ğ.wav"_s}
            << QStringList{u"work/rec.wav"_s, u"/x y/kayıt ğ.wav"_s};
    }

    void secondStart_handsItsFilesOver()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);

        if (!files.isEmpty()) {
            QProcess holder;
            startSelf(holder, {holdMode, m_folder});
            QVERIFY(holder.waitForReadyRead(10000));
            QCOMPARE(SingleInstance::acquire(m_folder).status, SingleInstance::Status::Secondary);
            holder.kill();
            QVERIFY(holder.waitForFinished());
            QVERIFY(QFile::exists(SingleInstance::lockFilePath(m_folder)));
        }

        SingleInstance::Result first = SingleInstance::acquire(m_folder);
        QCOMPARE(first.status, SingleInstance::Status::Primary);
        QSignalSpy activated(first.instance.get(), &SingleInstance::activated);

        QVERIFY(QDir(m_home->path()).mkdir(u"work"_s));
        QProcess second;
        second.setWorkingDirectory(m_home->filePath(u"work"_s));
        startSelf(second, QStringList{secondStartMode, m_folder, u"10000"_s} + files);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 15000);
        QCOMPARE(second.exitCode(), 0);

        QCOMPARE(activated.size(), 1);
        for (QString& path : expected) {
            if (!path.startsWith(u'/'))
                path = m_home->filePath(path);
        }
        QCOMPARE(activated.first().first().toStringList(), expected);
    }

    // Deleting the projects folder (the application makes it again) must not free the lock. A
    // later start that gets no answer (this process, blocked, answers nobody) says so.
    void lock_survivesTheProjectsFolderBeingRecreated_unansweredStartSaysSo()
    {
        SingleInstance::Result first = SingleInstance::acquire(m_folder);
        QCOMPARE(first.status, SingleInstance::Status::Primary);
        QVERIFY(QDir(m_folder).removeRecursively());
        QCOMPARE(SingleInstance::acquire(m_folder).status, SingleInstance::Status::Secondary);
        // Another way to the same folder finds the same lock.
        QVERIFY(QFile::link(m_home->filePath(u"Dictaro"_s), m_home->filePath(u"link"_s)));
        QCOMPARE(SingleInstance::acquire(m_home->filePath(u"link/Projects/../Projects"_s)).status,
                 SingleInstance::Status::Secondary);
        QProcess second;
        startSelf(second, {secondStartMode, m_folder, u"300"_s, u"rec.wav"_s});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 2);
    }

    // A lock file left empty or damaged (a crash while writing it, a full disk) names no process:
    // it must not lock the user out.
    void lock_namingNoProcess_isTakenOver_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\xff\xfe not a lock \x01\n\n\n");
        QTest::newRow("a process id that is no number") << QByteArray("12ab\ndictaro\nhost\n");
        // Another host name, as after the host was renamed: the process is checked all the same.
        QTest::newRow("a dead process on another host")
            << QByteArray("2147483646\ndictaro\nelsewhere\n");
    }

    void lock_namingNoProcess_isTakenOver()
    {
        QFETCH(QByteArray, contents);
        QVERIFY(QDir().mkpath(m_folder)); // the lock is named after the folder's real path
        QVERIFY(test::writeFile(SingleInstance::lockFilePath(m_folder), contents));
        SingleInstance::Result result = SingleInstance::acquire(m_folder);
        QCOMPARE(result.status, SingleInstance::Status::Primary);
        QCOMPARE(SingleInstance::acquire(m_folder).status, SingleInstance::Status::Secondary);
    }

    // A lock that can be neither read nor replaced, or no projects folder: no writing at all.
    void lock_thatCannotBeChecked_fails()
    {
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QDir().mkpath(SingleInstance::lockFilePath(m_folder)));
        const SingleInstance::Result result = SingleInstance::acquire(m_folder);
        QCOMPARE(result.status, SingleInstance::Status::Failed);
        QVERIFY(!result.instance);
        QVERIFY(!result.errorString.isEmpty());

        QVERIFY(test::writeFile(m_home->filePath(u"file"_s), {}));
        QCOMPARE(SingleInstance::acquire(m_home->filePath(u"file/Projects"_s)).status,
                 SingleInstance::Status::Failed);
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 4 && arguments[1] == secondStartMode)
        return secondStart(arguments[2], arguments[3].toInt(), arguments.mid(4));
    if (arguments.size() == 3 && arguments[1] == holdMode)
        return hold(arguments[2]);
    tst_SingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SingleInstance.moc"
