#include "WaveformPeaks.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace dictaro {

namespace {

using Peak = WaveformPeaks::Peak;

constexpr qint64 bucketsPerSecond = WaveformPeaks::bucketsPerSecond;
// Nothing longer is computed; transcripts do not go beyond 99:59:59 either.
constexpr qint64 maxBuckets = 100 * 3600 * bucketsPerSecond;
constexpr qint64 hashedBytes = 1024 * 1024;
// How often the worker hands over what it has computed.
constexpr qint64 postIntervalMs = 50;

// --- Cache entries -----------------------------------------------------------------------------
//
// "DWFP", format version (u32 LE), min and max of every bucket (one byte each), bucket count
// (u64 LE), MD5 of everything before it. The count comes last so that an entry can be written
// as its buckets are computed, front to back.
constexpr char entryMagic[4] = {'D', 'W', 'F', 'P'};
constexpr quint32 entryVersion = 2;
constexpr qsizetype entryHeaderSize = 8;
constexpr qsizetype entryChecksumSize = 16;
constexpr qsizetype entryTrailerSize = 8 + entryChecksumSize;
const QString entrySuffix = QStringLiteral(".peaks");

// The cache entry's file name for the file at `path`: a hash of its size, modification time
// and first and last megabyte. Empty when the file cannot be read.
QString cacheEntryName(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayLiteral("dictaro waveform "));
    hash.addData(QByteArray::number(entryVersion) + ' ' + QByteArray::number(bucketsPerSecond) +
                 ' ' + QByteArray::number(size) + ' ' +
                 QByteArray::number(modified.toMSecsSinceEpoch()) + '\n');
    // Read in small pieces: a freed block of a megabyte would make the allocator keep blocks
    // of up to that size in the heap from then on, rather than give them back.
    const auto addBytes = [&](qint64 from) {
        if (!file.seek(from))
            return false;
        char piece[16 * 1024];
        for (qint64 left = std::min(size - from, hashedBytes); left > 0;) {
            const qint64 read = file.read(piece, std::min<qint64>(left, sizeof piece));
            if (read <= 0)
                return false;
            hash.addData(QByteArrayView(piece, read));
            left -= read;
        }
        return true;
    };
    if (!addBytes(0) || !addBytes(std::max<qint64>(0, size - hashedBytes)))
        return {};
    return QString::fromLatin1(hash.result().toHex()) + entrySuffix;
}

// The peaks of a valid entry; nothing for a missing, short, altered or foreign one. A valid
// entry is marked as just used.
std::optional<QList<Peak>> readCacheEntry(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    const qint64 bodySize = size - entryHeaderSize - entryTrailerSize;
    if (bodySize < 0 || bodySize > 2 * maxBuckets || bodySize % 2 != 0)
        return std::nullopt;
    const QByteArray data = file.readAll();
    if (data.size() != size || !data.startsWith(QByteArray(entryMagic, 4)) ||
        qFromLittleEndian<quint32>(data.constData() + 4) != entryVersion ||
        qFromLittleEndian<quint64>(data.constData() + entryHeaderSize + bodySize) !=
            quint64(bodySize / 2))
        return std::nullopt;
    const QByteArrayView checked(data.constData(), data.size() - entryChecksumSize);
    if (QCryptographicHash::hash(checked, QCryptographicHash::Md5) !=
        QByteArrayView(data).last(entryChecksumSize))
        return std::nullopt;
    QList<Peak> peaks(static_cast<qsizetype>(bodySize / 2));
    const char* bytes = data.constData() + entryHeaderSize;
    for (qsizetype i = 0; i < peaks.size(); ++i) {
        peaks[i] = {qint8(bytes[2 * i]), qint8(bytes[2 * i + 1])};
        if (!peaks[i].isComputed())
            return std::nullopt;
    }
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return peaks;
}

// Writes a cache entry while the pass from the start computes it, so that the whole file's
// peaks are never held for it. Buckets come in order; those the decoder skipped are written
// as silence. Nothing is left behind unless it is committed whole.
class EntryWriter
{
public:
    // Writes nothing for an empty `fileName`.
    explicit EntryWriter(const QString& fileName) : m_file(fileName)
    {
        m_ok = !fileName.isEmpty() && QDir().mkpath(QFileInfo(fileName).absolutePath()) &&
               m_file.open(QIODevice::WriteOnly);
        m_buffer.reserve(bufferSize + 64);
        char header[entryHeaderSize];
        std::copy_n(entryMagic, 4, header);
        qToLittleEndian<quint32>(entryVersion, header + 4);
        m_buffer.append(header, entryHeaderSize);
    }
    EntryWriter(const EntryWriter&) = delete;
    EntryWriter& operator=(const EntryWriter&) = delete;

