#include "WhisperRecogniser.h"

#include "Localization.h"
#include "RecognisedWords.h"

#include <whisper.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace dictaro {

namespace {

// The recogniser's own log goes to standard error only when DICTARO_DRAFT_LOG is set.
void logMessage(ggml_log_level, const char* text, void*)
{
    static const bool wanted = qEnvironmentVariableIsSet("DICTARO_DRAFT_LOG");
    if (wanted)
        std::fputs(text, stderr);
}

void quietenLog()
{
    static std::once_flag once;
    std::call_once(once, [] { whisper_log_set(&logMessage, nullptr); });
}

// The build targets x86-64 processors with AVX2, FMA and F16C (from 2013 on); older ones would
// stop at the first such instruction.
bool processorSupported()
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
           __builtin_cpu_supports("f16c");
#else
    return true;
#endif
}

// Where a piece of at most `pieceSamples` that starts at `start` should end: at the quietest
// tenth of a second in its last five seconds, so that no word is cut.
std::size_t pieceEnd(std::span<const float> samples, std::size_t start, std::size_t pieceSamples)
{
    if (samples.size() - start <= pieceSamples)
        return samples.size();
    const std::size_t window = Recogniser::sampleRate / 10;
    const std::size_t searchStart = start + pieceSamples - 5 * Recogniser::sampleRate;
    std::size_t best = start + pieceSamples;
    double quietest = INFINITY;
    for (std::size_t at = searchStart; at + window <= start + pieceSamples; at += window / 2) {
        double energy = 0.0;
        for (std::size_t i = at; i < at + window; ++i)
            energy += double(samples[i]) * samples[i];
        if (energy < quietest) {
            quietest = energy;
            best = at + window / 2;
        }
    }
    return best;
}

// One recognition, run on a thread of its own; what it finds is handed over through a queue
// that the caller's thread empties. The model can only be stopped between its steps, some of
// which take a second on one core: after a stop the caller returns at once and the run ends
// by itself, without touching anything of the caller's.
struct Run
{
    whisper_context* context = nullptr;
    std::atomic<bool> stop = false;
    // Copies of the request's fields, but the samples are the caller's: they are read, a piece
    // at a time, only while holding `samplesInUse` and not stopped.
    std::span<const float> samples;
    std::mutex samplesInUse;
    double offset = 0.0;
    double duration = 0.0;
    double pieceStart = 0.0;  // seconds from the request's first sample
    double pieceLength = 0.0; // seconds

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<RecognisedSegment> found;
    double reached = 0.0; // in the recording
    bool ended = false;
    bool finished = false;

    double place(double secondsInPiece) const
    {
        const double at = offset + pieceStart + secondsInPiece;
        return std::clamp(at, 0.0, std::max(0.0, duration));
    }
    void report(double at, std::optional<RecognisedSegment> segment = std::nullopt)
    {
        {
            const std::lock_guard lock(mutex);
            reached = std::max(reached, at);
            if (segment)
                found.push_back(std::move(*segment));
        }
        changed.notify_one();
    }
};

RecognisedSegment segmentAt(Run& run, whisper_state* state, int index)
{
    RecognisedSegment segment;
    segment.start = run.place(double(whisper_full_get_segment_t0_from_state(state, index)) / 100);
    segment.end =
        std::max(segment.start,
                 run.place(double(whisper_full_get_segment_t1_from_state(state, index)) / 100));
    segment.text =
        QString::fromUtf8(whisper_full_get_segment_text_from_state(state, index)).trimmed();

    const whisper_token firstSpecial = whisper_token_eot(run.context);
    std::vector<RecognisedWords::Token> tokens;
    const int count = whisper_full_n_tokens_from_state(state, index);
    for (int i = 0; i < count; ++i) {
        const whisper_token_data data = whisper_full_get_token_data_from_state(state, index, i);
        if (data.id >= firstSpecial)
            continue; // timestamps, the end and other markers
        tokens.push_back({whisper_full_get_token_text_from_state(run.context, state, index, i),
                          run.place(double(data.t0) / 100), run.place(double(data.t1) / 100),
                          double(data.p)});
    }
    segment.words = RecognisedWords::join(tokens, segment.start, segment.end);
    return segment;
}

void onNewSegments(whisper_context*, whisper_state* state, int added, void* data)
{
    auto& run = *static_cast<Run*>(data);
    const int count = whisper_full_n_segments_from_state(state);
    for (int i = std::max(0, count - added); i < count; ++i) {
        RecognisedSegment segment = segmentAt(run, state, i);
        const double end = segment.end;
        run.report(end, std::move(segment));
    }
}

void onProgress(whisper_context*, whisper_state*, int percent, void* data)
{
    auto& run = *static_cast<Run*>(data);
    run.report(run.place(run.pieceLength * std::clamp(percent, 0, 100) / 100.0));
}

bool shouldStop(void* data)
{
    return static_cast<const Run*>(data)->stop.load(std::memory_order_relaxed);
}

bool encoderMayBegin(whisper_context*, whisper_state*, void* data)
{
    return !shouldStop(data);
}

