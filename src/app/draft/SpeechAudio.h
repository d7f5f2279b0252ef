#pragma once

#include <QString>

#include <atomic>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace dictaro {

// A recording decoded for a recogniser: 16 kHz, one channel, floats in -1..1.
struct SpeechAudio
{
    std::vector<float> samples;
    // The length of the samples in seconds.
    double duration() const;
};

namespace SpeechAudioDecoder {

// How far decoding has got, in seconds of the recording.
using Progress = std::function<void(double reached)>;

// Decodes the best audio stream of the file at `path` (with the waveform's FFmpeg decoder),
// mixing its channels down and resampling to Recogniser::sampleRate: from `start` seconds to
// `end` (or to the end of the file). Gives nothing when the file can't be decoded or `cancel`
// was set, with why in `problem` (a message for the user).
std::optional<SpeechAudio> decode(const QString& path, const std::atomic<bool>& cancel,
                                  const Progress& progress, QString* problem, double start = 0.0,
                                  double end = INFINITY);

} // namespace SpeechAudioDecoder
} // namespace dictaro
