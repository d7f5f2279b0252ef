// The engine on libmpv with real recordings in every accepted format. Sound goes to a null
// output (real-time clock) or, where the test listens to what was played, to a WAV file written
// faster than real time.
#include "Localization.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <clocale>
#include <cmath>
#include <numbers>
#include <vector>

using namespace dictaro;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);
constexpr double speechLength = 6.0; // every speech.* fixture holds 6.0 s of sound
constexpr int loadTimeoutMs = 5000;

QString fixture(const QString& name)
{
    return fixtures + QLatin1Char('/') + name;
}

QString unplayableMessage()
{
    return Localization::tr("This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC.");
}

std::unique_ptr<PlaybackEngine> silentEngine()
{
    return std::make_unique<PlaybackEngine>(
        std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
}

// An engine whose sound is written to `wavPath` as fast as it can be decoded.
std::unique_ptr<PlaybackEngine> recordingEngine(const QString& wavPath)
{
    const MpvBackend::Options options = {{"ao", "pcm"},
                                         {"ao-pcm-file", QFile::encodeName(wavPath)},
                                         {"ao-pcm-waveheader", "yes"},
                                         {"untimed", "yes"}};
    return std::make_unique<PlaybackEngine>(std::make_unique<MpvBackend>(options));
}

// Loads and waits for the result.
bool loadAndWait(PlaybackEngine& engine, const QString& path, double position = 0.0,
                 double rate = 1.0)
{
    QSignalSpy finished(&engine, &PlaybackEngine::loadFinished);
    engine.load(path, position, rate);
    if (!finished.wait(loadTimeoutMs))
        return false;
    return finished.first().first().toBool();
}

// The first channel of a WAV file as floats: 16-bit integer or 32-bit float samples, plain or
// extensible format header.
struct Recording
{
    int sampleRate = 0;
    std::vector<float> samples;
    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0.0; }
};

Recording readWav(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (data.size() < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE")
        return {};
    Recording recording;
    int format = 0, channels = 0, bits = 0;
    qsizetype offset = 12;
    while (offset + 8 <= data.size()) {
        const QByteArray id = data.mid(offset, 4);
        const quint32 declared = qFromLittleEndian<quint32>(data.constData() + offset + 4);
        const qsizetype body = offset + 8;
        const qsizetype size = std::min<qsizetype>(declared, data.size() - body);
        if (id == "fmt " && size >= 16) {
            const char* f = data.constData() + body;
            format = qFromLittleEndian<quint16>(f);
            channels = qFromLittleEndian<quint16>(f + 2);
            recording.sampleRate = int(qFromLittleEndian<quint32>(f + 4));
            bits = qFromLittleEndian<quint16>(f + 14);
            if (format == 0xFFFE && size >= 26)
                format = qFromLittleEndian<quint16>(f + 24); // the extensible sub-format
        } else if (id == "data" && channels > 0) {
            const int frameBytes = channels * bits / 8;
            const char* p = data.constData() + body;
            for (qsizetype i = 0; i + frameBytes <= size; i += frameBytes) {
                if (format == 1 && bits == 16)
                    recording.samples.push_back(qFromLittleEndian<qint16>(p + i) / 32768.0f);
                else if (format == 3 && bits == 32)
                    recording.samples.push_back(qFromLittleEndian<float>(p + i));
            }
            break;
        }
        offset = body + size + (size & 1);
    }
    return recording;
}

// Strength of `frequency` in the samples (Goertzel).
double strength(const float* samples, int count, int sampleRate, double frequency)
{
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / sampleRate);
    double previous = 0.0, beforePrevious = 0.0;
    for (int i = 0; i < count; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious -
           coefficient * previous * beforePrevious;
}

// The strongest frequency between 100 Hz and 2 kHz in up to 16384 samples from the middle of
// samples [begin, end).
double dominantFrequency(const Recording& recording, qsizetype begin, qsizetype end)
{
    const int window = int(std::min<qsizetype>(16384, end - begin));
    const float* start = recording.samples.data() + begin + (end - begin - window) / 2;
    auto strongest = [&](double from, double to, double step) {
        double best = from, bestStrength = -1.0;
        for (double f = from; f <= to; f += step) {
            const double s = strength(start, window, recording.sampleRate, f);
            if (s > bestStrength) {
                bestStrength = s;
                best = f;
            }
        }
        return best;
    };
    const double coarse = strongest(100.0, 2000.0, 2.0);
    return strongest(coarse - 2.0, coarse + 2.0, 0.05);
}

// Where the sound after the last silence begins and where it ends, in samples; {0, 0} when
// there is no silence followed by sound. Judged on 2 ms windows.
QPair<qsizetype, qsizetype> soundAfterLastGap(const Recording& recording)
{
    const qsizetype window = recording.sampleRate / 500;
    const qsizetype windows = qsizetype(recording.samples.size()) / window;
    auto loud = [&](qsizetype w) {
        double sum = 0.0;
        for (qsizetype i = w * window; i < (w + 1) * window; ++i)
            sum += double(recording.samples[i]) * recording.samples[i];
        return std::sqrt(sum / window) > 0.02;
    };
    qsizetype last = windows - 1;
    while (last >= 0 && !loud(last))
        --last;
    qsizetype first = last;
    while (first >= 0 && loud(first))
        --first;
    if (first < 0 || last < 0)
        return {0, 0};
    return {(first + 1) * window, (last + 1) * window};
}

// How many samples at the end of `a` equal those at the end of `b`.
qsizetype matchingTail(const Recording& a, const Recording& b, float tolerance)
{
    const qsizetype limit = qsizetype(std::min(a.samples.size(), b.samples.size()));
    qsizetype n = 0;
    while (n < limit && std::abs(a.samples[a.samples.size() - 1 - n] -
                                 b.samples[b.samples.size() - 1 - n]) <= tolerance)
        ++n;
    return n;
}

// Plays what is loaded to its end and destroys the engine, which completes the WAV file.
bool playToEnd(std::unique_ptr<PlaybackEngine> engine)
{
    engine->play();
    const bool ended = QTest::qWaitFor([&] { return !engine->isPlaying(); }, 10000);
    engine.reset();
    return ended;
}

} // namespace

