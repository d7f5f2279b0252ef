#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

namespace dictaro {

class AppActions;
class AppState;
class DraftController;
class ExportSheet;
class FindBar;
class StampIndex;
class TranscriptEditor;
class TranscriptionSession;

// The working screen of one open session: header (back, the project's name, insert timestamp),
// player bar, banners and the transcript editor. It only shows the session and calls its
// operations; the application state opens and closes sessions, and the main window makes one
// such screen per session.
class TranscriptionView : public QWidget
{
    Q_OBJECT

public:
    TranscriptionView(AppState& state, AppActions& actions, TranscriptionSession& session,
                      QWidget* parent = nullptr);
    ~TranscriptionView() override;

    TranscriptionSession& session() const { return m_session; }
    TranscriptEditor* editor() const { return m_editor; }
    FindBar* findBar() const { return m_findBar; }

    // Inserts a timestamp for the current position at the editor's cursor.
    void insertTimestamp();
    // Asks for a time and moves playback there (Go to Time).
    void goToTime();
    // Moves the caret just past the next (+1) or previous (-1) timestamp and playback to its
    // time; nothing when there is none that way.
    void moveToTimestamp(int direction);
    // Plays from the timestamp the caret is in or after (the start when there is none).
    void playFromTimestamp();
    // Puts the caret at the start of the line being played (see StampIndex::lineAt) and
    // scrolls to it; nothing when no line is stamped that early.
    void goToPlayingLine();
    // Starts a machine draft of the stretch the transcript calls for (see DraftController).
    void makeDraft();
    DraftController* draft() const { return m_draft; }

    // Asks for the moved audio file: returns the chosen path, or an empty string on cancel.
    using LocateFileDialog = std::function<QString(QWidget* parent)>;
    // FOR TESTS ONLY: replaces the file dialog of "Locate File…" (an empty function restores it).
    static void setLocateFileDialogForTesting(LocateFileDialog dialog);

private:
    void locateFile();
    // The caret and scroll position the project was left with (kept in the settings by its id).
    void restoreTextPlace();
    void keepTextPlace();
    void followExportPresented(bool presented);
    void showPlayingLine();

    AppState& m_state;
    TranscriptionSession& m_session;
    TranscriptEditor* m_editor = nullptr;
    FindBar* m_findBar = nullptr;
    DraftController* m_draft = nullptr;
    StampIndex* m_stamps = nullptr;
    // The line shaded while playing; empty while none is.
    std::optional<std::pair<int, int>> m_playingLine;
    QPointer<ExportSheet> m_exportSheet;
};

} // namespace dictaro
