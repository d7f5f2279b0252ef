#pragma once

#include "WaveformBucketer.h"

#include <QString>

#include <atomic>
#include <functional>
#include <vector>

struct AVChannelLayout;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;

namespace dictaro {

// One audio stream of a file, decoded frame by frame with FFmpeg into float samples. Positions
// are in samples of the stream's rate from the start of the audio as played.
class WaveformDecoder
{
public:
    using Frame = WaveformBucketer::Frame;
    using Sink = std::function<void(const Frame&)>;
    enum class Step { More, End, Failed };

    WaveformDecoder();
    ~WaveformDecoder();
    WaveformDecoder(const WaveformDecoder&) = delete;
    WaveformDecoder& operator=(const WaveformDecoder&) = delete;

    // Opens the best audio stream of the regular file at `path`. Reading gives up once
    // `cancelled` is set.
    bool open(const QString& path, std::atomic<bool>* cancelled);
    int rate() const { return m_rate; }
    // The length the file declares, in seconds; 0 when unknown.
    double declaredDuration() const;
    // A quick seek may land only near `seconds` in some formats (MP3 without an index is
    // positioned by its bitrate or table of contents); otherwise the demuxer reads its way
    // there once, and exactly, unless it has been there already.
    bool seek(double seconds, bool quick);
    // Reads one packet of the stream and hands each frame it decodes to `sink`.
    Step step(const Sink& sink);

private:
    qint64 startTime() const;
    bool deliver(const Sink& sink);
    bool prepareResampler();

    AVFormatContext* m_format = nullptr;
    AVStream* m_stream = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_streamIndex = -1;
    int m_rate = 0;
    bool m_draining = false;
    SwrContext* m_resampler = nullptr;
    int m_resamplerFormat = -1;
    int m_resamplerRate = 0;
    AVChannelLayout* m_resamplerLayout = nullptr;
    std::vector<float> m_converted;
};

} // namespace dictaro
