#include "WaveformDecoder.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

namespace dictaro {

namespace {

int interruptRequested(void* cancelled)
{
    return static_cast<const std::atomic<bool>*>(cancelled)->load(std::memory_order_relaxed) ? 1
                                                                                             : 0;
}

} // namespace

WaveformDecoder::WaveformDecoder() : m_resamplerLayout(new AVChannelLayout{}) {}

WaveformDecoder::~WaveformDecoder()
{
    swr_free(&m_resampler);
    av_channel_layout_uninit(m_resamplerLayout);
    delete m_resamplerLayout;
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
}

bool WaveformDecoder::open(const QString& path, std::atomic<bool>* cancelled)
{
    m_format = avformat_alloc_context();
    if (!m_format)
        return false;
    m_format->interrupt_callback = {&interruptRequested, cancelled};
    // An MP4 file's edit list is applied as a time offset rather than by building a second
    // copy of its index: for hours of AAC that copy is over 10 MB for a moment. The offset
    // is all an audio file's edit list holds (the encoder's priming).
    AVDictionary* options = nullptr;
    av_dict_set(&options, "advanced_editlist", "0", 0);
    const int opened =
        avformat_open_input(&m_format, QFile::encodeName(path).constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return false; // the context is freed on failure
    if (avformat_find_stream_info(m_format, nullptr) < 0)
        return false;
    const AVCodec* codec = nullptr;
    m_streamIndex = av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (m_streamIndex < 0 || !codec)
        return false;
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (int(i) != m_streamIndex)
            m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    m_stream = m_format->streams[m_streamIndex];
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec || avcodec_parameters_to_context(m_codec, m_stream->codecpar) < 0)
        return false;
    m_codec->thread_count = 1;
    m_codec->pkt_timebase = m_stream->time_base;
    if (avcodec_open2(m_codec, codec, nullptr) < 0 || m_codec->sample_rate <= 0)
        return false;
    m_rate = m_codec->sample_rate;
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    return m_packet && m_frame;
}

double WaveformDecoder::declaredDuration() const
{
    if (m_stream->duration > 0 && m_stream->duration != AV_NOPTS_VALUE)
        return double(m_stream->duration) * av_q2d(m_stream->time_base);
    if (m_format->duration > 0 && m_format->duration != AV_NOPTS_VALUE)
        return double(m_format->duration) / AV_TIME_BASE;
    return 0.0;
}

bool WaveformDecoder::seek(double seconds, bool quick)
{
    if (quick)
        m_format->flags |= AVFMT_FLAG_FAST_SEEK;
    else
        m_format->flags &= ~AVFMT_FLAG_FAST_SEEK;
    const qint64 target = av_rescale_q(qint64(std::max(0.0, seconds) * AV_TIME_BASE),
                                       AV_TIME_BASE_Q, m_stream->time_base) +
                          startTime();
    const int sought = av_seek_frame(m_format, m_streamIndex, target, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(m_codec);
    m_draining = false;
    return sought >= 0;
}

WaveformDecoder::Step WaveformDecoder::step(const Sink& sink)
{
    if (!m_draining) {
        const int read = av_read_frame(m_format, m_packet);
        if (read == AVERROR(EAGAIN))
            return Step::More;
        if (read < 0) {
            if (read != AVERROR_EOF && !(m_format->pb && avio_feof(m_format->pb)))
                return Step::Failed;
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
        } else {
            if (m_packet->stream_index == m_streamIndex)
                avcodec_send_packet(m_codec, m_packet); // a damaged packet is skipped
            av_packet_unref(m_packet);
        }
    }
    int received = 0;
    while ((received = avcodec_receive_frame(m_codec, m_frame)) >= 0) {
        const bool delivered = deliver(sink);
        av_frame_unref(m_frame);
        if (!delivered)
            return Step::Failed;
    }
    return m_draining && received == AVERROR_EOF ? Step::End : Step::More;
}

qint64 WaveformDecoder::startTime() const
{
    return m_stream->start_time != AV_NOPTS_VALUE ? m_stream->start_time : 0;
}

bool WaveformDecoder::deliver(const Sink& sink)
{
    Frame frame;
    frame.channels = m_frame->ch_layout.nb_channels;
    frame.count = m_frame->nb_samples;
    if (frame.channels <= 0 || frame.count <= 0)
        return true;
    if (m_frame->best_effort_timestamp != AV_NOPTS_VALUE) {
        frame.position = av_rescale_q(m_frame->best_effort_timestamp - startTime(),
                                      m_stream->time_base, AVRational{1, m_rate});
    }
    const auto format = AVSampleFormat(m_frame->format);
    if (m_frame->sample_rate == m_rate &&
        (format == AV_SAMPLE_FMT_FLTP || format == AV_SAMPLE_FMT_FLT)) {
        frame.planes = reinterpret_cast<const float* const*>(m_frame->extended_data);
        frame.planeCount = format == AV_SAMPLE_FMT_FLTP ? frame.channels : 1;
        sink(frame);
        return true;
    }
    // Any other sample format (or a rate change) goes through the resampler into
    // interleaved floats at the stream's first rate.
    if (!prepareResampler())
        return false;
    const int capacity = int(swr_get_out_samples(m_resampler, frame.count));
    if (capacity <= 0)
        return true;
    m_converted.resize(std::size_t(capacity) * std::size_t(frame.channels));
    auto* out = reinterpret_cast<uint8_t*>(m_converted.data());
    const int converted =
        swr_convert(m_resampler, &out, capacity,
                    const_cast<const uint8_t**>(m_frame->extended_data), frame.count);
    if (converted < 0)
        return false;
    const float* interleaved = m_converted.data();
    frame.planes = &interleaved;
    frame.planeCount = 1;
    frame.count = converted;
    sink(frame);
    return true;
}

bool WaveformDecoder::prepareResampler()
{
    const bool same = m_resampler && m_resamplerFormat == m_frame->format &&
                      m_resamplerRate == m_frame->sample_rate &&
                      av_channel_layout_compare(m_resamplerLayout, &m_frame->ch_layout) == 0;
    if (same)
        return true;
    swr_free(&m_resampler);
    av_channel_layout_uninit(m_resamplerLayout);
    if (av_channel_layout_copy(m_resamplerLayout, &m_frame->ch_layout) < 0)
        return false;
    m_resamplerFormat = m_frame->format;
    m_resamplerRate = m_frame->sample_rate;
    return swr_alloc_set_opts2(&m_resampler, &m_frame->ch_layout, AV_SAMPLE_FMT_FLT, m_rate,
                               &m_frame->ch_layout, AVSampleFormat(m_frame->format),
                               m_frame->sample_rate, 0, nullptr) >= 0 &&
           swr_init(m_resampler) >= 0;
}

} // namespace dictaro
