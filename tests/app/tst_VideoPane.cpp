// Where a video's picture goes, on the offscreen platform (no OpenGL: no surface; see
// tst_VideoPicture): nothing for a sound file, even with a cover picture; a pane above the text
// for a video, hidden by View ▸ Show Video, in its own window while detached and back above the
// text when that window closes; the switches are remembered.
#include "AppActions.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QAction>
#include <QTest>

#include <clocale>

using namespace dictaro;

class tst_VideoPane : public QObject
{
    Q_OBJECT

private slots:
    void pane_followsTheFileAndTheSwitches()
    {
        std::setlocale(LC_NUMERIC, "C");
        test::TemporaryHome home;
        DictaroApp app(home.filePath(QStringLiteral("data/Projects")),
                       std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        app.show();
        const auto open = [&](const char* fixture) {
            app.appState().closeProject();
            const QString path = home.filePath(QLatin1String(fixture));
            test::copyFixture(QLatin1String(fixture), path);
            app.appState().openAudioFile(path);
            PlaybackEngine* engine = app.appState().currentSession()->engine();
            if (!QTest::qWaitFor([&] { return engine->isLoaded(); }, 10000))
                qFatal("%s did not open", fixture);
            return app.mainWindow().findChild<TranscriptionView*>();
        };
        QAction* show = app.mainWindow().actions().action(Command::ShowVideo);
        QAction* detach = app.mainWindow().actions().action(Command::DetachVideo);
        QVERIFY(show->isChecked() && detach->isCheckable());
        for (const char* sound : {"speech.wav", "cover.mp3"})
            QVERIFY2(!open(sound)->videoPane()->isVisible(), sound);

        TranscriptionView* view = open("speech.mp4");
        QVERIFY(view->videoPane()->isVisible() && !view->videoSurface());
        QCOMPARE(view->videoPane()->parentWidget(), view->findChild<QSplitter*>());
        show->trigger();
        QVERIFY(!view->videoPane()->isVisible());
        show->trigger();
        detach->trigger();
        QVERIFY(view->videoWindow()->isVisible());
        QCOMPARE(view->videoPane()->window(), view->videoWindow());
        QCOMPARE(QSettings(home.settingsFile(), QSettings::IniFormat).value("video/detached"),
                 "true");

        // A new screen starts detached; closing the window brings the picture back.
        view = open("speech.mp4");
        QVERIFY(view->videoWindow() && view->videoWindow()->isVisible());
        view->videoWindow()->close();
        QVERIFY(!AppSettings::shared().videoDetached() && !detach->isChecked());
        QCOMPARE(view->videoPane()->window(), view->window());
        QVERIFY(view->videoPane()->isVisible());
    }
};

QTEST_MAIN(tst_VideoPane)
#include "tst_VideoPane.moc"
