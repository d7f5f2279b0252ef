// The window while a recording plays: the processor time of the main (GUI) thread and of the
// whole process during 20 seconds of playing at 2.0x, with the transcription screen and its
// waveform shown as the user sees them, on libmpv's silent output. Nothing else runs: the main
// thread's share is what the position ticks cost (player bar, waveform, playing line). Then the
// same for the floor, a bare Qt window playing the file with libmpv (bare_window), and the ratio.
// How often the main thread is woken and the window drawn are printed too: unlike processor
// times, they do not vary with how busy the machine is.
//   bench_playing [AUDIO]   (default: the three-hour MP3 that bench_playback makes and keeps)
// Run it on a display (xvfb-run -a bench/bench_playing); offscreen draws too, but differently.
#include "AppState.h"
#include "DictaroApp.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"
#include "benchutil.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>

using namespace dictaro;

namespace {

double seconds(const timeval& time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

// User and system time of the calling thread, or of the whole process.
double processorSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts the times a window is drawn (each drawing paints all that changed since the last).
class DrawingCounter : public QObject
{
public:
    using QObject::QObject;
    int drawings = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::UpdateRequest)
            ++drawings;
        return false;
    }
};

void waitInEventLoop(int milliseconds)
{
    // The event loop itself, not QTest::qWait, which wakes the thread every 10 ms.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString audio = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                   : QStringLiteral(DICTARO_BENCH_CACHE "/three-hours.mp3");
    if (!QFile::exists(audio)) {
        std::fprintf(stderr, "no %s: run bench_playback once, or name a recording\n",
                     qPrintable(audio));
        return 1;
    }
    DictaroApp dictaro(home.filePath(QStringLiteral("data/Projects")),
                       std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    dictaro.show();
    dictaro.openFiles({audio});
    TranscriptionSession* session = dictaro.appState().currentSession();
    if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 20000)) {
        std::fprintf(stderr, "%s did not open\n", qPrintable(audio));
        return 1;
    }
    PlaybackEngine& engine = *session->engine();
    engine.changeRate(1.0);
    engine.seek(engine.duration() / 2);
    // Until the waveform is computed (a second that takes under 5 % of a core).
    for (int i = 0; i < 120; ++i) {
        const double before = processorSeconds(RUSAGE_SELF);
        QTest::qWait(1000);
        if (processorSeconds(RUSAGE_SELF) - before < 0.05)
            break;
    }

    constexpr int playSeconds = 20;
    DrawingCounter drawn;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->installEventFilter(&drawn);
    }
    const qint64 self = QCoreApplication::applicationPid();
    const qint64 mainWakeupsBefore = bench::wakeups(self, gettid());
    const double mainBefore = processorSeconds(RUSAGE_THREAD);
    const double allBefore = processorSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    engine.play();
    waitInEventLoop(playSeconds * 1000);
    const double wall = double(clock.elapsed()) / 1000.0;
    const double mainThread = (processorSeconds(RUSAGE_THREAD) - mainBefore) / wall * 100.0;
    const double process = (processorSeconds(RUSAGE_SELF) - allBefore) / wall * 100.0;
    const double mainWakeups = double(bench::wakeups(self, gettid()) - mainWakeupsBefore) / wall;
    engine.pause(0);
    std::printf("playing %s at %.1fx for %.0f s, transcription screen and waveform shown\n",
                qPrintable(QFileInfo(audio).fileName()), engine.rate(), wall);
    std::printf("%-40s %6.2f %% of a core  (target < 0.3 %%: %s)\n", "main thread", mainThread,
                mainThread < 0.3 ? "met" : "MISSED");
    std::printf("%-40s %6.2f %% of a core\n", "whole process", process);
    std::printf("%-40s %6.1f a second\n", "main thread woken", mainWakeups);
    std::printf("%-40s %6.1f a second\n", "window drawn", drawn.drawings / wall);

    // The floor, playing the same file at the same speed in a process of its own.
    QProcess floor;
    floor.start(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bare_window")),
        {audio, QString::number(engine.rate())});
    if (!floor.waitForStarted()) {
        std::fprintf(stderr, "bare_window did not start\n");
        return 1;
    }
    waitInEventLoop(3000);
    const qint64 pid = floor.processId();
    const double floorMainBefore = bench::processorSeconds(pid, pid);
    const qint64 floorWakeupsBefore = bench::wakeups(pid, pid);
    const double floorAllBefore = bench::processorSeconds(pid);
    clock.restart();
    waitInEventLoop(playSeconds * 1000);
    const double floorWall = double(clock.elapsed()) / 1000.0;
    const double floorMain =
        (bench::processorSeconds(pid, pid) - floorMainBefore) / floorWall * 100.0;
    const double floorAll = (bench::processorSeconds(pid) - floorAllBefore) / floorWall * 100.0;
    const double floorWakeups = double(bench::wakeups(pid, pid) - floorWakeupsBefore) / floorWall;
    floor.kill();
    floor.waitForFinished();
    std::printf("floor (bare_window), main thread          %6.2f %% of a core\n", floorMain);
    std::printf("floor (bare_window), whole process        %6.2f %% of a core\n", floorAll);
    std::printf("floor (bare_window), main thread woken    %6.1f a second\n", floorWakeups);
    std::printf("%-40s %6.2fx  (target <= 1.2x: %s)\n", "whole process against the floor",
                process / floorAll, process / floorAll <= 1.2 ? "met" : "MISSED");
    return 0;
}
