// The engine's rules over a scripted back end: positions, ends and failures arrive exactly
// when the test sends them.
#include "MediaBackend.h"
#include "PlaybackEngine.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using namespace dictaro;

namespace {

class ScriptedBackend final : public MediaBackend
{
public:
    void open(const QString&) override {}
    void close() override {}
    void seek(double seconds) override { seeks << seconds; }
    void setRate(double rate) override { rates << rate; }
    void setPaused(bool isPaused) override { paused = isPaused; }
    void setLoop(double start, double end) override { loop = {start, end}; }
    void clearLoop() override { loop.reset(); }

    QList<double> seeks, rates;
    std::optional<std::pair<double, double>> loop;
    bool paused = true;
};

} // namespace

class tst_PlaybackEngineRules : public QObject
{
    Q_OBJECT

    ScriptedBackend* m_backend = nullptr;
    std::unique_ptr<PlaybackEngine> m_engine;

    // Loads a file of `duration` seconds; true when it is reported ready.
    bool loadFile(double duration, double position = 0.0, double rate = 1.0)
    {
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        m_engine->load(QStringLiteral("/audio/interview.mp3"), position, rate);
        emit m_backend->opened(duration, true);
        if (finished.count() != 0) // the result must come through the event loop
            return false;
        return finished.wait(1000) && finished.first().first().toBool();
    }

    // Loads a 60 s file and plays it from `position`.
    void playFrom(double position)
    {
        QVERIFY(loadFile(60.0, position));
        m_engine->play();
        m_backend->seeks.clear();
    }

private slots:
    void init()
    {
        auto backend = std::make_unique<ScriptedBackend>();
        m_backend = backend.get();
        m_engine = std::make_unique<PlaybackEngine>(std::move(backend));
    }

    // A load starts paused at its position and rate brought within bounds (beyond the end,
    // negative, not a number); a length the player cannot tell is refused.
    void load_startsPausedAtClampedPositionAndRate()
    {
        const double nan = std::nan("");
        for (const auto& [position, rate, expectedPosition, expectedRate] :
             {std::tuple(100.0, 3.0, 60.0, 2.0), std::tuple(-4.0, 0.2, 0.0, 0.5),
              std::tuple(nan, nan, 0.0, 0.5)}) {
            init();
            QVERIFY(loadFile(60.0, position, rate));
            QCOMPARE(m_engine->currentTime(), expectedPosition);
            QCOMPARE(m_engine->rate(), expectedRate);
            QCOMPARE(m_backend->seeks, QList<double>{expectedPosition});
            QVERIFY(m_backend->paused && !m_engine->isPlaying());
            QVERIFY(m_backend->rates.isEmpty()); // the rate waits for play()
        }
        for (double duration : {nan, std::numeric_limits<double>::infinity()}) {
            QVERIFY(!loadFile(duration));
            QVERIFY(m_engine->loadError().has_value() && !m_engine->isLoaded());
        }
    }

    // A later load or unload makes an earlier result harmless: no signal for it, and its
    // callback gets false; nothing is called back once the engine is gone.
    void load_supersededResultIsHarmless()
    {
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        QList<bool> first, second, third;
        m_engine->load(QStringLiteral("/a.mp3"), 0, 1, [&](bool ready) { first << ready; });
        m_engine->load(QStringLiteral("/b.mp3"), 0, 1, [&](bool ready) { second << ready; });
        emit m_backend->opened(10.0, true);
        m_engine->unload(); // before the answer for b was delivered
        m_engine->load(QStringLiteral("/c.mp3"), 0, 1, [&](bool ready) { third << ready; });
        emit m_backend->opened(10.0, true);
        QTRY_COMPARE(third.size(), 1);
        QCOMPARE(first + second + third, (QList<bool>{false, false, true}));
        QCOMPARE(finished.count(), 1);

        int late = 0;
        m_engine->load(QStringLiteral("/d.mp3"), 0, 1, [&](bool) { ++late; });
        emit m_backend->opened(10.0, true);
        m_engine.reset();
        QTest::qWait(20);
        QCOMPARE(late, 0);
    }

