// The machine draft's speed: real-time factor (seconds of work per second of recording) of
// tiny.en- and base.en-shaped models on one core and on all cores, and the memory it takes.
// The models have random weights (tools/random-speech-model.py, made here at run time): their
// speed is that of real ones of the same shape, but what they write is made up. Each window is
// decoded once, as clear speech is (a random model is never sure, and would be decoded again
// at five temperatures); it still writes more tokens per window than real speech holds.
//   bench_draft [SECONDS] [--parts]   (the length of the recording, 120 s by default; --parts
//                                      times only the encoder and a decoder step, in a minute)
#include "Recogniser.h"
#include "WhisperRecogniser.h"

#include <whisper.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

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

// The processor time this process has used, in seconds: on a busy machine the wall clock
// counts the time other programs had the cores, this does not.
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
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

// The model's two parts timed alone on one thread: the encoder over one 30-second window and
// one step of the decoder (a token). Speech at a talking pace holds some 120 tokens per window
// with their times, which gives the real-time factor of drafting speech, whatever a random
// model writes.
void printParts(const char* shape, const QString& model, const std::vector<float>& samples)
{
    whisper_context* context = whisper_init_from_file_with_params_no_state(
        QFile::encodeName(model).constData(), whisper_context_default_params());
    whisper_state* state = context ? whisper_init_state(context) : nullptr;
    if (!state)
        return;
    const int window = 30 * Recogniser::sampleRate;
    whisper_pcm_to_mel_with_state(context, state, samples.data(),
                                  std::min(window, int(samples.size())), 1);
    // Processor time: on one thread, what the wall clock of an idle machine would show.
    double encoder = INFINITY;
    for (int i = 0; i < 3; ++i) {
        const double before = processorSeconds();
        whisper_encode_with_state(context, state, 0, 1);
        encoder = std::min(encoder, processorSeconds() - before);
    }
    std::vector<whisper_token> prompt{whisper_token_sot(context), whisper_token_beg(context)};
    whisper_decode_with_state(context, state, prompt.data(), int(prompt.size()), 0, 1);
    const int steps = 60;
    whisper_token token = whisper_token_beg(context) + 1;
    const double before = processorSeconds();
    for (int i = 0; i < steps; ++i)
        whisper_decode_with_state(context, state, &token, 1, int(prompt.size()) + i, 1);
    const double step = (processorSeconds() - before) / steps;
    const double factor = (encoder + 120 * step) / 30.0;
    std::printf("%-12s encoder %.2f s per window, decoder %.1f ms per token: speech drafts at a "
                "factor of %.3f on one core (60 min in %.1f min)\n",
                shape, encoder, step * 1000, factor, factor * 60);
    whisper_free_state(state);
    whisper_free(context);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool partsOnly = arguments.removeAll(u"--parts"_s) > 0;
    const double seconds = arguments.isEmpty() ? 120.0 : std::max(10.0, arguments[0].toDouble());
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
                "factor below 0.167\n");
    std::printf("factor: by the wall clock; cpu: processor seconds per second of recording (on "
                "one thread, the factor of an idle machine)\n\n");
    std::printf("%-12s %7s %6s %8s %6s %14s %12s %10s\n", "model", "threads", "load", "factor",
                "cpu", "60 min takes", "peak memory", "stop");
    std::vector<std::pair<const char*, QString>> models;
    // The catalogue's 8-bit base.en is the one to draft with on a processor alone.
    for (const char* shape : {"tiny.en", "base.en", "base.en-q8_0"}) {
        const QString name = QString::fromLatin1(shape);
        const QString model = dir.filePath(name + u".bin"_s);
        QStringList script{QStringLiteral(DICTARO_MODEL_SCRIPT), model, u"--shape"_s,
                           name.section(u'-', 0, 0)};
        if (name.endsWith(u"-q8_0"))
            script << u"--q8"_s;
        if (QProcess::execute(QStringLiteral(DICTARO_PYTHON3), script) != 0) {
            std::printf("bench_draft: the model script failed (python3 with numpy?)\n");
            return 1;
        }
        models.emplace_back(shape, model);
        for (const int threads : {1, cores}) {
            if (partsOnly)
                break;
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
            const double processorBefore = processorSeconds();
            recogniser->recognise(request, cancel, [](const RecognisedSegment&) {}, {});
            const double factor = timer.elapsed() / 1000.0 / duration;
            const double processor = (processorSeconds() - processorBefore) / duration;

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
            std::printf("%-12s %7d %5.2fs %8.3f %6.3f %12.1f m %9.0f MB %7lld ms\n", shape, threads,
                        load, factor, processor, factor * 60.0, peakMegabytes(),
                        static_cast<long long>(stopped));
            std::fflush(stdout);
        }
    }
    std::printf("\nEach window decoded once, a random model writes up to 224 tokens in it; speech "
                "holds fewer:\n");
    for (const auto& [shape, model] : models)
        printParts(shape, model, samples);
    return 0;
}
