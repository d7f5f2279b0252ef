// Playback on libmpv with three-hour recordings: time from load() to ready, exact seeks near the
// end, CPU while playing at 2.0x (also with the voice filter) and resident memory with the file
// open. The recordings are made with espeak-ng and ffmpeg on the first run and kept in the build
// folder.
#include "benchtext.h"
#include "benchutil.h"

#include "MpvBackend.h"
#include "PlaybackEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <sys/resource.h>

#include <clocale>
#include <cstdio>

using namespace dictaro;

namespace {

constexpr int threeHours = 3 * 60 * 60;

// A three-hour speech-like recording (looped speech, 16 kHz mono, 32 kb/s) in `extension`.
QString longRecording(const QString& cacheDir, const QString& extension)
{
    QDir().mkpath(cacheDir);
    const QString path = cacheDir + QStringLiteral("/three-hours.") + extension;
    if (QFile::exists(path))
        return path;
    const QString speech = cacheDir + QStringLiteral("/speech.wav");
    if (!QFile::exists(speech) &&
        !bench::runProgram(
            QStringLiteral("espeak-ng"),
            {QStringLiteral("-w"), speech,
             QStringLiteral("This is a long interview, recorded to measure the player. We talk "
                            "about the weather, the harvest and the history of the village, "
                            "with pauses in between, the way people speak when recorded.")}))
        return {};
    std::printf("Encoding a three-hour .%s recording (once; kept in %s)...\n",
                qPrintable(extension), qPrintable(cacheDir));
    std::fflush(stdout);
    const QString partial = path + QStringLiteral(".part.") + extension;
    const QStringList codec =
        extension == QLatin1String("mp3")
            ? QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}
            : QStringList{QStringLiteral("-c:a"), QStringLiteral("aac")};
    QStringList arguments = {QStringLiteral("-nostdin"),     QStringLiteral("-loglevel"),
                             QStringLiteral("error"),        QStringLiteral("-y"),
                             QStringLiteral("-stream_loop"), QStringLiteral("-1"),
                             QStringLiteral("-i"),           speech,
                             QStringLiteral("-t"),           QString::number(threeHours),
                             QStringLiteral("-ac"),          QStringLiteral("1"),
                             QStringLiteral("-ar"),          QStringLiteral("16000")};
    arguments << codec << QStringLiteral("-b:a") << QStringLiteral("32k") << partial;
    if (!bench::runProgram(QStringLiteral("ffmpeg"), arguments) || !QFile::rename(partial, path)) {
        QFile::remove(partial);
        return {};
    }
    return path;
}

struct Player
{
    MpvBackend* backend = nullptr;
    std::unique_ptr<PlaybackEngine> engine;
};

Player makePlayer(const MpvBackend::Options& options)
{
    auto backend = std::make_unique<MpvBackend>(options);
    Player player;
    player.backend = backend.get();
    player.engine = std::make_unique<PlaybackEngine>(std::move(backend));
    return player;
}

bool waitFor(QObject* sender, auto signal, int timeoutMs = 10000)
{
    QSignalSpy spy(sender, signal);
    return spy.wait(timeoutMs);
}

