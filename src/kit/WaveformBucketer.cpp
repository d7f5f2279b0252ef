#include "WaveformBucketer.h"

#include <cmath>

namespace dictaro {

void WaveformBucketer::startAt(qint64 sample)
{
    m_next = sample;
    m_from = sample;
    m_positioned = true;
    m_bucket = -1;
}

void WaveformBucketer::seekTo(qint64 sample)
{
    m_from = sample;
    m_positioned = false;
    m_bucket = -1;
}

void WaveformBucketer::position(const Frame& frame)
{
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

qint8 WaveformBucketer::toLevel(float value)
{
    if (!(value == value))
        return 0;
    return qint8(std::clamp(std::lround(double(value) * 127.0), -127L, 127L));
}

void WaveformBucketer::extremes(const Frame& frame, int from, int to, float& low, float& high)
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

qint64 WaveformBucketer::plausibleBuckets(qint64 fileBytes, double bitsPerSecond)
{
    const double seconds = double(std::max<qint64>(fileBytes, 0)) * 8.0 / bitsPerSecond + 60.0;
    return qint64(std::min(std::ceil(seconds * bucketsPerSecond), double(maxBuckets)));
}

} // namespace dictaro
