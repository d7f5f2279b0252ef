#pragma once

#include "AppState.h"

#include <QObject>

#include <memory>

namespace dictaro {

class MainWindow;
class QuitSignals;

// The running application: the one project store and application state of the process, the
// main window over them, and every way of quitting leading through the same final save.
class DictaroApp : public QObject
{
    Q_OBJECT

public:
    // Over the store in the user's data folder, playing through the system's sound output.
    DictaroApp();
    DictaroApp(std::shared_ptr<ProjectStore> store, AppState::EngineFactory engineFactory);
    ~DictaroApp() override;

    // The data folder the projects live in; empty when the system names none.
    static QString dataDirectory();
    // Tells the user that without a data folder there is nowhere to keep their work.
    static void reportMissingDataDirectory();

    AppState& appState() { return *m_state; }
    MainWindow& mainWindow() { return *m_window; }

    // Shows the main window (the recent projects are already listed) and brings it to the front
    // one turn of the event loop later.
    void show();

private:
    void quitRequested();
    void aboutToQuit();

    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QuitSignals> m_quitSignals;
};

} // namespace dictaro
