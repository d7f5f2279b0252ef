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
    void open(const QString&) override { ++opens; }
    void close() override { ++closes; }
    void seek(double seconds) override { seeks << seconds; }
    void setRate(double rate) override { rates << rate; }
    void setPaused(bool isPaused) override { paused = isPaused; }

    int opens = 0;
    int closes = 0;
    QList<double> seeks;
    QList<double> rates;
    bool paused = true;
};

} // namespace

class tst_PlaybackEngineRules : public QObject
{
    Q_OBJECT

    ScriptedBackend* m_backend = nullptr;
    std::unique_ptr<PlaybackEngine> m_engine;

    // Loads a file of `duration` seconds; true when it is reported ready.
    bool load(double duration, double position = 0.0, double rate = 1.0, bool hasAudio = true)
    {
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        m_engine->load(QStringLiteral("/audio/interview.mp3"), position, rate);
        emit m_backend->opened(duration, hasAudio);
        if (finished.count() != 0) // the result must come through the event loop
            return false;
        return finished.wait(1000) && finished.first().first().toBool();
    }

    QList<double> times(const QSignalSpy& spy)
    {
        QList<double> values;
        for (const auto& args : spy)
            values << args.first().toDouble();
        return values;
    }

private slots:
    void init()
    {
        auto backend = std::make_unique<ScriptedBackend>();
        m_backend = backend.get();
        m_engine = std::make_unique<PlaybackEngine>(std::move(backend));
    }

