#pragma once

#include <QObject>

#include <memory>

namespace dictaro {

class AppActions;
class AppState;
class CaretBlink;
class CommandRegistry;
class DesktopColorScheme;
class DisplayLossGuard;
class EditCommands;
class SpellChecker;
class HandsFree;
class MainWindow;
class MediaBackend;
class ModelLibrary;
class PlaybackEngine;
class ProjectStore;
class QuitSignals;

// The running application and its one composition root: it makes the project store, the media
// back end, the playback engine, the application state, the actions and the main window, hands
// each what it needs, and leads every way of quitting through the same final save.
class DictaroApp : public QObject
{
    Q_OBJECT

public:
    // Over the projects in `dataDirectory`, playing through `backend`.
    DictaroApp(const QString& dataDirectory, std::unique_ptr<MediaBackend> backend);
    ~DictaroApp() override;

    // The data folder the projects live in; empty when the system names none.
    static QString dataDirectory();
    // Tells the user that without a data folder there is nowhere to keep their work.
    static void reportMissingDataDirectory();
    // Tells the user that another Dictaro runs and could not be reached.
    static void reportAlreadyRunning();
    // Tells the user that it could not be made sure that no other Dictaro writes the projects,
    // so this one will not; `reason` is the technical detail.
    static void reportCannotLock(const QString& reason);

    AppState& appState() { return *m_state; }
    MainWindow& mainWindow() { return *m_window; }
    SpellChecker& spelling() { return *m_spelling; }

    // Shows the main window and brings it to the front one turn of the event loop later. Once
    // its first frame is on screen, follows the desktop's colour scheme and starts the pedal
    // and the desktop's media controls.
    void show();
    // Brings the window to the front and opens the first of `files` as Open would (the others
    // are ignored: one project is open at a time). None: only comes to the front.
    void openFiles(const QStringList& files);

    // A request to quit from outside (a termination signal). The first one quits like closing
    // the window: save, or ask. Any further one while the text still cannot be saved ends the
    // application at once, after writing the text where the next start offers it back; if it
    // can be written nowhere, the application stays and asks as the first one did.
    void quitRequested();

private:
    void aboutToQuit();
    void startAfterFirstFrame();
    // When the display goes away the process ends without the event loop.
    void keepTextWhenTheDisplayIsLost();

    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<PlaybackEngine> m_engine;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<CommandRegistry> m_commands;
    std::unique_ptr<AppActions> m_actions;
    std::unique_ptr<SpellChecker> m_spelling;
    std::unique_ptr<EditCommands> m_editCommands;
    // The speech models of the Draft settings page, made when that page first is.
    std::unique_ptr<ModelLibrary> m_models;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<HandsFree> m_handsFree;
    std::unique_ptr<CaretBlink> m_caretBlink;
    std::unique_ptr<QuitSignals> m_quitSignals;
#ifdef DICTARO_LINUX_DESKTOP
    std::unique_ptr<DisplayLossGuard> m_displayLoss;
    std::unique_ptr<DesktopColorScheme> m_colorScheme;
#endif
    int m_quitRequests = 0;
};

} // namespace dictaro
