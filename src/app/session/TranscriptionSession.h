#pragma once

#include "Debouncer.h"
#include "Project.h"
#include "ProjectStore.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QTextCursor;
class QTextDocument;

namespace dictaro {

class DisplayBlocks;
class PlaybackEngine;
class WaveformPeaks;

// One open project: plays its audio through the application's engine, owns the transcript as
// a text document that editors display, and keeps the project file up to date (one second after
// typing stops, at least every five seconds while typing goes on, every five seconds while audio
// plays, and on close). A failed save is retried on a growing interval until one succeeds.
// Those saves take the text here and encode and write it on a thread of their own, one after
// another, so that a long text never holds up typing; saveNow() and close() wait for them.
class TranscriptionSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString transcript READ transcript WRITE setTranscript NOTIFY transcriptChanged)
    Q_PROPERTY(QStringList speakers READ speakers WRITE setSpeakers NOTIFY speakersChanged)
    Q_PROPERTY(bool mediaMissing READ mediaMissing NOTIFY mediaMissingChanged)
    Q_PROPERTY(std::optional<QString> saveError READ saveError NOTIFY saveErrorChanged)
    Q_PROPERTY(qsizetype wordCount READ wordCount NOTIFY wordCountChanged)

public:
    static constexpr double autosaveDelay = 1.0;
    static constexpr double autosaveMaxWait = 5.0;
    static constexpr int positionSaveIntervalMSecs = 5000;
    // Retries of a failed save wait 1, 2, 4 … seconds, at most this long.
    static constexpr int maxRetryIntervalMSecs = 30000;
    // The words are counted again this long after the text stopped changing.
    static constexpr int wordCountDelayMSecs = 300;

    // A session on a working copy of `project`, saving through `store` and playing through
    // `engine`; both outlive the session. Loads nothing until start().
    TranscriptionSession(Project project, ProjectStore& store, PlaybackEngine& engine,
                         QObject* parent = nullptr);
    ~TranscriptionSession() override;

    TranscriptionSession(const TranscriptionSession&) = delete;
    TranscriptionSession& operator=(const TranscriptionSession&) = delete;

    PlaybackEngine* engine() const { return &m_engine; }
    // The transcript being edited. Editors show it; every change to it is saved.
    QTextDocument* document() const { return m_document; }
    // The audio's waveform, computed in the background once the audio file is found.
    WaveformPeaks* waveform() const { return m_waveform; }

    // The working copy: what the next save writes, apart from the transcript, position and
    // rate, which a save takes fresh from the document and the engine.
    const Project& project() const { return m_project; }
    // The store the project is saved in.
    ProjectStore& store() const { return m_store; }
    // The audio file as found by the last start; empty while it is missing or not yet looked for.
    QString mediaPath() const;

    // The document's text, with "\n" for every line break.
    QString transcript() const;
    // Replaces the text (clearing the undo history) and schedules the autosave, even if unchanged.
    void setTranscript(const QString& transcript);
    // Replaces the whole text as one edit that can be undone.
    void replaceTranscriptAsEdit(const QString& transcript);

    // The project's speakers: the user's list, with the names of the transcript's labels
    // added as they appear (when the project opens, and as lines are finished or pasted).
    QStringList speakers() const { return m_project.speakers; }
    // Replaces the list (cleaned, see SpeakerLabels::cleanList) and schedules the autosave.
    void setSpeakers(const QStringList& speakers);
    // Renames speakers in the list and in every label of the text (one undoable edit).
    void renameSpeakers(const QList<std::pair<QString, QString>>& renames,
                        const QStringList& speakers);

    bool mediaMissing() const { return m_mediaMissing; }
    // The message of the last failed save; empty once a save succeeds again.
    std::optional<QString> saveError() const { return m_saveError; }
    bool isClosed() const { return m_isClosed; }
    // The number of words in the transcript (WordTokenizer::countWords), counted on a thread of
    // its own once typing pauses, so that it lags the text by a moment.
    qsizetype wordCount() const { return m_wordCount; }

    // Gives the engine the project's volume, channels and voice filter (later changes to them
    // are kept in the project), finds the audio file, reports it missing or renews its
    // reference, and loads it at the remembered position and rate. Starts never overlap: a second
    // start waits for the first. `done` runs on the event loop when this start has finished (not if
    // the session is gone).
    void start(std::function<void()> done = {});
    // Points the project at the audio file's new location, saves, and starts again. If no
    // reference can be made to the new file, the project keeps the one it had.
    void relocateMedia(const QString& path, std::function<void()> done = {});
    // Replaces the cursor's selection (or inserts at it) with "[hh:mm:ss] " for the current
    // playback position (or, with the stampWherePaused setting, where the pause just before
    // stopped), as one undoable edit, and leaves the cursor just after it.
    void insertTimestamp(QTextCursor& cursor);
    // Writes the working copy now, after any save still being written. False (and saveError
    // set) if the store refused it.
    bool saveNow();
    // The final save, then the audio is unloaded and the file access given up. If the final
    // save fails, nothing is released and false is returned: the session stays open with its
    // save error, so that no text is lost. Calling it again after success does nothing.
    bool close();
    // Releases everything without the final save (the user chose to discard the last changes).
    void closeWithoutSaving();
    // The working copy with the newest text, as a save would write it.
    Project currentRecord() const;

