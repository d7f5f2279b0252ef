// Waveform peaks of three-hour recordings (MP3 and M4A, 44.1 kHz mono, 64 kb/s): time until the
// strip around the playhead is drawn, how long closing takes mid-way, the whole file against
// `ffmpeg -i FILE -f null -` measured in the same run, resident memory while computing and
// afterwards, reopening from the cache, and typing in a 5 MB transcript while peaks are
// computed. The recordings are made with espeak-ng and ffmpeg on the first run and kept in
// /tmp/dictaro-bench (or the folder given as the first argument).
// Run on demand from a Release build: bench/bench_waveform [folder]
#include "benchtext.h"
#include "benchutil.h"

#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "StampIndex.h"
#include "TranscriptEditor.h"
#include "WaveformPeaks.h"
#include "WaveformStrip.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/resource.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>

using namespace dictaro;

namespace {

constexpr int threeHours = 3 * 60 * 60;
constexpr double focusSeconds = threeHours / 2.0;
constexpr double firstPeaksTargetMs = 150.0;
constexpr double closeTargetMs = 50.0;
constexpr double wholeFileRatioTarget = 1.3;
constexpr double computingMemoryTargetMb = 15.0;
constexpr double afterMemoryTargetMb = 8.0;
constexpr double cachedTargetMs = 50.0;
constexpr double keystrokeTargetMs = 1.0;

// A three-hour speech-like recording (looped speech) in `extension`, made once.
QString longRecording(const QString& folder, const QString& extension)
{
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/three-hours.") + extension;
    if (QFile::exists(path))
        return path;
    const QString speech = folder + QStringLiteral("/speech.wav");
    if (!QFile::exists(speech) &&
        !bench::runProgram(
            QStringLiteral("espeak-ng"),
            {QStringLiteral("-w"), speech,
             QStringLiteral("This is a long interview, recorded to measure the waveform. We "
                            "talk about the weather, the harvest and the history of the "
                            "village, with pauses in between, the way people speak when "
                            "recorded.")}))
        return {};
    std::printf("Encoding a three-hour .%s recording (once; kept in %s)...\n",
                qPrintable(extension), qPrintable(folder));
    std::fflush(stdout);
    const QString partial = folder + QStringLiteral("/three-hours.part.") + extension;
    const QString codec =
        extension == QLatin1String("mp3") ? QStringLiteral("libmp3lame") : QStringLiteral("aac");
    const QStringList arguments = {QStringLiteral("-nostdin"),
                                   QStringLiteral("-loglevel"),
                                   QStringLiteral("error"),
                                   QStringLiteral("-y"),
                                   QStringLiteral("-stream_loop"),
                                   QStringLiteral("-1"),
                                   QStringLiteral("-i"),
                                   speech,
                                   QStringLiteral("-t"),
                                   QString::number(threeHours),
                                   QStringLiteral("-ac"),
                                   QStringLiteral("1"),
                                   QStringLiteral("-ar"),
                                   QStringLiteral("44100"),
                                   QStringLiteral("-c:a"),
                                   codec,
                                   QStringLiteral("-b:a"),
                                   QStringLiteral("64k"),
                                   partial};
    if (!bench::runProgram(QStringLiteral("ffmpeg"), arguments) || !QFile::rename(partial, path)) {
        QFile::remove(partial);
        return {};
    }
    return path;
}

double elapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs the event loop until `done` holds; false after `timeoutMs`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 120000)
{
    // Wakes up every 5 ms without spinning, so the main thread takes no core from the worker.
    QTimer tick;
    tick.start(5);
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A field of /proc/self/status (RssAnon:, VmRSS:), in MB.
double statusMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

void printValue(const char* what, double value, const char* unit, double target)
{
    std::printf("%-44s %9.2f %-3s (target < %g %s: %s)\n", what, value, unit, target, unit,
                value < target ? "met" : "MISSED");
    std::fflush(stdout);
}

bool windowComputed(const WaveformPeaks& peaks, double center, double halfSpan)
{
    const QList<WaveformPeaks::Peak>& all = peaks.peaks();
    const qsizetype first = qsizetype((center - halfSpan) * WaveformPeaks::bucketsPerSecond);
    const qsizetype end = qsizetype((center + halfSpan) * WaveformPeaks::bucketsPerSecond);
    if (all.size() < end)
        return false;
    return std::all_of(all.cbegin() + first, all.cbegin() + end,
                       [](const WaveformPeaks::Peak& peak) { return peak.isComputed(); });
}

// The strip of the transcription screen, 1000 pixels wide, over an engine of its own.
struct Screen
{
    explicit Screen(WaveformPeaks* peaks, QTextDocument* transcript = nullptr)
        : engine(std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()))
    {
        strip = new WaveformStrip(&engine, peaks, transcript, &widget);
        (new QVBoxLayout(&widget))->addWidget(strip);
        widget.resize(1000, 100);
        widget.show();
    }

    PlaybackEngine engine;
    QWidget widget;
    WaveformStrip* strip = nullptr;
};

