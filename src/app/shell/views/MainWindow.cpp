#include "MainWindow.h"

#include "AboutBox.h"
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "EditCommands.h"
#include "Icons.h"
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
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>

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
    createViewAndHelpMenus();
    connect(&m_state, &AppState::currentSessionChanged, this, &MainWindow::showSession);
    showSession(m_state.currentSession());
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus()
{
    using Command = AppActions::Command;
    const auto add = [this](QMenu* menu, Command command) {
        QAction* action = m_actions.action(command);
        action->setIconVisibleInMenu(false);
        menu->addAction(action);
        // Shortcuts work only for actions that belong to the window.
        addAction(action);
    };
    QMenu* file = menuBar()->addMenu(Localization::tr("File"));
    add(file, Command::Save);
    add(file, Command::Export);
    file->addSeparator();
    add(file, Command::Settings);
    file->addSeparator();
    add(file, Command::Quit);

    menuBar()->addMenu(m_editCommands.createMenu(this));

    QMenu* playback = menuBar()->addMenu(Localization::tr("Playback"));
    for (const Command command : AppActions::playbackCommands()) {
        if (command == Command::Slower || command == Command::InsertTimestamp)
            playback->addSeparator();
        add(playback, command);
    }

    connect(m_actions.action(Command::Settings), &QAction::triggered, this,
            &MainWindow::showSettings);
    connect(m_actions.action(Command::Quit), &QAction::triggered, this, &QWidget::close);
    connect(m_actions.action(Command::InsertTimestamp), &QAction::triggered, this, [this] {
        if (m_transcription)
            m_transcription->insertTimestamp();
    });
    m_actions.action(Command::InsertTimestamp)
        ->setIcon(Icons::get(QStringLiteral("insert-timestamp")));
}

void MainWindow::createViewAndHelpMenus()
{
    const auto add = [this](QMenu* menu, const char* name, const QString& title,
                            const QList<QKeySequence>& keys, auto&& work) {
        QAction* item = menu->addAction(title);
        item->setObjectName(QLatin1String(name));
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WindowShortcut);
        connect(item, &QAction::triggered, this, work);
        return item;
    };
    const auto zoomBy = [](int steps) {
        return [steps] {
            AppSettings& settings = AppSettings::shared();
            settings.setTranscriptZoom(steps == 0 ? 0 : settings.transcriptZoom() + steps);
        };
    };

    QMenu* view = menuBar()->addMenu(Localization::tr("View"));
    QAction* fullScreen =
        add(view, "fullScreenAction", Localization::tr("Full Screen"), {QKeySequence(Qt::Key_F11)},
            [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
    fullScreen->setCheckable(true);
    connect(view, &QMenu::aboutToShow, fullScreen,
            [this, fullScreen] { fullScreen->setChecked(isFullScreen()); });
    QAction* waveform = add(view, "showWaveformAction", Localization::tr("Show Waveform"), {},
                            [](bool show) { AppSettings::shared().setShowWaveform(show); });
    waveform->setCheckable(true);
    waveform->setChecked(AppSettings::shared().showWaveform());
    connect(&AppSettings::shared(), &AppSettings::showWaveformChanged, waveform,
            &QAction::setChecked);
    view->addSeparator();
    add(view, "zoomInAction", Localization::tr("Zoom In"),
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        zoomBy(+1));
    add(view, "zoomOutAction", Localization::tr("Zoom Out"),
        {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, zoomBy(-1));
    add(view, "actualSizeAction", Localization::tr("Actual Size"),
        {QKeySequence(Qt::CTRL | Qt::Key_0)}, zoomBy(0));

    QMenu* help = menuBar()->addMenu(Localization::tr("Help"));
    add(help, "shortcutsAction", Localization::tr("Keyboard Shortcuts"), {QKeySequence(Qt::Key_F1)},
        [this] {
            if (!m_shortcutsWindow) {
                QList<QMenu*> menus;
                for (QAction* entry : menuBar()->actions()) {
                    if (entry->menu())
                        menus.append(entry->menu());
                }
                m_shortcutsWindow = new ShortcutsWindow(menus, this);
            }
            m_shortcutsWindow->show();
            m_shortcutsWindow->raise();
            m_shortcutsWindow->activateWindow();
        });
    help->addSeparator();
    add(help, "aboutAction", Localization::tr("About Dictaro"), {}, [this] {
        AboutBox::show(this);
    })->setMenuRole(QAction::AboutRole);
    add(help, "aboutQtAction", Localization::tr("About Qt"), {}, [this] {
        QMessageBox::aboutQt(this);
    })->setMenuRole(QAction::AboutQtRole);
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
}

void MainWindow::showSettings()
{
    m_settingsWindow = SettingsWindow::present(this, m_settingsPages);
    // The playback keys work while the settings are in front too, but for Escape, which is the
    // settings window's own.
    using Command = AppActions::Command;
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

} // namespace dictaro
