// The engine on libmpv with real recordings in every accepted format. Sound goes to a null
// output (real-time clock) or, where a test listens to what was played, to a WAV file written
// faster than real time.
#include "Localization.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

using namespace dictaro;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);
constexpr double speechLength = 6.0; // every speech.* fixture holds 6.0 s of sound
constexpr int sampleRate = 44100;
constexpr int timeoutMs = 5000;

QString fixture(const QString& name)
{
    return fixtures + QLatin1Char('/') + name;
}

std::unique_ptr<PlaybackEngine> silentEngine()
{
    return std::make_unique<PlaybackEngine>(
        std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
}

// An engine whose sound goes to `wavPath` as 44.1 kHz mono floats, as fast as it is decoded.
std::unique_ptr<PlaybackEngine> recordingEngine(const QString& wavPath)
{
    const MpvBackend::Options options = {{"ao", "pcm"},
                                         {"ao-pcm-file", QFile::encodeName(wavPath)},
                                         {"untimed", "yes"},
                                         {"ao-pcm-waveheader", "yes"},
                                         {"audio-format", "float"},
                                         {"audio-samplerate", "44100"},
                                         {"audio-channels", "mono"}};
    return std::make_unique<PlaybackEngine>(std::make_unique<MpvBackend>(options));
}

bool loadAndWait(PlaybackEngine& engine, const QString& path, double position = 0.0,
                 double rate = 1.0)
{
    QSignalSpy finished(&engine, &PlaybackEngine::loadFinished);
    engine.load(path, position, rate);
    return finished.wait(timeoutMs) && finished.first().first().toBool();
}

// Plays what is loaded to its end, then destroys the engine (which completes the WAV file) and
// returns the samples written.
std::vector<float> playToEnd(std::unique_ptr<PlaybackEngine> engine, const QString& wavPath)
{
    engine->play();
    if (!QTest::qWaitFor([&] { return !engine->isPlaying(); }, 10000))
        return {};
    engine.reset();
    QFile file(wavPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray wav = file.readAll();
    const qsizetype data = wav.indexOf("data");
    if (data < 0)
        return {};
    std::vector<float> samples(size_t(wav.size() - data - 8) / sizeof(float));
    std::memcpy(samples.data(), wav.constData() + data + 8, samples.size() * sizeof(float));
    return samples;
}

// The strongest frequency between 100 Hz and 2 kHz in 16384 samples from `start` (Goertzel,
// searched coarsely, then finely around the best).
double dominantFrequency(const float* start)
{
    auto strength = [&](double frequency) {
        const double c = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / sampleRate);
        double s1 = 0.0, s2 = 0.0;
        for (int i = 0; i < 16384; ++i) {
            const double s0 = start[i] + c * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        return s1 * s1 + s2 * s2 - c * s1 * s2;
    };
    auto strongest = [&](double from, double to, double step) {
        double best = from;
        for (double f = from; f <= to; f += step)
            best = strength(f) > strength(best) ? f : best;
        return best;
    };
    const double coarse = strongest(100.0, 2000.0, 2.0);
    return strongest(coarse - 2.0, coarse + 2.0, 0.05);
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
        QTest::addColumn<double>("tolerance");
        // MP3 includes the encoder delay, ALAC in CAF rounds up to whole frames, and ADTS only
        // estimates its length (revised while playing, see end_stopsAndPlayStartsOver).
        for (const char* exact : {"wav", "aiff", "aif", "flac", "m4a"})
            QTest::newRow(exact) << QStringLiteral("speech.") + QLatin1String(exact) << 0.001;
        for (const char* close : {"mp3", "mpga", "caf"})
            QTest::newRow(close) << QStringLiteral("speech.") + QLatin1String(close) << 0.06;
        QTest::newRow("aac") << QStringLiteral("speech.aac") << 3.0;
    }

    void load_everyAcceptedFormat()
    {
        QFETCH(QString, file);
        QFETCH(double, tolerance);
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(file), 1.5));
        QVERIFY(engine->isLoaded());
        QVERIFY(!engine->loadError().has_value());
        QVERIFY2(std::abs(engine->duration() - speechLength) <= tolerance,
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
        QVERIFY(!loadAndWait(*engine, path, 2.0));
        QCOMPARE(engine->loadError(),
                 std::optional<QString>(Localization::tr(
                     "This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC.")));
        QVERIFY(!engine->isLoaded());
        QCOMPARE(engine->duration(), 0.0);
        QCOMPARE(engine->currentTime(), 0.0);

        // A good file afterwards loads and clears the message.
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav"))));
        QVERIFY(!engine->loadError().has_value());
    }

    // Neither the end of the playing file nor the refusal of the next one may reach the load
    // after them.
    void load_laterLoadSupersedesEarlierOne()
    {
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.wav"))));
        engine->play();
        QSignalSpy finished(engine.get(), &PlaybackEngine::loadFinished);
        QList<bool> first, second;
        engine->load(fixture(QStringLiteral("notes.mp3")), 0, 1, [&](bool ok) { first << ok; });
        engine->load(fixture(QStringLiteral("speech.flac")), 0, 1, [&](bool ok) { second << ok; });
        QTRY_COMPARE_WITH_TIMEOUT(second.size(), 1, timeoutMs);
        QTest::qWait(100);
        QCOMPARE(first, QList<bool>{false});
        QCOMPARE(second, QList<bool>{true});
        QCOMPARE(finished.count(), 1);
        QVERIFY(engine->isLoaded());
        QVERIFY(!engine->loadError().has_value());
    }

    void seek_isSampleExact_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* ext : {"wav", "aiff", "aif", "flac", "m4a", "mp3", "mpga", "caf", "aac"})
            QTest::newRow(ext) << QStringLiteral("speech.") + QLatin1String(ext);
    }

    // Started at 2.3 s (inside a word), the player puts out exactly the sound from 2.3 s on:
    // matched from the end against a play from the start, the common part reaches back to 2.3 s
    // within a millisecond. Lengths alone would not tell, as the file output may first write a
    // buffer from before a seek; decoders may differ slightly after a seek (AAC fills some bands
    // with noise), hence the tolerance.
    void seek_isSampleExact()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        std::vector<float> output[2];
        const double starts[2] = {0.0, 2.3};
        for (int i = 0; i < 2; ++i) {
            const QString wav = dir.filePath(QString::number(i) + QStringLiteral(".wav"));
            auto engine = recordingEngine(wav);
            QVERIFY(loadAndWait(*engine, fixture(file), starts[i]));
            output[i] = playToEnd(std::move(engine), wav);
            QVERIFY(!output[i].empty());
        }
        const auto& [whole, rest] = output;
        size_t matching = 0;
        while (matching < rest.size() &&
               std::abs(rest.rbegin()[matching] - whole.rbegin()[matching]) <= 0.02f)
            ++matching;
        const auto expected = qsizetype(whole.size()) - qRound(2.3 * sampleRate);
        QVERIFY2(std::abs(qsizetype(matching) - expected) <= sampleRate / 1000,
                 qPrintable(QStringLiteral("%1 match, %2 expected").arg(matching).arg(expected)));
    }

    void rate_keepsPitchAndScalesLength_data()
    {
        QTest::addColumn<double>("delta");
        QTest::addColumn<double>("expectedRate");
        QTest::newRow("half speed") << -0.5 << 0.5;
        QTest::newRow("double speed") << 1.0 << 2.0;
    }

    // The rate is changed while paused and takes effect with play(). The tone's last 1.75 s
    // (after its silent gap at 3.25 s; sound buffered at the old rate comes before) last
    // 1.75 s / rate and stay at 440 Hz.
    void rate_keepsPitchAndScalesLength()
    {
        QFETCH(double, delta);
        QFETCH(double, expectedRate);
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("tone.wav"));
        auto engine = recordingEngine(wav);
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("tone440.wav"))));
        engine->changeRate(delta);
        QCOMPARE(engine->rate(), expectedRate);
        const std::vector<float> output = playToEnd(std::move(engine), wav);

        // Judged on 2 ms windows: the last loud stretch is the tone after the gap.
        const int window = sampleRate / 500;
        auto loud = [&](qsizetype w) {
            double sum = 0.0;
            for (qsizetype i = w * window; i < (w + 1) * window; ++i)
                sum += double(output[i]) * output[i];
            return sum / window > 0.02 * 0.02;
        };
        qsizetype end = qsizetype(output.size()) / window - 1;
        while (end >= 0 && !loud(end))
            --end;
        qsizetype begin = end;
        while (begin >= 0 && loud(begin))
            --begin;
        QVERIFY(begin >= 0);
        const double tail = double(end - begin) * window / sampleRate;
        QVERIFY2(std::abs(tail - 1.75 / expectedRate) < 0.03 * 1.75 / expectedRate,
                 qPrintable(QString::number(tail)));
        const double frequency = dominantFrequency(output.data() + (begin + 5) * window);
        QVERIFY2(std::abs(frequency - 440.0) < 4.4, qPrintable(QString::number(frequency)));
    }

    // Played at 2.0x to keep it short: currentTime moves once per quarter second of media time
    // crossed; a pause rewinds the player itself (playing again continues from there, with no
    // report from before the pause); nothing moves the position while paused.
    void playback_ticksPauseAndRewind()
    {
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.m4a")), 3.0, 2.0));
        QSignalSpy times(engine.get(), &PlaybackEngine::currentTimeChanged);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(engine->currentTime() >= 4.5, 3000);
        const double pausedAt = engine->currentTime();
        engine->pause(3.0);
        engine->pause(3.0); // paused already: no second rewind
        QCOMPARE(engine->currentTime(), pausedAt - 3.0);

        double previous = 3.0;
        for (qsizetype i = 0; i + 1 < times.size(); ++i) { // the last one is the rewind
            const double t = times.at(i).first().toDouble();
            // Reports come about 0.2 s of media apart at this rate: one tick per report at most.
            QVERIFY2(std::floor(t * 4) > std::floor(previous * 4) && t - previous <= 0.5,
                     qPrintable(QString::number(t)));
            previous = t;
        }
        QVERIFY(times.size() >= 5);

        times.clear();
        QTest::qWait(300);
        QCOMPARE(times.count(), 0);
        engine->play();
        QVERIFY(times.wait(2000));
        const double firstTick = times.first().first().toDouble();
        QVERIFY2(firstTick > pausedAt - 3.0 && firstTick < pausedAt - 3.0 + 0.75,
                 qPrintable(QString::number(firstTick)));
    }

    void end_stopsAndPlayStartsOver_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("start");
        QTest::newRow("wav") << QStringLiteral("speech.wav") << 5.0;
        QTest::newRow("mp3") << QStringLiteral("speech.mp3") << 5.0;
        // Claims 6 s but holds 3 s of sound: it must still end, early.
        QTest::newRow("truncated mp3") << QStringLiteral("truncated.mp3") << 2.0;
        // Estimates 3.7 s at first; the length grows while playing so the real end is reached.
        QTest::newRow("aac") << QStringLiteral("speech.aac") << 3.0;
    }

    void end_stopsAndPlayStartsOver()
    {
        QFETCH(QString, file);
        QFETCH(double, start);
        auto engine = silentEngine();
        QVERIFY(loadAndWait(*engine, fixture(file), start, 2.0));
        QSignalSpy playing(engine.get(), &PlaybackEngine::isPlayingChanged);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(!engine->isPlaying(), timeoutMs);
        QCOMPARE(playing.count(), 2);
        QCOMPARE(engine->currentTime(), engine->duration());
        if (file.endsWith(QLatin1String(".aac")))
            QVERIFY2(std::abs(engine->duration() - speechLength) < 0.05,
                     qPrintable(QString::number(engine->duration())));

        engine->play();
        QCOMPARE(engine->currentTime(), 0.0);
        QTRY_VERIFY_WITH_TIMEOUT(engine->currentTime() > 0.0, 2000);
        QVERIFY2(engine->currentTime() < 1.5, qPrintable(QString::number(engine->currentTime())));
    }

    // Unloaded during playback, the engine hears nothing more of the file; the player, left
    // running by the closed file, opens the next one paused (positions would move otherwise).
    void unload_duringPlaybackLeavesNothingBehind()
    {
        auto backend = std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions());
        QSignalSpy positions(backend.get(), &MediaBackend::positionChanged);
        PlaybackEngine engine(std::move(backend));
        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.flac")), 1.0, 2.0));
        engine.play();
        QTRY_VERIFY_WITH_TIMEOUT(engine.currentTime() > 1.0, 2000);
        engine.unload();
        QVERIFY(!engine.isPlaying());
        QCOMPARE(engine.currentTime(), 0.0);
        QCOMPARE(engine.duration(), 0.0);

        QSignalSpy times(&engine, &PlaybackEngine::currentTimeChanged);
        QSignalSpy playing(&engine, &PlaybackEngine::isPlayingChanged);
        QTest::qWait(300);
        QCOMPARE(times.count() + playing.count(), 0);

        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.wav"))));
        positions.clear();
        QTest::qWait(300);
        for (const auto& args : positions)
            QVERIFY2(args.first().toDouble() < 0.05, qPrintable(args.first().toString()));
    }

    // Destroying the engine while loading or playing ends cleanly and calls nobody back.
    void destroy_whileLoadingOrPlaying()
    {
        int callbacks = 0;
        silentEngine()->load(fixture(QStringLiteral("speech.mp3")), 0, 1,
                             [&](bool) { ++callbacks; });
        {
            auto engine = silentEngine();
            QVERIFY(loadAndWait(*engine, fixture(QStringLiteral("speech.mp3"))));
            engine->play();
            QTest::qWait(50);
            engine->load(fixture(QStringLiteral("speech.wav")), 0, 1, [&](bool) { ++callbacks; });
        }
        QTest::qWait(100);
        QCOMPARE(callbacks, 0);
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackEngine)
#include "tst_PlaybackEngine.moc"