class tst_PlaybackEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // libmpv refuses to start unless numbers are formatted the C way.
        std::setlocale(LC_NUMERIC, "C");
        QVERIFY2(QFile::exists(fixture(QStringLiteral("stamp"))), qPrintable(fixtures));
    }

    void load_everyAcceptedFormat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("expectedDuration");
        QTest::addColumn<double>("tolerance");
        // Lossless formats are exact; MP3 includes the encoder delay, ALAC in CAF rounds up to
        // whole frames, and ADTS only estimates its length (revised while playing, see below).
        QTest::newRow("wav") << "speech.wav" << speechLength << 0.001;
        QTest::newRow("aiff") << "speech.aiff" << speechLength << 0.001;
        QTest::newRow("aif") << "speech.aif" << speechLength << 0.001;
        QTest::newRow("flac") << "speech.flac" << speechLength << 0.001;
        QTest::newRow("m4a") << "speech.m4a" << speechLength << 0.001;
        QTest::newRow("mp3") << "speech.mp3" << speechLength << 0.06;
        QTest::newRow("mpga") << "speech.mpga" << speechLength << 0.06;
        QTest::newRow("caf") << "speech.caf" << speechLength << 0.06;
        QTest::newRow("aac") << "speech.aac" << speechLength << 3.0;
    }

    void load_everyAcceptedFormat()
    {
        QFETCH(QString, file);
        QFETCH(double, expectedDuration);
        QFETCH(double, tolerance);

        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(file), 1.5, 1.0));
        QVERIFY(engine->isLoaded());
        QVERIFY(!engine->loadError().has_value());
        QVERIFY2(std::abs(engine->duration() - expectedDuration) <= tolerance,
                 qPrintable(QString::number(engine->duration())));
        QCOMPARE(engine->currentTime(), 1.5);
        QVERIFY(!engine->isPlaying());
    }

    void load_refusesWhatCannotBePlayed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty file") << fixture(QStringLiteral("empty.mp3"));
        QTest::newRow("text file") << fixture(QStringLiteral("notes.mp3"));
        QTest::newRow("image") << fixture(QStringLiteral("image.png"));
        QTest::newRow("image named .mp3") << fixture(QStringLiteral("image.mp3"));
        QTest::newRow("video only") << fixture(QStringLiteral("video-only.mp4"));
        QTest::newRow("missing file") << fixture(QStringLiteral("missing.mp3"));
        QTest::newRow("folder") << fixtures;
        QTest::newRow("empty path") << QString();
    }

    void load_refusesWhatCannotBePlayed()
    {
        QFETCH(QString, path);
        auto engine = silentEngine();
        bool result = true;
        engine->load(path, 2.0, 1.0, [&](bool ready) { result = ready; });
        QSignalSpy finished(engine.get(), &PlaybackEngine::loadFinished);
        QVERIFY(finished.wait(loadTimeoutMs));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(!result);
        QCOMPARE(engine->loadError(), std::optional<QString>(unplayableMessage()));
        QVERIFY(!engine->isLoaded());
        QCOMPARE(engine->duration(), 0.0);
        QCOMPARE(engine->currentTime(), 0.0);

        // A good file afterwards loads and clears the message.
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav"))));
        QVERIFY(!engine->loadError().has_value());
        QCOMPARE(engine->duration(), speechLength);
    }

    void load_laterLoadSupersedesEarlierOne()
    {
        // Neither the end of the playing file nor the refusal of the next one may reach the
        // load after them.
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav"))));
        engine->play();
        QSignalSpy finished(engine.get(), &PlaybackEngine::loadFinished);
        QList<bool> first, second;
        engine->load(fixture(QStringLiteral("notes.mp3")), 0, 1, [&](bool ok) { first << ok; });
        engine->load(fixture(QStringLiteral("speech.flac")), 0, 1, [&](bool ok) { second << ok; });
        QTRY_COMPARE_WITH_TIMEOUT(second.size(), 1, loadTimeoutMs);
        QCOMPARE(first, QList<bool>{false});
        QCOMPARE(second, QList<bool>{true});
        QTest::qWait(100);
        QCOMPARE(finished.count(), 1);
        QVERIFY(engine->isLoaded());
        QVERIFY(!engine->loadError().has_value());
    }

    void seek_isSampleExact_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* extension : {"wav", "aiff", "aif", "flac", "m4a", "mp3", "mpga", "caf"})
            QTest::newRow(extension) << QStringLiteral("speech.") + QLatin1String(extension);
        QTest::newRow("aac") << QStringLiteral("speech.aac");
    }

    // Started at 2.3 s (in the middle of a word), the player outputs exactly the sound from
    // 2.3 s on: matched against a play from the start, the common end reaches back to 2.3 s
    // within a millisecond. The file output may first write a buffer of sound from before a
    // seek, so lengths alone would not tell. Decoders need not agree bit for bit after a seek
    // (AAC fills some bands with pseudo-random noise), hence the tolerance.
    void seek_isSampleExact()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Recording recordings[2];
        const double starts[2] = {0.0, 2.3};
        for (int i = 0; i < 2; ++i) {
            const QString wav = dir.filePath(QStringLiteral("out%1.wav").arg(i));
            auto engine = recordingEngine(wav);
            QVERIFY(loadAndWait(*engine, fixture(file), starts[i], 1.0));
            QVERIFY(playToEnd(std::move(engine)));
            recordings[i] = readWav(wav);
            QVERIFY(recordings[i].sampleRate > 0);
        }
        const Recording& whole = recordings[0];
        const qsizetype expected =
            qsizetype(whole.samples.size()) - qRound(2.3 * whole.sampleRate);
        const qsizetype matching = matchingTail(recordings[1], whole, 0.02f);
        QVERIFY2(std::abs(matching - expected) <= whole.sampleRate / 1000,
                 qPrintable(QStringLiteral("%1 samples match, %2 expected")
                                .arg(matching)
                                .arg(expected)));
    }

    void rate_keepsPitchAndScalesLength_data()
    {
        QTest::addColumn<double>("delta");
        QTest::addColumn<double>("expectedRate");
        QTest::newRow("half speed") << -0.5 << 0.5;
        QTest::newRow("double speed") << 1.0 << 2.0;
    }

    // The rate is changed while paused and takes effect when playing starts. The tone's last
    // 1.75 s (after its silent gap) last 1.75 s / rate and stay at 440 Hz.
    void rate_keepsPitchAndScalesLength()
    {
        QFETCH(double, delta);
        QFETCH(double, expectedRate);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString wav = dir.filePath(QStringLiteral("tone.wav"));
        auto engine = recordingEngine(wav);
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("tone440.wav"))));
        engine->changeRate(delta);
        QCOMPARE(engine->rate(), expectedRate);
        QVERIFY(playToEnd(std::move(engine)));

        const Recording recording = readWav(wav);
        QVERIFY(recording.sampleRate > 0);
        const auto [begin, end] = soundAfterLastGap(recording);
        QVERIFY(end > begin);
        const double tail = double(end - begin) / recording.sampleRate;
        const double expectedTail = 1.75 / expectedRate;
        QVERIFY2(std::abs(tail - expectedTail) < 0.03 * expectedTail,
                 qPrintable(QString::number(tail)));
        const double frequency = dominantFrequency(recording, begin, end);
        QVERIFY2(std::abs(frequency - 440.0) < 4.4, qPrintable(QString::number(frequency)));
    }

    // While playing, currentTime moves once per quarter second of media time crossed; once
    // paused, nothing moves it. Played at 2.0x to keep the test short.
    void ticks_quarterSecondStepsOnlyWhilePlaying()
    {
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav")), 0.0, 2.0));
        QSignalSpy times(engine.get(), &PlaybackEngine::currentTimeChanged);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(engine->currentTime() >= 2.0, 3000);
        engine->pause(0.0);
        const double pausedAt = engine->currentTime();

        double previous = 0.0;
        for (const auto& args : times) {
            const double t = args.first().toDouble();
            // Each tick enters a later quarter second; reports are about 0.2 s of media apart
            // at this rate, so no tick may skip more than two quarters.
            QVERIFY2(std::floor(t * 4) > std::floor(previous * 4), qPrintable(QString::number(t)));
            QVERIFY2(t - previous <= 0.5 + 1e-9, qPrintable(QString::number(t)));
            previous = t;
        }
        QVERIFY(times.count() >= 5);

        times.clear();
        QTest::qWait(300);
        QCOMPARE(times.count(), 0);
        QCOMPARE(engine->currentTime(), pausedAt);
    }

    // After a pause with rewind, playing continues from the rewound position: the player was
    // really moved there, and no report from before the pause leaks in.
    void pause_rewindsThePlayer()
    {
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.m4a")), 4.0, 2.0));
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(engine->currentTime() >= 4.5, 3000);
        const double pausedAt = engine->currentTime();
        engine->pause(3.0);
        QCOMPARE(engine->currentTime(), pausedAt - 3.0);
        engine->pause(3.0); // paused already: no second rewind
        QCOMPARE(engine->currentTime(), pausedAt - 3.0);

        QSignalSpy times(engine.get(), &PlaybackEngine::currentTimeChanged);
        engine->play();
        QVERIFY(times.wait(2000));
        const double firstTick = times.first().first().toDouble();
        QVERIFY2(firstTick > pausedAt - 3.0 && firstTick < pausedAt - 3.0 + 0.75,
                 qPrintable(QString::number(firstTick)));
        engine->pause(0.0);
    }

    void end_stopsAndPlayStartsOver_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("wav") << QStringLiteral("speech.wav");
        QTest::newRow("mp3") << QStringLiteral("speech.mp3");
        // Reports 6 s but holds only 3 s of sound: it must still end, early.
        QTest::newRow("truncated mp3") << QStringLiteral("truncated.mp3");
    }

    void end_stopsAndPlayStartsOver()
    {
        QFETCH(QString, file);
        auto engine = silentEngine();
        const double start = file.startsWith(QLatin1String("truncated")) ? 2.0 : 5.0;
        QVERIFY(loadAndWait(*engine, fixture(file), start, 2.0));
        QSignalSpy playing(engine.get(), &PlaybackEngine::isPlayingChanged);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(!engine->isPlaying(), 5000);
        QCOMPARE(playing.count(), 2);
        QCOMPARE(engine->currentTime(), engine->duration());

        engine->play();
        QCOMPARE(engine->currentTime(), 0.0);
        QTRY_VERIFY_WITH_TIMEOUT(engine->currentTime() > 0.0, 2000);
        QVERIFY2(engine->currentTime() < 1.5, qPrintable(QString::number(engine->currentTime())));
        engine->pause(0.0);
    }

    // ADTS files only estimate their length (3.7 s for this one); the length is revised while
    // playing so that the end of the sound can be reached.
    void duration_followsRevisedEstimate()
    {
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.aac")), 3.0, 2.0));
        QVERIFY(engine->duration() < 5.0);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(!engine->isPlaying(), 5000);
        QVERIFY2(std::abs(engine->duration() - speechLength) < 0.05,
                 qPrintable(QString::number(engine->duration())));
        QCOMPARE(engine->currentTime(), engine->duration());
    }

    void unload_duringPlaybackLeavesNothingBehind()
    {
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.flac")), 1.0, 2.0));
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(engine->currentTime() > 1.0, 2000);
        engine->unload();
        QVERIFY(!engine->isPlaying());
        QVERIFY(!engine->isLoaded());
        QCOMPARE(engine->currentTime(), 0.0);
        QCOMPARE(engine->duration(), 0.0);

        QSignalSpy times(engine.get(), &PlaybackEngine::currentTimeChanged);
        QSignalSpy durations(engine.get(), &PlaybackEngine::durationChanged);
        QSignalSpy playing(engine.get(), &PlaybackEngine::isPlayingChanged);
        QTest::qWait(300);
        QCOMPARE(times.count(), 0);
        QCOMPARE(durations.count(), 0);
        QCOMPARE(playing.count(), 0);

        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav"))));
        QCOMPARE(engine->duration(), speechLength);
    }

    // The player is left running when a file is closed during playback; the next file must
    // still open paused (positions only move while the player runs).
    void backend_nextFileOpensPausedAfterPlayback()
    {
        MpvBackend backend(MpvBackend::silentOutputOptions());
        QSignalSpy opened(&backend, &MediaBackend::opened);
        QSignalSpy positions(&backend, &MediaBackend::positionChanged);
        backend.open(fixture(QStringLiteral("speech.wav")));
        QVERIFY(opened.wait(loadTimeoutMs));
        backend.setPaused(false);
        QTRY_VERIFY_WITH_TIMEOUT(!positions.isEmpty() && positions.last().first().toDouble() > 0.1,
                                 2000);

        backend.close();
        backend.open(fixture(QStringLiteral("speech.flac")));
        QVERIFY(opened.wait(loadTimeoutMs));
        positions.clear();
        QTest::qWait(300);
        for (const auto& args : positions)
            QVERIFY2(args.first().toDouble() < 0.05, qPrintable(args.first().toString()));
    }

    // Destroying the engine while loading or playing ends cleanly and calls nobody back.
    void destroy_whileLoadingOrPlaying()
    {
        int callbacks = 0;
        {
            auto engine = silentEngine();
            engine->load(fixture(QStringLiteral("speech.mp3")), 0, 1, [&](bool) { ++callbacks; });
        }
        {
            auto engine = silentEngine();
            QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.mp3"))));
            engine->load(fixture(QStringLiteral("speech.wav")), 0, 1, [&](bool) { ++callbacks; });
        }
        {
            auto engine = silentEngine();
            QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav"))));
            engine->play();
            QTest::qWait(50);
        }
        QTest::qWait(100);
        QCOMPARE(callbacks, 0);
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackEngine)
#include "tst_PlaybackEngine.moc"