    void add(qint64 bucket, Peak peak)
    {
        if (!m_ok)
            return;
        if (bucket < m_next) { // the pass started over: no entry this time
            m_ok = false;
            return;
        }
        fillTo(bucket);
        m_buffer.append(char(peak.min));
        m_buffer.append(char(peak.max));
        ++m_next;
        if (m_buffer.size() >= bufferSize)
            flush();
    }

    // Ends the entry at `total` buckets. False if it could not be written whole.
    bool commit(qint64 total)
    {
        if (!m_ok || total < m_next)
            return false;
        fillTo(total);
        char count[8];
        qToLittleEndian<quint64>(quint64(total), count);
        m_buffer.append(count, 8);
        flush();
        const QByteArray checksum = m_hash.result();
        return m_ok && m_file.write(checksum) == checksum.size() && m_file.flush() &&
               m_file.commit();
    }

private:
    static constexpr qsizetype bufferSize = 64 * 1024;

    void fillTo(qint64 bucket)
    {
        for (; m_next < bucket; ++m_next) {
            m_buffer.append("\0\0", 2);
            if (m_buffer.size() >= bufferSize)
                flush();
        }
    }
    void flush()
    {
        m_ok = m_ok && m_file.write(m_buffer) == m_buffer.size();
        m_hash.addData(m_buffer);
        m_buffer.resize(0); // keeps its capacity
    }

    QSaveFile m_file;
    QCryptographicHash m_hash{QCryptographicHash::Md5};
    QByteArray m_buffer;
    qint64 m_next = 0;
    bool m_ok = false;
};

// Removes the least recently used entries while the folder holds more than `limit` bytes;
// `keep` stays. Files a computation left unfinished a day ago or more go too (where the
// platform gives unfinished files a name at all).
void trimCache(const QString& directory, qint64 limit, const QString& keep)
{
    const QDir folder(directory);
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    for (const QFileInfo& partial : folder.entryInfoList(
             {QLatin1Char('*') + entrySuffix + QStringLiteral(".*")}, QDir::Files)) {
        if (partial.lastModified() < dayAgo)
            QFile::remove(partial.absoluteFilePath());
    }
    const QFileInfoList entries = folder.entryInfoList({QLatin1Char('*') + entrySuffix},
                                                       QDir::Files, QDir::Time | QDir::Reversed);
    qint64 total = 0;
    for (const QFileInfo& entry : entries)
        total += entry.size();
    for (const QFileInfo& entry : entries) {
        if (total <= limit)
            break;
        if (entry.absoluteFilePath() == keep || !QFile::remove(entry.absoluteFilePath()))
            continue;
        total -= entry.size();
    }
}

// --- Decoding ----------------------------------------------------------------------------------

int interruptRequested(void* cancelled)
{
    return static_cast<const std::atomic<bool>*>(cancelled)->load(std::memory_order_relaxed) ? 1
                                                                                             : 0;
}

qint8 toLevel(float value)
{
    if (!(value == value))
        return 0;
    return qint8(std::clamp(std::lround(double(value) * 127.0), -127L, 127L));
}

// One audio stream of a file, decoded frame by frame into float samples. Positions are in
// samples of the stream's rate from the start of the audio as played.
class Decoder
{
public:
    // A frame of `count` samples per channel; `position` is where it starts, when the stream
    // says so.
    struct Frame
    {
        const float* const* planes = nullptr; // one per channel, or one interleaved
        int planeCount = 0;
        int channels = 0;
        int count = 0;
        std::optional<qint64> position;
    };
    enum class Step { More, End, Failed };

    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder()
    {
        swr_free(&m_resampler);
        av_frame_free(&m_frame);
        av_packet_free(&m_packet);
        avcodec_free_context(&m_codec);
        avformat_close_input(&m_format);
    }

    bool open(const QString& path, std::atomic<bool>* cancelled)
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

    int rate() const { return m_rate; }

