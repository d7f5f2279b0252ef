#include "Drafter.h"

#include "DisplayBlocks.h"
#include "DraftMarks.h"
#include "Localization.h"
#include "Platform.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QThread>

#include <mutex>
#include <thread>

namespace dictaro {

// One run of the recogniser, shared by the drafter and its thread. Once let go, it hands over
// nothing more and the thread ends by itself, holding only what it owns.
struct Drafter::Job
{
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::mutex postMutex;
    Drafter* drafter = nullptr; // null once let go
    std::thread thread;
    quint64 serial = 0;

    // Runs work(drafter) on the drafter's thread, unless this job is let go by then.
    template <typename Work> void post(Work work)
    {
        const std::lock_guard lock(postMutex);
        if (!drafter)
            return;
        Drafter* target = drafter;
        QMetaObject::invokeMethod(
            target,
            [target, work = std::move(work), serial = serial] {
                // Events of a job let go since are dropped.
                if (target->m_job && target->m_job->serial == serial)
                    work(target);
            },
            Qt::QueuedConnection);
    }
};

Drafter::Drafter(TranscriptionSession& session, DraftEngine engine, DraftMarks& marks,
                 QObject* parent)
    : QObject(parent), m_session(session), m_engine(std::move(engine)), m_marks(marks)
{
    m_batchTimer.setSingleShot(true);
    connect(&m_batchTimer, &QTimer::timeout, this, &Drafter::tryInsert);
    m_sinceEdit.start();
    connect(m_session.document(), &QTextDocument::contentsChange, this, [this] {
        if (!m_inserting)
            m_sinceEdit.restart();
    });
    // The last moment the heard text can still reach the final save.
    connect(&m_session, &TranscriptionSession::aboutToClose, this, [this] {
        cancel();
        insertPending();
        m_marks.saveNow();
    });
}

Drafter::~Drafter()
{
    letGo();
}

void Drafter::keepViewOf(QPlainTextEdit* editor)
{
    m_editor = editor;
}

QString Drafter::languageFor(const QString& choice)
{
    if (choice.isEmpty())
        return Localization::currentLanguage();
    if (choice == QLatin1String("auto"))
        return {};
    return choice;
}

bool Drafter::start(Stretch stretch, const QString& modelPath, const QString& language)
{
    if (m_running)
        return false;
    const QString media = m_session.mediaPath();
    std::optional<QString> problem;
    if (!m_engine)
        problem = Localization::tr("This copy of Dictaro cannot make drafts.");
    else if (modelPath.isEmpty())
        problem = Localization::tr("Choose a speech model in Settings first.");
    else if (media.isEmpty() || m_session.mediaMissing())
        problem = Localization::tr("The audio file is missing.");
    else if (stretch.length() <= 0.0)
        problem = Localization::tr("There is nothing left to draft.");
    setError(problem);
    if (problem)
        return false;

    m_stretch = stretch;
    m_reached = stretch.start;
    m_remaining = -1.0;
    m_paceFrom.reset();
    m_clock.start();
    auto job = std::make_shared<Job>();
    job->drafter = this;
    job->serial = ++m_jobSerial;
    m_job = job;
    const double duration = m_session.engine()->duration();
    const int threads = std::max(1, QThread::idealThreadCount() - 1);
    // The thread keeps the job alive for as long as it runs.
    job->thread = std::thread(
        [job, engine = m_engine, media, stretch, modelPath, language, duration, threads] {
            Platform::lowerThreadPriority();
            QString error;
            bool completed = false;
            if (std::unique_ptr<Recogniser> recogniser = engine.makeRecogniser()) {
                std::vector<float> samples;
                if (const std::optional<QString> refused = recogniser->load(modelPath)) {
                    error = *refused;
                } else if (engine.readSamples(media, stretch.start, stretch.end, samples,
                                              job->cancel, error)) {
                    const Recogniser::Request request{samples, stretch.start,
                                                      duration > 0 ? duration : stretch.end,
                                                      language, threads};
                    completed = recogniser->recognise(
                        request, job->cancel,
                        [&job](const RecognisedSegment& segment) {
                            job->post([segment](Drafter* d) { d->onSegment(segment); });
                        },
                        [&job](double reached) {
                            job->post([reached](Drafter* d) { d->onProgress(reached); });
                        });
                    if (!completed && !job->cancel)
                        error = Localization::tr("The speech model stopped before the end.");
                }
            }
            job->post([completed, error](Drafter* d) { d->onFinished(completed, error); });
            job->done = true;
        });
    setRunning(true);
    emit progressChanged();
    return true;
}

void Drafter::cancel()
{
    if (!m_running)
        return;
    letGo();
    setRunning(false);
    tryInsert();
    emit finished(false);
}

void Drafter::letGo()
{
    if (!m_job)
        return;
    m_job->cancel = true;
    {
        const std::lock_guard lock(m_job->postMutex);
        m_job->drafter = nullptr;
    }
    // Never waited for: a worker stuck in the engine ends on its own.
    if (m_job->done)
        m_job->thread.join();
    else
        m_job->thread.detach();
    m_job.reset();
}

void Drafter::onSegment(const RecognisedSegment& segment)
{
    m_pending.push_back(DraftPlacement::clampedTo(segment, m_stretch));
    if (!m_batchTimer.isActive())
        m_batchTimer.start(batchIntervalMs);
}

void Drafter::onProgress(double reached)
{
    reached = std::clamp(reached, m_stretch.start, m_stretch.end);
    if (reached <= m_reached)
        return;
    m_reached = reached;
    const qint64 now = m_clock.elapsed();
    if (!m_paceFrom) {
        m_paceFrom = std::pair{now, reached};
    } else if (reached > m_paceFrom->second) {
        const double secondsPerSecond =
            double(now - m_paceFrom->first) / 1000.0 / (reached - m_paceFrom->second);
        m_remaining = secondsPerSecond * (m_stretch.end - reached);
    }
    emit progressChanged();
}

void Drafter::onFinished(bool completed, const QString& error)
{
    if (m_job) {
        if (m_job->thread.joinable())
            m_job->thread.join();
        m_job.reset();
    }
    if (!error.isEmpty())
        setError(error);
    if (completed) {
        m_reached = m_stretch.end;
        m_remaining = 0.0;
        emit progressChanged();
    }
    setRunning(false);
    tryInsert();
    emit finished(completed);
}

void Drafter::tryInsert()
{
    if (m_pending.empty())
        return;
    const qint64 quiet = m_sinceEdit.elapsed();
    if (quiet < typingPauseMs) {
        m_batchTimer.start(int(typingPauseMs - quiet));
        return;
    }
    insertPending();
}

void Drafter::insertPending()
{
    m_batchTimer.stop();
    if (m_pending.empty() || m_session.isClosed())
        return;
    std::vector<RecognisedSegment> batch;
    batch.swap(m_pending);
    // The words first: the highlighter marks the new lines as they go in.
    m_marks.add(batch);

    QTextDocument* document = m_session.document();
    if (m_end.isNull() || m_end.document() != document) {
        m_end = QTextCursor(document);
        m_end.movePosition(QTextCursor::End);
    }
    const int at = m_end.position();
    const QString before = at > 0 ? QString(document->characterAt(at - 1)) : QString();
    // A line break the document shows between blocks reads as U+2029.
    const QString text = DraftPlacement::appendedText(
        before == QChar(QChar::ParagraphSeparator) ? QStringLiteral("\n") : before, batch);
    if (text.isEmpty())
        return;

    struct View
    {
        int anchor = 0;
        int position = 0;
        int vertical = 0;
        int horizontal = 0;
    };
    std::optional<View> view;
    if (m_editor && m_editor->document() == document) {
        const QTextCursor caret = m_editor->textCursor();
        view = View{caret.anchor(), caret.position(), m_editor->verticalScrollBar()->value(),
                    m_editor->horizontalScrollBar()->value()};
    }
    m_inserting = true;
    QTextCursor cursor(m_end);
    cursor.beginEditBlock();
    cursor.insertText(text);
    if (DisplayBlocks* blocks = DisplayBlocks::of(document))
        blocks->fixBlocks(at, cursor.position());
    cursor.endEditBlock();
    m_end.setPosition(cursor.position());
    m_inserting = false;

    if (view && m_editor) {
        QTextCursor caret = m_editor->textCursor();
        if (caret.anchor() != view->anchor || caret.position() != view->position) {
            caret.setPosition(view->anchor);
            caret.setPosition(view->position, QTextCursor::KeepAnchor);
            m_editor->setTextCursor(caret);
        }
        m_editor->verticalScrollBar()->setValue(view->vertical);
        m_editor->horizontalScrollBar()->setValue(view->horizontal);
    }
    emit batchInserted();
}

void Drafter::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    emit runningChanged(m_running);
}

void Drafter::setError(const std::optional<QString>& error)
{
    if (error == m_error)
        return;
    m_error = error;
    emit errorChanged(m_error);
}

} // namespace dictaro
