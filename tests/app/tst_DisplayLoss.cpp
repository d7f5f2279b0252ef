// The application on a private X server that is killed under it, as when a session ends, the
// display server crashes or a remote display is lost: the text typed just before must be on
// disk, or in the recovery file when the projects folder cannot be written. The application is
// this program again, run with --run-app on the X11 platform.
#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "ProjectStore.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

const QString runAppMode = u"--run-app"_s; // <projects folder> <audio file> <break the store: 0|1>
const QString typed = u"Typed just before the display went away, çğüş"_s;

// Opens the recording, types, says so, and runs until the display goes away.
int runApp(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList arguments = QApplication::arguments();
    const QString projects = arguments[2];
    DictaroApp dictaro(projects, std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    dictaro.show();
    dictaro.appState().openAudioFile(arguments[3]);
    TranscriptionSession* session = dictaro.appState().currentSession();
    if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 10000))
        return 3;
    if (arguments[4] == u"1") {
        // A plain file where the projects folder was: every save fails.
        QDir(projects).removeRecursively();
        QFile blocker(projects);
        if (!blocker.open(QIODevice::WriteOnly))
            return 4;
    }
    auto* editor = dictaro.mainWindow().findChild<TranscriptEditor*>();
    if (!editor)
        return 5;
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::KeyAction::Click, editor, Qt::Key_unknown, c, Qt::NoModifier);
    if (session->transcript() != typed)
        return 6;
    std::puts("typed");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

class tst_DisplayLoss : public QObject
{
    Q_OBJECT

private slots:
    void displayLost_typedTextIsKept_data();
    void displayLost_typedTextIsKept();
};

void tst_DisplayLoss::displayLost_typedTextIsKept_data()
{
    QTest::addColumn<bool>("storeBroken");
    QTest::newRow("saved to the project") << false;
    QTest::newRow("projects folder unwritable: recovery file") << true;
}

void tst_DisplayLoss::displayLost_typedTextIsKept()
{
    QFETCH(bool, storeBroken);
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    if (xvfb.isEmpty())
        QSKIP("Xvfb is not installed");
    constexpr int rounds = 5;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString projects = home.filePath(u"data/Dictaro/Projects"_s);
        const QString audio = home.filePath(u"talk.wav"_s);
        QVERIFY(test::copyFixture(u"speech.wav"_s, audio));

        QProcess server;
        server.start(xvfb, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s,
                            u"1024x768x24"_s});
        QVERIFY(server.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return server.canReadLine(); }, 10000));
        const QString display = u":"_s + QString::fromLatin1(server.readLine().trimmed());

        QProcess app;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, display);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"HOME"_s, home.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        environment.insert(u"XDG_CACHE_HOME"_s, home.filePath(u"cache"_s));
        environment.insert(u"XDG_STATE_HOME"_s, home.filePath(u"state"_s));
        environment.insert(u"TMPDIR"_s, home.path());
        app.setProcessEnvironment(environment);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QCoreApplication::applicationFilePath(),
                  {runAppMode, projects, audio, storeBroken ? u"1"_s : u"0"_s});
        QVERIFY(app.waitForStarted());
        const bool ready = QTest::qWaitFor([&] { return app.canReadLine(); }, 20000);
        if (!ready) {
            server.kill();
            server.waitForFinished();
            app.kill();
            app.waitForFinished();
            QFAIL(qPrintable(
                u"round %1: the application did not get ready (exit code %2)"_s.arg(round).arg(
                    app.exitCode())));
        }
        QCOMPARE(app.readLine().trimmed(), "typed");

        server.kill(); // as a crash would: the connection just breaks
        QVERIFY(server.waitForFinished());
        QVERIFY2(app.waitForFinished(20000), "the application outlived its display");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);

        const QString kept = storeBroken ? home.filePath(u"state/Dictaro/Recovery"_s) : projects;
        const QList<Project> found = ProjectStore(kept).loadAll();
        QVERIFY2(found.size() == 1, qPrintable(u"round %1: nothing in %2"_s.arg(round).arg(kept)));
        QCOMPARE(found.first().transcript, typed);
    }
}

int main(int argc, char* argv[])
{
    if (argc == 5 && runAppMode == QLatin1StringView(argv[1]))
        return runApp(argc, argv);
    QCoreApplication app(argc, argv);
    tst_DisplayLoss test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DisplayLoss.moc"
