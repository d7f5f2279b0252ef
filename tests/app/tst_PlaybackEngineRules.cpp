// The engine's rules over a scripted back end: every position, end and failure is delivered
// exactly when the test says so.
#include "Localization.h"
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
    void open(const QString& path) override { openedPaths << path; }
    void close() override { ++closeCount; }
    void seek(double seconds) override { seeks << seconds; }
    void setRate(double rate) override { rates << rate; }
    void setPaused(bool isPaused) override { paused = isPaused; }

    QStringList openedPaths;
    int closeCount = 0;
    QList<double> seeks;
    QList<double> rates;
    bool paused = true;
};

QString unplayableMessage()
{
    return Localization::tr("This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC.");
}

} // namespace

class tst_PlaybackEngineRules : public QObject
{
    Q_OBJECT

private:
    ScriptedBackend* m_backend = nullptr;
    std::unique_ptr<PlaybackEngine> m_engine;

    // Loads a 60-second file and plays it from `position`.
    void playFrom(double position)
    {
        QVERIFY(loadReady(60.0, position, 1.0));
        m_engine->play();
        QVERIFY(m_engine->isPlaying());
    }

    bool loadReady(double duration, double position = 0.0, double rate = 1.0)
    {
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        m_engine->load(QStringLiteral("/audio/interview.mp3"), position, rate);
        emit m_backend->opened(duration, true);
        return finished.wait(1000) && finished.first().first().toBool();
    }

private slots:
    void init()
    {
        auto backend = std::make_unique<ScriptedBackend>();
        m_backend = backend.get();
        m_engine = std::make_unique<PlaybackEngine>(std::move(backend));
    }

    void cleanup() { m_engine.reset(); }

