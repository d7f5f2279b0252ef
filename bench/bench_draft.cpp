// The machine draft's speed: real-time factor (seconds of work per second of recording) of
// tiny.en- and base.en-shaped models on one core and on all cores, and the memory it takes.
// The models have random weights (tools/random-speech-model.py, made here at run time): their
// speed is that of real ones of the same shape, but what they write is made up. Each window is
// decoded once, as clear speech is (a random model is never sure, and would be decoded again
// at five temperatures); it still writes more tokens per window than real speech holds.
//   bench_draft [SECONDS]   (the length of the recording; 120 by default)
#include "DraftEngine.h"
#include "Recogniser.h"
#include "WhisperRecogniser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

// The peak resident memory since the last reset, in MB (Linux).
double peakMegabytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

void resetPeak()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Speech from espeak-ng, said over and over for `seconds` at 16 kHz.
std::vector<float> speech(const QString& folder, double seconds)
{
    const QString wav = folder + u"/speech.wav"_s;
    const QString text = u"The committee met on Tuesday to discuss the budget for next year. "
                         u"Several members asked whether the figures included the new building, "
                         u"and the chair promised an answer by the end of the month."_s;
    QProcess::execute(u"sh"_s, {u"-c"_s, u"espeak-ng -w %1/raw.wav \"%2\" && ffmpeg -nostdin "
                                         u"-loglevel error -y -stream_loop -1 -i %1/raw.wav -t %3 "
                                         u"-ar 16000 -ac 1 -f f32le %4"_s.arg(folder, text)
                                             .arg(seconds)
                                             .arg(wav)});
    QFile file(wav);
    std::vector<float> samples;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        samples.resize(std::size_t(bytes.size()) / sizeof(float));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    }
    return samples;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const double seconds = argc > 1 ? std::max(10.0, QByteArray(argv[1]).toDouble()) : 120.0;
    QTemporaryDir dir;
    const std::vector<float> samples = speech(dir.path(), seconds);
    if (samples.empty()) {
        std::printf("bench_draft: espeak-ng or ffmpeg failed\n");
        return 1;
    }
    const double duration = double(samples.size()) / Recogniser::sampleRate;
    const int cores = QThread::idealThreadCount();
    std::printf("Draft of %.0f s of speech; real-time factor = seconds of work per second of "
                "recording\n",
                duration);
    std::printf("goal: a 60-minute recording with base.en in under 10 minutes on one core, a "
                "factor below 0.167\n\n");
    std::printf("%-8s %7s %6s %8s %14s %12s %10s\n", "model", "threads", "load", "factor",
                "60 min takes", "peak memory", "stop");
    for (const char* shape : {"tiny.en", "base.en"}) {
        const QString model = dir.filePath(QString::fromLatin1(shape) + u".bin"_s);
        if (QProcess::execute(QStringLiteral(DICTARO_PYTHON3),
                              {QStringLiteral(DICTARO_MODEL_SCRIPT), model, u"--shape"_s,
                               QString::fromLatin1(shape)}) != 0) {
            std::printf("bench_draft: the model script failed (python3 with numpy?)\n");
            return 1;
        }
        for (const int threads : {1, cores}) {
            resetPeak();
            const auto recogniser = std::make_unique<WhisperRecogniser>();
            recogniser->setRetries(false);
            QElapsedTimer timer;
            timer.start();
            if (const auto problem = recogniser->load(model)) {
                std::printf("%s\n", qPrintable(*problem));
                return 1;
            }
            const double load = timer.elapsed() / 1000.0;
            Recogniser::Request request;
            request.samples = samples;
            request.duration = duration;
            request.threads = threads;
            const std::atomic<bool> cancel = false;
            timer.restart();
            recogniser->recognise(request, cancel, [](const RecognisedSegment&) {}, {});
            const double factor = timer.elapsed() / 1000.0 / duration;

            // How long a stop takes, a few seconds into a run.
            std::atomic<bool> stop = false;
            QElapsedTimer sinceStop;
            QThread* worker = QThread::create(
                [&] { recogniser->recognise(request, stop, [](const RecognisedSegment&) {}, {}); });
            worker->start();
            QThread::msleep(3000);
            sinceStop.start();
            stop = true;
            worker->wait();
            const qint64 stopped = sinceStop.elapsed();
            delete worker;
            std::printf("%-8s %7d %5.2fs %8.3f %12.1f m %9.0f MB %7lld ms\n", shape, threads, load,
                        factor, factor * 60.0, peakMegabytes(), static_cast<long long>(stopped));
            std::fflush(stdout);
        }
    }
    return 0;
}
