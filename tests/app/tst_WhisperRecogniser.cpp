#include <QElapsedTimer>
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
// Of the real tiny.en shape: its steps take long enough for a stop that waits on one to show.
const QString slowModel = QStringLiteral(DICTARO_SPEECH_MODELS "/tiny.en.bin");
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

    SpeechAudio m_audio;

    // A request over `samples`, which must outlive it: a request only refers to its samples.
    static Recogniser::Request request(const std::vector<float>& samples)
    {
        Recogniser::Request request;
        request.duration = double(samples.size()) / Recogniser::sampleRate;
        request.samples = samples;
        return request;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(draftAvailable());
        const std::atomic<bool> cancel = false;
        QString problem;
        auto audio = SpeechAudioDecoder::decode(speech, cancel, {}, &problem);
        QVERIFY2(audio, qPrintable(problem));
        m_audio = std::move(*audio);
    }

    // What is no usable model is SpeechModelFile's to say; a refused model leaves none loaded,
    // and without one nothing is recognised.
    void loadsModels_andRefusesBrokenOnes()
    {
        const std::unique_ptr<Recogniser> recogniser = builtInDraftEngine().makeRecogniser();
        const std::optional<QString> loaded = recogniser->load(englishModel);
        QVERIFY2(!loaded, qPrintable(loaded.value_or(QString())));
        QVERIFY(recogniser->isLoaded());
        QVERIFY(recogniser->load(speech));
        QVERIFY(!recogniser->isLoaded());
        const std::atomic<bool> cancel = false;
        QVERIFY(!recognise(*recogniser, request(m_audio.samples), cancel).finished);
    }

    // Segments and their words lie in order within the stretch asked for, on either model and
    // any number of threads; progress only moves forward, and ends at the end of what was given.
    void segmentsLieWithinTheRecording()
    {
        const struct
        {
            QString model, language;
            double offset, duration;
            int threads;
        } cases[] = {{englishModel, {}, 0.0, 6.0, 1},
                     {multilingualModel, u"tr"_s, 0.0, 6.0, 2},
                     // From 100 s on, in a recording that ends 2 s into the stretch: times are
                     // shifted and clamped to the end.
                     {englishModel, {}, 100.0, 102.0, 1}};
        for (const auto& [model, language, offset, duration, threads] : cases) {
            WhisperRecogniser recogniser;
            QVERIFY(!recogniser.load(model));
            Recogniser::Request asked = request(m_audio.samples);
            asked.offset = offset;
            asked.duration = duration;
            asked.language = language;
            asked.threads = threads;
            const std::atomic<bool> cancel = false;
            const Outcome outcome = recognise(recogniser, asked, cancel);
            QVERIFY(outcome.finished);

            QVERIFY(!outcome.segments.empty());
            double previousStart = offset;
            for (const RecognisedSegment& segment : outcome.segments) {
                QVERIFY2(offset <= segment.start && segment.start <= segment.end &&
                             segment.end <= duration,
                         qPrintable(u"%1 to %2"_s.arg(segment.start).arg(segment.end)));
                QVERIFY(segment.start >= previousStart);
                previousStart = segment.start;
                for (const RecognisedWord& word : segment.words) {
                    QVERIFY(segment.start <= word.start && word.start <= word.end &&
                            word.end <= segment.end);
                }
            }
            QVERIFY(!outcome.progress.empty());
            QVERIFY(std::is_sorted(outcome.progress.begin(), outcome.progress.end()));
            QCOMPARE(outcome.progress.back(), std::min(duration, offset + m_audio.duration()));
        }
    }

    void stopsSoonAfterCancel()
    {
        WhisperRecogniser recogniser;
        QVERIFY(!recogniser.load(slowModel));
        // A minute of speech, so that there is plenty left when the stop comes.
        std::vector<float> samples;
        for (int i = 0; i < 10; ++i)
            samples.insert(samples.end(), m_audio.samples.begin(), m_audio.samples.end());
        const Recogniser::Request minute = request(samples);

        std::atomic<bool> cancel = false;
        Outcome outcome;
        std::thread worker([&] {
            outcome.finished = recogniser.recognise(
                minute, cancel,
                [&](const RecognisedSegment& segment) { outcome.segments.push_back(segment); },
                [](double) {});
        });
        // Well into the first window's work.
        QTest::qWait(300);
        const std::size_t segmentsAtCancel = outcome.segments.size();
        QElapsedTimer sinceCancel;
        sinceCancel.start();
        cancel = true;
        worker.join();
        const qint64 elapsed = sinceCancel.elapsed();
        QVERIFY(!outcome.finished);
        QVERIFY2(elapsed < 100, qPrintable(u"stopped after %1 ms"_s.arg(elapsed)));
        // At most the segment being handed over when the flag was set follows it.
        QVERIFY(outcome.segments.size() <= segmentsAtCancel + 1);

        // A request cancelled before it starts gives nothing.
        const Outcome none = recognise(recogniser, minute, cancel);
        QVERIFY(!none.finished);
        QVERIFY(none.segments.empty());
    }
};

QTEST_GUILESS_MAIN(tst_WhisperRecogniser)
#include "tst_WhisperRecogniser.moc"