    // The length the file declares, in seconds; 0 when unknown.
    double declaredDuration() const
    {
        if (m_stream->duration > 0 && m_stream->duration != AV_NOPTS_VALUE)
            return double(m_stream->duration) * av_q2d(m_stream->time_base);
        if (m_format->duration > 0 && m_format->duration != AV_NOPTS_VALUE)
            return double(m_format->duration) / AV_TIME_BASE;
        return 0.0;
    }

    // A quick seek may land only near `seconds` in some formats (MP3 without an index is
    // positioned by its bitrate or table of contents); otherwise the demuxer reads its way there
    // once, and exactly, unless it has been there already.
    bool seek(double seconds, bool quick)
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

    // Reads one packet of the stream and hands each frame it decodes to `sink`.
    template <typename Sink> Step step(Sink&& sink)
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

private:
    qint64 startTime() const
    {
        return m_stream->start_time != AV_NOPTS_VALUE ? m_stream->start_time : 0;
    }

    template <typename Sink> bool deliver(Sink& sink)
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

    bool prepareResampler()
    {
        const bool same = m_resampler && m_resamplerFormat == m_frame->format &&
                          m_resamplerRate == m_frame->sample_rate &&
                          av_channel_layout_compare(&m_resamplerLayout, &m_frame->ch_layout) == 0;
        if (same)
            return true;
        swr_free(&m_resampler);
        av_channel_layout_uninit(&m_resamplerLayout);
        if (av_channel_layout_copy(&m_resamplerLayout, &m_frame->ch_layout) < 0)
            return false;
        m_resamplerFormat = m_frame->format;
        m_resamplerRate = m_frame->sample_rate;
        return swr_alloc_set_opts2(&m_resampler, &m_frame->ch_layout, AV_SAMPLE_FMT_FLT, m_rate,
                                   &m_frame->ch_layout, AVSampleFormat(m_frame->format),
                                   m_frame->sample_rate, 0, nullptr) >= 0 &&
               swr_init(m_resampler) >= 0;
    }

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
    AVChannelLayout m_resamplerLayout{};
    std::vector<float> m_converted;
};

// Turns decoded samples into buckets. A bucket is written once all of its samples have gone
// through; a pass that starts or stops in the middle of a bucket leaves that bucket alone.
class Bucketer
{
public:
    explicit Bucketer(qint64 rate) : m_rate(rate) {}

    // The first sample of bucket `bucket`.
    qint64 bucketStart(qint64 bucket) const
    {
        return (bucket * m_rate + bucketsPerSecond - 1) / bucketsPerSecond;
    }
    qint64 bucketOf(qint64 sample) const { return sample * bucketsPerSecond / m_rate; }
    qint64 nextSample() const { return m_next; }
    bool isPositioned() const { return m_positioned; }

    // Counts samples from `sample` on, whatever the frames say (from the start of the file).
    void startAt(qint64 sample)
    {
        m_next = sample;
        m_from = sample;
        m_positioned = true;
        m_bucket = -1;
    }
    // After a seek to a little before `sample`: the first frame's position says where the
    // frames are, and what comes before `sample` is left out.
    void seekTo(qint64 sample)
    {
        m_from = sample;
        m_positioned = false;
        m_bucket = -1;
    }
    // The frames after the seek began later than asked for, leaving a gap.
    bool landedLate() const { return m_landedLate; }

    // Takes a frame; `write(bucket, peak)` receives every bucket it completes.
    template <typename Write> void add(const Decoder::Frame& frame, Write&& write)
    {
        if (!m_positioned) {
            m_next = frame.position.value_or(m_from);
            m_positioned = true;
            m_skipBucket = -1;
            if (m_next > m_from) {
                m_landedLate = true;
                // A bucket entered in its middle is not complete.
                m_skipBucket = bucketOf(m_next);
                if (bucketStart(m_skipBucket) == m_next)
                    m_skipBucket = -1;
            }
        }
        int i = 0;
        // Priming samples before the start of the audio, or before where this pass starts.
        if (m_next < std::max<qint64>(m_from, 0))
            i = int(std::min<qint64>(frame.count, std::max<qint64>(m_from, 0) - m_next));
        while (i < frame.count) {
            const qint64 sample = m_next + i;
            const qint64 bucket = bucketOf(sample);
            const int end = int(std::min<qint64>(frame.count, bucketStart(bucket + 1) - m_next));
            float low = 0.0f;
            float high = 0.0f;
            extremes(frame, i, end, low, high);
            if (bucket != m_bucket) {
                flush(write);
                m_bucket = bucket;
                m_low = low;
                m_high = high;
            } else {
                m_low = std::min(m_low, low);
                m_high = std::max(m_high, high);
            }
            i = end;
            if (bucketStart(bucket + 1) == m_next + end) {
                flush(write);
                m_bucket = -1;
            }
        }
        m_next += frame.count;
    }

