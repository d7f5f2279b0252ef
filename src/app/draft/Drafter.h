#pragma once

#include "DraftEngine.h"
#include "DraftPlacement.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class QPlainTextEdit;

namespace dictaro {

class DraftMarks;
class TranscriptionSession;

// Makes a machine draft of a stretch of the open project's recording: runs a recogniser on a
// worker thread at low priority and appends what it hears to the transcript, batch by batch,
// each batch one undoable edit of its own. A batch waits while the typist types (so that it
// never splits their undo steps) and never moves their caret or scroll. Cancelling keeps what
// was heard; closing the session cancels, places what was heard, and never waits for a stuck
// worker.
class Drafter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool running READ isRunning NOTIFY runningChanged)
    Q_PROPERTY(double reached READ reached NOTIFY progressChanged)
    Q_PROPERTY(double remaining READ remaining NOTIFY progressChanged)
    Q_PROPERTY(std::optional<QString> error READ error NOTIFY errorChanged)

public:
    using Stretch = DraftPlacement::Stretch;

    // Batches go in at most this often.
    static constexpr int batchIntervalMs = 1000;
    // A batch waits until the text has not been edited for this long.
    static constexpr int typingPauseMs = 800;

    // Drafts into `session`'s transcript with `engine`, keeping the words in `marks`; all three
    // outlive the drafter.
    Drafter(TranscriptionSession& session, DraftEngine engine, DraftMarks& marks,
            QObject* parent = nullptr);
    ~Drafter() override;

    // Keeps this editor's caret, selection and scroll where they are while batches go in.
    void keepViewOf(QPlainTextEdit* editor);

    // Starts drafting `stretch` with the model file at `modelPath` in `language` ("" for a
    // multilingual model to find out). False (with error set) when it cannot start.
    bool start(Stretch stretch, const QString& modelPath, const QString& language);
    // Stops; what was heard so far goes into the text.
    void cancel();

    bool isRunning() const { return m_running; }
    Stretch stretch() const { return m_stretch; }
    // How far the recogniser has got, in seconds of the recording.
    double reached() const { return m_reached; }
    // The time still needed, in seconds, estimated from the pace so far; negative while unknown.
    double remaining() const { return m_remaining; }
    // Why the last draft could not start or stopped early; empty otherwise.
    std::optional<QString> error() const { return m_error; }
    // Heard but not yet in the text (waiting for a pause in typing).
    std::size_t pendingSegments() const { return m_pending.size(); }

    // The language code handed to the recogniser for the user's choice: the interface's for
    // none, "" (find out) for "auto", else the choice.
    static QString languageFor(const QString& choice);

signals:
    void runningChanged(bool running);
    void progressChanged();
    void errorChanged(const std::optional<QString>& error);
    // A batch went into the text.
    void batchInserted();
    // The draft ended: the whole stretch was drafted (true), or it was cancelled or failed.
    void finished(bool completed);

private:
    struct Job;

    void onSegment(const RecognisedSegment& segment);
    void onProgress(double reached);
    void onFinished(bool completed, const QString& error);
    void tryInsert();
    // Puts the waiting segments into the text as one edit.
    void insertPending();
    void letGo();
    void setRunning(bool running);
    void setError(const std::optional<QString>& error);

    TranscriptionSession& m_session;
    DraftEngine m_engine;
    DraftMarks& m_marks;
    QPointer<QPlainTextEdit> m_editor;

    std::shared_ptr<Job> m_job;
    quint64 m_jobSerial = 0;
    bool m_running = false;
    Stretch m_stretch;
    double m_reached = 0.0;
    double m_remaining = -1.0;
    std::optional<QString> m_error;
    // The pace: when and where recognition was first seen to advance.
    QElapsedTimer m_clock;
    std::optional<std::pair<qint64, double>> m_paceFrom;

    std::vector<RecognisedSegment> m_pending;
    QTimer m_batchTimer;
    // Since the text was last edited by anyone but the drafter.
    QElapsedTimer m_sinceEdit;
    bool m_inserting = false;
    // Just after the drafted text so far: the next batch goes there.
    QTextCursor m_end;
};

} // namespace dictaro