    // One tick per quarter second crossed; a jump over several quarters is one tick, older
    // reports are ignored, and beyond the known length the position stays at the end. A rate
    // step while playing reaches the player at once.
    void ticks_followMediaTimeInQuarterSeconds()
    {
        playFrom(0.0);
        QSignalSpy spy(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        for (double t : {0.1, 0.2, 0.3, 0.4, 0.5, 2.9, 2.6, 75.0})
            emit m_backend->positionChanged(t);
        QList<double> ticks;
        for (const auto& args : spy)
            ticks << args.first().toDouble();
        QCOMPARE(ticks, (QList<double>{0.3, 0.5, 2.9, 60.0}));

        m_engine->changeRate(0.1);
        QCOMPARE(m_backend->rates, (QList<double>{1.0, 1.1}));
    }

    // The player stops where the last tick was, less the rewind; the engine remembers where it
    // stopped, before its rewind, until the next seek or play.
    void pause_rewindsFromTheLastTick()
    {
        for (const double rewind : {3.0, 0.0}) {
            init();
            playFrom(9.0);
            emit m_backend->positionChanged(10.0);
            emit m_backend->positionChanged(10.1); // heard, not yet ticked

            m_engine->pause(rewind);
            QVERIFY(!m_engine->isPlaying() && m_backend->paused);
            QCOMPARE(m_engine->currentTime(), 10.0 - rewind);
            QCOMPARE(m_backend->seeks, QList<double>{10.0 - rewind}); // also without a rewind

            // Late reports, a late end and a second pause change nothing.
            QSignalSpy spy(m_engine.get(), &PlaybackEngine::currentTimeChanged);
            emit m_backend->positionChanged(10.5);
            emit m_backend->ended(10.5);
            m_engine->pause(rewind);
            QCOMPARE(spy.count(), 0);
            QCOMPARE(m_backend->seeks.size(), 1);
            QCOMPARE(m_engine->pausedAt(), 10.0);
        }
        m_engine->play();
        QVERIFY(!m_engine->pausedAt());
        m_engine->pause(3.0);
        m_engine->seek(5.0);
        QVERIFY(!m_engine->pausedAt());
    }

    // Marks in either order make one stretch within the file, which reaches the player only
    // once both are set and far enough apart; going back to its start is a tick of its own.
    // A load forgets the loop.
    void loop_marksStretchAndWrapsTicks()
    {
        playFrom(10.0);
        QSignalSpy changed(m_engine.get(), &PlaybackEngine::loopChanged);
        m_engine->setLoopEnd(12.0);
        QVERIFY(!m_engine->isLooping() && !m_backend->loop);
        m_engine->setLoopStart(70.0);
        QCOMPARE(m_backend->loop, (std::pair(12.0, 60.0)));
        m_engine->setLoopStart(59.9);
        QVERIFY(!m_engine->isLooping() && !m_backend->loop);
        m_engine->setLoop(14.0, 11.0);
        QCOMPARE(m_backend->loop, (std::pair(11.0, 14.0)));
        QCOMPARE(changed.count(), 4);

        emit m_backend->positionChanged(13.9);
        emit m_backend->positionChanged(10.8);
        QCOMPARE(m_engine->currentTime(), 11.0);

        QVERIFY(loadFile(60.0));
        QVERIFY(!m_engine->loopStart() && !m_engine->loopEnd() && !m_backend->loop);
    }

    // The end stops playback with the player paused (a later seek must not make it sound); play
    // starts over within a quarter second of the end, but not while playing. An end within a
    // second of the stated length, or at an unknown position, is an ordinary end; one well before
    // it (a file cut off after its header was written) makes the end of the sound the length
    // and is reported until the next load.
    void end_stopsAndPlayStartsOver_earlyEndIsReported()
    {
        for (const double end : {60.0, 59.1, std::numeric_limits<double>::quiet_NaN()}) {
            playFrom(58.0);
            emit m_backend->ended(end);
            QVERIFY(!m_engine->isPlaying() && m_backend->paused);
            QVERIFY(!m_engine->playbackError().has_value());
            QCOMPARE(m_engine->duration(), 60.0);
        }
        m_engine->seek(59.8);
        m_engine->play();
        QCOMPARE(m_engine->currentTime(), 0.0);
        emit m_backend->positionChanged(59.9);
        m_engine->play(); // already playing: no restart
        QCOMPARE(m_engine->currentTime(), 59.9);
        m_engine->pause(0.0);
        m_engine->seek(59.7);
        m_engine->play();
        QCOMPARE(m_engine->currentTime(), 59.7);

        playFrom(2.0);
        emit m_backend->ended(12.5);
        QCOMPARE(m_engine->duration(), 12.5);
        QCOMPARE(m_engine->currentTime(), 12.5);
        const std::optional<QString> error = m_engine->playbackError();
        QVERIFY(error && error->contains(QLatin1String("00:12")) &&
                error->contains(QLatin1String("01:00")));
        QVERIFY(loadFile(60.0));
        QVERIFY(!m_engine->playbackError().has_value());
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackEngineRules)
#include "tst_PlaybackEngineRules.moc"
