// The picture of a video as drawn by libmpv into the OpenGL surface, on a virtual X server with
// Mesa's software OpenGL: the colour bars of the fixture at 1 s, plain blue at 3 s, the 4:3
// picture kept at its shape in a wide pane, and again after the picture moves to its own window
// (which replaces the OpenGL context) and back.
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

using namespace dictaro;

namespace {

bool near(QRgb pixel, QColor expected)
{
    const int tolerance = 40;
    return std::abs(qRed(pixel) - expected.red()) <= tolerance &&
           std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
           std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

QString describe(QRgb pixel)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(pixel)).arg(qGreen(pixel)).arg(qBlue(pixel));
}

} // namespace

class tst_VideoPicture : public QObject
{
    Q_OBJECT

    // The frame at `seconds`, once drawn.
    static QImage frameAt(PlaybackEngine& engine, VideoSurface& surface, double seconds)
    {
        QSignalSpy drawn(&surface, &VideoSurface::frameDrawn);
        engine.seek(seconds);
        // The seek's frame, and one more to be sure the first was not an older one.
        drawn.wait(5000);
        drawn.wait(500);
        return surface.grabFramebuffer();
    }

    // The picture's middle row: 4:3 in a wider surface, centred with black on either side.
    static void checkFrame(const QImage& frame, bool bars)
    {
        QVERIFY(!frame.isNull());
        const int y = frame.height() / 2;
        const int pictureWidth = frame.height() * 4 / 3;
        QVERIFY2(frame.width() > pictureWidth + 40, "the surface is not wider than the picture");
        const int left = (frame.width() - pictureWidth) / 2;
        const auto at = [&](double share) {
            return frame.pixel(left + int(share * pictureWidth), y);
        };
        QVERIFY2(near(frame.pixel(5, y), Qt::black), qPrintable(describe(frame.pixel(5, y))));
        QVERIFY2(near(frame.pixel(frame.width() - 5, y), Qt::black),
                 qPrintable(describe(frame.pixel(frame.width() - 5, y))));
        if (bars) {
            // The top two thirds: grey, yellow, cyan, green, magenta, red, blue at 75 %.
            const QRgb grey = at(1.0 / 14), yellow = at(3.0 / 14), red = at(11.0 / 14);
            const int top = frame.height() / 3;
            const QRgb upperRed = frame.pixel(left + int(11.0 / 14 * pictureWidth), top);
            QVERIFY2(near(frame.pixel(left + pictureWidth / 14, top), QColor(191, 191, 191)),
                     qPrintable(describe(grey)));
            QVERIFY2(near(frame.pixel(left + 3 * pictureWidth / 14, top), QColor(191, 191, 0)),
                     qPrintable(describe(yellow)));
            QVERIFY2(near(upperRed, QColor(191, 0, 0)), qPrintable(describe(red)));
        } else {
            QVERIFY2(near(at(0.5), Qt::blue), qPrintable(describe(at(0.5))));
        }
    }

private slots:
    void picture_showsTheFrameOfItsTime()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir home;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
        AppSettings::resetSharedForTesting();
        DictaroApp app(home.filePath(QStringLiteral("data/Projects")),
                       std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        app.mainWindow().resize(1000, 700);
        app.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.mainWindow()));
        const QString path = home.filePath(QStringLiteral("bars.mp4"));
        QVERIFY(test::copyFixture(QStringLiteral("bars.mp4"), path));
        app.appState().openAudioFile(path);
        TranscriptionSession* session = app.appState().currentSession();
        QVERIFY(session);
        PlaybackEngine& engine = *session->engine();
        QTRY_VERIFY_WITH_TIMEOUT(engine.isLoaded(), 10000);
        auto* view = app.mainWindow().findChild<TranscriptionView*>();
        QVERIFY(view);
        QTRY_VERIFY_WITH_TIMEOUT(view->videoSurface() && view->videoSurface()->isRendering(),
                                 10000);

        checkFrame(frameAt(engine, *view->videoSurface(), 1.0), true);
        checkFrame(frameAt(engine, *view->videoSurface(), 3.0), false);

        // Its own window: a new OpenGL context, a new render context, the same picture.
        AppSettings::shared().setVideoDetached(true);
        QVERIFY(view->videoWindow());
        view->videoWindow()->resize(800, 300);
        QVERIFY(QTest::qWaitForWindowExposed(view->videoWindow()));
        QTRY_VERIFY_WITH_TIMEOUT(view->videoSurface()->isRendering(), 10000);
        checkFrame(frameAt(engine, *view->videoSurface(), 1.0), true);
        AppSettings::shared().setVideoDetached(false);
        QTRY_VERIFY_WITH_TIMEOUT(view->videoSurface()->isRendering(), 10000);
        checkFrame(frameAt(engine, *view->videoSurface(), 3.0), false);

        // Playing at double speed moves the picture with the sound.
        engine.seek(0.0);
        engine.changeRate(1.0);
        engine.play();
        QTRY_VERIFY_WITH_TIMEOUT(engine.currentTime() >= 2.5, 5000);
        engine.pause(0.0);
        checkFrame(view->videoSurface()->grabFramebuffer(), false);
    }
};

QTEST_MAIN(tst_VideoPicture)
#include "tst_VideoPicture.moc"
