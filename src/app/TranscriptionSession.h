#pragma once

#include "Debouncer.h"
#include "Project.h"
#include "ProjectStore.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace dictaro {

class PlaybackEngine;
class TranscriptEditor;
class TranscriptEditorController;

// The controller of one open project: plays its audio, holds the transcript being edited, and
// keeps the project file up to date (one second after typing stops, every five seconds while
// audio plays, and on close).
class TranscriptionSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString transcript READ transcript WRITE setTranscript NOTIFY transcriptChanged)
    Q_PROPERTY(bool mediaMissing READ mediaMissing NOTIFY mediaMissingChanged)
    Q_PROPERTY(std::optional<QString> saveError READ saveError NOTIFY saveErrorChanged)
    Q_PROPERTY(bool isStarting READ isStarting NOTIFY isStartingChanged)

public:
    static constexpr double autosaveDelay = 1.0;
    static constexpr int positionSaveIntervalMSecs = 5000;

    // A session on a working copy of `project`, saving through `store`. Loads nothing until
    // start(). Without an `engine` it plays through the system's sound output.
    TranscriptionSession(Project project, std::shared_ptr<ProjectStore> store,
                         std::unique_ptr<PlaybackEngine> engine = {}, QObject* parent = nullptr);
    ~TranscriptionSession() override;

    TranscriptionSession(const TranscriptionSession&) = delete;
    TranscriptionSession& operator=(const TranscriptionSession&) = delete;

    PlaybackEngine* engine() const { return m_engine.get(); }
    TranscriptEditorController* editorController() const { return m_editorController; }

    // The working copy: what the next save writes, apart from the transcript, position and
    // rate, which a save takes fresh from the editor and the engine.
    const Project& project() const { return m_project; }

    // The newest text. While an editor is on screen it is read from the editor's document
    // (only when asked for), so typing costs nothing here beyond scheduling the autosave.
    QString transcript() const;
    // Replaces the text (also in the editor) and schedules the autosave, even if unchanged.
    void setTranscript(const QString& transcript);

    bool mediaMissing() const { return m_mediaMissing; }
    // The message of the last failed save; empty once a save succeeds again.
    std::optional<QString> saveError() const { return m_saveError; }
    bool isStarting() const { return !m_pendingStarts.isEmpty(); }
    bool isClosed() const { return m_isClosed; }

    // Finds the audio file, reports it missing or renews its reference, and loads it at the
    // remembered position and rate. Starts never overlap: a second start waits for the first.
    // `done` runs on the event loop when this start has finished (not if the session is gone).
    void start(std::function<void()> done = {});
    // Points the project at the audio file's new location, saves, and starts again.
    void relocateMedia(const QString& path, std::function<void()> done = {});
    // Types "[hh:mm:ss] " for the current playback position into the editor, replacing the
    // selection, as one undoable edit. Nothing happens without an editor on screen.
    void insertTimestamp();
    // Writes the working copy now. False (and saveError set) if the store refused it.
    bool saveNow();
    // The final save, then the audio is unloaded and the file access given up. If the final
    // save fails, nothing is released and false is returned: the session stays open with its
    // save error, so that no text is lost. Calling it again after success does nothing.
    bool close();
    // Releases everything without the final save (the user chose to discard the last changes).
    void closeWithoutSaving();

signals:
    void projectChanged();
    void transcriptChanged();
    void mediaMissingChanged(bool mediaMissing);
    void saveErrorChanged(const std::optional<QString>& saveError);
    void isStartingChanged(bool isStarting);
    // A start() or relocateMedia() has finished.
    void started();

private:
    void performStart();
    void finishStart();
    void startPositionTimer();
    void scheduleAutosave();
    void release();
    void stopMediaAccess();
    void attachEditor(TranscriptEditor* editor);
    void onEditorEdited();
    void setMediaMissing(bool mediaMissing);
    void setSaveError(const std::optional<QString>& saveError);

    std::unique_ptr<PlaybackEngine> m_engine;
    TranscriptEditorController* m_editorController = nullptr;
    Project m_project;
    std::shared_ptr<ProjectStore> m_store;
    bool m_mediaMissing = false;
    std::optional<QString> m_saveError;

    // The text as last known; stale while m_editorHasNewerText (then the editor has it).
    mutable QString m_transcript;
    mutable bool m_editorHasNewerText = false;
    QPointer<TranscriptEditor> m_editor;

    Debouncer m_autosaver{autosaveDelay};
    QTimer* m_positionTimer = nullptr;
    std::unique_ptr<ProjectStore::MediaAccess> m_mediaAccess;

    // The completion of every start not yet finished, oldest first; the oldest one runs.
    QList<std::function<void()>> m_pendingStarts;
    bool m_isClosed = false;
};

} // namespace dictaro
