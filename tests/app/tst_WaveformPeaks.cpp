#include "WaveformPeaks.h"

#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>
#include <memory>

#include <sys/stat.h>

using dictaro::WaveformPeaks;
using Peak = WaveformPeaks::Peak;
namespace test = dictaro::test;

namespace {

// Three minutes of silence at `rate` with a 1 kHz tone at half of full scale for half a second
// from `burstAt` seconds.
QStringList burstRecording(int burstAt, int rate)
{
    return {"-f", "lavfi", "-i",
            QString("aevalsrc='0.5*sin(2*PI*1000*t)*gte(t,%1)*lt(t,%1.5)':s=%2:d=180")
                .arg(burstAt)
                .arg(rate)};
}

constexpr qsizetype burstBucket = 150 * WaveformPeaks::bucketsPerSecond;

// The first bucket whose peak reaches a quarter of full scale.
qsizetype firstLoud(const QList<Peak>& peaks, qsizetype from = 0)
{
    for (qsizetype i = from; i < peaks.size(); ++i) {
        if (peaks[i].isComputed() && peaks[i].max >= 32)
            return i;
    }
    return -1;
}

} // namespace

class tst_WaveformPeaks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_fixtures;
    std::unique_ptr<QTemporaryDir> m_cache;

    QString fixture(const QString& name) const { return m_fixtures.filePath(name); }
    QStringList cacheEntries() const { return QDir(m_cache->path()).entryList(QDir::Files); }

    static bool ffmpeg(QStringList arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start("ffmpeg", QStringList{"-nostdin", "-loglevel", "error", "-y"} + arguments);
        return process.waitForFinished(60000) && process.exitCode() == 0;
    }

    // Opens `path` and waits for the outcome; true when the peaks are complete.
    bool compute(WaveformPeaks& peaks, const QString& path, double focus = 0.0)
    {
        QSignalSpy finished(&peaks, &WaveformPeaks::finished);
        QSignalSpy unavailable(&peaks, &WaveformPeaks::unavailable);
        peaks.open(path, focus);
        return QTest::qWaitFor([&] { return !finished.isEmpty() || !unavailable.isEmpty(); },
                               90000) &&
               !finished.isEmpty();
    }
    // Where complete peaks came from: "computed", "cached", or "failed".
    QString source(WaveformPeaks& peaks, const QString& path, double focus = 0.0)
    {
        if (!compute(peaks, path, focus))
            return QStringLiteral("failed");
        return QLatin1String(peaks.isFromCache() ? "cached" : "computed");
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_fixtures.isValid());
        // The burst at 2:30, the same length with it at 0:30 (a changed file), and at 22,050 Hz,
        // as speech often is: 220.5 samples to a bucket. Then MP3 and AAC of the first.
        for (const auto& [name, burstAt, rate] :
             {std::tuple("burst.wav", 150, 8000), std::tuple("moved.wav", 30, 8000),
              std::tuple("burst22k.wav", 150, 22050)})
            QVERIFY(ffmpeg(burstRecording(burstAt, rate) +
                           QStringList{"-c:a", "pcm_s16le", fixture(name)}));
        for (const char* codec : {"libmp3lame", "aac"})
            QVERIFY(ffmpeg({"-i", fixture("burst.wav"), "-c:a", codec, "-b:a", "32k",
                            fixture(codec == QLatin1String("aac") ? "burst.m4a" : "burst.mp3")}));
        // An hour of MP3, made by repeating a minute of bare MP3 frames.
        QVERIFY(ffmpeg({"-f", "lavfi", "-i", "anoisesrc=a=0.1:r=8000:d=60", "-c:a", "libmp3lame",
                        "-b:a", "16k", "-write_xing", "0", "-id3v2_version", "0",
                        fixture("minute.mp3")}));
        const QByteArray minute = test::readFile(fixture("minute.mp3"));
        QVERIFY(!minute.isEmpty() && test::writeFile(fixture("hours.mp3"), minute.repeated(60)));
        // What the decoder refuses.
        QVERIFY(test::writeFile(fixture("notes.mp3"), "These are notes, not audio.\n"));
        QVERIFY(test::writeFile(fixture("empty.mp3"), {}));
        QVERIFY(ffmpeg({"-f", "lavfi", "-i", "color=c=red:s=16x16", "-frames:v", "1", "-f",
                        "image2", fixture("image.mp3")}));
        // Files that never answer a read.
        QCOMPARE(::mkfifo(QFile::encodeName(fixture("pipe.mp3")).constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/zero", fixture("zero.mp3")));
    }

    void init()
    {
        m_cache = std::make_unique<QTemporaryDir>();
        QVERIFY(m_cache->isValid());
    }

    // The burst lands in its bucket at its height, whichever way it was computed: from the
    // start, or first in the region around a position far into the file.
    void burst_inItsBucketAtItsHeight_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("focus");
        for (const char* file : {"burst.wav", "burst22k.wav", "burst.mp3", "burst.m4a"}) {
            QTest::addRow("%s from the start", file) << QString(file) << 0.0;
            QTest::addRow("%s around 2:30", file) << QString(file) << 150.0;
        }
    }

    void burst_inItsBucketAtItsHeight()
    {
        QFETCH(QString, file);
        QFETCH(double, focus);
        // Buckets of a lossy encoder's smear and padding, and its error in level.
        const bool lossy = !file.endsWith(".wav");
        const int tolerance = lossy ? 2 : 0;
        const int levelTolerance = lossy ? 6 : 1;
        WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
        // The peaks as they were when the burst arrived.
        QList<Peak> burstArrival;
        connect(&peaks, &WaveformPeaks::peaksArrived, this, [&] {
            if (burstArrival.isEmpty() && peaks.peaks().size() > burstBucket + 50 &&
                peaks.peaks()[burstBucket + 50].isComputed())
                burstArrival = peaks.peaks();
        });
        QVERIFY(compute(peaks, fixture(file), focus));

        const QList<Peak>& result = peaks.peaks();
        // The encoder's padding at the end is decoded too (about 0.1 s of AAC).
        const qsizetype length = 180 * WaveformPeaks::bucketsPerSecond;
        QVERIFY2(result.size() >= length && result.size() <= length + 6 * tolerance,
                 qPrintable(QString::number(result.size())));
        QVERIFY(std::all_of(result.cbegin(), result.cend(), [](Peak p) { return p.isComputed(); }));
        QVERIFY(qAbs(firstLoud(result) - burstBucket) <= tolerance);
        for (qsizetype i = burstBucket + tolerance; i < burstBucket + 50 - tolerance; ++i) {
            QVERIFY2(
                qAbs(result[i].max - 64) <= levelTolerance &&
                    qAbs(result[i].min + 64) <= levelTolerance,
                qPrintable(
                    QString("bucket %1: %2..%3").arg(i).arg(result[i].min).arg(result[i].max)));
        }
        for (qsizetype i = 0; i < result.size(); ++i) {
            if (i < burstBucket - 10 || i >= burstBucket + 60)
                QVERIFY2(result[i].max <= 1 && result[i].min >= -1, qPrintable(QString::number(i)));
        }
        if (focus > 0) {
            // The region came before the start of the file, already in its place (an MP3 found
            // by its bitrate within about the length of its header frame).
            const int previewTolerance = file.endsWith(".mp3") ? 10 : tolerance;
            QVERIFY(!burstArrival.first().isComputed());
            QVERIFY(qAbs(firstLoud(burstArrival, burstBucket - 500) - burstBucket) <=
                    previewTolerance);
        }
    }

    // A jump far ahead while the file is computed from the start: that region comes next,
    // then the pass from the start goes on where it was, ending as if never interrupted.
    void prioritize_thenResumesExactly()
    {
        WaveformPeaks straight(QString(), 0);
        QVERIFY(compute(straight, fixture("hours.mp3")));
        WaveformPeaks peaks(QString(), 0);
        QSignalSpy arrived(&peaks, &WaveformPeaks::peaksArrived);
        QSignalSpy finished(&peaks, &WaveformPeaks::finished);
        peaks.open(fixture("hours.mp3"));
        QVERIFY(arrived.wait(10000));
        QVERIFY(!peaks.peaks().last().isComputed());
        peaks.prioritize(3000.0);
        QVERIFY(QTest::qWaitFor([&] { return peaks.peaks()[300000].isComputed(); }, 60000));
        QCOMPARE(finished.count(), 0);
        QVERIFY(finished.wait(90000));
        QCOMPARE(peaks.peaks(), straight.peaks());
    }

    // Closing mid-way stops the work: nothing more arrives and nothing partial is cached.
    void close_stopsTheWorkAtOnce()
    {
        {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QSignalSpy arrived(&peaks, &WaveformPeaks::peaksArrived);
            QSignalSpy finished(&peaks, &WaveformPeaks::finished);
            peaks.open(fixture("hours.mp3"), 3000.0);
            QVERIFY(arrived.wait(10000));
            peaks.close();
            QVERIFY(peaks.status() == WaveformPeaks::Status::Empty && peaks.peaks().isEmpty());
            arrived.clear();
            QTest::qWait(300);
            QCOMPARE(arrived.count() + finished.count(), 0);
        } // a worker that does not stop at once is let go, and cleans up after itself
        QTRY_VERIFY_WITH_TIMEOUT(cacheEntries().isEmpty(), 10000);
    }

    // A second opening reads the cache; a damaged entry is ignored and written again; a file
    // whose content changed is computed again, even with the same size and time.
    void cache_hitDamageAndChange()
    {
        const QString audio = m_cache->filePath("recording.wav");
        QVERIFY(QFile::copy(fixture("burst.wav"), audio));
        QList<Peak> computed;
        {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QCOMPARE(source(peaks, audio), "computed");
            computed = peaks.peaks();
        }
        const QStringList entries = cacheEntries().filter(".peaks");
        QCOMPARE(entries.size(), 1);
        const QString entry = m_cache->filePath(entries.first());

        WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
        QCOMPARE(source(peaks, audio, 150.0), "cached");
        QCOMPARE(peaks.peaks(), computed);

        QFile damaged(entry);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        QVERIFY(damaged.seek(damaged.size() / 2));
        QVERIFY(damaged.putChar('\x80'));
        damaged.close();
        QCOMPARE(source(peaks, audio), "computed");
        QCOMPARE(peaks.peaks(), computed);
        QCOMPARE(source(peaks, audio), "cached");

        QFile file(audio);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
        const QByteArray moved = test::readFile(fixture("moved.wav"));
        QCOMPARE(moved.size(), file.size());
        file.write(moved);
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(source(peaks, audio), "computed");
        QCOMPARE(firstLoud(peaks.peaks()), 30 * WaveformPeaks::bucketsPerSecond);

        // Touched, not changed: the time alone makes it another file.
        QCOMPARE(source(peaks, audio), "cached");
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified.addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(source(peaks, audio), "computed");
    }

    // Past its limit the cache drops its least recently used entries (reading one is a use),
    // never the new one, and of what computations left unfinished only what is a day old.
    void cache_dropsTheLeastRecentlyUsedPastItsLimit()
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const auto place = [&](const QString& name, qint64 size, int daysAgo) {
            QFile file(m_cache->filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(size == 0 || file.resize(size));
            QVERIFY(file.setFileTime(now.addDays(-daysAgo), QFileDevice::FileModificationTime));
        };
        {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QVERIFY(compute(peaks, fixture("burst.wav")));
        }
        QCOMPARE(cacheEntries().size(), 1);
        const QString read = cacheEntries().first();
        place(read, 0, 3);
        place("older.peaks", 40000, 2);
        place("stale.peaks.aB3dE6", 1000, 2);
        place("running.peaks.Zx9yW8", 1000, 0);
        {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QCOMPARE(source(peaks, fixture("burst.wav")), "cached");
        }
        // A new entry of 36 kB (three minutes) puts 112 kB in the folder where 80 kB fit.
        WaveformPeaks peaks(m_cache->path(), 80000);
        QVERIFY(compute(peaks, fixture("moved.wav")));
        QStringList left = cacheEntries();
        QCOMPARE(left.size(), 3);
        QVERIFY(left.removeOne(read) && left.removeOne("running.peaks.Zx9yW8"));
        QVERIFY(left.first().endsWith(".peaks") && left.first() != "older.peaks");
    }

    // Whatever sits in the cache folder under an entry's name: a pipe is not waited on (the
    // wait would outlast compute()), a link
    // is neither read nor written through, and an entry longer than its file could be is
    // forged. Each time the peaks are computed again and a real entry takes the name's place.
    void cache_entryThatIsNoEntry_data()
    {
        QTest::addColumn<QString>("file"); // and what takes its entry's place
        QTest::newRow("pipe") << "burst.wav";
        QTest::newRow("link") << "burst.wav";
        QTest::newRow("two hours for three minutes") << "burst.mp3";
    }
    void cache_entryThatIsNoEntry()
    {
        const QString kind = QTest::currentDataTag();
        QFETCH(QString, file);
        QList<Peak> computed;
        {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QVERIFY(compute(peaks, fixture(file)));
            computed = peaks.peaks();
        }
        QCOMPARE(cacheEntries().size(), 1);
        const QString entry = m_cache->filePath(cacheEntries().first());
        QVERIFY(QFile::remove(entry));
        QTemporaryDir elsewhere;
        const QString precious = elsewhere.filePath("precious.txt");
        if (kind == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(entry).constData(), 0600), 0);
        } else if (kind == "link") {
            QVERIFY(test::writeFile(precious, "not a waveform"));
            QVERIFY(QFile::link(precious, entry));
        } else {
            // A well-formed entry of two hours of full-scale peaks.
            const quint64 buckets = 2 * 3600 * WaveformPeaks::bucketsPerSecond;
            QByteArray forged("DWFP");
            forged.append("\x02\0\0\0", 4);
            forged.append(QByteArray("\x81\x7f", 2).repeated(qsizetype(buckets)));
            char count[8];
            qToLittleEndian<quint64>(buckets, count);
            forged.append(count, 8);
            forged.append(QCryptographicHash::hash(forged, QCryptographicHash::Md5));
            QVERIFY(test::writeFile(entry, forged));
        }

        {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QCOMPARE(source(peaks, fixture(file)), "computed");
            QCOMPARE(peaks.peaks(), computed);
        }
        const QFileInfo info(entry);
        QVERIFY(info.isFile() && !info.isSymLink());
        if (kind == "link")
            QCOMPARE(test::readFile(precious), QByteArray("not a waveform"));
        WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
        QCOMPARE(source(peaks, fixture(file)), "cached");
    }

    // No audio the decoder can read (text, nothing, an image, no file, a pipe, a link to a
    // device): reported once, nothing else.
    void unavailable()
    {
        for (const char* file :
             {"notes.mp3", "empty.mp3", "image.mp3", "missing.mp3", "pipe.mp3", "zero.mp3"}) {
            WaveformPeaks peaks(m_cache->path(), WaveformPeaks::defaultCacheLimitBytes);
            QSignalSpy arrived(&peaks, &WaveformPeaks::peaksArrived);
            QSignalSpy unavailable(&peaks, &WaveformPeaks::unavailable);
            QVERIFY2(!compute(peaks, fixture(file)), file);
            QCOMPARE(unavailable.count(), 1);
            QVERIFY(peaks.status() == WaveformPeaks::Status::Unavailable &&
                    peaks.peaks().isEmpty() && arrived.isEmpty());
        }
        QVERIFY(cacheEntries().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_WaveformPeaks)
#include "tst_WaveformPeaks.moc"