void benchFile(const QString& path, const QString& label)
{
    std::printf("\n%s (%.1f MB)\n", qPrintable(label), double(QFileInfo(path).size()) / 1e6);

    // Opening at 1:30:00, with the engine loading the same file: until the 30 s around the
    // playhead are computed and drawn; then closing while the rest is computed.
    std::vector<double> firstPeaks, closing;
    for (int round = 0; round < 4; ++round) {
        QTemporaryDir cache;
        WaveformPeaks peaks(cache.path(), WaveformPeaks::defaultCacheLimitBytes);
        Screen screen(&peaks);
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        screen.engine.load(path, focusSeconds, 1.0);
        peaks.open(path, focusSeconds);
        if (!waitUntil([&] { return windowComputed(peaks, focusSeconds, 15.0); })) {
            std::printf("  no peaks around the playhead\n");
            return;
        }
        screen.strip->grab();
        if (round > 0) // the first round loads the libraries and warms the file cache
            firstPeaks.push_back(elapsedMs(timer));
        QElapsedTimer closeTimer;
        closeTimer.start();
        peaks.close();
        if (round > 0)
            closing.push_back(elapsedMs(closeTimer));
    }
    std::sort(firstPeaks.begin(), firstPeaks.end());
    std::sort(closing.begin(), closing.end());
    bench::report("open at 1:30:00 until drawn around it", firstPeaks, firstPeaksTargetMs);
    bench::report("close() while computing", closing, closeTargetMs);

    // The whole file, against ffmpeg decoding it.
    const auto timeFfmpeg = [&](double& cpu) {
        const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
        QElapsedTimer timer;
        timer.start();
        bench::runProgram(QStringLiteral("ffmpeg"),
                          {QStringLiteral("-nostdin"), QStringLiteral("-v"),
                           QStringLiteral("error"), QStringLiteral("-i"), path,
                           QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
        cpu = cpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
        return elapsedMs(timer);
    };
    double ffmpegCpu = 0.0;
    double ffmpegCpuAgain = 0.0;
    double ffmpegMs = timeFfmpeg(ffmpegCpu);

    QTemporaryDir cache;
    QCoreApplication::processEvents();
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer timer;
    timer.start();
    auto peaks =
        std::make_unique<WaveformPeaks>(cache.path(), WaveformPeaks::defaultCacheLimitBytes);
    peaks->open(path, focusSeconds);
    waitUntil([&] { return peaks->status() != WaveformPeaks::Status::Computing; });
    const double wholeMs = elapsedMs(timer);
    const double wholeCpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    const qsizetype buckets = peaks->peaks().size();
    peaks.reset();

    ffmpegMs = std::min(ffmpegMs, timeFfmpeg(ffmpegCpuAgain));
    ffmpegCpu = std::min(ffmpegCpu, ffmpegCpuAgain);
    std::printf("%-44s %9.0f ms  (CPU %.2f s, %lld buckets)\n", "whole file, peaks", wholeMs,
                wholeCpu, static_cast<long long>(buckets));
    std::printf("%-44s %9.0f ms  (CPU %.2f s)\n", "whole file, ffmpeg -i FILE -f null -", ffmpegMs,
                ffmpegCpu);
    printValue("whole file, peaks / ffmpeg (wall)", wholeMs / ffmpegMs, "x", wholeFileRatioTarget);
    printValue("whole file, peaks / ffmpeg (CPU)", wholeCpu / ffmpegCpu, "x", wholeFileRatioTarget);
    printValue("cores busy while computing (CPU / wall)", wholeCpu / (wholeMs / 1000.0), "", 1.05);
    // Memory in a process of its own, so that nothing measured before is in its heap; then as
    // in the app, with the player holding the same file in that process first (what it freed
    // shapes the allocator's heaps).
    for (const bool withPlayer : {false, true}) {
        QProcess probe;
        QStringList arguments = {QStringLiteral("--memory"), path};
        if (withPlayer)
            arguments << QStringLiteral("--with-player");
        probe.start(QCoreApplication::applicationFilePath(), arguments);
        probe.waitForFinished(-1);
        const QList<QByteArray> resident = probe.readAllStandardOutput().trimmed().split(' ');
        if (resident.size() != 2)
            continue;
        if (!withPlayer) {
            printValue("anonymous memory while computing, more by", resident[0].toDouble(), "MB",
                       computingMemoryTargetMb);
            printValue("anonymous memory afterwards, more by", resident[1].toDouble(), "MB",
                       afterMemoryTargetMb);
        } else {
            std::printf("%-44s %9.2f MB while computing, %.2f MB afterwards\n",
                        "  the same with the player's file loaded", resident[0].toDouble(),
                        resident[1].toDouble());
        }
    }

    // Reopening: the cache read and the whole file drawn.
    std::vector<double> reopen;
    for (int round = 0; round < 6; ++round) {
        WaveformPeaks cached(cache.path(), WaveformPeaks::defaultCacheLimitBytes);
        Screen screen(&cached);
        screen.strip->setVisibleSeconds(threeHours);
        QCoreApplication::processEvents();
        QElapsedTimer reopenTimer;
        reopenTimer.start();
        cached.open(path, focusSeconds);
        waitUntil([&] { return cached.status() != WaveformPeaks::Status::Computing; });
        screen.strip->grab();
        if (!cached.isFromCache())
            std::printf("  not read from the cache\n");
        if (round > 0)
            reopen.push_back(elapsedMs(reopenTimer));
    }
    std::sort(reopen.begin(), reopen.end());
    bench::report("reopen from the cache, whole file drawn", reopen, cachedTargetMs);
}

// Per keystroke: until the text is changed, coloured and laid out, and until the events that
// follow (the repaint, the strip's markers) are processed too.
struct Keystrokes
{
    std::vector<double> edit;
    std::vector<double> total;
};

Keystrokes typeCharacters(QWidget* widget, int count)
{
    static const QString letters = QStringLiteral("transcribed words ");
    Keystrokes times;
    for (int i = 0; i < count; ++i) {
        const QChar ch = letters.at(i % letters.size());
        const int key = ch == u' ' ? int(Qt::Key_Space) : Qt::Key_A + (ch.unicode() - u'a');
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
        times.edit.push_back(elapsedMs(timer));
        QCoreApplication::processEvents();
        times.total.push_back(elapsedMs(timer));
    }
    std::sort(times.edit.begin(), times.edit.end());
    std::sort(times.total.begin(), times.total.end());
    return times;
}

void reportKeystrokes(const char* when, const Keystrokes& times)
{
    bench::report((QByteArray("keystroke w/o repaint, ") + when).constData(), times.edit,
                  keystrokeTargetMs);
    bench::report((QByteArray("keystroke incl. repaint, ") + when).constData(), times.total, 0);
}

// Typing at the end of a 5 MB transcript whose timestamps the strip marks, while the peaks of
// a three-hour file are computed, and without that.
void benchTyping(const QString& path)
{
    std::printf("\nTyping in a 5 MB transcript (900 x 700 editor, strip marking its timestamps)\n");
    const QString text = bench::makeTranscript(5'000'000);
    QTextDocument document;
    document.setPlainText(text);
    TranscriptEditor editor(&document);
    editor.resize(900, 700);
    editor.show();
    QTemporaryDir cache;
    WaveformPeaks peaks(cache.path(), WaveformPeaks::defaultCacheLimitBytes);
    Screen screen(&peaks, editor.document());
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.setTextCursor(cursor);
    editor.setFocus();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();

    std::vector<double> scan;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        StampIndex index(editor.document());
        const bool none = index.stamps().isEmpty();
        scan.push_back(elapsedMs(timer));
        if (none)
            std::printf("  no timestamps found\n");
    }
    std::sort(scan.begin(), scan.end());
    bench::report("timestamp markers read from 5 MB (the first time)", scan, 0);

    typeCharacters(&editor, 20);
    reportKeystrokes("idle", typeCharacters(&editor, 300));
    peaks.open(path, focusSeconds);
    waitUntil([&] { return !peaks.peaks().isEmpty(); });
    reportKeystrokes("peaks computing", typeCharacters(&editor, 300));
    if (peaks.status() != WaveformPeaks::Status::Computing)
        std::printf("  (the peaks were complete before the typing ended)\n");
}

} // namespace

