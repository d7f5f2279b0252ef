// The picture drawn by libmpv into the OpenGL surface, on a virtual X server with Mesa's
// software OpenGL: colour bars at 1 s and blue at 3 s, the 4:3 picture centred in a wider pane,
// again after moving to its own window (a new OpenGL context) and back, and at double speed.
#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QSignalSpy>
#include <QTest>

#include <clocale>

using namespace dictaro;

class tst_VideoPicture : public QObject
{
    Q_OBJECT

    // The frame drawn after a seek to `seconds` (and one more, so that it is not an older one).
    static QImage frameAt(PlaybackEngine& engine, VideoSurface& surface, double seconds)
    {
        QSignalSpy drawn(&surface, &VideoSurface::frameDrawn);
        engine.seek(seconds);
        drawn.wait(5000);
        drawn.wait(500);
        return surface.grabFramebuffer();
    }

    // Black beside the picture; in its upper part the bars grey, yellow and red (at 75 %), or
    // all blue.
    static void checkFrame(const QImage& frame, bool bars)
    {
        const int width = frame.height() * 4 / 3, left = (frame.width() - width) / 2;
        QVERIFY(left > 20);
        const auto check = [&](int x, QColor expected) {
            const QRgb pixel = frame.pixel(x, frame.height() / 3);
            QVERIFY2(std::abs(qRed(pixel) - expected.red()) <= 40 &&
                         std::abs(qGreen(pixel) - expected.green()) <= 40 &&
                         std::abs(qBlue(pixel) - expected.blue()) <= 40,
                     qPrintable(QColor(pixel).name() + " at x = " + QString::number(x)));
        };
        check(5, Qt::black);
        check(frame.width() - 5, Qt::black);
        check(left + width / 14, bars ? QColor(191, 191, 191) : Qt::blue);
        check(left + width * 3 / 14, bars ? QColor(191, 191, 0) : Qt::blue);
        check(left + width * 11 / 14, bars ? QColor(191, 0, 0) : Qt::blue);
    }

private slots:
    void picture_showsTheFrameOfItsTime()
    {
        std::setlocale(LC_NUMERIC, "C");
        test::TemporaryHome home;
        DictaroApp app(home.filePath(QStringLiteral("data/Projects")),
                       std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        app.mainWindow().resize(1000, 700);
        app.show();
        const QString path = home.filePath(QStringLiteral("bars.mp4"));
        QVERIFY(test::copyFixture(QStringLiteral("bars.mp4"), path));
        app.appState().openAudioFile(path);
        PlaybackEngine& engine = *app.appState().currentSession()->engine();
        auto* view = app.mainWindow().findChild<TranscriptionView*>();
        QTRY_VERIFY_WITH_TIMEOUT(view->videoSurface() && view->videoSurface()->isRendering(),
                                 10000);
        checkFrame(frameAt(engine, *view->videoSurface(), 1.0), true);
        checkFrame(frameAt(engine, *view->videoSurface(), 3.0), false);

        AppSettings::shared().setVideoDetached(true);
        view->videoWindow()->resize(800, 300);
        QVERIFY(QTest::qWaitForWindowExposed(view->videoWindow()));
        QTRY_VERIFY_WITH_TIMEOUT(view->videoSurface()->isRendering(), 10000);
        checkFrame(frameAt(engine, *view->videoSurface(), 1.0), true);
        AppSettings::shared().setVideoDetached(false);
        QTRY_VERIFY_WITH_TIMEOUT(view->videoSurface()->isRendering(), 10000);
        checkFrame(frameAt(engine, *view->videoSurface(), 3.0), false);

        engine.seek(0.0);
        engine.changeRate(1.0);
        engine.play();
        QTRY_VERIFY_WITH_TIMEOUT(engine.currentTime() >= 2.5, 5000);
        engine.pause(0.0);
        checkFrame(frameAt(engine, *view->videoSurface(), engine.currentTime()), false);
    }
};

QTEST_MAIN(tst_VideoPicture)
#include "tst_VideoPicture.moc"
