#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QStackedWidget;

namespace dictaro {

class AppActions;
class EditCommands;
class AppState;
class SettingsWindow;
class ShortcutsWindow;
class TranscriptionSession;
class TranscriptionView;
class WelcomeView;

// The application's single main window: the welcome view while no project is open, a
// transcription view for the open session, and the menus over the application's actions. It
// switches screens because the application state's current session changed, never the other
// way round.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The Edit menu comes from `editCommands`, which follows the open screen's editor.
    MainWindow(AppState& state, AppActions& actions, EditCommands& editCommands,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    AppActions& actions() const { return m_actions; }
    // The screen of the open session; null on the welcome screen.
    TranscriptionView* transcriptionView() const { return m_transcription; }

    // Closes the open project with its final save. If that save fails, asks whether to quit
    // without saving; false when the user chose to stay.
    bool prepareToQuit();

    // Makes the settings pages beside the general ones, when the settings window first opens.
    void setSettingsPages(std::function<QList<std::pair<QString, QWidget*>>()> makePages)
    {
        m_settingsPages = std::move(makePages);
    }

    // Lets tests answer the question prepareToQuit() asks: true quits without saving.
    void setQuitWithoutSavingQuestion(std::function<bool()> ask) { m_askQuitWithoutSaving = ask; }

    // Whether the window is on screen: shown and not minimised.
    bool isOnScreen() const { return m_onScreen; }

signals:
    void onScreenChanged(bool onScreen);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Gives the key that closes a popup (a menu, a context menu, a completion list) to the
    // popup, ahead of the window's shortcuts: Escape there only closes it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The menus, each over the registry's commands of its group, and the work of the commands
    // the window serves (settings, quit, timestamp, view and help).
    void createMenus();
    void showSession(TranscriptionSession* session);
    void showSettings();
    bool askQuitWithoutSaving();
    void noteOnScreen();

    AppState& m_state;
    AppActions& m_actions;
    EditCommands& m_editCommands;
    QStackedWidget* m_stack = nullptr;
    WelcomeView* m_welcome = nullptr;
    TranscriptionView* m_transcription = nullptr;
    QPointer<SettingsWindow> m_settingsWindow;
    QPointer<ShortcutsWindow> m_shortcutsWindow;
    std::function<bool()> m_askQuitWithoutSaving;
    bool m_onScreen = false;
    std::function<QList<std::pair<QString, QWidget*>>()> m_settingsPages;
};

} // namespace dictaro
