#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "DraftEngine.h"
#include "SpeechAudio.h"
#include "WhisperRecogniser.h"

#include <thread>

using namespace dictaro;
using namespace Qt::StringLiterals;

// The recogniser on models with random weights (tools/random-speech-model.py): what it writes
// is made-up words, but its loading, times, progress and stopping are the real ones.
namespace {

const QString englishModel = QStringLiteral(DICTARO_SPEECH_MODELS "/test.en.bin");
const QString multilingualModel = QStringLiteral(DICTARO_SPEECH_MODELS "/test.bin");
const QString speech = QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/speech.wav");

struct Outcome
{
    bool finished = false;
    std::vector<RecognisedSegment> segments;
    std::vector<double> progress;
};

Outcome recognise(Recogniser& recogniser, const Recogniser::Request& request,
                  const std::atomic<bool>& cancel)
{
    Outcome outcome;
    outcome.finished = recogniser.recognise(
        request, cancel,
        [&](const RecognisedSegment& segment) { outcome.segments.push_back(segment); },
        [&](double reached) { outcome.progress.push_back(reached); });
    return outcome;
}

} // namespace

class tst_WhisperRecogniser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsModels_andRefusesBrokenOnes();
    void segmentsLieWithinTheRecording_data();
    void segmentsLieWithinTheRecording();
    void stopsSoonAfterCancel();
    void needsAModel();

private:
    SpeechAudio m_audio;
};

void tst_WhisperRecogniser::initTestCase()
{
    QVERIFY(draftAvailable());
    const std::atomic<bool> cancel = false;
    QString problem;
    auto audio = SpeechAudioDecoder::decode(speech, cancel, {}, &problem);
    QVERIFY2(audio, qPrintable(problem));
    m_audio = std::move(*audio);
}

void tst_WhisperRecogniser::loadsModels_andRefusesBrokenOnes()
{
    const std::unique_ptr<Recogniser> recogniser = builtInDraftEngine().makeRecogniser();
    QVERIFY(recogniser);
    QVERIFY(!recogniser->isLoaded());
    const std::optional<QString> loaded = recogniser->load(englishModel);
    QVERIFY2(!loaded, qPrintable(loaded.value_or(QString())));
    QVERIFY(recogniser->isLoaded());

    // A truncated copy is refused, and the model loaded before is gone.
    QTemporaryDir dir;
    const QString truncated = dir.filePath(u"truncated.bin"_s);
    QVERIFY(QFile::copy(englishModel, truncated));
    QFile file(truncated);
    QVERIFY(file.resize(file.size() - 100));
    const std::optional<QString> refused = recogniser->load(truncated);
    QVERIFY(refused);
    QVERIFY2(refused->contains(u"truncated.bin"_s), qPrintable(*refused));
    QVERIFY(!recogniser->isLoaded());
    QVERIFY(recogniser->load(speech));
    QVERIFY(recogniser->load(dir.filePath(u"absent.bin"_s)));
    QVERIFY(!recogniser->isLoaded());
}

void tst_WhisperRecogniser::segmentsLieWithinTheRecording_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("language");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("duration");
    QTest::addColumn<int>("threads");
    const double length = 6.0;
    QTest::newRow("English model") << englishModel << QString() << 0.0 << length << 1;
    QTest::newRow("multilingual, automatic")
        << multilingualModel << QString() << 0.0 << length << 2;
    QTest::newRow("multilingual, Turkish") << multilingualModel << u"tr"_s << 0.0 << length << 1;
    // A stretch from 100 s on, in a recording that ends 2 s into it: times are shifted and
    // clamped to the end.
    QTest::newRow("shifted and clamped") << englishModel << QString() << 100.0 << 102.0 << 1;
}

void tst_WhisperRecogniser::segmentsLieWithinTheRecording()
{
    QFETCH(QString, model);
    QFETCH(QString, language);
    QFETCH(double, offset);
    QFETCH(double, duration);
    QFETCH(int, threads);
    WhisperRecogniser recogniser;
    QVERIFY(!recogniser.load(model));
    Recogniser::Request request;
    request.samples = m_audio.samples;
    request.offset = offset;
    request.duration = duration;
    request.language = language;
    request.threads = threads;
    const std::atomic<bool> cancel = false;
    const Outcome outcome = recognise(recogniser, request, cancel);
    QVERIFY(outcome.finished);

    QVERIFY(!outcome.segments.empty());
    double previousStart = offset;
    for (const RecognisedSegment& segment : outcome.segments) {
        QVERIFY2(offset <= segment.start && segment.start <= segment.end && segment.end <= duration,
                 qPrintable(u"%1 to %2"_s.arg(segment.start).arg(segment.end)));
        QVERIFY(segment.start >= previousStart);
        previousStart = segment.start;
        for (const RecognisedWord& word : segment.words) {
            QVERIFY(segment.start <= word.start && word.start <= word.end &&
                    word.end <= segment.end);
            QVERIFY(0.0 <= word.probability && word.probability <= 1.0);
            QVERIFY(!word.text.isEmpty() && !word.text.contains(u' '));
            QVERIFY(segment.text.contains(word.text));
        }
    }
    // Progress only moves forward, and ends at the end of what was given.
    QVERIFY(!outcome.progress.empty());
    QVERIFY(std::is_sorted(outcome.progress.begin(), outcome.progress.end()));
    QCOMPARE(outcome.progress.back(), std::min(duration, offset + m_audio.duration()));
}

void tst_WhisperRecogniser::stopsSoonAfterCancel()
{
    WhisperRecogniser recogniser;
    QVERIFY(!recogniser.load(englishModel));
    // A minute of speech, so that there is plenty left when the stop comes.
    std::vector<float> samples;
    for (int i = 0; i < 10; ++i)
        samples.insert(samples.end(), m_audio.samples.begin(), m_audio.samples.end());
    Recogniser::Request request;
    request.samples = samples;
    request.duration = double(samples.size()) / Recogniser::sampleRate;

    std::atomic<bool> cancel = false;
    QElapsedTimer sinceCancel;
    std::size_t segmentsAtCancel = 0;
    Outcome outcome;
    std::thread worker([&] {
        outcome.finished = recogniser.recognise(
            request, cancel,
            [&](const RecognisedSegment& segment) { outcome.segments.push_back(segment); },
            [](double) {});
    });
    // Well into the first window's work.
    QTest::qWait(300);
    segmentsAtCancel = outcome.segments.size();
    sinceCancel.start();
    cancel = true;
    worker.join();
    const qint64 elapsed = sinceCancel.elapsed();
    QVERIFY(!outcome.finished);
    QVERIFY2(elapsed < 100, qPrintable(u"stopped after %1 ms"_s.arg(elapsed)));
    // At most the segment being handed over when the flag was set follows it.
    QVERIFY(outcome.segments.size() <= segmentsAtCancel + 1);

    // A request cancelled before it starts gives nothing.
    const Outcome none = recognise(recogniser, request, cancel);
    QVERIFY(!none.finished);
    QVERIFY(none.segments.empty());
}

void tst_WhisperRecogniser::needsAModel()
{
    WhisperRecogniser recogniser;
    Recogniser::Request request;
    request.samples = m_audio.samples;
    request.duration = m_audio.duration();
    const std::atomic<bool> cancel = false;
    QVERIFY(!recognise(recogniser, request, cancel).finished);
}

QTEST_GUILESS_MAIN(tst_WhisperRecogniser)
#include "tst_WhisperRecogniser.moc"
