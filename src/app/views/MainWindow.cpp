#include "MainWindow.h"

#include "AppSettings.h"
#include "AppState.h"
#include "EditCommands.h"
#include "Localization.h"
#include "PlaybackCommands.h"
#include "PlaybackEngine.h"
#include "SpellChecker.h"
#include "TranscriptionSession.h"
#include "views/SettingsWindow.h"
#include "views/TranscriptionView.h"
#include "views/ViewEnvironment.h"
#include "views/WelcomeView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>

namespace dictaro {

namespace {

// Ctrl (⌘ on macOS) with Shift and a bracket. The window system matches it also when the layout
// turns Shift+[ into "{" (US layouts); a second sequence for the brace would make it ambiguous.
QKeySequence shiftedBracket(Qt::Key bracket)
{
    return QKeySequence(Qt::CTRL | Qt::SHIFT | bracket);
}

} // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(Localization::tr("Dictaro"));
    ViewEnvironment::setAppState(this, &m_state);

    m_stack = new QStackedWidget(this);
    m_stack->setMinimumSize(640, 420);
    setCentralWidget(m_stack);
    m_welcome = new WelcomeView(m_stack);
    m_transcription = new TranscriptionView(m_stack);
    m_stack->addWidget(m_welcome);
    m_stack->addWidget(m_transcription);

    m_spellChecker = new SpellChecker(AppSettings::shared(), Localization::currentLanguage(), this);
    m_editCommands = new EditCommands(*m_spellChecker, this);
    createMenus();
    connect(&m_state, &AppState::currentSessionChanged, this, &MainWindow::showCurrentContent);
    showCurrentContent();
}

MainWindow::~MainWindow()
{
    // Destroying the window hides the transcription view, which closes the project; the state's
    // notifications must not reach this half-destroyed window.
    disconnect(&m_state, nullptr, this, nullptr);
}

void MainWindow::createMenus()
{
    const auto add = [this](QMenu* menu, const QString& title, const QList<QKeySequence>& keys,
                            auto&& action) {
        QAction* item = menu->addAction(title);
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WindowShortcut);
        connect(item, &QAction::triggered, this, action);
        return item;
    };
    // Each command looks at the open session when it runs, and does nothing without one.
    const auto withSession = [this](auto&& work) {
        return [this, work] {
            if (TranscriptionSession* session = m_state.currentSession())
                work(*session);
        };
    };

    QMenu* file = menuBar()->addMenu(Localization::tr("File"));
    m_save = add(file, Localization::tr("Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
                 withSession([](TranscriptionSession& s) { s.saveNow(); }));
    m_export = add(file, Localization::tr("Export…"), {QKeySequence(Qt::CTRL | Qt::Key_E)},
                   [this] { m_state.setExportPresented(true); });
    file->addSeparator();
    m_settings = add(file, Localization::tr("Settings…"), {QKeySequence(Qt::CTRL | Qt::Key_Comma)},
                     [this] { showSettings(); });
    m_settings->setMenuRole(QAction::PreferencesRole);
    file->addSeparator();
    m_quit = add(file, Localization::tr("Quit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)},
                 [this] { close(); });
    m_quit->setMenuRole(QAction::QuitRole);

    menuBar()->addMenu(m_editCommands->createMenu(this));

    QMenu* playback = menuBar()->addMenu(Localization::tr("Playback"));
    m_playPause = add(playback, Localization::tr("Play/Pause"), {QKeySequence(Qt::Key_Escape)},
                      withSession([](TranscriptionSession& s) {
                          PlaybackCommands::togglePlayPause(*s.engine());
                      }));
    m_skipBack =
        add(playback, Localization::tr("Skip Back"), {QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)},
            withSession([](TranscriptionSession& s) { PlaybackCommands::skip(*s.engine(), -1); }));
    m_skipForward = add(
        playback, Localization::tr("Skip Forward"), {QKeySequence(Qt::CTRL | Qt::Key_BracketRight)},
        withSession([](TranscriptionSession& s) { PlaybackCommands::skip(*s.engine(), +1); }));
    playback->addSeparator();
    m_slower = add(playback, Localization::tr("Slower"), {shiftedBracket(Qt::Key_BracketLeft)},
                   withSession([](TranscriptionSession& s) { s.engine()->changeRate(-0.1); }));
    m_faster = add(playback, Localization::tr("Faster"), {shiftedBracket(Qt::Key_BracketRight)},
                   withSession([](TranscriptionSession& s) { s.engine()->changeRate(+0.1); }));
    playback->addSeparator();
    m_insertTimestamp =
        add(playback, Localization::tr("Insert Timestamp"), {QKeySequence(Qt::CTRL | Qt::Key_J)},
            withSession([](TranscriptionSession& s) { s.insertTimestamp(); }));

    m_sessionActions = {m_save,        m_export, m_playPause, m_skipBack,
                        m_skipForward, m_slower, m_faster,    m_insertTimestamp};
}

void MainWindow::showCurrentContent()
{
    const bool open = m_state.currentSession() != nullptr;
    m_stack->setCurrentWidget(open ? static_cast<QWidget*>(m_transcription) : m_welcome);
    for (QAction* action : std::as_const(m_sessionActions))
        action->setEnabled(open);
}

void MainWindow::showSettings()
{
    m_settingsWindow = SettingsWindow::present(this);
}

bool MainWindow::prepareToQuit()
{
    TranscriptionSession* session = m_state.currentSession();
    if (!session || session->close())
        return true;
    if (!askQuitWithoutSaving())
        return false;
    session->closeWithoutSaving();
    return true;
}

bool MainWindow::askQuitWithoutSaving()
{
    if (m_askQuitWithoutSaving)
        return m_askQuitWithoutSaving();
    QMessageBox box(QMessageBox::Warning, Localization::tr("Dictaro"),
                    Localization::tr("Your latest changes could not be saved."),
                    QMessageBox::NoButton, this);
    box.setInformativeText(Localization::tr(
        "If you quit now, they will be lost. Stay to keep them and try saving again."));
    QPushButton* quit =
        box.addButton(Localization::tr("Quit Without Saving"), QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton(Localization::tr("Don't Quit"), QMessageBox::RejectRole);
    box.setDefaultButton(stay);
    box.setEscapeButton(stay);
    box.exec();
    return box.clickedButton() == quit;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!prepareToQuit()) {
        event->ignore();
        return;
    }
    if (m_settingsWindow)
        m_settingsWindow->close();
    event->accept();
}

} // namespace dictaro
