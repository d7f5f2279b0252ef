#pragma once

#include <QtGlobal>

#include <algorithm>
#include <optional>

namespace dictaro {

// Turns decoded samples into the waveform's buckets (the extremes of every 10 ms). A bucket is
// written once all of its samples have gone through; a pass that starts or stops in the middle
// of a bucket leaves that bucket alone. Positions are in samples of the stream's rate from the
// start of the audio as played.
class WaveformBucketer
{
public:
    static constexpr qint64 bucketsPerSecond = 100;
    // Nothing longer is computed; transcripts do not go beyond 99:59:59 either.
    static constexpr qint64 maxBuckets = 100 * 3600 * bucketsPerSecond;

    // One bucket: the extremes of its samples over all channels, in 1/127 of full scale. A
    // bucket not computed yet has min > max.
    struct Peak
    {
        qint8 min = 1;
        qint8 max = -1;

        bool isComputed() const { return min <= max; }
        friend bool operator==(const Peak&, const Peak&) = default;
    };

    // Decoded float samples: `count` per channel; `position` is where they start, when the
    // stream says so.
    struct Frame
    {
        const float* const* planes = nullptr; // one per channel, or one interleaved
        int planeCount = 0;
        int channels = 0;
        int count = 0;
        std::optional<qint64> position;
    };

    explicit WaveformBucketer(qint64 rate) : m_rate(rate) {}

    // The first sample of bucket `bucket`.
    qint64 bucketStart(qint64 bucket) const
    {
        return (bucket * m_rate + bucketsPerSecond - 1) / bucketsPerSecond;
    }
    qint64 bucketOf(qint64 sample) const { return sample * bucketsPerSecond / m_rate; }
    qint64 nextSample() const { return m_next; }
    bool isPositioned() const { return m_positioned; }

    // Counts samples from `sample` on, whatever the frames say (from the start of the file).
    void startAt(qint64 sample);
    // After a seek to a little before `sample`: the first frame's position says where the
    // frames are, and what comes before `sample` is left out.
    void seekTo(qint64 sample);
    // The frames after the seek began later than asked for, leaving a gap.
    bool landedLate() const { return m_landedLate; }

    // Takes a frame; `write(bucket, peak)` receives every bucket it completes.
    template <typename Write> void add(const Frame& frame, Write&& write);
    // Writes the bucket in progress (at the end of the audio, where it is the last one).
    template <typename Write> void finish(Write&& write)
    {
        flush(write);
        m_bucket = -1;
    }

    // A sample as a level in 1/127 of full scale (0 for NaN).
    static qint8 toLevel(float value);
    // The lowest and highest of samples [from, to) of a frame, over all its channels, with 0.
    static void extremes(const Frame& frame, int from, int to, float& low, float& high);
    // How many buckets a file of `fileBytes` can hold at the least `bitsPerSecond` its audio
    // may take, with a minute to spare; never more than maxBuckets.
    static qint64 plausibleBuckets(qint64 fileBytes, double bitsPerSecond);

private:
    // Where the first frame after seekTo() lands.
    void position(const Frame& frame);
    template <typename Write> void flush(Write& write)
    {
        if (m_bucket < 0 || m_bucket == m_skipBucket)
            return;
        write(m_bucket, Peak{toLevel(m_low), toLevel(m_high)});
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

template <typename Write> void WaveformBucketer::add(const Frame& frame, Write&& write)
{
    if (!m_positioned)
        position(frame);
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

} // namespace dictaro
