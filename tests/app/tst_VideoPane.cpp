// Where a video's picture goes, on the offscreen platform (no OpenGL, so no surface and nothing
// drawn; tst_VideoPicture draws): no pane for a sound file, a pane for a video, none while View ▸
// Show Video is off, its own window while detached and back above the text when that window closes;
// both switches are remembered and can be given keys.
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "Command.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QAction>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
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
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir home;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
        AppSettings::resetSharedForTesting();
        DictaroApp app(home.filePath(QStringLiteral("data/Projects")),
                       std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        app.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.mainWindow()));
        const auto open = [&](const char* fixture) -> TranscriptionView* {
            app.appState().closeProject();
            const QString path = home.filePath(QLatin1String(fixture));
            test::copyFixture(QLatin1String(fixture), path);
            app.appState().openAudioFile(path);
            TranscriptionSession* session = app.appState().currentSession();
            if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 10000))
                return nullptr;
            QCoreApplication::processEvents();
            return app.mainWindow().findChild<TranscriptionView*>();
        };
        QAction* show = app.mainWindow().actions().action(Command::ShowVideo);
        QAction* detach = app.mainWindow().actions().action(Command::DetachVideo);
        QVERIFY(show->isCheckable() && show->isChecked() && detach->isCheckable());
        QVERIFY(Commands::isRebindable(Command::ShowVideo) &&
                Commands::isRebindable(Command::DetachVideo));

        for (const char* sound : {"speech.wav", "cover.mp3"}) {
            TranscriptionView* view = open(sound);
            QVERIFY2(view, sound);
            QVERIFY2(!view->videoPane()->isVisible() && !view->videoSurface(), sound);
        }

        TranscriptionView* view = open("speech.mp4");
        QVERIFY(view);
        QVERIFY(view->videoPane()->isVisible());
        QCOMPARE(view->videoPane()->parentWidget(), view->findChild<QSplitter*>());
        show->trigger();
        QVERIFY(!view->videoPane()->isVisible());
        show->trigger();
        QVERIFY(view->videoPane()->isVisible());

        detach->trigger();
        QVERIFY(view->videoWindow() && view->videoWindow()->isVisible());
        QCOMPARE(view->videoPane()->window(), view->videoWindow());
        // Remembered in the settings file.
        QCOMPARE(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Dictaro"),
                           QStringLiteral("Dictaro"))
                     .value(QStringLiteral("video/detached")),
                 QVariant(QStringLiteral("true")));

        // A new screen starts detached; closing the window brings the picture back.
        view = open("speech.mp4");
        QVERIFY(view && view->videoWindow() && view->videoWindow()->isVisible());
        view->videoWindow()->close();
        QVERIFY(!AppSettings::shared().videoDetached() && !detach->isChecked());
        QCOMPARE(view->videoPane()->window(), view->window());
        QVERIFY(view->videoPane()->isVisible() && !view->videoWindow()->isVisible());
    }
};

QTEST_MAIN(tst_VideoPane)
#include "tst_VideoPane.moc"
