#include "DictaroApp.h"

#include "Localization.h"
#include "QuitSignals.h"
#include "TranscriptionSession.h"
#include "views/MainWindow.h"
#include "views/WindowGeometry.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace dictaro {

DictaroApp::DictaroApp()
    : DictaroApp(std::make_shared<ProjectStore>(dataDirectory()), AppState::EngineFactory{})
{}

DictaroApp::DictaroApp(std::shared_ptr<ProjectStore> store, AppState::EngineFactory engineFactory)
    : m_state(std::make_unique<AppState>(std::move(store), std::move(engineFactory))),
      m_window(std::make_unique<MainWindow>(*m_state)),
      m_quitSignals(std::make_unique<QuitSignals>())
{
    connect(m_quitSignals.get(), &QuitSignals::quitRequested, this, &DictaroApp::quitRequested);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &DictaroApp::aboutToQuit);
}

DictaroApp::~DictaroApp() = default;

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
    // A termination signal takes the same path as closing the window: save, or ask.
    if (!m_window->isVisible() || m_window->close())
        QCoreApplication::quit();
}

void DictaroApp::aboutToQuit()
{
    // The last chance when the application ends by another way (a session manager, say).
    if (TranscriptionSession* session = m_state->currentSession())
        session->close();
}

} // namespace dictaro
