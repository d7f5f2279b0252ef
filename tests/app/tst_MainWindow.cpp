// The main window as a whole: which view it shows, every menu command and its disabled state,
// the Escape key, and quitting by the window, the Quit command and SIGTERM.
#include "AppSettings.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"
#include "TranscriptionSession.h"
#include "views/MainWindow.h"
#include "views/TranscriptionView.h"
#include "views/WelcomeView.h"

#include <QAction>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <csignal>

using namespace dictaro;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);

AppState::EngineFactory silentEngines()
{
    return [] {
        return std::make_unique<PlaybackEngine>(
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    };
}

bool waitUntilLoaded(TranscriptionSession& session)
{
    return QTest::qWaitFor([&] { return session.engine()->isLoaded(); }, 5000);
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void content_followsTheCurrentSession();
    void menus_haveTheirTitlesAndKeys();
    void commands_doNothingWithoutASession();
    void commands_driveTheOpenSession();
    void escape_togglesPlaybackExactlyOnce();
    void quit_savesTheOpenProject();
    void quit_failedSaveAsksBeforeLosingText();
    void sigterm_quitsThroughTheSavingPath();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MainWindow> m_window;
    QString audioFile(const QString& name);
    TranscriptionSession& openProject();
};

void tst_MainWindow::initTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
    QStandardPaths::setTestModeEnabled(true);
}

void tst_MainWindow::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home->path());
    AppSettings::resetSharedForTesting();
    m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
    m_state = std::make_unique<AppState>(m_store, silentEngines());
    m_window = std::make_unique<MainWindow>(*m_state);
    m_window->resize(900, 640);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_MainWindow::cleanup()
{
    m_window.reset();
    m_state.reset();
}

QString tst_MainWindow::audioFile(const QString& name)
{
    const QString path = m_home->filePath(name);
    if (!QFile::copy(fixtures + QStringLiteral("/speech.wav"), path))
        qFatal("cannot copy the fixture");
    return path;
}

TranscriptionSession& tst_MainWindow::openProject()
{
    m_state->openAudioFile(audioFile(QStringLiteral("talk.wav")));
    TranscriptionSession* session = m_state->currentSession();
    if (!session || !waitUntilLoaded(*session))
        qFatal("the project did not open");
    return *session;
}

void tst_MainWindow::content_followsTheCurrentSession()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("main"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Dictaro"));
    auto* stack = qobject_cast<QStackedWidget*>(m_window->centralWidget());
    QVERIFY(stack);
    QVERIFY(qobject_cast<WelcomeView*>(stack->currentWidget()));
    m_window->resize(200, 100);
    QVERIFY(m_window->centralWidget()->width() >= 640 && m_window->centralWidget()->height() >= 420);

    openProject();
    QVERIFY(qobject_cast<TranscriptionView*>(stack->currentWidget()));
    QVERIFY(m_state->closeProject());
    QVERIFY(qobject_cast<WelcomeView*>(stack->currentWidget()));
}

void tst_MainWindow::menus_haveTheirTitlesAndKeys()
{
    const auto keys = [](QAction* action) {
        QStringList texts;
        for (const QKeySequence& key : action->shortcuts())
            texts << key.toString(QKeySequence::PortableText);
        return texts;
    };
    QCOMPARE(m_window->saveAction()->text(), QStringLiteral("Save"));
    QCOMPARE(keys(m_window->saveAction()), QStringList{"Ctrl+S"});
    QCOMPARE(m_window->exportAction()->text(), QStringLiteral("Export…"));
    QCOMPARE(keys(m_window->exportAction()), QStringList{"Ctrl+E"});
    QCOMPARE(m_window->playPauseAction()->text(), QStringLiteral("Play/Pause"));
    QCOMPARE(keys(m_window->playPauseAction()), QStringList{"Esc"});
    QCOMPARE(keys(m_window->skipBackAction()), QStringList{"Ctrl+["});
    QCOMPARE(keys(m_window->skipForwardAction()), QStringList{"Ctrl+]"});
    QCOMPARE(keys(m_window->slowerAction()).first(), QStringLiteral("Ctrl+Shift+["));
    QCOMPARE(keys(m_window->fasterAction()).first(), QStringLiteral("Ctrl+Shift+]"));
    QCOMPARE(keys(m_window->insertTimestampAction()), QStringList{"Ctrl+J"});
    QCOMPARE(keys(m_window->settingsAction()), QStringList{"Ctrl+,"});
    QCOMPARE(keys(m_window->quitAction()), QStringList{"Ctrl+Q"});
}

