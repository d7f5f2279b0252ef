#include "DictaroApp.h"

#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "CommandRegistry.h"
#include "EditCommands.h"
#include "HandsFree.h"
#include "KeySettingsView.h"
#include "Localization.h"
#include "MainWindow.h"
#include "MediaBackend.h"
#include "PlaybackEngine.h"
#include "ProjectStore.h"
#include "QuitSignals.h"
#include "SettingsWindow.h"
#include "SpellChecker.h"
#include "TranscriptionSession.h"
#include "WindowGeometry.h"

#ifdef DICTARO_LINUX_DESKTOP
#include "PedalSettingsView.h"
#endif

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace dictaro {

DictaroApp::DictaroApp(const QString& dataDirectory, std::unique_ptr<MediaBackend> backend)
    : m_store(std::make_unique<ProjectStore>(dataDirectory)),
      m_engine(std::make_unique<PlaybackEngine>(std::move(backend))),
      m_state(std::make_unique<AppState>(*m_store, *m_engine)),
      m_commands(std::make_unique<CommandRegistry>()),
      m_actions(std::make_unique<AppActions>(*m_state, *m_commands)),
      m_spelling(
          std::make_unique<SpellChecker>(AppSettings::shared(), Localization::currentLanguage())),
      m_editCommands(std::make_unique<EditCommands>(*m_spelling, *m_commands)),
      m_window(std::make_unique<MainWindow>(*m_state, *m_actions, *m_editCommands)),
      m_handsFree(std::make_unique<HandsFree>(*m_state, *m_commands, m_window.get())),
      m_quitSignals(std::make_unique<QuitSignals>())
{
    m_window->setSettingsPages([this] {
        SettingsWindow::Pages pages;
#ifdef DICTARO_LINUX_DESKTOP
        pages.append(
            {Localization::tr("Pedal"),
             new PedalSettingsView(m_handsFree->pedalSettings(), m_handsFree->pedalMonitor())});
#endif
        pages.append({Localization::tr("Keys"), new KeySettingsView(*m_commands)});
        return pages;
    });
    connect(m_quitSignals.get(), &QuitSignals::quitRequested, this, &DictaroApp::quitRequested);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &DictaroApp::aboutToQuit);
}

DictaroApp::~DictaroApp()
{
    // The window's screens refer to the state and the session; they go first.
    m_handsFree.reset();
    m_window.reset();
}

QString DictaroApp::dataDirectory()
{
    return ProjectStore::defaultDirectory();
}

void DictaroApp::reportMissingDataDirectory()
{
    QMessageBox::critical(nullptr, Localization::tr("Dictaro"),
                          Localization::tr("Dictaro can't find a folder for its projects in your "
                                           "home folder, so it can't keep your work. It will quit "
                                           "now."));
}

void DictaroApp::reportAlreadyRunning()
{
    QMessageBox::information(nullptr, Localization::tr("Dictaro"),
                             Localization::tr("Dictaro is already running."));
}

void DictaroApp::openFiles(const QStringList& files)
{
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
    if (!files.isEmpty())
        m_state->openAudioFile(files.constFirst());
}

void DictaroApp::show()
{
    if (!WindowGeometry::restore(*m_window))
        m_window->resize(900, 640);
    m_window->show();
    QTimer::singleShot(0, m_window.get(), [window = m_window.get()] {
        window->raise();
        window->activateWindow();
    });
}

void DictaroApp::quitRequested()
{
    if (++m_quitRequests > 1) {
        // Asked again (a logout or a service manager does not wait for an answer): end now,
        // keeping the text that could not be saved.
        if (TranscriptionSession* session = m_state->currentSession()) {
            if (!session->close()) {
                m_state->writeRecovery();
                session->closeWithoutSaving();
            }
        }
        QCoreApplication::exit(0);
        return;
    }
    // A termination signal takes the same path as closing the window: save, or ask.
    if (!m_window->isVisible() || m_window->close())
        QCoreApplication::quit();
}

void DictaroApp::aboutToQuit()
{
    // The last chance when the application ends by another way (a session manager, say).
    TranscriptionSession* session = m_state->currentSession();
    if (session && !session->close()) {
        m_state->writeRecovery();
        session->closeWithoutSaving();
    }
}

} // namespace dictaro