    // Writes the bucket in progress (at the end of the audio, where it is the last one).
    template <typename Write> void finish(Write&& write)
    {
        flush(write);
        m_bucket = -1;
    }

private:
    template <typename Write> void flush(Write& write)
    {
        if (m_bucket < 0 || m_bucket == m_skipBucket)
            return;
        write(m_bucket, Peak{toLevel(m_low), toLevel(m_high)});
    }

    static void extremes(const Decoder::Frame& frame, int from, int to, float& low, float& high)
    {
        float lo = 0.0f;
        float hi = 0.0f;
        if (frame.planeCount == 1) {
            const float* samples = frame.planes[0];
            for (qsizetype k = qsizetype(from) * frame.channels; k < qsizetype(to) * frame.channels;
                 ++k) {
                lo = std::min(lo, samples[k]);
                hi = std::max(hi, samples[k]);
            }
        } else {
            for (int c = 0; c < frame.planeCount; ++c) {
                const float* samples = frame.planes[c];
                for (int k = from; k < to; ++k) {
                    lo = std::min(lo, samples[k]);
                    hi = std::max(hi, samples[k]);
                }
            }
        }
        low = lo;
        high = hi;
    }

    qint64 m_rate;
    qint64 m_next = 0;
    qint64 m_from = 0;
    bool m_positioned = false;
    bool m_landedLate = false;
    qint64 m_bucket = -1;
    qint64 m_skipBucket = -1;
    float m_low = 0.0f;
    float m_high = 0.0f;
};

void lowerThreadPriority()
{
#ifdef Q_OS_LINUX
    // Niceness applies per thread on Linux.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
#endif
}

} // namespace

// --- The worker --------------------------------------------------------------------------------

struct WaveformPeaks::Batch
{
    enum class Kind { Peaks, Finished, Unavailable };
    Kind kind = Kind::Peaks;
    qsizetype first = 0;
    QList<Peak> peaks;
    qsizetype total = 0;
    bool fromCache = false;
};

struct WaveformPeaks::Job
{
    // Set to null by close(): nothing is posted afterwards.
    std::mutex ownerMutex;
    WaveformPeaks* owner = nullptr;
    quint64 generation = 0;
    QString path;
    QString cacheDirectory;
    qint64 cacheLimitBytes = 0;
    std::atomic<bool> cancelled{false};
    std::atomic<double> focus{0.0};
    std::atomic<quint64> focusSerial{0};
    std::thread thread;
    std::atomic<bool> done{false};

    void post(Batch batch)
    {
        const std::lock_guard lock(ownerMutex);
        if (!owner)
            return;
        QMetaObject::invokeMethod(
            owner,
            [owner = owner, generation = generation, batch = std::move(batch)] {
                owner->apply(generation, batch);
            },
            Qt::QueuedConnection);
    }

    void run();

private:
    // Buckets computed since the last hand-over: one run of them from `first`. The main thread
    // holds the only copy of the whole file's peaks.
    struct Pending
    {
        qint64 first = -1;
        QList<Peak> peaks;
        qint64 end() const { return first + peaks.size(); }
    };

    bool cancelledNow() const { return cancelled.load(std::memory_order_relaxed); }
    void write(Pending& pending, qint64 bucket, Peak peak);
    void hand(Pending& pending);
    void compute(const QString& entryFile);

    // The length of the file in buckets as far as known: declared, or as far as computed.
    qint64 m_total = 0;
    bool m_posted = false;
};

void WaveformPeaks::Job::write(Pending& pending, qint64 bucket, Peak peak)
{
    if (bucket < 0 || bucket >= maxBuckets)
        return;
    // A bucket outside the run (or far past it) goes in the next batch.
    if (pending.first >= 0 && (bucket < pending.first || bucket > pending.end() + bucketsPerSecond))
        hand(pending);
    if (pending.first < 0)
        pending.first = bucket;
    if (bucket >= pending.end())
        pending.peaks.resize(bucket + 1 - pending.first, Peak{});
    pending.peaks[bucket - pending.first] = peak;
    m_total = std::max(m_total, bucket + 1);
}

