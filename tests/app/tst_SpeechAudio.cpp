#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "Recogniser.h"
#include "SpeechAudio.h"

#include <cmath>

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

double rms(const std::vector<float>& samples)
{
    double sum = 0.0;
    for (const float sample : samples)
        sum += double(sample) * sample;
    return samples.empty() ? 0.0 : std::sqrt(sum / double(samples.size()));
}

} // namespace

class tst_SpeechAudio : public QObject
{
    Q_OBJECT

private slots:
    // Each format comes to 16 kHz mono within [-1, 1], its progress running to its end. A
    // stretch of it (a frame-exact seek in WAV, one that lands on a packet before the stretch in
    // MP3) is the same sound as that stretch of the whole, give or take the resampler's first
    // samples.
    void decodesRecordingsAndStretches_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"speech.wav", "speech.mp3", "speech.m4a", "speech.flac"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void decodesRecordingsAndStretches()
    {
        QFETCH(QString, name);
        const QString path = QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/") + name;
        const std::atomic<bool> cancel = false;
        double reached = -1.0;
        QString problem;
        const std::optional<SpeechAudio> whole = SpeechAudioDecoder::decode(
            path, cancel,
            [&](double at) {
                QVERIFY(at >= reached);
                reached = at;
            },
            &problem);
        QVERIFY2(whole, qPrintable(problem));
        // Six seconds, give or take an encoder's padding.
        QVERIFY2(std::abs(whole->duration() - 6.0) < 0.1,
                 qPrintable(QString::number(whole->duration())));
        QCOMPARE(reached, whole->duration());
        QVERIFY(rms(whole->samples) > 0.01);
        for (const float sample : whole->samples)
            QVERIFY(std::abs(sample) <= 1.0f);

        const auto stretch = SpeechAudioDecoder::decode(
            path, cancel, [&](double at) { reached = at; }, nullptr, 2.0, 4.5);
        QVERIFY(stretch);
        QVERIFY2(std::abs(stretch->duration() - 2.5) < 0.01,
                 qPrintable(QString::number(stretch->duration())));
        QVERIFY(std::abs(reached - 4.5) < 0.01);
        const std::size_t from = 2 * Recogniser::sampleRate;
        double difference = 0.0;
        for (std::size_t i = 100; i < stretch->samples.size() - 100; ++i)
            difference += std::abs(double(stretch->samples[i]) - whole->samples[from + i]);
        QVERIFY2(difference / double(stretch->samples.size()) < 0.002,
                 qPrintable(QString::number(difference / double(stretch->samples.size()))));
    }

    // The channels are averaged: 0.6 and -0.2 of one tone make 0.2 of it, an RMS of 0.2 / sqrt(2)
    // (either channel alone, or their sum, gives another).
    void mixesChannelsDown()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"stereo.wav"_s);
        const QString source = u"aevalsrc=0.6*sin(2*PI*440*t)|-0.2*sin(2*PI*440*t):s=48000:d=2"_s;
        QCOMPARE(QProcess::execute(u"ffmpeg"_s,
                                   {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-f"_s, u"lavfi"_s,
                                    u"-i"_s, source, u"-c:a"_s, u"pcm_f32le"_s, path}),
                 0);
        const std::atomic<bool> cancel = false;
        const auto mixed = SpeechAudioDecoder::decode(path, cancel, {}, nullptr);
        QVERIFY(mixed);
        QVERIFY(std::abs(double(mixed->samples.size()) - 2.0 * Recogniser::sampleRate) < 100);
        QVERIFY(std::abs(rms(mixed->samples) - 0.2 / std::sqrt(2.0)) < 0.01);
    }

    void refusesWhatItCannotDecode_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("cancelled");
        const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);
        QTest::newRow("text") << fixtures + "/notes.mp3" << false;
        QTest::newRow("empty") << fixtures + "/empty.mp3" << false;
        QTest::newRow("missing") << fixtures + "/absent.wav" << false;
        QTest::newRow("folder") << fixtures << false;
        QTest::newRow("cancelled") << fixtures + "/speech.wav" << true;
    }
    void refusesWhatItCannotDecode()
    {
        QFETCH(QString, path);
        QFETCH(bool, cancelled);
        const std::atomic<bool> cancel = cancelled;
        QString problem;
        QVERIFY(!SpeechAudioDecoder::decode(path, cancel, {}, &problem));
        QVERIFY(cancelled || !problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_SpeechAudio)
#include "tst_SpeechAudio.moc"
