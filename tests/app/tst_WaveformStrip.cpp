#include "AppSettings.h"
#include "TestSupport.h"
#include "WaveformPeaks.h"
#include "WaveformStrip.h"

#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace dictaro;

// Adds up what a widget is asked to paint.
class PaintRecorder : public QObject
{
public:
    PaintRecorder(QWidget* widget, QRegion* drawn) : QObject(widget), m_drawn(drawn)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            *m_drawn += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
    int paints = 0;

private:
    QRegion* m_drawn;
};

class tst_WaveformStrip : public QObject
{
    Q_OBJECT

private slots:
    // A six-second recording fits the strip whole. Clicks seek to the time under the mouse, a
    // click by a marker to the marker's time; a drag, either way, marks the loop and goes to
    // its start; markers follow the transcript; the strip shows only while the setting is on
    // and the peaks are available.
    void strip_seeksFollowsMarkersAndHides()
    {
        test::TemporaryHome home;

        const auto engine = test::silentEngine();
        QSignalSpy loaded(engine.get(), &PlaybackEngine::loadFinished);
        engine->load(QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/speech.wav"), 0.0, 1.0);
        QVERIFY(loaded.wait(10000));
        WaveformPeaks peaks(home.path(), WaveformPeaks::defaultCacheLimitBytes);
        QSignalSpy finished(&peaks, &WaveformPeaks::finished);
        peaks.open(QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/speech.wav"));
        QTextDocument transcript(QStringLiteral("[00:00:03] One, two."));

        QWidget screen;
        auto* strip = new WaveformStrip(engine.get(), &peaks, &transcript, &screen);
        (new QVBoxLayout(&screen))->addWidget(strip);
        screen.resize(600, 100);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QVERIFY(finished.wait(10000));
        QVERIFY(strip->isVisible());
        QCOMPARE(strip->visibleSeconds(), 6.0);

        const int y = strip->height() / 2;
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(3.0) + 3, y));
        QCOMPARE(engine->currentTime(), 3.0);
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(1.5), y));
        QVERIFY(qAbs(engine->currentTime() - 1.5) < 0.02);
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(5.0), y));
        QTest::mouseMove(strip, QPoint(strip->xForSeconds(4.0), y));
        QTest::mouseMove(strip, QPoint(strip->xForSeconds(2.0), y));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(2.0), y));
        QVERIFY(engine->isLooping());
        QVERIFY(qAbs(*engine->loopStart() - 2.0) < 0.02 && qAbs(*engine->loopEnd() - 5.0) < 0.02);
        QCOMPARE(engine->currentTime(), *engine->loopStart());
        // A jitter of the hand while clicking is no drag.
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(3.0), y));
        QTest::mouseMove(strip, QPoint(strip->xForSeconds(3.0) + 1, y));
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(3.0) + 1, y));
        QVERIFY(qAbs(*engine->loopEnd() - 5.0) < 0.02);
        QVERIFY(qAbs(engine->currentTime() - 3.0) < 0.02);

        // A position that stays on the playhead's pixel draws nothing; one that moves it draws
        // only the playhead's old and new columns.
        QRegion drawn;
        PaintRecorder recorder(strip, &drawn);
        engine->seek(3.0);
        QTest::qWait(100);
        drawn = {};
        engine->seek(3.002);
        QTest::qWait(100);
        QVERIFY(drawn.isEmpty());
        engine->seek(4.0);
        QTRY_VERIFY(!drawn.isEmpty());
        for (const QRect& column : drawn)
            QVERIFY2(column.width() <= 5, qPrintable(QString::number(column.width())));

        QTextCursor(&transcript).insertText(QStringLiteral("[00:00:01] Zero. "));
        QTest::qWait(600);
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->xForSeconds(1.0) - 3, y));
        QCOMPARE(engine->currentTime(), 1.0);

        // Zoomed in to a page of five seconds, the page stands still while the playhead crosses
        // it: only the playhead's columns are drawn (also for two moves before one drawing).
        // The screen shows what a fresh drawing would. Sought past its end, the next page has
        // the playhead a tenth of the way in (here the recording's last five seconds, with the
        // marker at 1 s at the left end); it stays for a seek on it, and one before it turns it.
        strip->setVisibleSeconds(5.0);
        const int left = strip->xForSeconds(0.0);
        engine->seek(3.3);
        QTest::qWait(100);
        drawn = {};
        engine->seek(3.4);
        engine->seek(3.5);
        QTRY_VERIFY(!drawn.isEmpty());
        for (const QRect& column : drawn)
            QVERIFY2(column.width() <= 5, qPrintable(QString::number(column.width())));
        QTest::qWait(50);
        const QRect at = strip->geometry();
        QCOMPARE(screen.screen()
                     ->grabWindow(screen.winId(), at.x(), at.y(), at.width(), at.height())
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32),
                 strip->grab().toImage().convertToFormat(QImage::Format_RGB32));
        QCOMPARE(strip->xForSeconds(0.0), left);
        engine->seek(5.5);
        QTRY_COMPARE(strip->xForSeconds(1.0), left);
        engine->seek(1.2);
        QCOMPARE(strip->xForSeconds(1.0), left);
        engine->seek(0.7);
        QCOMPARE(strip->xForSeconds(0.2), left);

        // Playing, the playhead moves at every tick at normal speed and at every other tick at
        // 2x, about four times a second either way.
        strip->setVisibleSeconds(6.0);
        engine->clearLoop();
        engine->seek(0.5);
        QTest::qWait(100);
        QSignalSpy ticks(engine.get(), &PlaybackEngine::currentTimeChanged);
        const auto movesWhilePlaying = [&] {
            ticks.clear();
            recorder.paints = 0;
            QTest::qWait(1100);
            return std::pair(ticks.count(), recorder.paints);
        };
        engine->play();
        QVERIFY(ticks.wait(5000));
        const auto [normalTicks, normalMoves] = movesWhilePlaying();
        engine->changeRate(1.0);
        const auto [fastTicks, fastMoves] = movesWhilePlaying();
        engine->pause(0.0);
        QVERIFY2(normalTicks >= 3 && normalMoves >= normalTicks - 1,
                 qPrintable(QStringLiteral("%1 %2").arg(normalTicks).arg(normalMoves)));
        QVERIFY2(fastTicks >= 6 && fastMoves <= fastTicks / 2 + 1 && fastMoves >= fastTicks / 2 - 1,
                 qPrintable(QStringLiteral("%1 %2").arg(fastTicks).arg(fastMoves)));

        AppSettings::shared().setShowWaveform(false);
        QVERIFY(!strip->isVisible());
        AppSettings::shared().setShowWaveform(true);
        QVERIFY(strip->isVisible());
        QSignalSpy unavailable(&peaks, &WaveformPeaks::unavailable);
        peaks.open(QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/notes.mp3"));
        QVERIFY(unavailable.wait(10000));
        QVERIFY(!strip->isVisible());
    }
};

QTEST_MAIN(tst_WaveformStrip)
#include "tst_WaveformStrip.moc"
