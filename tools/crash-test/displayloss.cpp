// The display-loss case of the crash test: the application runs on a private X server, text is
// typed, and the server is killed under it (a display-server crash, a session that ends, a lost
// remote display). The typed text must be in the project file, or in the recovery file when the
// projects folder cannot be written; every other round breaks the folder first.
#include "displayloss.h"

#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "ProjectStore.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace dictaro;

namespace {

const QString typed = QStringLiteral("typed as the display went away, çğüş ");

// Two seconds of a quiet 440 Hz tone as 16-bit mono PCM at 44.1 kHz.
bool writeTone(const QString& path)
{
    constexpr quint32 rate = 44100;
    constexpr quint32 frames = 2 * rate;
    QByteArray wav;
    const auto u32 = [&](quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        wav.append(bytes, 4);
    };
    const auto u16 = [&](quint16 value) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        wav.append(bytes, 2);
    };
    wav += "RIFF";
    u32(36 + 2 * frames);
    wav += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav += "data";
    u32(2 * frames);
    for (quint32 frame = 0; frame < frames; ++frame)
        u16(quint16(qint16(3000 * std::sin(2 * M_PI * 440 * frame / rate))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}

bool waitForLine(QProcess& process, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine()) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 100)));
    }
    return true;
}

} // namespace

int runDisplayLossApp(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString projects = QString::fromLocal8Bit(argv[2]);
    DictaroApp dictaro(projects, std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    dictaro.show();
    dictaro.appState().openAudioFile(QString::fromLocal8Bit(argv[3]));
    TranscriptionSession* session = dictaro.appState().currentSession();
    const QDeadlineTimer deadline(20000);
    while (session && !session->engine()->isLoaded() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!session || !session->engine()->isLoaded())
        return 3;
    if (argv[4][0] == '1') {
        QDir(projects).removeRecursively();
        QFile blocker(projects);
        if (!blocker.open(QIODevice::WriteOnly))
            return 4;
    }
    auto* editor = dictaro.mainWindow().findChild<TranscriptEditor*>();
    if (!editor)
        return 5;
    for (const QChar c : typed) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(editor, &press);
    }
    // Stands for a library loaded once the session was open (a spelling dictionary, say) whose
    // clean-up at exit crashes under a thread still in it: neither before nor after the text is
    // kept may the process run it.
    std::atexit([] { std::_Exit(70); });
    std::puts("typed");
    std::fflush(stdout);
    return QApplication::exec();
}

int runDisplayLoss(int rounds, const QString& self)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        std::fprintf(stderr, "crashtest: Xvfb is not installed\n");
        return 1;
    }
    int saved = 0;
    int recovered = 0;
    int lost = 0;
    int endedBadly = 0;
    for (int round = 0; round < rounds; ++round) {
        const bool storeBroken = round % 2 == 1;
        QTemporaryDir home;
        const QString projects = home.filePath(QStringLiteral("data/Dictaro/Projects"));
        const QString audio = home.filePath(QStringLiteral("tone.wav"));
        if (!home.isValid() || !writeTone(audio)) {
            std::fprintf(stderr, "crashtest: cannot prepare a folder\n");
            return 1;
        }
        QProcess server;
        server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server.waitForStarted() || !waitForLine(server, 10000)) {
            std::fprintf(stderr, "crashtest: Xvfb did not start\n");
            return 1;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"),
                           QLatin1Char(':') + QString::fromLatin1(server.readLine().trimmed()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("c")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                           home.filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("XDG_STATE_HOME"),
                           home.filePath(QStringLiteral("state")));
        environment.insert(QStringLiteral("TMPDIR"), home.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        QProcess app;
        app.setProcessEnvironment(environment);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(self, {QStringLiteral("--display-loss-app"), projects, audio,
                         storeBroken ? QStringLiteral("1") : QStringLiteral("0")});
        if (!app.waitForStarted() || !waitForLine(app, 30000)) {
            std::fprintf(stderr, "crashtest: round %d: the application did not start\n", round);
            return 1;
        }
        server.kill();
        server.waitForFinished();
        if (!app.waitForFinished(20000)) {
            std::fprintf(stderr, "crashtest: round %d: the application outlived its display\n",
                         round);
            app.kill();
            app.waitForFinished();
        }
        if (app.exitStatus() != QProcess::NormalExit || app.exitCode() != 1) {
            std::fprintf(stderr,
                         "crashtest: round %d: the application ended with %s %d, not as "
                         "on a lost display\n",
                         round, app.exitStatus() == QProcess::NormalExit ? "status" : "signal",
                         app.exitCode());
            ++endedBadly;
        }
        const QString kept =
            storeBroken ? home.filePath(QStringLiteral("state/Dictaro/Recovery")) : projects;
        const QList<Project> found = ProjectStore(kept).loadAll();
        if (found.size() == 1 && found.first().transcript == typed) {
            ++(storeBroken ? recovered : saved);
        } else {
            std::fprintf(stderr, "crashtest: round %d: the typed text is not in %s\n", round,
                         qPrintable(kept));
            ++lost;
        }
    }
    std::printf("crash-test (display loss): %d rounds: text kept %d (saved %d, recovered %d), "
                "lost %d, ended otherwise %d\ncrash-test: %s\n",
                rounds, saved + recovered, saved, recovered, lost, endedBadly,
                lost || endedBadly ? "FAILED" : "passed");
    return lost || endedBadly ? 1 : 0;
}