signals:
    // The working copy changed: a save took the newest text, position and rate into it (a save
    // in the background tells once it has been written, or has failed).
    void projectChanged();
    void transcriptChanged();
    void speakersChanged(const QStringList& speakers);
    void mediaMissingChanged(bool mediaMissing);
    void saveErrorChanged(const std::optional<QString>& saveError);
    void wordCountChanged(qsizetype wordCount);
    // A start() or relocateMedia() has finished.
    void started();
    // close() or closeWithoutSaving() begins: the last moment to change the text before the
    // final save.
    void aboutToClose();

private:
    void performStart();
    void finishStart();
    void onContentsChanged();
    // Adds the names of labels in lines an edit finished or brought in.
    void learnSpeakers(int from, int charsAdded);
    void addSpeakers(const QStringList& names);
    void scheduleAutosave();
    // Takes the newest record here and writes it on the saving thread; asked while a write is
    // under way, it takes the record again once that write is done.
    void saveInBackground();
    void finishBackgroundSave(quint64 number, const Project& record, bool saved);
    // The outcome of save `number`, the newest one to finish: the error shown or cleared, and
    // the retry planned.
    void settleSave(quint64 number, bool saved);
    void release();
    void stopMediaAccess();
    void setMediaMissing(bool mediaMissing);
    void setSaveError(const std::optional<QString>& saveError);
    void countWords();

    PlaybackEngine& m_engine;
    ProjectStore& m_store;
    Project m_project;
    QTextDocument* m_document = nullptr;
    DisplayBlocks* m_blocks = nullptr;
    WaveformPeaks* m_waveform = nullptr;
    bool m_mediaMissing = false;
    std::optional<QString> m_saveError;

    // The text as last read from the document; empty while the document has newer text.
    mutable std::optional<QString> m_transcript;
    // The document's revision when the speakers were last learned from an edit.
    int m_learnedRevision = 0;
    // Set while setTranscript() replaces the text, which is no edit.
    bool m_replacing = false;

    Debouncer m_autosaver{autosaveDelay, autosaveMaxWait};
    QTimer m_positionTimer{this};
    QTimer m_retryTimer;
    // One thread, so that saves reach the disk in the order they were taken.
    QThreadPool m_saver;
    bool m_writing = false;
    bool m_saveAgain = false;
    // Saves are numbered as they are taken; an outcome older than the last one settled is stale.
    quint64 m_saveNumber = 0;
    quint64 m_settledNumber = 0;
    std::unique_ptr<ProjectStore::MediaAccess> m_mediaAccess;
    qsizetype m_wordCount = 0;
    QTimer m_wordCountTimer;
    QThreadPool m_counter;
    // Counts are numbered as they are started; only the newest is shown.
    quint64 m_countNumber = 0;

    // The completion of every start not yet finished, oldest first; the oldest one runs.
    QList<std::function<void()>> m_pendingStarts;
    bool m_isClosed = false;
    // The project's sound has been given to the engine: from now on the engine's is the project's.
    bool m_soundApplied = false;
};

} // namespace dictaro
