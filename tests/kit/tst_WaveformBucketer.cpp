#include "WaveformBucketer.h"

#include <QTest>

#include <cmath>
#include <map>
#include <vector>

using namespace dictaro;
using Peak = WaveformBucketer::Peak;

namespace {

// Feeds `samples` (mono) to a bucketer in frames of `frameSize`, from the start, and returns
// every bucket written, by number, failing on a bucket written twice.
std::map<qint64, Peak> bucketsOf(qint64 rate, const std::vector<float>& samples, int frameSize,
                                 bool* twice)
{
    WaveformBucketer bucketer(rate);
    bucketer.startAt(0);
    std::map<qint64, Peak> written;
    const auto write = [&](qint64 bucket, Peak peak) {
        *twice = *twice || written.count(bucket) > 0;
        written[bucket] = peak;
    };
    for (std::size_t from = 0; from < samples.size(); from += frameSize) {
        const float* data = samples.data() + from;
        WaveformBucketer::Frame frame;
        frame.planes = &data;
        frame.planeCount = 1;
        frame.channels = 1;
        frame.count = int(std::min<std::size_t>(frameSize, samples.size() - from));
        bucketer.add(frame, write);
    }
    bucketer.finish(write);
    return written;
}

} // namespace

class tst_WaveformBucketer : public QObject
{
    Q_OBJECT

private slots:
    // Clicks on the first and last sample of a bucket land in it, whatever the frame size and
    // also where a bucket is not a whole number of samples (22,050 Hz: 220.5 per bucket); every
    // bucket is written once, the last (partial) one included, and silence stays at zero.
    void clicksInTheirBuckets_data()
    {
        QTest::addColumn<qint64>("rate");
        QTest::addColumn<int>("frameSize");
        QTest::newRow("22050 Hz, frames of 1152") << qint64(22050) << 1152;
        QTest::newRow("22050 Hz, frames of 221") << qint64(22050) << 221;
        QTest::newRow("22050 Hz, frames of 1") << qint64(22050) << 1;
        QTest::newRow("44100 Hz, frames of 1024") << qint64(44100) << 1024;
        QTest::newRow("8000 Hz, frames of 160") << qint64(8000) << 160;
        QTest::newRow("11025 Hz, frames of 4096") << qint64(11025) << 4096;
        QTest::newRow("7350 Hz, frames of 100") << qint64(7350) << 100;
    }
    void clicksInTheirBuckets()
    {
        QFETCH(qint64, rate);
        QFETCH(int, frameSize);
        const qint64 count = rate * 3 + rate / 7; // ends within a bucket
        std::vector<float> samples(std::size_t(count), 0.0f);
        const WaveformBucketer arithmetic(rate);
        std::map<qint64, std::pair<float, float>> clicks;
        // A click on the first and last sample of some buckets, up and down. (A bucket's first
        // sample must be in it, or adding would never end.)
        for (qint64 bucket = 3; bucket < 300; bucket += 37) {
            QCOMPARE(arithmetic.bucketOf(arithmetic.bucketStart(bucket)), bucket);
            samples[std::size_t(arithmetic.bucketStart(bucket))] = 0.5f;
            samples[std::size_t(arithmetic.bucketStart(bucket + 1) - 1)] = -0.25f;
            clicks[bucket] = {-0.25f, 0.5f};
        }
        bool twice = false;
        const std::map<qint64, Peak> buckets = bucketsOf(rate, samples, frameSize, &twice);
        QVERIFY(!twice);
        const qint64 expected = (count * 100 + rate - 1) / rate;
        QCOMPARE(qint64(buckets.size()), expected);
        QCOMPARE(buckets.rbegin()->first, expected - 1);
        for (const auto& [bucket, peak] : buckets) {
            const auto click = clicks.find(bucket);
            const Peak want = click == clicks.end()
                                  ? Peak{0, 0}
                                  : Peak{WaveformBucketer::toLevel(click->second.first),
                                         WaveformBucketer::toLevel(click->second.second)};
            QVERIFY2(
                peak == want,
                qPrintable(QString("bucket %1: %2..%3").arg(bucket).arg(peak.min).arg(peak.max)));
        }
    }

    // Channels count together, planar or interleaved.
    void extremesOverChannels()
    {
        const float left[] = {0.1f, -0.5f, 0.2f};
        const float right[] = {0.7f, 0.0f, -0.1f};
        const float* planar[] = {left, right};
        WaveformBucketer::Frame frame;
        frame.planes = planar;
        frame.planeCount = 2;
        frame.channels = 2;
        frame.count = 3;
        float low = 1.0f;
        float high = -1.0f;
        WaveformBucketer::extremes(frame, 1, 3, low, high);
        QCOMPARE(low, -0.5f);
        QCOMPARE(high, 0.2f);
        const float interleaved[] = {0.1f, 0.7f, -0.5f, 0.0f, 0.2f, -0.1f};
        const float* one = interleaved;
        frame.planes = &one;
        frame.planeCount = 1;
        WaveformBucketer::extremes(frame, 0, 3, low, high);
        QCOMPARE(low, -0.5f);
        QCOMPARE(high, 0.7f);
    }
};

QTEST_GUILESS_MAIN(tst_WaveformBucketer)
#include "tst_WaveformBucketer.moc"