bool load(PlaybackEngine& engine, const QString& path, double position = 0.0, double rate = 1.0)
{
    QSignalSpy finished(&engine, &PlaybackEngine::loadFinished);
    engine.load(path, position, rate);
    return finished.wait(10000) && finished.first().first().toBool();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

void printValue(const char* what, double value, const char* unit, double target)
{
    std::printf("%-40s %9.2f %-3s (target < %g %s: %s)\n", what, value, unit, target, unit,
                value < target ? "met" : "MISSED");
    std::fflush(stdout);
}

void benchOpenAndSeek(const QString& path, const QString& label)
{
    std::printf("\n%s\n", qPrintable(label));
    // The first load in a new handle, then loads in a warm one.
    std::vector<double> first, later, firstSeek, laterSeeks, farSeeks;
    for (int round = 0; round < 3; ++round) {
        Player player = makePlayer(MpvBackend::silentOutputOptions());
        auto timeLoad = [&] {
            QSignalSpy startSeek(player.backend, &MpvBackend::seekFinished);
            QElapsedTimer timer;
            timer.start();
            if (!load(*player.engine, path))
                std::printf("  load failed\n");
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            // Let the seek to the start position finish before anything else is measured.
            if (startSeek.isEmpty())
                startSeek.wait(2000);
            return ms;
        };
        first.push_back(timeLoad());
        for (int i = 0; i < 3; ++i)
            later.push_back(timeLoad());

        // Exact seeks near the end; the first one reads the file's index or table of contents.
        const double duration = player.engine->duration();
        for (int i = 0; i < 6; ++i) {
            QElapsedTimer timer;
            timer.start();
            QSignalSpy done(player.backend, &MpvBackend::seekFinished);
            player.engine->seek(duration - 5.0 - i * 37.3);
            if (!done.wait(10000))
                std::printf("  seek did not finish\n");
            (i == 0 ? firstSeek : laterSeeks).push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        // Jumps across the file, to places not read before.
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer timer;
            timer.start();
            QSignalSpy done(player.backend, &MpvBackend::seekFinished);
            player.engine->seek(duration * (0.1 + 0.17 * i) + round * 61.0);
            if (!done.wait(10000))
                std::printf("  seek did not finish\n");
            farSeeks.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(farSeeks.begin(), farSeeks.end());
    std::sort(first.begin(), first.end());
    std::sort(later.begin(), later.end());
    std::sort(firstSeek.begin(), firstSeek.end());
    std::sort(laterSeeks.begin(), laterSeeks.end());
    bench::report("open to ready, new handle", first, 100);
    bench::report("open to ready, warm handle", later, 100);
    bench::report("first exact seek near the end", firstSeek, 0);
    bench::report("later exact seeks near the end", laterSeeks, 50);
    bench::report("exact seeks to unread places", farSeeks, 50);
}

// `sound` adds the voice filter or a channel choice, each with a CPU target of its own.
void benchCpu(const QString& path, const QString& label, const SoundSettings& sound = {},
              double target = 3.0)
{
    // The null output with its default buffer, as close to a sound device as there is here.
    Player player = makePlayer({{"ao", "null"}});
    player.engine->setSound(sound);
    if (!load(*player.engine, path, 3600.0, 2.0))
        return;
    player.engine->play();
    QTest::qWait(500); // let decoding and the tempo filter settle
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    const double mediaBefore = player.engine->currentTime();
    QTest::qWait(5000);
    const double cpu = cpuSeconds() - cpuBefore;
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double media = player.engine->currentTime() - mediaBefore;
    player.engine->pause(0.0);
    std::printf("%s: %.1f s of media in %.1f s\n", qPrintable(label), media, seconds);
    printValue(qPrintable(QStringLiteral("CPU at 2.0x, ") + label), 100.0 * cpu / seconds, "%",
               target);
}

void benchMemory(const QString& path, const QString& label)
{
    const double before = residentMegabytes();
    Player player = makePlayer(MpvBackend::silentOutputOptions());
    if (!load(*player.engine, path))
        return;
    QSignalSpy done(player.backend, &MpvBackend::seekFinished);
    player.engine->seek(player.engine->duration() - 60.0);
    done.wait(10000);
    player.engine->play();
    QTest::qWait(1000);
    player.engine->pause(0.0);
    const double after = residentMegabytes();
    std::printf("resident before creating the engine: %.1f MB\n", before);
    printValue(qPrintable(QStringLiteral("resident with ") + label + QStringLiteral(" open")),
               after, "MB", 120.0);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString cacheDir = QStringLiteral(DICTARO_BENCH_CACHE);

    const QString mp3 = longRecording(cacheDir, QStringLiteral("mp3"));
    const QString m4a = longRecording(cacheDir, QStringLiteral("m4a"));
    if (mp3.isEmpty() || m4a.isEmpty()) {
        std::fprintf(stderr, "could not make the recordings (needs espeak-ng and ffmpeg)\n");
        return 1;
    }

    benchMemory(mp3, QStringLiteral("a 3-hour MP3"));
    benchOpenAndSeek(mp3, QStringLiteral("3-hour MP3 (32 kb/s)"));
    benchOpenAndSeek(m4a, QStringLiteral("3-hour M4A (AAC 32 kb/s)"));
    std::printf("\n");
    benchCpu(mp3, QStringLiteral("MP3"));
    benchCpu(m4a, QStringLiteral("M4A"));
    benchCpu(mp3, QStringLiteral("MP3, voice filter"), {.voiceFilter = true}, 10.0);
    benchCpu(mp3, QStringLiteral("MP3, left + voice filter"),
             {.channels = Channels::Left, .voiceFilter = true}, 10.0);
    return 0;
}