    void load_startsPausedAtClampedPositionAndRate_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("expectedPosition");
        QTest::addColumn<double>("expectedRate");
        QTest::newRow("inside") << 12.5 << 1.37 << 12.5 << 1.37;
        QTest::newRow("beyond the end") << 100.0 << 3.0 << 60.0 << 2.0;
        QTest::newRow("negative") << -4.0 << 0.2 << 0.0 << 0.5;
        QTest::newRow("not a number") << std::nan("") << std::nan("") << 0.0 << 0.5;
    }

    void load_startsPausedAtClampedPositionAndRate()
    {
        QFETCH(double, position);
        QFETCH(double, rate);
        QFETCH(double, expectedPosition);
        QFETCH(double, expectedRate);
        QVERIFY(load(60.0, position, rate));
        QCOMPARE(m_engine->currentTime(), expectedPosition);
        QCOMPARE(m_engine->rate(), expectedRate);
        QCOMPARE(m_backend->seeks, QList<double>{expectedPosition});
        QVERIFY(m_backend->paused && !m_engine->isPlaying());
        QVERIFY(m_backend->rates.isEmpty()); // the rate waits for play()
    }

    void load_refusesWhatCannotBePlayed_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("hasAudio");
        QTest::newRow("no audio track") << 30.0 << false;
        QTest::newRow("unknown length") << std::nan("") << true;
        QTest::newRow("endless") << std::numeric_limits<double>::infinity() << true;
    }

    void load_refusesWhatCannotBePlayed()
    {
        QFETCH(double, duration);
        QFETCH(bool, hasAudio);
        QVERIFY(!load(duration, 5.0, 1.0, hasAudio));
        QVERIFY(m_engine->loadError().has_value());
        QVERIFY(!m_engine->isLoaded());
        QCOMPARE(m_engine->duration(), 0.0);
        QCOMPARE(m_backend->closes, 1);

        // Nothing to play: play, pause and seek change nothing; the rate still steps.
        m_engine->play();
        m_engine->pause(3.0);
        m_engine->seek(20.0);
        m_engine->changeRate(-0.1);
        QVERIFY(!m_engine->isPlaying() && m_backend->paused && m_backend->seeks.isEmpty());
        QCOMPARE(m_engine->currentTime(), 0.0);
        QCOMPARE(m_engine->rate(), 0.9);
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
        QCOMPARE(first, QList<bool>{false});
        QCOMPARE(second, QList<bool>{false});
        QCOMPARE(third, QList<bool>{true});
        QCOMPARE(finished.count(), 1);

        int late = 0;
        m_engine->load(QStringLiteral("/d.mp3"), 0, 1, [&](bool) { ++late; });
        emit m_backend->opened(10.0, true);
        m_engine.reset();
        QTest::qWait(20);
        QCOMPARE(late, 0);
    }

    void ticks_followMediaTimeInQuarterSeconds()
    {
        QVERIFY(load(60.0));
        m_engine->play();
        QSignalSpy spy(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        for (int i = 1; i <= 20; ++i) // reports every 0.1 s of media time
            emit m_backend->positionChanged(i / 10.0);
        QCOMPARE(times(spy), (QList<double>{0.3, 0.5, 0.8, 1.0, 1.3, 1.5, 1.8, 2.0}));

        // A report that jumps over several quarters is one tick; older reports are ignored;
        // beyond the known length the position stays at the end.
        spy.clear();
        for (double t : {2.9, 2.6, 75.0})
            emit m_backend->positionChanged(t);
        QCOMPARE(times(spy), (QList<double>{2.9, 60.0}));
    }

    void pause_rewindsFromTheLastTick_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("rewind");
        QTest::addColumn<double>("expected");
        QTest::newRow("near the start") << 2.0 << 3.0 << 0.0;
        QTest::newRow("further in") << 10.0 << 3.0 << 7.0;
        QTest::newRow("no rewind") << 10.0 << 0.0 << 10.0;
    }

    void pause_rewindsFromTheLastTick()
    {
        QFETCH(double, position);
        QFETCH(double, rewind);
        QFETCH(double, expected);
        QVERIFY(load(60.0, position - 1.0));
        m_engine->play();
        emit m_backend->positionChanged(position);
        emit m_backend->positionChanged(position + 0.1); // heard, not yet ticked
        m_backend->seeks.clear();

        m_engine->pause(rewind);
        QVERIFY(!m_engine->isPlaying() && m_backend->paused);
        QCOMPARE(m_engine->currentTime(), expected);
        QCOMPARE(m_backend->seeks, QList<double>{expected}); // also without a rewind

        // Late reports, a late end and a second pause change nothing.
        QSignalSpy spy(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        emit m_backend->positionChanged(position + 0.5);
        emit m_backend->ended();
        m_engine->pause(rewind);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_backend->seeks.size(), 1);
    }

    void end_stopsAtDurationAndPlayStartsOver()
    {
        QVERIFY(load(60.0, 58.0));
        m_engine->play();
        emit m_backend->positionChanged(59.97);
        emit m_backend->ended();
        QVERIFY(!m_engine->isPlaying());
        QVERIFY(m_backend->paused); // a later seek must not make the player sound
        QCOMPARE(m_engine->currentTime(), 60.0);

        m_backend->seeks.clear();
        m_engine->play();
        QVERIFY(m_engine->isPlaying());
        QCOMPARE(m_backend->seeks, QList<double>{0.0});
    }

    void play_nearTheEndStartsOver_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("expectedStart");
        QTest::newRow("within a quarter second") << 59.8 << 0.0;
        QTest::newRow("just before that") << 59.7 << 59.7;
    }

    void play_nearTheEndStartsOver()
    {
        QFETCH(double, position);
        QFETCH(double, expectedStart);
        QVERIFY(load(60.0, position));
        m_engine->play();
        QCOMPARE(m_engine->currentTime(), expectedStart);

        // play() while playing must not jump back to the start.
        emit m_backend->positionChanged(59.9);
        m_engine->play();
        QCOMPARE(m_engine->currentTime(), 59.9);
    }

    void changeRate_whilePausedWaitsForPlay()
    {
        QVERIFY(load(60.0));
        m_engine->changeRate(0.1);
        QCOMPARE(m_engine->rate(), 1.1);
        QVERIFY(m_backend->rates.isEmpty());
        m_engine->play();
        QCOMPARE(m_backend->rates, QList<double>{1.1});
        m_engine->changeRate(0.1);
        QCOMPARE(m_backend->rates, (QList<double>{1.1, m_engine->rate()}));
    }

    // A file that fails after loading is released, with the message, but no second result.
    void failureAfterLoading_releasesTheFile()
    {
        QVERIFY(load(60.0, 5.0));
        m_engine->play();
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        emit m_backend->failed(QStringLiteral("read error"));
        QVERIFY(!m_engine->isLoaded() && !m_engine->isPlaying());
        QCOMPARE(m_engine->duration(), 0.0);
        QVERIFY(m_engine->loadError().has_value());
        QTest::qWait(10);
        QCOMPARE(finished.count(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackEngineRules)
#include "tst_PlaybackEngineRules.moc"