void WaveformPeaks::Job::hand(Pending& pending)
{
    if (pending.first < 0)
        return;
    Batch batch;
    batch.first = pending.first;
    batch.peaks = std::move(pending.peaks);
    batch.total = m_total;
    post(std::move(batch));
    pending = {};
    m_posted = true;
}

void WaveformPeaks::Job::run()
{
    QString entryFile;
    if (!cacheDirectory.isEmpty()) {
        const QString name = cacheEntryName(path);
        if (!name.isEmpty())
            entryFile = QDir(cacheDirectory).filePath(name);
    }
    if (cancelledNow())
        return;
    if (!entryFile.isEmpty()) {
        if (auto cached = readCacheEntry(entryFile)) {
            Batch batch;
            batch.total = cached->size();
            batch.peaks = std::move(*cached);
            batch.fromCache = true;
            post(batch);
            post({Batch::Kind::Finished, 0, {}, batch.total, true});
            return;
        }
    }
    compute(entryFile);
#ifdef __GLIBC__
    // The demuxer's index of a long AAC file takes megabytes in many small blocks, which the
    // allocator would otherwise keep for this process after they are freed.
    malloc_trim(0);
#endif
}

void WaveformPeaks::Job::compute(const QString& entryFile)
{
    // One decoder serves both the region around the focus and the pass from the start, so the
    // file's index (megabytes for hours of AAC) is held once.
    Decoder decoder;
    if (!decoder.open(path, &cancelled)) {
        if (!cancelledNow())
            post({Batch::Kind::Unavailable, 0, {}, 0, false});
        return;
    }
    const qint64 rate = decoder.rate();
    // The length the file declares, within what its size makes plausible (4 kb/s).
    const qint64 fileSize = QFileInfo(path).size();
    const double plausibleSeconds = double(fileSize) * 8.0 / 4000.0 + 60.0;
    const double declared = std::min(decoder.declaredDuration(), plausibleSeconds);
    m_total = qint64(std::min<double>(std::ceil(declared * bucketsPerSecond), double(maxBuckets)));
    // The pass from the start writes the cache entry as it goes.
    EntryWriter entry(entryFile);

    // Decoding after a seek starts a little earlier: the first frames after it may come out
    // incomplete (overlapping transforms, the MP3 bit reservoir).
    const auto seekBefore = [&](qint64 sample, bool quick) {
        return decoder.seek(std::max(0.0, double(sample) / double(rate) - 0.5), quick);
    };

    Bucketer linear(rate);
    linear.startAt(0);
    bool linearMoved = false; // the decoder is elsewhere: the pass resumes with a seek
    qint64 linearResume = 0;
    Bucketer region(rate);
    bool inRegion = false;
    qint64 regionFirst = 0; // the region in progress, in buckets
    qint64 regionEnd = 0;
    // The buckets each region has computed, the one in progress last.
    std::vector<std::pair<qint64, qint64>> regionSpans;
    bool lowered = false;
    Pending linearPending;
    Pending regionPending;
    quint64 seenFocus = 0;
    bool failed = false;
    QElapsedTimer sincePost;
    sincePost.start();

    // Every bucket before this one is computed.
    const auto linearAt = [&] {
        return linearMoved ? linear.bucketOf(linearResume) : linear.bucketOf(linear.nextSample());
    };
    const auto linearWrite = [&](qint64 bucket, Peak peak) {
        write(linearPending, bucket, peak);
        entry.add(bucket, peak);
    };
    const auto regionWrite = [&](qint64 bucket, Peak peak) {
        // What the pass from the start has written is exact; a seek may not be.
        if (bucket < linearAt())
            return;
        write(regionPending, bucket, peak);
        auto& [first, end] = regionSpans.back();
        first = first < 0 ? bucket : std::min(first, bucket);
        end = std::max(end, bucket + 1);
    };
    const auto startRegion = [&](double seconds) {
        const qint64 focusBucket = qint64(std::max(0.0, seconds) * bucketsPerSecond);
        const qint64 half = qint64(priorityHalfSpan * bucketsPerSecond);
        const qint64 first = std::max<qint64>(0, focusBucket - half);
        const qint64 end = std::min(focusBucket + half, maxBuckets);
        // The region in progress already covers what is around the focus.
        if (inRegion && regionFirst <= focusBucket - half / 2 &&
            regionEnd >= focusBucket + half / 2)
            return;
        // The pass from the start gets there soon enough.
        if (first <= linearAt() + half)
            return;
        // What an earlier region computed is not decoded again.
        qint64 missing = first;
        for (bool moved = true; moved;) {
            moved = false;
            for (const auto& [spanFirst, spanEnd] : regionSpans) {
                if (spanFirst <= missing && missing < spanEnd) {
                    missing = spanEnd;
                    moved = true;
                }
            }
        }
        if (missing >= end)
            return;
        if (!linearMoved) {
            // The pass from the start resumes at the bucket it is in; that bucket is redone.
            linearMoved = true;
            linearResume = linear.bucketStart(linear.bucketOf(linear.nextSample()));
        }
        hand(regionPending);
        region.seekTo(region.bucketStart(missing));
        // Quick: the pass from the start overwrites the region with exact peaks later.
        if (!seekBefore(region.bucketStart(missing), true))
            return;
        inRegion = true;
        regionFirst = first;
        regionEnd = end;
        regionSpans.emplace_back(-1, -1);
    };

    for (;;) {
        if (cancelledNow())
            return;
        const quint64 serial = focusSerial.load();
        if (serial != seenFocus) {
            seenFocus = serial;
            startRegion(focus.load());
        }
        if (inRegion) {
            const Decoder::Step step =
                decoder.step([&](const Decoder::Frame& frame) { region.add(frame, regionWrite); });
            if (step == Decoder::Step::End)
                region.finish(regionWrite);
            const bool past =
                region.isPositioned() && region.bucketOf(region.nextSample()) >= regionEnd;
            if (step != Decoder::Step::More || past) {
                inRegion = false;
                hand(regionPending);
            }
            continue;
        }
        if (!lowered) {
            // What the user is looking at is there; the rest yields to everything else.
            lowerThreadPriority();
            lowered = true;
        }
        if (linearMoved) {
            // Where the pass has been, the demuxer knows exactly where it is; the very start
            // needs no such knowledge. Should that fail, the pass starts over.
            linearMoved = false;
            linear.seekTo(linearResume);
            if (!seekBefore(linearResume, linearResume == 0)) {
                if (!seekBefore(0, true)) {
                    failed = true;
                    break;
                }
                linear.startAt(0);
            }
        }
        const Decoder::Step step =
            decoder.step([&](const Decoder::Frame& frame) { linear.add(frame, linearWrite); });
        const bool tooLong = linear.bucketOf(linear.nextSample()) >= maxBuckets;
        if (step != Decoder::Step::More || tooLong) {
            failed = step == Decoder::Step::Failed || linear.landedLate();
            if (step == Decoder::Step::End)
                linear.finish(linearWrite);
            break;
        }
        const bool firstView = !m_posted && linearPending.peaks.size() >=
                                                qsizetype(2 * priorityHalfSpan * bucketsPerSecond);
        if (firstView || sincePost.elapsed() >= postIntervalMs) {
            hand(linearPending);
            sincePost.restart();
        }
    }
    if (cancelledNow())
        return;

    // The audio ends where the pass from the start ended; the main thread fills what the
    // decoder skipped with silence.
    const qint64 decoded = linear.nextSample();
    const qint64 total = decoded > 0 ? std::min(linear.bucketOf(decoded - 1) + 1, maxBuckets) : 0;
    if (total <= 0) {
        post({Batch::Kind::Unavailable, 0, {}, 0, false});
        return;
    }
    m_total = total;
    hand(regionPending);
    hand(linearPending);
    if (!failed && entry.commit(total))
        trimCache(cacheDirectory, cacheLimitBytes, entryFile);
    if (cancelledNow())
        return;
    post({Batch::Kind::Finished, 0, {}, total, false});
}

