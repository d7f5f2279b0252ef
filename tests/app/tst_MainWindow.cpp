// The main window as a whole over a real AppState and store in a temporary folder: its welcome
// page (recent list, open dialog, drops, deleting), which view it shows, every menu command and
// its disabled state, the Escape key, and quitting by the window and by SIGTERM.
#include "AppSettings.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"
#include "TranscriptionSession.h"
#include "views/MainWindow.h"
#include "views/TranscriptionView.h"
#include "views/WelcomeView.h"

#include <QAction>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <csignal>

using namespace dictaro;

class tst_MainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MainWindow> m_window;

    QString audioFile(const QString& name, const QString& extension = "wav")
    {
        const QString path = m_home->filePath(name);
        test::copyFixture(QStringLiteral("speech.") + extension, path);
        return path;
    }
    Project saveProject(const QString& name, int secondsAgo)
    {
        const QDateTime when = QDateTime::currentDateTimeUtc().addSecs(-secondsAgo);
        const Project project{QUuid::createUuid(), name, {}, name + ".mp3", {}, 0, 1, when, when};
        m_store->save(project);
        m_state->reloadRecentProjects();
        return project;
    }
    WelcomeView* welcome() { return m_window->findChild<WelcomeView*>(); }
    QListWidget* recentList() { return welcome()->findChild<QListWidget*>("recentList"); }

    TranscriptionSession& openProject()
    {
        m_state->openAudioFile(audioFile(QStringLiteral("talk.wav")));
        TranscriptionSession* session = m_state->currentSession();
        if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 5000))
            qFatal("the project did not open");
        return *session;
    }

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home->path());
        AppSettings::resetSharedForTesting();
        m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
        m_state = std::make_unique<AppState>(m_store, test::silentEngine);
        m_window = std::make_unique<MainWindow>(*m_state);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_state.reset();
    }

    void welcome_recentListNewestFirst_clickOpens_menuDeletes()
    {
        saveProject("Old talk", 300);
        const Project recent = saveProject("Interview", 10);
        QListWidget* list = recentList();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Interview"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Old talk"));
        const QPoint row = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QVERIFY(m_state->currentSession());
        QCOMPARE(m_state->currentSession()->project().id, recent.id);
        QVERIFY(m_state->closeProject());

        QContextMenuEvent event(QContextMenuEvent::Mouse, row, list->viewport()->mapToGlobal(row));
        QApplication::sendEvent(list->viewport(), &event);
        QMenu* menu = welcome()->findChild<QMenu*>();
        QVERIFY(menu);
        menu->findChild<QAction*>("deleteProjectAction")->trigger();
        menu->close();
        QCOMPARE(list->count(), 1);
        QVERIFY(!QFile::exists(m_store->filePath(recent.id)));
        QVERIFY(m_state->currentSession() == nullptr);
    }

    void welcome_drop_data()
    {
        QTest::addColumn<QString>("target"); // a file name in the home, or a full URL
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("fixture"); // copied to `target` ("/": a folder of that name)
        QTest::addColumn<Qt::DropActions>("actions");
        const Qt::DropActions any = Qt::CopyAction | Qt::MoveAction;
        QTest::newRow("m4a") << "Talk 1.m4a" << true << "m4a" << any;
        QTest::newRow("upper case") << "LOUD.WAV" << true << "wav" << any;
        QTest::newRow("text file") << "notes.txt" << false << "mp3" << any;
        QTest::newRow("folder named like audio") << "album.mp3" << false << "/" << any;
        QTest::newRow("remote URL") << "https://example.com/talk.mp3" << false << "" << any;
        // Accepting a move would let the source delete the user's file once the drop is done.
        QTest::newRow("move only") << "a.mp3" << false << "mp3" << Qt::DropActions(Qt::MoveAction);
    }
    void welcome_drop()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, target);
        QFETCH(Qt::DropActions, actions);
        QUrl url(target);
        if (url.scheme().isEmpty()) {
            url = QUrl::fromLocalFile(m_home->filePath(target));
            if (fixture == u'/')
                QVERIFY(QDir(m_home->path()).mkdir(target));
            else
                audioFile(target, fixture);
        }
        QMimeData data;
        data.setUrls({url});
        const QPoint at = welcome()->rect().center();
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(welcome(), &enter);
        QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(welcome(), &drop);

        QFETCH(bool, opens);
        QCOMPARE(enter.isAccepted() && drop.isAccepted(), opens);
        QCOMPARE(m_store->loadAll().size(), opens ? 1 : 0);
        if (opens) {
            QVERIFY(drop.dropAction() != Qt::MoveAction);
            QCOMPARE(m_state->currentSession()->project().mediaFileName, target);
        }
    }

    void welcome_openDialogChosenFileOpens_cancelDoesNothing()
    {
        // Clicks Open and answers the dialog: chooses `file`, or cancels when it is empty.
        auto openAnswering = [&](const QString& file) {
            QTimer::singleShot(0, this, [file] {
                QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (file.isEmpty())
                    return dialog->reject();
                dialog->selectFile(file);
                static_cast<QDialog*>(dialog)->accept();
            });
            QTest::mouseClick(welcome()->findChild<QPushButton*>("openButton"), Qt::LeftButton);
        };
        openAnswering(QString());
        QVERIFY(m_state->currentSession() == nullptr);
        QVERIFY(m_store->loadAll().isEmpty());

        openAnswering(audioFile("Lecture.m4a", "m4a"));
        QTRY_VERIFY(m_state->currentSession());
        QCOMPARE(m_state->currentSession()->project().mediaFileName, QStringLiteral("Lecture.m4a"));
    }

    void viewAndCommands_followTheSession()
    {
        const QList<QAction*> commands = {
            m_window->saveAction(),        m_window->exportAction(),
            m_window->playPauseAction(),   m_window->skipBackAction(),
            m_window->skipForwardAction(), m_window->slowerAction(),
            m_window->fasterAction(),      m_window->insertTimestampAction()};
        auto* stack = qobject_cast<QStackedWidget*>(m_window->centralWidget());
        const auto expectOpen = [&](bool open) {
            QCOMPARE(qobject_cast<TranscriptionView*>(stack->currentWidget()) != nullptr, open);
            for (QAction* action : commands)
                QVERIFY2(action->isEnabled() == open, qPrintable(action->text()));
        };
        expectOpen(false);
        QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(!m_state->isExportPresented());
        openProject();
        expectOpen(true);
        QVERIFY(m_state->closeProject());
        expectOpen(false);
    }

    void commands_driveTheOpenSession()
    {
        TranscriptionSession& session = openProject();
        PlaybackEngine& engine = *session.engine();
        AppSettings::shared().setSkipSeconds(2);
        AppSettings::shared().setAutoRewindSeconds(0);
        engine.seek(3);
        m_window->skipBackAction()->trigger();
        QCOMPARE(engine.currentTime(), 1.0);
        m_window->skipForwardAction()->trigger();
        QCOMPARE(engine.currentTime(), 3.0);
        m_window->slowerAction()->trigger();
        QCOMPARE(engine.rate(), 0.9);
        m_window->fasterAction()->trigger();
        QCOMPARE(engine.rate(), 1.0);

        m_window->playPauseAction()->trigger();
        QVERIFY(engine.isPlaying());
        m_window->playPauseAction()->trigger();
        QVERIFY(!engine.isPlaying());

        engine.seek(4.2);
        m_window->insertTimestampAction()->trigger();
        QCOMPARE(session.transcript(), QStringLiteral("[00:00:04] "));
        m_window->saveAction()->trigger();
        QCOMPARE(m_store->load(session.project().id).transcript, QStringLiteral("[00:00:04] "));

        m_window->exportAction()->trigger();
        QVERIFY(m_state->isExportPresented());
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QApplication::activeModalWidget()->close();
        QTRY_VERIFY(!m_state->isExportPresented());
    }

    void escape_togglesPlaybackExactlyOnce()
    {
        PlaybackEngine& engine = *openProject().engine();
        AppSettings::shared().setAutoRewindSeconds(3);
        QSignalSpy playing(&engine, &PlaybackEngine::isPlayingChanged);
        auto* editor = m_window->findChild<TranscriptEditor*>();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(playing.size(), 1); // played
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(playing.size(), 2);                // paused
        QCOMPARE(engine.currentTime(), 0.0);        // paused well before 3 s, rewound to the start
        QCOMPARE(editor->toPlainText(), QString()); // the key never reached the text
    }

    void quit_savesTheOpenProject()
    {
        TranscriptionSession& session = openProject();
        const QUuid id = session.project().id;
        session.engine()->seek(2.5);
        session.setTranscript(QStringLiteral("typed before quitting"));
        QVERIFY(m_window->close());
        const Project saved = m_store->load(id);
        QCOMPARE(saved.transcript, QStringLiteral("typed before quitting"));
        QCOMPARE(saved.lastPosition, 2.5);
    }

    void quit_failedSaveAsksBeforeLosingText()
    {
        TranscriptionSession& session = openProject();
        session.setTranscript(QStringLiteral("unsaved"));
        QVERIFY(QDir(m_store->directory()).removeRecursively());
        int asked = 0;
        m_window->setQuitWithoutSavingQuestion([&] { return ++asked == 2; });
        QVERIFY(!m_window->close()); // the user chose to stay
        QCOMPARE(asked, 1);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_state->currentSession(), &session);
        QVERIFY(m_window->close()); // now the user chose to quit without saving
        QCOMPARE(asked, 2);
        QVERIFY(session.isClosed());
    }

    void sigterm_quitsThroughTheSavingPath()
    {
        m_window.reset();
        m_state.reset();
        DictaroApp app(m_store, test::silentEngine);
        app.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.mainWindow()));
        app.appState().openAudioFile(audioFile(QStringLiteral("signal.wav")));
        TranscriptionSession* session = app.appState().currentSession();
        QVERIFY(session);
        const QUuid id = session->project().id; // the session is gone after quitting
        session->setTranscript(QStringLiteral("saved on SIGTERM"));
        std::raise(SIGTERM);
        QTRY_VERIFY(!app.mainWindow().isVisible());
        QCOMPARE(m_store->load(id).transcript, QStringLiteral("saved on SIGTERM"));
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
