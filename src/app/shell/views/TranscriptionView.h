#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace dictaro {

class AppActions;
class AppState;
class DraftController;
class ExportSheet;
class FindBar;
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
    // Starts a line for the speaker of a slot (1 to 9) of the project's list, with the
    // timestamp when the settings ask for it; a slot with no speaker only beeps.
    void startSpeakerLine(int slot);
    // Starts a line for the other of the two speakers last labelled above the caret.
    void switchSpeaker();
    // Shows the sheet that edits the project's speakers (window-modal).
    void editSpeakers();
    // Starts a machine draft of the stretch the transcript calls for (see DraftController).
    void makeDraft();
    DraftController* draft() const { return m_draft; }

    // Asks for the moved audio file: returns the chosen path, or an empty string on cancel.
    using LocateFileDialog = std::function<QString(QWidget* parent)>;
    // FOR TESTS ONLY: replaces the file dialog of "Locate File…" (an empty function restores it).
    static void setLocateFileDialogForTesting(LocateFileDialog dialog);

private:
    void locateFile();
    void startLineFor(const QString& name);
    void followExportPresented(bool presented);

    AppState& m_state;
    TranscriptionSession& m_session;
    TranscriptEditor* m_editor = nullptr;
    FindBar* m_findBar = nullptr;
    DraftController* m_draft = nullptr;
    QPointer<ExportSheet> m_exportSheet;
};

} // namespace dictaro