// --- WaveformPeaks -----------------------------------------------------------------------------

QString WaveformPeaks::defaultCacheDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/waveforms");
}

WaveformPeaks::WaveformPeaks(QObject* parent)
    : WaveformPeaks(defaultCacheDirectory(), defaultCacheLimitBytes, parent)
{}

WaveformPeaks::WaveformPeaks(QString cacheDirectory, qint64 cacheLimitBytes, QObject* parent)
    : QObject(parent), m_cacheDirectory(std::move(cacheDirectory)),
      m_cacheLimitBytes(cacheLimitBytes)
{}

WaveformPeaks::~WaveformPeaks()
{
    close();
    // Each of them has been told to stop and does so within a packet.
    for (const auto& job : m_stopping)
        job->thread.join();
}

void WaveformPeaks::open(const QString& path, double focusSeconds)
{
    close();
    m_path = path;
    ++m_generation;
    auto job = std::make_shared<Job>();
    job->owner = this;
    job->generation = m_generation;
    job->path = path;
    job->cacheDirectory = m_cacheDirectory;
    job->cacheLimitBytes = m_cacheLimitBytes;
    job->focus = std::isfinite(focusSeconds) ? focusSeconds : 0.0;
    job->focusSerial = 1;
    m_job = job;
    setStatus(Status::Computing);
    job->thread = std::thread([job] {
        job->run();
        job->done = true;
    });
}

