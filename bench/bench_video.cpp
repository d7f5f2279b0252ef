// A 1080p H.264 video (30 fps, with sound) played at 2.0x with its picture shown above the text:
// the CPU Dictaro uses while playing it, against the stand-alone mpv player on the same file,
// speed and display, as a ratio; and keystrokes typed into the transcript meanwhile, against
// the 1 ms keystroke target of bench_editor (from the key event to the text changed, coloured
// and laid out; the repaint of the screen, picture included, is printed beside it).
// The video is made with ffmpeg on the first run and kept in the build folder. The mpv program
// is only the yardstick here and is no dependency of Dictaro: scripts/install-deps installs
// Debian's package for this benchmark alone.
// Needs a display with OpenGL (e.g. xvfb-run -a -s "-screen 0 1920x1080x24" with Mesa's software
// renderer, where both players draw with the CPU): bench/bench_video [seconds of media]
#include "benchutil.h"

#include "AppSettings.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <clocale>
#include <cstdio>

using namespace dictaro;

namespace {

constexpr double keystrokeTargetMs = 1.0;

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString video1080p(const QString& cacheDir)
{
    QDir().mkpath(cacheDir);
    const QString path = cacheDir + QStringLiteral("/video-1080p.mp4");
    if (QFile::exists(path))
        return path;
    std::printf("Encoding a 1080p H.264 video (once; kept in %s)...\n", qPrintable(cacheDir));
    std::fflush(stdout);
    const QString partial = path + QStringLiteral(".part.mp4");
    const QStringList arguments = {QStringLiteral("-nostdin"),
                                   QStringLiteral("-loglevel"),
                                   QStringLiteral("error"),
                                   QStringLiteral("-y"),
                                   QStringLiteral("-f"),
                                   QStringLiteral("lavfi"),
                                   QStringLiteral("-i"),
                                   QStringLiteral("testsrc2=size=1920x1080:rate=30:duration=120"),
                                   QStringLiteral("-f"),
                                   QStringLiteral("lavfi"),
                                   QStringLiteral("-i"),
                                   QStringLiteral("sine=f=440:d=120"),
                                   QStringLiteral("-c:v"),
                                   QStringLiteral("libx264"),
                                   QStringLiteral("-preset"),
                                   QStringLiteral("veryfast"),
                                   QStringLiteral("-pix_fmt"),
                                   QStringLiteral("yuv420p"),
                                   QStringLiteral("-c:a"),
                                   QStringLiteral("aac"),
                                   partial};
    if (QProcess::execute(QStringLiteral("ffmpeg"), arguments) != 0 ||
        !QFile::rename(partial, path))
        return {};
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const double mediaSeconds = argc > 1 ? QString::fromLatin1(argv[1]).toDouble() : 40.0;
    const double rate = 2.0;
    const QString video = video1080p(QStringLiteral(DICTARO_BENCH_CACHE));
    if (video.isEmpty()) {
        std::fprintf(stderr, "could not make the video (ffmpeg with libx264 needed)\n");
        return 1;
    }

    // The yardstick: mpv plays the same stretch at the same speed, to the null sound output.
    const double mpvBefore = cpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer mpvClock;
    mpvClock.start();
    const int mpvExit = QProcess::execute(
        QStringLiteral("mpv"),
        {QStringLiteral("--no-config"), QStringLiteral("--really-quiet"),
         QStringLiteral("--ao=null"), QStringLiteral("--vo=gpu"), QStringLiteral("--gpu-sw=yes"),
         QStringLiteral("--hwdec=no"), QStringLiteral("--geometry=960x540"),
         QStringLiteral("--speed=%1").arg(rate), QStringLiteral("--end=%1").arg(mediaSeconds),
         video});
    const double mpvWall = double(mpvClock.nsecsElapsed()) / 1e9;
    const double mpvCpu = cpuSeconds(RUSAGE_CHILDREN) - mpvBefore;
    if (mpvExit != 0) {
        std::fprintf(stderr, "mpv failed (installed? a display with OpenGL?)\n");
        return 1;
    }

    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir home;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    DictaroApp dictaro(home.filePath(QStringLiteral("data/Projects")),
                       std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    dictaro.mainWindow().resize(960, 1000);
    dictaro.show();
    if (!QTest::qWaitForWindowExposed(&dictaro.mainWindow()))
        return 1;
    dictaro.appState().openAudioFile(video);
    TranscriptionSession* session = dictaro.appState().currentSession();
    if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 20000))
        return 1;
    auto* view = dictaro.mainWindow().findChild<TranscriptionView*>();
    if (!QTest::qWaitFor(
            [&] { return view->videoSurface() && view->videoSurface()->isRendering(); }, 10000)) {
        std::fprintf(stderr, "the picture is not drawn (no OpenGL?)\n");
        return 1;
    }
    PlaybackEngine& engine = *session->engine();
    engine.changeRate(rate - engine.rate());
    view->editor()->setFocus();

    std::vector<double> edit, total;
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    engine.play();
    QElapsedTimer sinceKey;
    sinceKey.start();
    int typed = 0;
    while (engine.isPlaying() && engine.currentTime() < mediaSeconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (sinceKey.elapsed() < 100)
            continue;
        sinceKey.restart();
        const QChar ch = QStringLiteral("typing while it plays ").at(typed++ % 22);
        const int key = ch == u' ' ? int(Qt::Key_Space) : Qt::Key_A + (ch.unicode() - u'a');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(view->editor(), &press);
        edit.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
        total.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const double wall = double(clock.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    engine.pause(0.0);

    std::sort(edit.begin(), edit.end());
    std::sort(total.begin(), total.end());
    std::printf("1080p H.264 at %.1fx, %.0f s of media:\n", rate, mediaSeconds);
    std::printf("  mpv      CPU %6.1f %% of one core (%.1f s CPU in %.1f s)\n",
                100.0 * mpvCpu / mpvWall, mpvCpu, mpvWall);
    std::printf("  Dictaro  CPU %6.1f %% of one core (%.1f s CPU in %.1f s), typing meanwhile\n",
                100.0 * cpu / wall, cpu, wall);
    std::printf("  ratio Dictaro / mpv (CPU per second): %.2f\n",
                (cpu / wall) / (mpvCpu / mpvWall));
    bench::report("keystroke while playing", edit, keystrokeTargetMs);
    bench::report("  and its repaint", total, 0);
    return 0;
}
