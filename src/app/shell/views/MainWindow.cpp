#include "MainWindow.h"

#include "AboutBox.h"
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "CommandRegistry.h"
#include "EditCommands.h"
#include "Icons.h"
#include "ImportFlow.h"
#include "Localization.h"
#include "SettingsWindow.h"
#include "ShortcutsWindow.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"
#include "WelcomeView.h"
#include "WindowGeometry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>

#include <tuple>

namespace dictaro {

MainWindow::MainWindow(AppState& state, AppActions& actions, EditCommands& editCommands,
                       QWidget* parent)
    : QMainWindow(parent), m_state(state), m_actions(actions), m_editCommands(editCommands)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(Localization::tr("Dictaro"));

    m_stack = new QStackedWidget(this);
    m_stack->setMinimumSize(640, 420);
    setCentralWidget(m_stack);
    m_welcome = new WelcomeView(m_state, m_stack);
    m_stack->addWidget(m_welcome);

    createMenus();
    connect(&m_state, &AppState::currentSessionChanged, this, &MainWindow::showSession);
    showSession(m_state.currentSession());
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A shortcut goes first unless the widget with the focus claims the key; while a popup is
    // open, whatever has the focus claims Escape for it (Play/Pause holds Escape by default).
    if (event->type() == QEvent::ShortcutOverride && QApplication::activePopupWidget()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cancel)) {
            key->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::createMenus()
{
    CommandRegistry& commands = m_actions.commands();
    QMenu* view = nullptr;
    for (const CommandGroup group : Commands::groups()) {
        if (group == CommandGroup::Edit) {
            menuBar()->addMenu(m_editCommands.createMenu(this));
            continue;
        }
        QList<Command> offered = Commands::inGroup(group);
        offered.removeIf([&commands](Command command) { return !commands.isOffered(command); });
        if (offered.isEmpty())
            continue;
        QMenu* menu = menuBar()->addMenu(Commands::groupTitle(group));
        if (group == CommandGroup::View)
            view = menu;
        // The channels and the voice filter share a submenu of their own.
        QMenu* sound = nullptr;
        for (const Command command : std::as_const(offered)) {
            const bool inSound =
                command == Command::BothChannels || command == Command::LeftChannelOnly ||
                command == Command::RightChannelOnly || command == Command::VoiceFilter;
            if (inSound && !sound) {
                menu->addSeparator();
                sound = menu->addMenu(Localization::tr("C&hannels and Filter"));
                sound->setObjectName(QStringLiteral("soundMenu"));
            } else if (Commands::startsSection(command)) {
                menu->addSeparator();
            }
            QAction* action = commands.action(command);
            action->setIconVisibleInMenu(false);
            (inSound ? sound : menu)->addAction(action);
            // Shortcuts work only for actions that belong to the window.
            addAction(action);
        }
    }

    const auto on = [this, &commands](Command command, auto&& work) {
        connect(commands.action(command), &QAction::triggered, this, work);
    };
    on(Command::Settings, [this] { showSettings(); });
    on(Command::ImportTranscript, [this] { ImportFlow::run(this, m_state); });
    on(Command::Quit, [this] { close(); });
    on(Command::InsertTimestamp, [this] {
        if (m_transcription)
            m_transcription->insertTimestamp();
    });
    commands.action(Command::InsertTimestamp)
        ->setIcon(Icons::get(QStringLiteral("insert-timestamp")));
    on(Command::GoToTime, [this] {
        if (m_transcription)
            m_transcription->goToTime();
    });
    on(Command::PreviousTimestamp, [this] {
        if (m_transcription)
            m_transcription->moveToTimestamp(-1);
    });
    on(Command::NextTimestamp, [this] {
        if (m_transcription)
            m_transcription->moveToTimestamp(+1);
    });
    on(Command::PlayFromTimestamp, [this] {
        if (m_transcription)
            m_transcription->playFromTimestamp();
    });
    on(Command::GoToPlayingLine, [this] {
        if (m_transcription)
            m_transcription->goToPlayingLine();
    });
    on(Command::EditSpeakers, [this] {
        if (m_transcription)
            m_transcription->editSpeakers();
    });
    on(Command::SwitchSpeaker, [this] {
        if (m_transcription)
            m_transcription->switchSpeaker();
    });
    for (int slot = 1; slot <= 9; ++slot) {
        on(Commands::speakerCommand(slot), [this, slot] {
            if (m_transcription)
                m_transcription->startSpeakerLine(slot);
        });
    }
    on(Command::MakeDraft, [this] {
        if (m_transcription)
            m_transcription->makeDraft();
    });

    QAction* fullScreen = commands.action(Command::FullScreen);
    on(Command::FullScreen, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
    connect(view, &QMenu::aboutToShow, fullScreen,
            [this, fullScreen] { fullScreen->setChecked(isFullScreen()); });
    QAction* waveform = commands.action(Command::ShowWaveform);
    on(Command::ShowWaveform, [](bool show) { AppSettings::shared().setShowWaveform(show); });
    waveform->setChecked(AppSettings::shared().showWaveform());
    connect(&AppSettings::shared(), &AppSettings::showWaveformChanged, waveform,
            &QAction::setChecked);
    for (const auto& [command, read, write, changed] :
         {std::tuple{Command::ShowVideo, &AppSettings::showVideo, &AppSettings::setShowVideo,
                     &AppSettings::showVideoChanged},
          std::tuple{Command::DetachVideo, &AppSettings::videoDetached,
                     &AppSettings::setVideoDetached, &AppSettings::videoDetachedChanged}}) {
        QAction* action = commands.action(command);
        connect(action, &QAction::triggered, this,
                [write](bool on) { (AppSettings::shared().*write)(on); });
        action->setChecked((AppSettings::shared().*read)());
        connect(&AppSettings::shared(), changed, action, &QAction::setChecked);
    }
    const auto zoomBy = [](int steps) {
        return [steps] {
            AppSettings& settings = AppSettings::shared();
            settings.setTranscriptZoom(steps == 0 ? 0 : settings.transcriptZoom() + steps);
        };
    };
    on(Command::ZoomIn, zoomBy(+1));
    on(Command::ZoomOut, zoomBy(-1));
    on(Command::ActualSize, zoomBy(0));

    on(Command::KeyboardShortcuts, [this] {
        if (!m_shortcutsWindow)
            m_shortcutsWindow = new ShortcutsWindow(m_actions.commands(), this);
        m_shortcutsWindow->show();
        m_shortcutsWindow->raise();
        m_shortcutsWindow->activateWindow();
    });
    on(Command::About, [this] { AboutBox::show(this); });
    on(Command::AboutQt, [this] { QMessageBox::aboutQt(this); });
}

void MainWindow::showSession(TranscriptionSession* session)
{
    if (m_transcription && &m_transcription->session() == session)
        return;
    if (TranscriptionView* old = m_transcription) {
        m_editCommands.setEditor(nullptr, nullptr);
        m_transcription = nullptr;
        m_stack->removeWidget(old);
        // This may run inside a click on the old screen's own Back button.
        old->deleteLater();
    }
    if (session) {
        m_transcription = new TranscriptionView(m_state, m_actions, *session, m_stack);
        m_stack->addWidget(m_transcription);
        m_stack->setCurrentWidget(m_transcription);
        m_editCommands.setEditor(m_transcription->editor(), m_transcription->findBar());
        m_transcription->setFocus();
    } else {
        m_stack->setCurrentWidget(m_welcome);
    }
    setWindowTitle(session ? Localization::tr("%1 — Dictaro").arg(session->project().name)
                           : Localization::tr("Dictaro"));
}

void MainWindow::showSettings()
{
    m_settingsWindow = SettingsWindow::present(this, m_settingsPages);
    // The playback keys work while the settings are in front too, but for Escape, which is the
    // settings window's own.
    for (const Command command : AppActions::playbackCommands()) {
        QAction* action = m_actions.action(command);
        if (command != Command::PlayPause && !m_settingsWindow->actions().contains(action))
            m_settingsWindow->addAction(action);
    }
}

bool MainWindow::prepareToQuit()
{
    return m_state.closeProject(AppState::Unsaved::Ask, [this] { return askQuitWithoutSaving(); });
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
    WindowGeometry::save(*this);
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    noteOnScreen();
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    noteOnScreen();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        noteOnScreen();
}

void MainWindow::noteOnScreen()
{
    const bool onScreen = isVisible() && !isMinimized();
    if (onScreen == m_onScreen)
        return;
    m_onScreen = onScreen;
    emit onScreenChanged(onScreen);
}

} // namespace dictaro