void WaveformPeaks::close()
{
    if (m_job) {
        // The worker is not waited for (at low priority on a busy machine it may not run for a
        // while); it stops at its next packet and posts nothing more.
        m_job->cancelled = true;
        {
            const std::lock_guard lock(m_job->ownerMutex);
            m_job->owner = nullptr;
        }
        m_stopping.push_back(std::move(m_job));
        m_job.reset();
    }
    // Workers that have ended are joined (at once).
    std::erase_if(m_stopping, [](const std::shared_ptr<Job>& job) {
        if (!job->done)
            return false;
        job->thread.join();
        return true;
    });
    ++m_generation;
    const bool hadPeaks = !m_peaks.isEmpty();
    m_path.clear();
    m_peaks = {};
    m_fromCache = false;
    setStatus(Status::Empty);
    if (hadPeaks)
        emit peaksArrived(0, 0);
}

void WaveformPeaks::prioritize(double seconds)
{
    if (!m_job || m_status != Status::Computing || !std::isfinite(seconds))
        return;
    const qint64 half = qint64(priorityHalfSpan * bucketsPerSecond) * 2 / 3;
    const qint64 center = qint64(std::max(0.0, seconds) * bucketsPerSecond);
    const qint64 first = std::max<qint64>(0, center - half);
    const qint64 end = std::min<qint64>(center + half, m_peaks.size());
    if (first < end && std::all_of(m_peaks.cbegin() + first, m_peaks.cbegin() + end,
                                   [](const Peak& peak) { return peak.isComputed(); }))
        return;
    m_job->focus = seconds;
    ++m_job->focusSerial;
}

void WaveformPeaks::apply(quint64 generation, const Batch& batch)
{
    if (generation != m_generation)
        return;
    m_fromCache = batch.fromCache;
    switch (batch.kind) {
    case Batch::Kind::Peaks: {
        if (batch.fromCache) {
            m_peaks = batch.peaks; // the whole file: shared, not copied
            emit peaksArrived(0, m_peaks.size());
            break;
        }
        resizePeaks(batch.total);
        const qsizetype end = std::min(batch.first + batch.peaks.size(), m_peaks.size());
        for (qsizetype i = batch.first; i < end; ++i) {
            // A bucket the batch skips over keeps what is there.
            if (const Peak peak = batch.peaks[i - batch.first]; peak.isComputed())
                m_peaks[i] = peak;
        }
        if (batch.first < end)
            emit peaksArrived(batch.first, end);
        break;
    }
    case Batch::Kind::Finished: {
        resizePeaks(batch.total);
        // What the decoder skipped is silence.
        qsizetype first = -1;
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_peaks.size(); ++i) {
            if (!m_peaks[i].isComputed()) {
                m_peaks[i] = Peak{0, 0};
                first = first < 0 ? i : first;
                end = i + 1;
            }
        }
        if (first >= 0)
            emit peaksArrived(first, end);
        setStatus(Status::Complete);
        emit finished();
        break;
    }
    case Batch::Kind::Unavailable:
        m_peaks = {};
        setStatus(Status::Unavailable);
        emit unavailable();
        break;
    }
}

void WaveformPeaks::resizePeaks(qsizetype count)
{
    // The count grows by little past what the file declares, or from nothing by steps when it
    // declares nothing: each step takes a little room ahead rather than doubling the list.
    if (count > m_peaks.capacity())
        m_peaks.reserve(count + count / 64 + bucketsPerSecond);
    m_peaks.resize(count, Peak{});
}

void WaveformPeaks::setStatus(Status status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged(m_status);
}

} // namespace dictaro
