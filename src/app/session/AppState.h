#pragma once

#include "Project.h"
#include "ProjectStore.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

Q_MOC_INCLUDE("TranscriptionSession.h")

namespace dictaro {

class PlaybackEngine;
class TranscriptionSession;

// The application-wide state behind the main window: the recent projects, the open
// transcription session, whether the export sheet is shown, and text recovered from an exit
// that could not save. It alone opens and closes sessions.
class AppState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(dictaro::TranscriptionSession* currentSession READ currentSession NOTIFY
                   currentSessionChanged)
    Q_PROPERTY(bool isExportPresented READ isExportPresented WRITE setExportPresented NOTIFY
                   isExportPresentedChanged)
    Q_PROPERTY(std::optional<QString> openError READ openError NOTIFY openErrorChanged)

public:
    // The file name extensions of the audio types Dictaro opens, lower case (AudioTypes).
    static const QStringList supportedExtensions;

    // Lists the recent projects and any recovered text at once. Sessions save through `store`
    // and play through `engine`; both outlive the state.
    AppState(ProjectStore& store, PlaybackEngine& engine, QObject* parent = nullptr);
    ~AppState() override;

    ProjectStore& store() const { return m_store; }
    // The one player every session plays through.
    PlaybackEngine& engine() const { return m_engine; }
    TranscriptionSession* currentSession() const { return m_currentSession; }
    const QList<ProjectSummary>& recentProjects() const { return m_recentProjects; }
    bool isExportPresented() const { return m_isExportPresented; }
    void setExportPresented(bool presented);
    // Why the last request to open a file or project was refused; empty after a success.
    std::optional<QString> openError() const { return m_openError; }
    void dismissOpenError();

    // Whether a file name's extension is one of supportedExtensions (in any letter case).
    static bool isSupportedAudioFile(const QString& path);

    // Makes, saves and opens a new project for the audio file at `path`, with `transcript` as
    // its text (an imported one; empty for a new project); a path that is not a regular audio
    // file is refused with openError.
    void openAudioFile(const QString& path, const QString& transcript = {});
    // Opens a session on a copy of `project` and starts it; the one open before is closed
    // (and saved) first. Nothing happens if that final save fails.
    void openProject(const Project& project);
    // Opens the project stored under `id`.
    void openProject(const QUuid& id);
    // What closing does with text that its final save could not write.
    enum class Unsaved {
        Keep,    // the session stays open, showing its save error (Back, opening another file)
        Ask,     // `ask` decides; true closes without the text (quitting)
        Recover, // written where the next start offers it back; where that fails, `ask` decides
    };
    // The one way a session ends: closes the open session with its final save and lists the
    // projects again. When the final save fails, `unsaved` says what happens; false when the
    // session stays open (showing its save error). A question already being asked is not asked
    // again: the call returns false.
    bool closeProject(Unsaved unsaved = Unsaved::Keep, const std::function<bool()>& ask = {});
    // The last chance when the process ends without its event loop: the open session's text is
    // saved, or else written where the next start offers it back. Nothing is released and no
    // signal is emitted, so no view is touched. False only if the text could be kept nowhere.
    bool keepTextBeforeExit();
    // Deletes a project's file (failures are ignored) and lists the projects again.
    void deleteProject(const QUuid& id);

    // Text kept by an earlier run that had to end without saving it, oldest first.
    const QList<Project>& recoveries() const { return m_recoveries; }
    // Writes the open session's text where recoveries() will find it at the next start: the
    // first recovery folder that is the user's own, private folder (mode 0700, no symbolic
    // link), in a file only the user can read. False if there is no open session or nowhere to
    // write.
    bool writeRecovery();
    // Opens the recovered text's project and puts the text back into it as one undoable edit.
    void openRecovery(const QUuid& id);
    // Forgets a recovered text for good.
    void discardRecovery(const QUuid& id);

signals:
    void currentSessionChanged(dictaro::TranscriptionSession* session);
    void recentProjectsChanged();
    void isExportPresentedChanged(bool presented);
    void openErrorChanged(const std::optional<QString>& openError);
    void recoveriesChanged();

private:
    void reloadRecentProjects();
    void setCurrentSession(TranscriptionSession* session);
    void setOpenError(const std::optional<QString>& error);
    void removeRecoveryFiles(const QUuid& id);
    bool writeRecovery(const Project& record);
    // Closes the open session (if any) with its final save, or as `unsaved` says; it stays the
    // current one. False if it stays open.
    bool endCurrentSession(Unsaved unsaved, const std::function<bool()>& ask);

    ProjectStore& m_store;
    PlaybackEngine& m_engine;
    TranscriptionSession* m_currentSession = nullptr;
    QList<ProjectSummary> m_recentProjects;
    bool m_isExportPresented = false;
    std::optional<QString> m_openError;
    QList<Project> m_recoveries;
    bool m_asking = false;
};

} // namespace dictaro
