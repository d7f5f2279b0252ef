#include "TranscriptionSession.h"

#include "Localization.h"
#include "PlaybackEngine.h"
#include "TimestampFormatter.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"

#include <QFileInfo>
#include <QTimer>

namespace dictaro {

TranscriptionSession::TranscriptionSession(Project project, std::shared_ptr<ProjectStore> store,
                                           std::unique_ptr<PlaybackEngine> engine, QObject* parent)
    : QObject(parent), m_engine(engine ? std::move(engine) : std::make_unique<PlaybackEngine>()),
      m_editorController(new TranscriptEditorController(this)), m_project(std::move(project)),
      m_store(std::move(store)), m_transcript(m_project.transcript)
{
    connect(m_editorController, &TranscriptEditorController::textViewChanged, this,
            &TranscriptionSession::attachEditor);
}

TranscriptionSession::~TranscriptionSession()
{
    // Whoever owns a session closes it; this only makes sure nothing outlives it.
    m_autosaver.cancel();
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    stopMediaAccess();
}

QString TranscriptionSession::transcript() const
{
    if (m_editorHasNewerText && m_editor) {
        m_transcript = m_editor->text();
        m_editorHasNewerText = false;
    }
    return m_transcript;
}

void TranscriptionSession::setTranscript(const QString& transcript)
{
    const bool changed = transcript != this->transcript();
    if (changed) {
        m_transcript = transcript;
        if (m_editor)
            m_editor->setTranscript(transcript);
        m_editorHasNewerText = false;
        emit transcriptChanged();
    }
    scheduleAutosave();
}

void TranscriptionSession::attachEditor(TranscriptEditor* editor)
{
    if (m_editor == editor)
        return;
    if (m_editor) {
        // An editor going away still holds its document here: keep its newest text.
        transcript();
        disconnect(m_editor, nullptr, this, nullptr);
    }
    m_editor = editor;
    m_editorHasNewerText = false;
    if (editor) {
        editor->setTranscript(m_transcript);
        connect(editor, &TranscriptEditor::textEdited, this, &TranscriptionSession::onEditorEdited);
    }
}

void TranscriptionSession::onEditorEdited()
{
    m_editorHasNewerText = true;
    emit transcriptChanged();
    scheduleAutosave();
}

void TranscriptionSession::scheduleAutosave()
{
    if (m_isClosed)
        return;
    m_autosaver.schedule([session = QPointer<TranscriptionSession>(this)] {
        if (session)
            session->saveNow();
    });
}

bool TranscriptionSession::saveNow()
{
    m_project.transcript = transcript();
    if (m_engine->duration() > 0) {
        m_project.lastPosition = m_engine->currentTime();
        m_project.playbackRate = m_engine->rate();
    }
    m_project.updatedAt = QDateTime::currentDateTimeUtc();
    emit projectChanged();
    try {
        m_store->save(m_project);
    } catch (const StoreError&) {
        setSaveError(Localization::tr(
            "Autosave failed. Your text is kept in memory; saving will be retried."));
        return false;
    }
    setSaveError(std::nullopt);
    return true;
}

void TranscriptionSession::insertTimestamp()
{
    const QString text = TimestampFormatter::stringFromSeconds(m_engine->currentTime()) + u' ';
    m_editorController->insertText(text);
}

// --- starting -----------------------------------------------------------------------------

void TranscriptionSession::start(std::function<void()> done)
{
    m_pendingStarts.append(std::move(done));
    // The oldest pending start runs; a later one begins when the one before it finishes.
    if (m_pendingStarts.size() == 1) {
        emit isStartingChanged(true);
        QMetaObject::invokeMethod(this, &TranscriptionSession::performStart, Qt::QueuedConnection);
    }
}

void TranscriptionSession::performStart()
{
    if (m_isClosed)
        return finishStart();
    setMediaMissing(false);
    stopMediaAccess();

    if (!m_project.mediaBookmark) {
        setMediaMissing(true);
        return finishStart();
    }
    m_mediaAccess = ProjectStore::resolveBookmark(*m_project.mediaBookmark);
    if (!m_mediaAccess) {
        setMediaMissing(true);
        return finishStart();
    }
    if (!QFileInfo(m_mediaAccess->path()).isFile()) {
        stopMediaAccess();
        setMediaMissing(true);
        return finishStart();
    }
    if (m_mediaAccess->isStale()) {
        // The file moved or was replaced: remember where it is now. If no new reference can
        // be made, the old one stays and the file is still played.
        if (auto renewed = ProjectStore::makeBookmark(m_mediaAccess->path())) {
            m_project.mediaBookmark = std::move(renewed);
            saveNow();
        }
    }

    m_engine->load(m_mediaAccess->path(), m_project.lastPosition, m_project.playbackRate,
                   [session = QPointer<TranscriptionSession>(this)](bool ready) {
                       if (!session)
                           return;
                       if (session->m_isClosed) {
                           // Closed while loading: undo the load at once.
                           session->m_engine->unload();
                           session->stopMediaAccess();
                       } else if (ready) {
                           session->startPositionTimer();
                       }
                       session->finishStart();
                   });
}

void TranscriptionSession::finishStart()
{
    std::function<void()> done = m_pendingStarts.takeFirst();
    // Decided before `done` runs, which may itself ask for another start.
    if (m_pendingStarts.isEmpty())
        emit isStartingChanged(false);
    else
        QMetaObject::invokeMethod(this, &TranscriptionSession::performStart, Qt::QueuedConnection);
    emit started();
    if (done)
        done();
}

void TranscriptionSession::startPositionTimer()
{
    if (!m_positionTimer) {
        m_positionTimer = new QTimer(this);
        m_positionTimer->setInterval(positionSaveIntervalMSecs);
        connect(m_positionTimer, &QTimer::timeout, this, [this] {
            if (m_engine->isPlaying())
                saveNow();
        });
    }
    m_positionTimer->start(); // restarts a running timer
}

void TranscriptionSession::relocateMedia(const QString& path, std::function<void()> done)
{
    m_engine->unload();
    if (m_positionTimer)
        m_positionTimer->stop();
    stopMediaAccess();
    m_project.mediaBookmark = ProjectStore::makeBookmark(path);
    m_project.mediaFileName = QFileInfo(path).fileName();
    saveNow();
    start(std::move(done));
}

// --- closing ------------------------------------------------------------------------------

bool TranscriptionSession::close()
{
    if (m_isClosed)
        return true;
    m_autosaver.cancel();
    if (!saveNow())
        return false;
    release();
    return true;
}

void TranscriptionSession::closeWithoutSaving()
{
    if (m_isClosed)
        return;
    m_autosaver.cancel();
    release();
}

void TranscriptionSession::release()
{
    m_isClosed = true;
    if (m_positionTimer)
        m_positionTimer->stop();
    m_engine->unload();
    stopMediaAccess();
}

void TranscriptionSession::stopMediaAccess()
{
    if (m_mediaAccess) {
        m_mediaAccess->stop();
        m_mediaAccess.reset();
    }
}

void TranscriptionSession::setMediaMissing(bool mediaMissing)
{
    if (m_mediaMissing == mediaMissing)
        return;
    m_mediaMissing = mediaMissing;
    emit mediaMissingChanged(mediaMissing);
}

void TranscriptionSession::setSaveError(const std::optional<QString>& saveError)
{
    if (m_saveError == saveError)
        return;
    m_saveError = saveError;
    emit saveErrorChanged(saveError);
}

} // namespace dictaro
