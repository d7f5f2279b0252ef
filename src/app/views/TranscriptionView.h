#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace dictaro {

class AppState;
class SessionView;
class TranscriptionSession;

// The main window's content while a project is open: the working screen of the application
// state's current session (header, player bar, banners and transcript editor). It starts the
// session when first shown, takes the Escape key for play/pause while shown, presents the
// export sheet on request, and closes the project when it goes away.
class TranscriptionView : public QWidget
{
    Q_OBJECT

public:
    // Finds the application state through `parent` (or, later, through the parent it is given).
    explicit TranscriptionView(QWidget* parent);
    ~TranscriptionView() override;

    // Asks for the moved audio file: returns the chosen path, or an empty string on cancel.
    using LocateFileDialog = std::function<QString(QWidget* parent)>;
    // FOR TESTS ONLY: replaces the file dialog of "Locate File…" (an empty function restores it).
    static void setLocateFileDialogForTesting(LocateFileDialog dialog);

protected:
    bool event(QEvent* event) override;

private:
    void attachToAppState();
    void showSession(TranscriptionSession* session);

    QPointer<AppState> m_appState;
    QPointer<SessionView> m_sessionView;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace dictaro
