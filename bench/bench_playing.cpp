// The window while a recording plays: the processor time of the main (GUI) thread and of the
// whole process during 20 seconds of playing at 2.0x, with the transcription screen and its
// waveform shown as the user sees them, on libmpv's silent output. Nothing else runs: the main
// thread's share is what the position ticks cost (player bar, waveform, playing line).
//   bench_playing [AUDIO]   (default: the three-hour MP3 that bench_playback makes and keeps)
// Run it on a display (xvfb-run -a bench/bench_playing); offscreen draws too, but differently.
#include "AppState.h"
#include "DictaroApp.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

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
    QTest::qWait(3000); // the waveform around the playhead is computed, the screen settled

    constexpr int playSeconds = 20;
    const double mainBefore = processorSeconds(RUSAGE_THREAD);
    const double allBefore = processorSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    engine.play();
    // The event loop itself, not QTest::qWait, which wakes the thread every 10 ms.
    QEventLoop loop;
    QTimer::singleShot(playSeconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = double(clock.elapsed()) / 1000.0;
    const double mainThread = (processorSeconds(RUSAGE_THREAD) - mainBefore) / wall * 100.0;
    const double process = (processorSeconds(RUSAGE_SELF) - allBefore) / wall * 100.0;
    engine.pause(0);
    std::printf("playing %s at %.1fx for %.0f s, transcription screen and waveform shown\n",
                qPrintable(QFileInfo(audio).fileName()), engine.rate(), wall);
    std::printf("%-40s %6.2f %% of a core  (target < 0.3 %%: %s)\n", "main thread", mainThread,
                mainThread < 0.3 ? "met" : "MISSED");
    std::printf("%-40s %6.2f %% of a core\n", "whole process", process);
    return 0;
}