    void load_startsPausedAtClampedPositionAndRate_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("expectedPosition");
        QTest::addColumn<double>("expectedRate");
        QTest::newRow("inside") << 12.5 << 1.37 << 12.5 << 1.37;
        QTest::newRow("beyond the end") << 100.0 << 1.0 << 60.0 << 1.0;
        QTest::newRow("negative") << -4.0 << 1.0 << 0.0 << 1.0;
        QTest::newRow("not a number") << std::nan("") << std::nan("") << 0.0 << 0.5;
        QTest::newRow("too fast") << 0.0 << 3.0 << 0.0 << 2.0;
        QTest::newRow("too slow") << 0.0 << 0.2 << 0.0 << 0.5;
    }

    void load_startsPausedAtClampedPositionAndRate()
    {
        QFETCH(double, position);
        QFETCH(double, rate);
        QFETCH(double, expectedPosition);
        QFETCH(double, expectedRate);

        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        bool callbackResult = false;
        int callbacks = 0;
        m_engine->load(QStringLiteral("/audio/a.mp3"), position, rate, [&](bool ready) {
            ++callbacks;
            callbackResult = ready;
        });
        QCOMPARE(m_backend->openedPaths, QStringList{QStringLiteral("/audio/a.mp3")});
        QVERIFY(!m_engine->isLoaded());

        emit m_backend->opened(60.0, true);
        // Ready at once, but the result only arrives through the event loop.
        QVERIFY(m_engine->isLoaded());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(callbacks, 0);
        QVERIFY(finished.wait(1000));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(callbacks, 1);
        QVERIFY(callbackResult);

        QCOMPARE(m_engine->duration(), 60.0);
        QCOMPARE(m_engine->currentTime(), expectedPosition);
        QCOMPARE(m_engine->rate(), expectedRate);
        QCOMPARE(m_backend->seeks, QList<double>{expectedPosition});
        QVERIFY(!m_engine->isPlaying());
        QVERIFY(m_backend->paused);
        QVERIFY(m_backend->rates.isEmpty()); // the rate waits for play()
        QVERIFY(!m_engine->loadError().has_value());
    }

    void load_refusesWhatCannotBePlayed_data()
    {
        QTest::addColumn<bool>("backendFails");
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("hasAudio");
        QTest::newRow("back end fails") << true << 0.0 << false;
        QTest::newRow("no audio track") << false << 30.0 << false;
        QTest::newRow("unknown length") << false << std::nan("") << true;
        QTest::newRow("endless") << false << std::numeric_limits<double>::infinity() << true;
        QTest::newRow("negative length") << false << -1.0 << true;
    }

    void load_refusesWhatCannotBePlayed()
    {
        QFETCH(bool, backendFails);
        QFETCH(double, duration);
        QFETCH(bool, hasAudio);

        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        QSignalSpy errors(m_engine.get(), &PlaybackEngine::loadErrorChanged);
        m_engine->load(QStringLiteral("/audio/broken.mp3"), 5.0, 1.5);
        if (backendFails)
            emit m_backend->failed(QStringLiteral("unrecognized file format"));
        else
            emit m_backend->opened(duration, hasAudio);

        QVERIFY(finished.wait(1000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(m_engine->loadError(), std::optional<QString>(unplayableMessage()));
        QCOMPARE(errors.count(), 1);
        QVERIFY(!m_engine->isLoaded());
        QCOMPARE(m_engine->duration(), 0.0);
        QCOMPARE(m_engine->currentTime(), 0.0);
        QCOMPARE(m_backend->closeCount, 1);

        // Nothing to play: play, pause and seek leave everything as it is.
        m_engine->play();
        m_engine->pause(3.0);
        m_engine->seek(20.0);
        QVERIFY(!m_engine->isPlaying());
        QCOMPARE(m_engine->currentTime(), 0.0);
        QVERIFY(m_backend->seeks.isEmpty());
        QCOMPARE(m_backend->paused, true);

        // The next good load clears the message.
        QVERIFY(loadReady(42.0));
        QVERIFY(!m_engine->loadError().has_value());
        QCOMPARE(m_engine->duration(), 42.0);
    }

    void load_supersededResultIsHarmless()
    {
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        QList<bool> first, second, third;
        m_engine->load(QStringLiteral("/a.mp3"), 0, 1, [&](bool ready) { first << ready; });
        // Superseded before the back end answered.
        m_engine->load(QStringLiteral("/b.mp3"), 0, 1, [&](bool ready) { second << ready; });
        emit m_backend->opened(10.0, true);
        // Answered, but unloaded before the answer was delivered.
        m_engine->unload();
        m_engine->load(QStringLiteral("/c.mp3"), 0, 1, [&](bool ready) { third << ready; });
        emit m_backend->failed(QString());

        QTRY_COMPARE(third.size(), 1);
        QCOMPARE(first, QList<bool>{false});
        QCOMPARE(second, QList<bool>{false});
        QCOMPARE(third, QList<bool>{false});
        QCOMPARE(finished.count(), 1); // only the latest load reports through the signal
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(m_engine->loadError().has_value());
    }

    void destroyedEngine_neverCallsBack()
    {
        int callbacks = 0;
        m_engine->load(QStringLiteral("/a.mp3"), 0, 1, [&](bool) { ++callbacks; });
        emit m_backend->opened(10.0, true);
        m_engine.reset();
        QTest::qWait(20);
        QCOMPARE(callbacks, 0);
    }

    void ticks_followMediaTimeInQuarterSeconds()
    {
        playFrom(0.0);
        QSignalSpy times(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        // Reports every 0.1 s of media time: one tick per quarter second crossed.
        for (int i = 1; i <= 20; ++i)
            emit m_backend->positionChanged(i / 10.0);
        QList<double> ticks;
        for (const auto& args : times)
            ticks << args.first().toDouble();
        QCOMPARE(ticks, (QList<double>{0.3, 0.5, 0.8, 1.0, 1.3, 1.5, 1.8, 2.0}));

        // A report that jumps over several quarters is one tick; older reports are ignored.
        emit m_backend->positionChanged(2.9);
        emit m_backend->positionChanged(2.6);
        QCOMPARE(m_engine->currentTime(), 2.9);
        // Beyond the known length the position stays at the end.
        emit m_backend->positionChanged(75.0);
        QCOMPARE(m_engine->currentTime(), 60.0);
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

        playFrom(position - 1.0);
        emit m_backend->positionChanged(position);
        emit m_backend->positionChanged(position + 0.1); // heard, not yet ticked
        m_backend->seeks.clear();

        m_engine->pause(rewind);
        QVERIFY(!m_engine->isPlaying());
        QVERIFY(m_backend->paused);
        QCOMPARE(m_engine->currentTime(), expected);
        // The player is repositioned on every pause, also without a rewind.
        QCOMPARE(m_backend->seeks, QList<double>{expected});

        // Late reports and a second pause change nothing.
        QSignalSpy times(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        emit m_backend->positionChanged(position + 0.5);
        m_engine->pause(rewind);
        QCOMPARE(times.count(), 0);
        QCOMPARE(m_backend->seeks.size(), 1);
    }

    void end_stopsAtDurationAndPlayStartsOver()
    {
        playFrom(58.0);
        emit m_backend->positionChanged(59.97);
        emit m_backend->ended();
        QVERIFY(!m_engine->isPlaying());
        QVERIFY(m_backend->paused); // the player stays quiet at its end
        QCOMPARE(m_engine->currentTime(), 60.0);

        m_backend->seeks.clear();
        m_engine->play();
        QVERIFY(m_engine->isPlaying());
        QCOMPARE(m_engine->currentTime(), 0.0);
        QCOMPARE(m_backend->seeks, QList<double>{0.0});

        // An end reported while paused is a late report: the chosen position stays.
        m_engine->pause(0.0);
        m_engine->seek(30.0);
        emit m_backend->ended();
        QCOMPARE(m_engine->currentTime(), 30.0);
    }

    void play_nearTheEndStartsOver_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("expectedStart");
        QTest::newRow("at the end") << 60.0 << 0.0;
        QTest::newRow("within a quarter second") << 59.8 << 0.0;
        QTest::newRow("just before that") << 59.7 << 59.7;
    }

    void play_nearTheEndStartsOver()
    {
        QFETCH(double, position);
        QFETCH(double, expectedStart);
        QVERIFY(loadReady(60.0, position));
        m_engine->play();
        QCOMPARE(m_engine->currentTime(), expectedStart);

        // Playing again while playing must not jump back to the start.
        emit m_backend->positionChanged(59.9);
        const double before = m_engine->currentTime();
        m_engine->play();
        QCOMPARE(m_engine->currentTime(), before);
    }

    void changeRate_whilePausedWaitsForPlay()
    {
        QVERIFY(loadReady(60.0));
        QSignalSpy rates(m_engine.get(), &PlaybackEngine::rateChanged);
        m_engine->changeRate(0.1);
        QCOMPARE(m_engine->rate(), 1.1);
        QVERIFY(m_backend->rates.isEmpty());
        QVERIFY(m_backend->paused);

        m_engine->play();
        QCOMPARE(m_backend->rates, QList<double>{1.1});
        m_engine->changeRate(0.1);
        QCOMPARE(m_backend->rates.last(), m_engine->rate());
        QCOMPARE(m_engine->rate(), 1.2000000000000002);

        for (int i = 0; i < 12; ++i)
            m_engine->changeRate(0.1);
        QCOMPARE(m_engine->rate(), 2.0);
        QCOMPARE(rates.count(), 10); // 1.1 … 2.0; steps at the limit notify nobody
    }

    void duration_followsRevisions()
    {
        playFrom(0.0);
        emit m_backend->durationChanged(75.5);
        QCOMPARE(m_engine->duration(), 75.5);
        emit m_backend->positionChanged(70.0);
        QCOMPARE(m_engine->currentTime(), 70.0);

        emit m_backend->durationChanged(69.0);
        QCOMPARE(m_engine->currentTime(), 69.0);
        emit m_backend->durationChanged(std::nan(""));
        QCOMPARE(m_engine->duration(), 69.0);
        m_engine->seek(1000.0);
        QCOMPARE(m_engine->currentTime(), 69.0);
    }

    void emptyEngine_keepsItsInvariants()
    {
        QSignalSpy times(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        m_engine->seek(42.0);
        m_engine->play();
        m_engine->pause(3.0);
        QCOMPARE(m_engine->currentTime(), 0.0);
        QCOMPARE(times.count(), 0);
        QVERIFY(!m_engine->isPlaying());

        m_engine->changeRate(-0.1);
        QCOMPARE(m_engine->rate(), 0.9);

        // Reports that reach an engine with nothing loaded are ignored.
        emit m_backend->opened(10.0, true);
        emit m_backend->positionChanged(3.0);
        emit m_backend->durationChanged(10.0);
        emit m_backend->ended();
        emit m_backend->failed(QString());
        QCOMPARE(m_engine->duration(), 0.0);
        QCOMPARE(m_engine->currentTime(), 0.0);
        QVERIFY(!m_engine->loadError().has_value());
        QVERIFY(m_backend->openedPaths.isEmpty());
    }

    void unload_duringPlaybackLeavesNothingBehind()
    {
        playFrom(10.0);
        emit m_backend->positionChanged(10.3);
        m_engine->unload();
        QVERIFY(!m_engine->isPlaying());
        QVERIFY(!m_engine->isLoaded());
        QCOMPARE(m_engine->currentTime(), 0.0);
        QCOMPARE(m_engine->duration(), 0.0);
        QCOMPARE(m_backend->closeCount, 1);

        QSignalSpy times(m_engine.get(), &PlaybackEngine::currentTimeChanged);
        QSignalSpy playing(m_engine.get(), &PlaybackEngine::isPlayingChanged);
        emit m_backend->positionChanged(11.0);
        emit m_backend->ended();
        QCOMPARE(times.count(), 0);
        QCOMPARE(playing.count(), 0);

        m_engine->unload(); // a second unload has nothing left to close
        QCOMPARE(m_backend->closeCount, 1);
    }

    void failureAfterLoading_releasesTheFile()
    {
        playFrom(5.0);
        QSignalSpy finished(m_engine.get(), &PlaybackEngine::loadFinished);
        emit m_backend->failed(QStringLiteral("read error"));
        QVERIFY(!m_engine->isLoaded());
        QVERIFY(!m_engine->isPlaying());
        QCOMPARE(m_engine->duration(), 0.0);
        QCOMPARE(m_engine->currentTime(), 0.0);
        QCOMPARE(m_engine->loadError(), std::optional<QString>(unplayableMessage()));
        QTest::qWait(10);
        QCOMPARE(finished.count(), 0); // the load itself had succeeded
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackEngineRules)
#include "tst_PlaybackEngineRules.moc"
