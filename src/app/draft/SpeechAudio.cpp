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
                                                      const Progress& progress, QString* problem)
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
    const double declared = decoder.declaredDuration();
    SpeechAudio audio;
    if (declared > 0)
        audio.samples.reserve(std::size_t(declared * Recogniser::sampleRate) + 1);
    MonoResampler resampler;
    if (!resampler.open(decoder.rate()))
        return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));

    std::vector<float> mono;
    bool converted = true;
    const auto sink = [&](const WaveformDecoder::Frame& frame) {
        mono.assign(std::size_t(frame.count), 0.0f);
        const float scale = 1.0f / float(frame.channels);
        for (int channel = 0; channel < frame.channels; ++channel) {
            const bool planar = frame.planeCount > 1;
            const float* plane = frame.planes[planar ? channel : 0];
            const int stride = planar ? 1 : frame.channels;
            const int first = planar ? 0 : channel;
            for (int i = 0; i < frame.count; ++i)
                mono[std::size_t(i)] += plane[first + i * stride] * scale;
        }
        converted = converted && resampler.convert(mono.data(), frame.count, audio.samples);
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
        if (step == WaveformDecoder::Step::End)
            break;
        if (progress && audio.duration() - reported >= 10.0) {
            reported = audio.duration();
            progress(reported);
        }
    }
    if (!resampler.convert(nullptr, 0, audio.samples))
        return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));
    if (audio.samples.empty())
        return fail(Localization::tr("“%1” holds no audio that can be read.").arg(path));
    if (progress)
        progress(audio.duration());
    return audio;
}

} // namespace dictaro