// The growth of the resident memory of this process while the peaks of `path` are computed
// (its peak) and once they are complete, in MB, printed as two numbers; with `withPlayer`, once
// an engine has loaded the file.
int probeMemory(const QString& path, bool withPlayer)
{
    QTemporaryDir cache;
    WaveformPeaks peaks(cache.path(), WaveformPeaks::defaultCacheLimitBytes);
    std::unique_ptr<PlaybackEngine> engine;
    if (withPlayer) {
        engine = std::make_unique<PlaybackEngine>(
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        engine->load(path, focusSeconds, 1.0);
        waitUntil([&] { return engine->isLoaded(); });
        QTest::qWait(1000);
    }
    QCoreApplication::processEvents();
    // Anonymous memory (heap, stacks): the pages of the shared libraries, which the player has
    // in memory anyway, are left out. Sampled every 5 ms for the peak.
    const double before = statusMegabytes("RssAnon:");
    double peak = before;
    peaks.open(path, focusSeconds);
    waitUntil([&] {
        peak = std::max(peak, statusMegabytes("RssAnon:"));
        return peaks.status() != WaveformPeaks::Status::Computing;
    });
    QTest::qWait(200); // the worker ends
    std::printf("%.2f %.2f\n", peak - before, statusMegabytes("RssAnon:") - before);
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "--memory") == 0) {
        QCoreApplication app(argc, argv);
        return probeMemory(QString::fromLocal8Bit(argv[2]),
                           argc > 3 && qstrcmp(argv[3], "--with-player") == 0);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/dictaro-bench");
    const QString mp3 = longRecording(folder, QStringLiteral("mp3"));
    const QString m4a = longRecording(folder, QStringLiteral("m4a"));
    if (mp3.isEmpty() || m4a.isEmpty()) {
        std::fprintf(stderr, "could not make the recordings (needs espeak-ng and ffmpeg)\n");
        return 1;
    }
    benchFile(mp3, QStringLiteral("3-hour MP3 (44.1 kHz mono, 64 kb/s)"));
    benchFile(m4a, QStringLiteral("3-hour M4A (AAC, 44.1 kHz mono, 64 kb/s)"));
    benchTyping(m4a);
    return 0;
}