// Recognises the run's samples piece by piece; false when stopped or failed.
bool recogniseAll(Run& run, const QByteArray& language, int threads, bool retries)
{
    whisper_state* state = whisper_init_state(run.context);
    if (!state)
        return false;
    whisper_full_params parameters = whisper_full_default_params(WHISPER_SAMPLING_GREEDY);
    parameters.n_threads = std::max(1, threads);
    parameters.language = language.constData();
    parameters.translate = false;
    parameters.no_context = false;
    parameters.token_timestamps = true;
    if (!retries)
        parameters.temperature_inc = 0.0f;
    parameters.print_progress = false;
    parameters.print_realtime = false;
    parameters.print_timestamps = false;
    parameters.print_special = false;
    parameters.new_segment_callback = &onNewSegments;
    parameters.new_segment_callback_user_data = &run;
    parameters.progress_callback = &onProgress;
    parameters.progress_callback_user_data = &run;
    parameters.encoder_begin_callback = &encoderMayBegin;
    parameters.encoder_begin_callback_user_data = &run;
    parameters.abort_callback = &shouldStop;
    parameters.abort_callback_user_data = &run;

    bool finished = true;
    const auto pieceSamples = std::size_t(WhisperRecogniser::pieceSeconds * Recogniser::sampleRate);
    const std::size_t count = run.samples.size();
    for (std::size_t start = 0; start < count && finished;) {
        // Less than a tenth of a second is too short to hold a word.
        if (count - start < std::size_t(Recogniser::sampleRate / 10))
            break;
        std::vector<float> piece;
        std::size_t end = 0;
        {
            const std::lock_guard lock(run.samplesInUse);
            if (run.stop) {
                finished = false;
                break;
            }
            end = pieceEnd(run.samples, start, pieceSamples);
            piece.assign(run.samples.begin() + std::ptrdiff_t(start),
                         run.samples.begin() + std::ptrdiff_t(end));
        }
        run.pieceStart = double(start) / Recogniser::sampleRate;
        run.pieceLength = double(end - start) / Recogniser::sampleRate;
        // Each piece is transcribed knowing the text before it (the state keeps it).
        int status =
            whisper_pcm_to_mel_with_state(run.context, state, piece.data(), int(piece.size()), 1);
        if (status == 0 && !run.stop)
            status = whisper_full_with_state(run.context, state, parameters, nullptr, 0);
        finished = status == 0 && !run.stop;
        start = end;
    }
    whisper_free_state(state);
    if (finished)
        run.report(run.place(double(count) / Recogniser::sampleRate - run.pieceStart));
    return finished;
}

} // namespace

WhisperRecogniser::WhisperRecogniser()
{
    quietenLog();
}

WhisperRecogniser::~WhisperRecogniser()
{
    if (m_abandoned.valid())
        m_abandoned.wait();
    whisper_free(m_context);
}

std::optional<QString> WhisperRecogniser::load(const QString& path)
{
    if (m_abandoned.valid())
        m_abandoned.wait();
    whisper_free(m_context);
    m_context = nullptr;
    if (!processorSupported())
        return Localization::tr("This computer's processor lacks the instructions (AVX2) that "
                                "the draft needs.");
    QString problem;
    const std::optional<SpeechModelInfo> info = SpeechModelFile::inspect(path, &problem);
    if (!info)
        return problem;
    whisper_context_params parameters = whisper_context_default_params();
    parameters.use_gpu = false;
    try {
        m_context = whisper_init_from_file_with_params_no_state(QFile::encodeName(path).constData(),
                                                                parameters);
    } catch (const std::exception&) {
        m_context = nullptr;
    }
    if (!m_context)
        return Localization::tr("The speech model “%1” could not be loaded.")
            .arg(QFileInfo(path).fileName());
    m_model = *info;
    return std::nullopt;
}

bool WhisperRecogniser::isLoaded() const
{
    return m_context != nullptr;
}

bool WhisperRecogniser::recognise(const Request& request, const std::atomic<bool>& cancel,
                                  const SegmentSink& sink, const Progress& progress)
{
    if (!m_context)
        return false;
    if (m_abandoned.valid())
        m_abandoned.wait();
    QByteArray language = request.language.toLatin1();
    if (!m_model.multilingual)
        language = "en";
    else if (language.isEmpty())
        language = "auto";
    else if (whisper_lang_id(language.constData()) < 0)
        return false;
    if (cancel)
        return false;

    auto run = std::make_shared<Run>();
    run->context = m_context;
    run->samples = request.samples;
    run->offset = request.offset;
    run->duration = request.duration;
    run->reached = request.offset;
    // The thread inherits this one's priority.
    std::future<void> running = std::async(
        std::launch::async, [run, language, threads = request.threads, retries = m_retries] {
            bool finished = false;
            try {
                finished = recogniseAll(*run, language, threads, retries);
            } catch (const std::exception&) {
                // The model lacks something the decoder looks up; what was given until then stands.
            }
            {
                const std::lock_guard lock(run->mutex);
                run->ended = true;
                run->finished = finished;
            }
            run->changed.notify_one();
        });

    double reported = request.offset;
    for (;;) {
        std::deque<RecognisedSegment> found;
        double reached = 0.0;
        bool ended = false;
        {
            std::unique_lock lock(run->mutex);
            run->changed.wait_for(lock, std::chrono::milliseconds(10), [&] {
                return run->ended || !run->found.empty() || run->reached > reported;
            });
            found.swap(run->found);
            reached = run->reached;
            ended = run->ended;
        }
        if (cancel) {
            run->stop = true;
            // Once the run holds no piece of the samples, it reads them no more.
            {
                const std::lock_guard lock(run->samplesInUse);
            }
            m_abandoned = std::move(running);
            return false;
        }
        for (const RecognisedSegment& segment : found)
            sink(segment);
        if (reached > reported) {
            reported = reached;
            if (progress)
                progress(reported);
        }
        if (ended)
            break;
    }
    running.wait();
    return run->finished;
}

} // namespace dictaro