void tst_MainWindow::commands_doNothingWithoutASession()
{
    const QList<QAction*> commands = {
        m_window->saveAction(),   m_window->exportAction(), m_window->playPauseAction(),
        m_window->skipBackAction(), m_window->skipForwardAction(), m_window->slowerAction(),
        m_window->fasterAction(), m_window->insertTimestampAction()};
    for (QAction* action : commands)
        QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
    QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!m_state->isExportPresented());
    QVERIFY(m_window->settingsAction()->isEnabled());

    openProject();
    for (QAction* action : commands)
        QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    QVERIFY(m_state->closeProject());
    for (QAction* action : commands)
        QVERIFY(!action->isEnabled());
}

void tst_MainWindow::commands_driveTheOpenSession()
{
    TranscriptionSession& session = openProject();
    PlaybackEngine& engine = *session.engine();
    AppSettings::shared().setSkipSeconds(5);
    AppSettings::shared().setAutoRewindSeconds(0);

    engine.seek(3);
    m_window->skipBackAction()->trigger();
    QCOMPARE(engine.currentTime(), 0.0);
    engine.seek(engine.duration() - 2);
    m_window->skipForwardAction()->trigger();
    QCOMPARE(engine.currentTime(), engine.duration());
    engine.seek(2);
    m_window->skipForwardAction()->trigger();
    QCOMPARE(engine.currentTime(), 7.0 > engine.duration() ? engine.duration() : 7.0);

    for (int i = 0; i < 8; ++i)
        m_window->slowerAction()->trigger();
    QCOMPARE(engine.rate(), 0.5);
    for (int i = 0; i < 20; ++i)
        m_window->fasterAction()->trigger();
    QCOMPARE(engine.rate(), 2.0);

    engine.seek(1);
    m_window->playPauseAction()->trigger();
    QVERIFY(engine.isPlaying());
    QTest::qWait(300);
    m_window->playPauseAction()->trigger();
    QVERIFY(!engine.isPlaying());
    QVERIFY(engine.currentTime() >= 1.0); // auto-rewind 0 pauses in place

    engine.seek(83.4 > engine.duration() ? 4.2 : 83.4);
    m_window->insertTimestampAction()->trigger();
    QCOMPARE(session.transcript(), QStringLiteral("[00:00:04] "));

    m_window->saveAction()->trigger();
    QCOMPARE(m_store->load(session.project().id).transcript, QStringLiteral("[00:00:04] "));

    m_window->exportAction()->trigger();
    QVERIFY(m_state->isExportPresented());
    m_window->exportAction()->trigger(); // already showing: stays showing
    QVERIFY(m_state->isExportPresented());
    QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
    QApplication::activeModalWidget()->close();
    QTRY_VERIFY(!m_state->isExportPresented());
}

void tst_MainWindow::escape_togglesPlaybackExactlyOnce()
{
    TranscriptionSession& session = openProject();
    PlaybackEngine& engine = *session.engine();
    AppSettings::shared().setAutoRewindSeconds(3);
    QSignalSpy playing(&engine, &PlaybackEngine::isPlayingChanged);

    auto* editor = m_window->findChild<TranscriptEditor*>();
    QVERIFY(editor);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(playing.size(), 1);
    QVERIFY(engine.isPlaying());
    QTest::qWait(200);
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(playing.size(), 2);
    QVERIFY(!engine.isPlaying());
    QCOMPARE(engine.currentTime(), 0.0); // paused well before 3 s, rewound to the start
    QCOMPARE(editor->toPlainText(), QString()); // the key never reached the text
}

void tst_MainWindow::quit_savesTheOpenProject()
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

void tst_MainWindow::quit_failedSaveAsksBeforeLosingText()
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
    QVERIFY(session.saveError().has_value());

    QVERIFY(m_window->close()); // now the user chose to quit without saving
    QCOMPARE(asked, 2);
    QVERIFY(session.isClosed());
}

void tst_MainWindow::sigterm_quitsThroughTheSavingPath()
{
    m_window.reset();
    m_state.reset();
    DictaroApp app(m_store, silentEngines());
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.mainWindow()));
    app.appState().openAudioFile(audioFile(QStringLiteral("signal.wav")));
    TranscriptionSession* session = app.appState().currentSession();
    QVERIFY(session);
    session->setTranscript(QStringLiteral("saved on SIGTERM"));

    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    std::raise(SIGTERM);
    QTRY_VERIFY(!app.mainWindow().isVisible());
    QCOMPARE(m_store->load(session->project().id).transcript, QStringLiteral("saved on SIGTERM"));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
