// The engine on libmpv with real recordings in every accepted format. Sound goes to a null
// output (real-time clock) or, where a test listens to what was played, to a file of raw
// samples written faster than real time. The engine's own rules are in tst_PlaybackEngineRules.
#include "Localization.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <vector>

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);
constexpr double speechLength = 6.0; // every speech.* fixture holds 6.0 s of sound
constexpr int sampleRate = 44100;
constexpr int timeoutMs = 5000;

QString fixture(const QString& name)
{
    return fixtures + QLatin1Char('/') + name;
}

bool loadAndWait(PlaybackEngine& engine, const QString& path, double position = 0.0,
                 double rate = 1.0)
{
    QSignalSpy finished(&engine, &PlaybackEngine::loadFinished);
    engine.load(path, position, rate);
    return finished.wait(timeoutMs) && finished.first().first().toBool();
}

// Loads `file` at `position` into an engine whose sound goes to a file as 44.1 kHz floats (mono,
// or interleaved stereo when `stereo`), as fast as it is decoded, after a rate step of
// `rateDelta` made while paused and with `sound`; plays it to its end and returns the samples.
std::vector<float> playedSamples(const QString& file, double position, double rateDelta = 0.0,
                                 const SoundSettings& sound = {}, bool stereo = false)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.raw"));
    const MpvBackend::Options options = {{"ao", "pcm"},
                                         {"ao-pcm-file", QFile::encodeName(path)},
                                         {"ao-pcm-waveheader", "no"},
                                         {"untimed", "yes"},
                                         {"audio-format", "float"},
                                         {"audio-samplerate", "44100"},
                                         {"audio-channels", stereo ? "stereo" : "mono"}};
    auto engine = std::make_unique<PlaybackEngine>(std::make_unique<MpvBackend>(options));
    engine->setSound(sound);
    if (!loadAndWait(*engine, fixture(file), position))
        return {};
    engine->changeRate(rateDelta);
    engine->play();
    if (!QTest::qWaitFor([&] { return !engine->isPlaying(); }, 10000))
        return {};
    engine.reset(); // completes the file
    QFile raw(path);
    const QByteArray bytes = raw.open(QIODevice::ReadOnly) ? raw.readAll() : QByteArray();
    std::vector<float> samples(size_t(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

// The amplitude of the `frequency` tone in one channel of `samples` (`channels` interleaved),
// between `from` and `to` seconds.
double toneAmplitude(const std::vector<float>& samples, int channels, int channel, double frequency,
                     double from, double to)
{
    double re = 0.0;
    double im = 0.0;
    const auto first = size_t(from * sampleRate);
    const auto last = std::min(size_t(to * sampleRate), samples.size() / size_t(channels));
    for (size_t i = first; i < last; ++i) {
        const double phase = 2.0 * M_PI * frequency * double(i) / sampleRate;
        re += samples[i * size_t(channels) + size_t(channel)] * std::cos(phase);
        im += samples[i * size_t(channels) + size_t(channel)] * std::sin(phase);
    }
    return last > first ? 2.0 * std::hypot(re, im) / double(last - first) : 0.0;
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

    void load_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("tolerance"); // of the length; negative when it is refused
        // MP3 includes the encoder delay, ALAC in CAF rounds up to whole frames, and ADTS only
        // estimates its length (revised while playing, see playback_pauseEndAndUnload).
        // Video files play their sound track.
        for (const char* exact :
             {"wav", "aiff", "aif", "flac", "m4a", "ogg", "oga", "mp4", "mov", "mkv"})
            QTest::newRow(exact) << QStringLiteral("speech.") + QLatin1String(exact) << 0.001;
        for (const char* close : {"mp3", "mpga", "caf", "opus", "mka", "webm"})
            QTest::newRow(close) << QStringLiteral("speech.") + QLatin1String(close) << 0.06;
        QTest::newRow("aac") << QStringLiteral("speech.aac") << 3.0;
        for (const char* bad : {"empty.mp3", "notes.mp3", "image.mp3", "notes.mp4", "missing.mp3",
                                "" /* the folder */})
            QTest::newRow(*bad ? bad : "folder") << QString::fromLatin1(bad) << -1.0;
    }

    void load()
    {
        QFETCH(QString, file);
        QFETCH(double, tolerance);
        PlaybackEngine engine(std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        if (tolerance < 0) {
            QVERIFY(!loadAndWait(engine, fixture(file), 2.0));
            QCOMPARE(engine.loadError(),
                     std::optional<QString>(Localization::tr(
                         "This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC.")));
            QVERIFY(!engine.isLoaded() && engine.duration() == 0.0);
            // A good file afterwards loads and clears the message.
            file = QStringLiteral("speech.wav");
            tolerance = 0.001;
        }
        QVERIFY(loadAndWait(engine, fixture(file), 1.5));
        QVERIFY(engine.isLoaded() && !engine.isPlaying() && !engine.loadError());
        QVERIFY2(std::abs(engine.duration() - speechLength) <= tolerance,
                 qPrintable(QString::number(engine.duration())));
        QCOMPARE(engine.currentTime(), 1.5);
        // The null output was asked for: no complaint that nothing is heard.
        QVERIFY(!engine.outputError().has_value());
    }

    // A sound device that cannot be opened leaves the file playing silently, and says so; a
    // later engine with a working output has nothing to say.
    void outputThatCannotOpen_isReported()
    {
        PlaybackEngine engine(std::make_unique<MpvBackend>(
            MpvBackend::Options{{"ao", "alsa"}, {"audio-device", "alsa/dictaro-no-such-device"}}));
        QSignalSpy changed(&engine, &PlaybackEngine::outputErrorChanged);
        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.wav"))));
        QVERIFY(engine.outputError().has_value());
        engine.play();
        QTRY_VERIFY(engine.currentTime() > 0.3);
        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.flac"))));
        QCOMPARE(changed.count(), 1);
    }

    // A moving picture is reported, cover art is not; a video without sound opens, says so,
    // and its clock runs on its picture alone.
    void video_isReportedAndPlaysWithoutSound()
    {
        PlaybackEngine engine(std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        for (const char* file : {"speech.mp4", "speech.webm", "bars.mp4", "cover.mp3"})
            QVERIFY2(loadAndWait(engine, fixture(QLatin1String(file))) && !engine.playbackError() &&
                         engine.hasVideo() == !QByteArray(file).endsWith(".mp3"),
                     file);
        for (const char* file : {"video-only.mp4", "video-only.webm"}) {
            QVERIFY2(loadAndWait(engine, fixture(QLatin1String(file))) && engine.hasVideo(), file);
            QCOMPARE(engine.playbackError(),
                     std::optional<QString>(Localization::tr("This video has no sound.")));
            QVERIFY(std::abs(engine.duration() - 1.0) < 0.15);
        }
        engine.play();
        QTRY_VERIFY(engine.currentTime() >= 0.5);
        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.wav"))) && !engine.hasVideo() &&
                !engine.playbackError());
    }

    // Started at 2.3 s (inside a word), the player puts out exactly the sound from 2.3 s on and
    // nothing from before the seek: matched from the end against a play from the start, all of
    // it is the common part, which reaches back to 2.3 s within a millisecond. Decoders may
    // differ slightly after a seek (AAC fills some bands with noise), hence the tolerance.
    void seek_isSampleExact()
    {
        for (const char* ext :
             {"wav", "aiff", "flac", "m4a", "mp3", "caf", "aac", "opus", "ogg", "mp4"}) {
            const QString file = u"speech."_s + QLatin1String(ext);
            const std::vector<float> whole = playedSamples(file, 0.0);
            const std::vector<float> rest = playedSamples(file, 2.3);
            QVERIFY2(!whole.empty() && !rest.empty(), ext);
            size_t matching = 0;
            while (matching < rest.size() &&
                   std::abs(rest.rbegin()[matching] - whole.rbegin()[matching]) <= 0.02f)
                ++matching;
            const auto expected = qsizetype(whole.size()) - qRound(2.3 * sampleRate);
            const QString found = u"%1 of %2 match, %3 expected"_s.arg(matching).arg(rest.size());
            QVERIFY2(matching == rest.size() &&
                         std::abs(qsizetype(matching) - expected) <= sampleRate / 1000,
                     qPrintable(found.arg(expected) + u' ' + QLatin1String(ext)));
        }
    }

    // Past 1,000 s a seek still lands on the millisecond: played from 1200.1234 s, the long
    // tone's silent mark (2 ms or more of quiet) starts 0.1266 s into the output.
    void seek_isExactPastAThousandSeconds()
    {
        const std::vector<float> output = playedSamples(QStringLiteral("long-tone.wav"), 1200.1234);
        const qsizetype run = sampleRate / 500;
        qsizetype quiet = 0, i = 0;
        for (; i < qsizetype(output.size()) && quiet < run; ++i)
            quiet = std::abs(output[i]) < 0.02f ? quiet + 1 : 0;
        const qsizetype mark = i - run, expected = qRound(0.1266 * sampleRate);
        QVERIFY2(std::abs(mark - expected) <= sampleRate / 1000,
                 qPrintable(QStringLiteral("mark at %1, expected %2").arg(mark).arg(expected)));
    }

    // What is heard: the volume scales the amplitude, one channel is heard on both sides, and the
    // voice filter keeps a 1 kHz tone while cutting the mains hum under it.
    void sound_volumeChannelsAndVoiceFilter()
    {
        const auto tone = [](const SoundSettings& sound) {
            return toneAmplitude(playedSamples(u"tone440.wav"_s, 0.0, 0.0, sound), 1, 0, 440, 0.5,
                                 3.0);
        };
        const double full = tone({});
        QVERIFY2(std::abs(full - 0.25) < 0.01, qPrintable(QString::number(full)));
        QVERIFY(std::abs(tone({.volume = 50.0}) / full - 0.5) < 0.02);
        QVERIFY(std::abs(tone({.volume = 200.0}) / full - 2.0) < 0.04);

        // The left channel holds 440 Hz, the right one 1 kHz.
        for (const auto& [channels, kept, gone] :
             {std::tuple(Channels::Left, 440, 1000), std::tuple(Channels::Right, 1000, 440)}) {
            const auto out =
                playedSamples(u"stereo-tones.wav"_s, 0, 0, {.channels = channels}, true);
            for (int side : {0, 1})
                QVERIFY(toneAmplitude(out, 2, side, kept, 0.2, 1.8) > 0.2 &&
                        toneAmplitude(out, 2, side, gone, 0.2, 1.8) < 0.0025);
        }

        // The hum is three times the tone in the file; the filter leaves it at least 20 dB
        // further below the tone, which stays clearly audible.
        const std::vector<float> filtered =
            playedSamples(u"hum.wav"_s, 0.0, 0.0, {.voiceFilter = true});
        const double speech = toneAmplitude(filtered, 1, 0, 1000, 1.0, 2.5);
        const double hum = toneAmplitude(filtered, 1, 0, 50, 1.0, 2.5);
        const double cut = 20.0 * std::log10((hum / speech) / 3.0);
        QVERIFY2(speech > 0.05 && cut <= -20.0, qPrintable(u"%1, %2 dB"_s.arg(speech).arg(cut)));
    }

    // The rate is changed while paused and takes effect with play(). The tone's last 1.75 s
    // (after its silent gap at 3.25 s; sound buffered at the old rate comes before) last
    // 1.75 s / rate and stay at 440 Hz, counted in upward zero crossings. The gap is the last
    // 2 ms of quiet: a sine is near zero for a sample or two only.
    void rate_keepsPitchAndScalesLength()
    {
        for (const double rate : {0.5, 2.0}) {
            const std::vector<float> output = playedSamples(u"tone440.wav"_s, 0, rate - 1.0);
            auto quiet = [&](qsizetype i) { return std::abs(output[i]) < 0.02f; };
            qsizetype end = qsizetype(output.size()) - 1;
            while (end > 0 && quiet(end))
                --end;
            qsizetype begin = end;
            for (qsizetype run = 0; begin > 0 && run < sampleRate / 500; --begin)
                run = quiet(begin) ? run + 1 : 0;
            const double tail = double(end - begin - sampleRate / 500) / sampleRate;
            qsizetype crossings = 0; // upward, through the tail at the same pitch
            for (qsizetype i = begin + 1; i <= end; ++i)
                crossings += output[i - 1] < 0.0f && output[i] >= 0.0f;
            QVERIFY2(std::abs(tail - 1.75 / rate) < 0.03 * 1.75 / rate &&
                         std::abs(double(crossings) / tail - 440.0) < 4.4,
                     qPrintable(u"%1 s, %2 Hz"_s.arg(tail).arg(double(crossings) / tail)));
        }
    }

    void playback_pauseEndAndUnload_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("start");
        QTest::newRow("mp3") << QStringLiteral("speech.mp3") << 3.5;
        // Claims 6 s but holds 3 s of sound: it must still end, early.
        QTest::newRow("truncated mp3") << QStringLiteral("truncated.mp3") << 1.0;
        // Estimates 3.7 s at first; the length grows while playing so the real end is reached.
        QTest::newRow("aac") << QStringLiteral("speech.aac") << 2.0;
    }

    // At 2.0x: a pause rewinds the player itself, so playing again continues from there with
    // no report from before the pause; the end stops playback and play starts over. Unloaded
    // during playback, the engine hears nothing more of the file; the player, left running by
    // the closed file, opens the next one paused (positions would move otherwise).
    void playback_pauseEndAndUnload()
    {
        QFETCH(QString, file);
        QFETCH(double, start);
        auto backend = std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions());
        QSignalSpy positions(backend.get(), &MediaBackend::positionChanged);
        PlaybackEngine engine(std::move(backend));
        QVERIFY(loadAndWait(engine, fixture(file), start, 2.0));
        engine.play();
        QTRY_VERIFY_WITH_TIMEOUT(engine.currentTime() >= start + 1.0, 3000);
        const double rewound = engine.currentTime() - 1.0;
        engine.pause(1.0);
        QCOMPARE(engine.currentTime(), rewound);
        QSignalSpy times(&engine, &PlaybackEngine::currentTimeChanged);
        engine.play();
        QVERIFY(times.wait(2000));
        const double firstTick = times.first().first().toDouble();
        QVERIFY2(firstTick > rewound && firstTick < rewound + 0.75,
                 qPrintable(QString::number(firstTick)));

        QSignalSpy playing(&engine, &PlaybackEngine::isPlayingChanged);
        QTRY_VERIFY_WITH_TIMEOUT(!engine.isPlaying(), timeoutMs);
        QCOMPARE(playing.count(), 1);
        QCOMPARE(engine.currentTime(), engine.duration());
        // A tick for each quarter second of the recording, at 2.0x too (the usual step between
        // two).
        QList<double> steps;
        for (qsizetype i = 1; i < times.size(); ++i)
            steps << times[i].first().toDouble() - times[i - 1].first().toDouble();
        std::sort(steps.begin(), steps.end());
        QVERIFY2(steps.size() >= 3 && steps[steps.size() / 2] < 0.4,
                 qPrintable(QString::number(steps.size())));
        // The cut file takes the end of its sound as its length and says why.
        const bool truncated = file.startsWith(QLatin1String("truncated"));
        QCOMPARE(engine.playbackError().has_value(), truncated);
        if (truncated)
            QVERIFY2(std::abs(engine.duration() - speechLength / 2) < 0.5,
                     qPrintable(QString::number(engine.duration())));
        if (file.endsWith(QLatin1String(".aac")))
            QVERIFY2(std::abs(engine.duration() - speechLength) < 0.05,
                     qPrintable(QString::number(engine.duration())));
        engine.play();
        QCOMPARE(engine.currentTime(), 0.0);
        QTRY_VERIFY_WITH_TIMEOUT(engine.currentTime() > 0.0, 2000);
        QVERIFY2(engine.currentTime() < 1.5, qPrintable(QString::number(engine.currentTime())));

        engine.unload();
        QVERIFY(!engine.isPlaying() && engine.currentTime() == 0.0 && engine.duration() == 0.0 &&
                !engine.playbackError());
        times.clear();
        playing.clear();
        QTest::qWait(300);
        QCOMPARE(times.count() + playing.count(), 0);
        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.wav"))));
        positions.clear();
        QTest::qWait(300);
        for (const auto& args : positions)
            QVERIFY2(args.first().toDouble() < 0.05, qPrintable(args.first().toString()));
    }

    // A loop repeats its stretch, also one that reaches the end of the file, and the position
    // follows each return to its start; once cleared, playback goes on to the end.
    void loop_repeatsUntilCleared()
    {
        PlaybackEngine engine(std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        QVERIFY(loadAndWait(engine, fixture(QStringLiteral("speech.wav")), 1.0, 2.0));
        for (const auto& [start, end] : {std::pair(1.0, 2.0), std::pair(5.0, speechLength)}) {
            engine.setLoop(start, end);
            engine.seek(start);
            QSignalSpy times(&engine, &PlaybackEngine::currentTimeChanged);
            engine.play();
            QTest::qWait(1800); // 3.6 s of sound at 2.0x
            QVERIFY(engine.isPlaying());
            int returns = 0;
            for (qsizetype i = 1; i < times.size(); ++i) {
                const double time = times[i].first().toDouble();
                returns += time < times[i - 1].first().toDouble();
                QVERIFY2(time >= start - 0.01 && time <= end + 0.05,
                         qPrintable(QString::number(time)));
            }
            QVERIFY2(returns >= 2, qPrintable(QString::number(returns)));
            engine.pause(0.0);
        }
        engine.clearLoop();
        engine.play();
        QTRY_VERIFY_WITH_TIMEOUT(!engine.isPlaying(), timeoutMs);
        QCOMPARE(engine.currentTime(), engine.duration());
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackEngine)
#include "tst_PlaybackEngine.moc"
