#include "SpeechAudio.h"

#include "Localization.h"
#include "Recogniser.h"
#include "WaveformDecoder.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace dictaro {

double SpeechAudio::duration() const
{
    return double(samples.size()) / Recogniser::sampleRate;
}

namespace {

// Mono floats at the stream's rate in, 16 kHz mono floats appended to `out`.
class MonoResampler
{
public:
    ~MonoResampler() { swr_free(&m_context); }

    bool open(int inputRate)
    {
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        return swr_alloc_set_opts2(&m_context, &mono, AV_SAMPLE_FMT_FLT, Recogniser::sampleRate,
                                   &mono, AV_SAMPLE_FMT_FLT, inputRate, 0, nullptr) >= 0 &&
               swr_init(m_context) >= 0;
    }

    // Converts `count` samples (none to drain what the resampler holds back).
    bool convert(const float* input, int count, std::vector<float>& out)
    {
        const int capacity = swr_get_out_samples(m_context, count);
        if (capacity < 0)
            return false;
        const std::size_t before = out.size();
        out.resize(before + std::size_t(capacity));
        auto* target = reinterpret_cast<uint8_t*>(out.data() + before);
        const auto* source = reinterpret_cast<const uint8_t*>(input);
        const int converted =
            swr_convert(m_context, &target, capacity, input ? &source : nullptr, count);
        out.resize(before + std::size_t(std::max(converted, 0)));
        return converted >= 0;
    }

private:
    SwrContext* m_context = nullptr;
};

} // namespace

std::optional<SpeechAudio> SpeechAudioDecoder::decode(const QString& path,
                                                      const std::atomic<bool>& cancel,
                                                      const Progress& progress, QString* problem,
                                                      double start, double end)
{
    const auto fail = [&](const QString& why) -> std::optional<SpeechAudio> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (!QFileInfo(path).isFile())
        return fail(Localization::tr("The recording “%1” can't be found.").arg(path));
    WaveformDecoder decoder;
    // The decoder only reads the flag.
    if (!decoder.open(path, const_cast<std::atomic<bool>*>(&cancel)))
        return cancel ? fail(Localization::tr("Stopped."))
                      : fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));
    start = std::max(0.0, start);
    if (start > 0.0 && !decoder.seek(start, false))
        return fail(Localization::tr("“%1” could not be read to its end.").arg(path));
    const double declared = std::min(decoder.declaredDuration(), end) - start;
    SpeechAudio audio;
    if (declared > 0)
        audio.samples.reserve(std::size_t(declared * Recogniser::sampleRate) + 1);
    // The stretch in samples of the stream: frames from before it (a seek lands on the packet
    // before) are cut, and decoding ends after it.
    const qint64 first = qint64(std::llround(start * decoder.rate()));
    const qint64 last = std::isfinite(end) ? qint64(std::llround(end * decoder.rate()))
                                           : std::numeric_limits<qint64>::max();
    qint64 position = first;
    bool past = false;
    MonoResampler resampler;
    if (!resampler.open(decoder.rate()))
        return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));

    std::vector<float> mono;
    bool converted = true;
    const auto sink = [&](const WaveformDecoder::Frame& frame) {
        if (frame.position)
            position = *frame.position;
        const qint64 skip = std::clamp<qint64>(first - position, 0, frame.count);
        const qint64 keep = std::clamp<qint64>(last - position, 0, frame.count) - skip;
        position += frame.count;
        past = past || position >= last;
        if (keep <= 0)
            return;
        mono.assign(std::size_t(keep), 0.0f);
        const float scale = 1.0f / float(frame.channels);
        for (int channel = 0; channel < frame.channels; ++channel) {
            const bool planar = frame.planeCount > 1;
            const float* plane = frame.planes[planar ? channel : 0];
            const int stride = planar ? 1 : frame.channels;
            const int offset = planar ? 0 : channel;
            for (qint64 i = 0; i < keep; ++i)
                mono[std::size_t(i)] += plane[offset + (skip + i) * stride] * scale;
        }
        converted = converted && resampler.convert(mono.data(), int(keep), audio.samples);
    };
    double reported = 0.0;
    for (;;) {
        if (cancel)
            return fail(Localization::tr("Stopped."));
        const WaveformDecoder::Step step = decoder.step(sink);
        if (!converted)
            return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));
        if (step == WaveformDecoder::Step::Failed) {
            if (cancel)
                return fail(Localization::tr("Stopped."));
            return fail(Localization::tr("“%1” could not be read to its end.").arg(path));
        }
        if (step == WaveformDecoder::Step::End || past)
            break;
        if (progress && audio.duration() - reported >= 10.0) {
            reported = audio.duration();
            progress(start + reported);
        }
    }
    if (!resampler.convert(nullptr, 0, audio.samples))
        return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));
    if (audio.samples.empty())
        return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));
    if (progress)
        progress(start + audio.duration());
    return audio;
}

} // namespace dictaro
