#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace dictaro {

// A word the recogniser heard, with its times in seconds from the start of the recording and
// how sure it was (0 to 1).
struct RecognisedWord
{
    double start = 0.0;
    double end = 0.0;
    QString text;
    double probability = 1.0;

    friend bool operator==(const RecognisedWord&, const RecognisedWord&) = default;
};

// A stretch of speech the recogniser made into text: its times (start <= end, both within the
// recording) and its words in order. The words' texts joined make the segment's text, give or
// take spaces.
struct RecognisedSegment
{
    double start = 0.0;
    double end = 0.0;
    QString text;
    std::vector<RecognisedWord> words;

    friend bool operator==(const RecognisedSegment&, const RecognisedSegment&) = default;
};

// Turns speech into timed text. One implementation runs a local speech model; tests use fakes.
// An instance is used from one thread at a time (the drafting worker's), never the GUI thread.
class Recogniser
{
public:
    // The rate and layout of the samples recognise() takes: 16 kHz, one channel, floats in -1..1.
    static constexpr int sampleRate = 16000;

    struct Request
    {
        // The recording's 16 kHz mono samples to recognise; the request only refers to them,
        // so they must outlive the call.
        std::span<const float> samples;
        // Where the first sample lies in the recording, in seconds; every time given back is
        // shifted by it and clamped to 0..duration.
        double offset = 0.0;
        double duration = 0.0;
        // "en", "tr", ...; empty to let a multilingual model find out.
        QString language;
        // At most this many threads (at least one).
        int threads = 1;
    };
    // Each segment as soon as it is final, in order of time.
    using SegmentSink = std::function<void(const RecognisedSegment&)>;
    // How far the recogniser has got, in seconds of the recording.
    using Progress = std::function<void(double reached)>;

    virtual ~Recogniser() = default;

    // Loads the model in the file at `path`. Returns why it can't be used (a message for the
    // user), or nothing when it is loaded.
    virtual std::optional<QString> load(const QString& path) = 0;
    virtual bool isLoaded() const = 0;
    // Recognises the request's samples with the loaded model. Returns false when it stopped
    // early: `cancel` was set (checked often enough to stop within 100 ms) or it failed; the
    // segments given until then stand.
    virtual bool recognise(const Request& request, const std::atomic<bool>& cancel,
                           const SegmentSink& sink, const Progress& progress) = 0;
};

} // namespace dictaro
