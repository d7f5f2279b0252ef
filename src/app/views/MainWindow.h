#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QStackedWidget;

namespace dictaro {

class AppState;
class EditCommands;
class SpellChecker;
class SettingsWindow;
class TranscriptionView;
class WelcomeView;

// The application's single main window: the welcome view while no project is open, the
// transcription view while one is, and the File and Playback menus that drive the open session.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    QAction* saveAction() const { return m_save; }
    QAction* exportAction() const { return m_export; }
    QAction* playPauseAction() const { return m_playPause; }
    QAction* skipBackAction() const { return m_skipBack; }
    QAction* skipForwardAction() const { return m_skipForward; }
    QAction* slowerAction() const { return m_slower; }
    QAction* fasterAction() const { return m_faster; }
    QAction* insertTimestampAction() const { return m_insertTimestamp; }
    QAction* settingsAction() const { return m_settings; }
    QAction* quitAction() const { return m_quit; }

    // Closes the open project with its final save. If that save fails, asks whether to quit
    // without saving; false when the user chose to stay.
    bool prepareToQuit();

    // Lets tests answer the question prepareToQuit() asks: true quits without saving.
    void setQuitWithoutSavingQuestion(std::function<bool()> ask) { m_askQuitWithoutSaving = ask; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void showCurrentContent();
    void showSettings();
    bool askQuitWithoutSaving();

    AppState& m_state;
    QStackedWidget* m_stack = nullptr;
    WelcomeView* m_welcome = nullptr;
    TranscriptionView* m_transcription = nullptr;
    QPointer<SettingsWindow> m_settingsWindow;
    QList<QAction*> m_sessionActions;
    std::function<bool()> m_askQuitWithoutSaving;

    QAction* m_save = nullptr;
    QAction* m_export = nullptr;
    QAction* m_playPause = nullptr;
    QAction* m_skipBack = nullptr;
    QAction* m_skipForward = nullptr;
    QAction* m_slower = nullptr;
    QAction* m_faster = nullptr;
    QAction* m_insertTimestamp = nullptr;
    QAction* m_settings = nullptr;
    QAction* m_quit = nullptr;
    SpellChecker* m_spellChecker = nullptr;
    EditCommands* m_editCommands = nullptr;
};

} // namespace dictaro
