#include "TranscriptionSession.h"

#include "AppSettings.h"
#include "DisplayBlocks.h"
#include "LineBreaks.h"
#include "Localization.h"
#include "PlaybackEngine.h"
#include "SpeakerLabels.h"
#include "SpeakerLines.h"
#include "TimestampFormatter.h"
#include "WaveformPeaks.h"
#include "WordTokenizer.h"

#include <QFileInfo>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace dictaro {

TranscriptionSession::TranscriptionSession(Project project, ProjectStore& store,
                                           PlaybackEngine& engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_store(store), m_project(std::move(project)),
      m_document(new QTextDocument(this)), m_waveform(new WaveformPeaks(this))
{
    m_document->setPlainText(m_project.transcript);
    // Long paragraphs are shown in short blocks, so that typing in them stays quick.
    m_blocks = new DisplayBlocks(m_document);
    m_document->setModified(false);
    m_project.speakers =
        SpeakerLabels::merged(m_project.speakers, SpeakerLabels::namesIn(m_project.transcript));
    // Only edits of the text count: laying it out anew (for a new font, say) or a change of
    // format reports it all as changed, the latter with as many characters out as in.
    m_learnedRevision = m_document->revision();
    connect(m_document, &QTextDocument::contentsChange, this,
            [this](int from, int removed, int added) {
                if (m_document->revision() != m_learnedRevision && added != removed) {
                    m_learnedRevision = m_document->revision();
                    learnSpeakers(from, added);
                }
            });
    // Emitted for every change to the text, also while no editor lays the document out.
    connect(m_document, &QTextDocument::contentsChanged, this,
            &TranscriptionSession::onContentsChanged);

    m_positionTimer.setInterval(positionSaveIntervalMSecs);
    // Paused, the timer stops when it next runs out, so that a paused window is not woken every
    // five seconds for nothing; playing again starts it.
    connect(&m_positionTimer, &QTimer::timeout, this, [this] {
        if (m_engine.isPlaying())
            saveInBackground();
        else
            m_positionTimer.stop(); // until playback resumes
    });
    connect(&m_engine, &PlaybackEngine::isPlayingChanged, this, [this](bool playing) {
        if (playing && !m_isClosed && !m_positionTimer.isActive())
            m_positionTimer.start();
    });
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        if (!m_isClosed)
            saveInBackground();
    });
    m_saver.setMaxThreadCount(1);
    m_saver.setObjectName(QStringLiteral("Project saver"));

    // The sound the user sets while this project is open is its own, saved like an edit.
    const auto keepSound = [this] {
        if (!m_soundApplied || m_isClosed || m_project.sound == m_engine.sound())
            return;
        m_project.sound = m_engine.sound();
        scheduleAutosave();
    };
    connect(&m_engine, &PlaybackEngine::volumeChanged, this, keepSound);
    connect(&m_engine, &PlaybackEngine::channelsChanged, this, keepSound);
    connect(&m_engine, &PlaybackEngine::voiceFilterChanged, this, keepSound);

    m_wordCountTimer.setSingleShot(true);
    m_wordCountTimer.setInterval(wordCountDelayMSecs);
    connect(&m_wordCountTimer, &QTimer::timeout, this, &TranscriptionSession::countWords);
    m_counter.setMaxThreadCount(1);
    m_counter.setObjectName(QStringLiteral("Word counter"));
    countWords();
}

TranscriptionSession::~TranscriptionSession()
{
    // A write under way finishes; what it reports back is dropped with the session.
    m_saver.waitForDone();
    m_counter.waitForDone();
    // Whoever owns a session closes it; this only makes sure nothing outlives it.
    m_autosaver.cancel();
    stopMediaAccess();
}

QString TranscriptionSession::transcript() const
{
    if (!m_transcript) {
        m_transcript = DisplayBlocks::text(m_document);
    }
    return *m_transcript;
}

void TranscriptionSession::setTranscript(const QString& transcript)
{
    if (LineBreaks::normalized(transcript) != this->transcript()) {
        const QScopedValueRollback replacing(m_replacing, true);
        m_document->setPlainText(transcript);
        m_blocks->settle();
        m_transcript.reset();
        addSpeakers(SpeakerLabels::namesIn(this->transcript()));
        emit transcriptChanged();
    }
    scheduleAutosave();
}

void TranscriptionSession::replaceTranscriptAsEdit(const QString& transcript)
{
    QTextCursor cursor(m_document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(transcript);
    m_blocks->fixBlocks(0, cursor.position());
    cursor.endEditBlock();
}

void TranscriptionSession::onContentsChanged()
{
    m_transcript.reset();
    // Only a timer restarted per keystroke: a long text is counted once typing pauses.
    m_wordCountTimer.start();
    if (m_replacing)
        return;
    emit transcriptChanged();
    scheduleAutosave();
}

// The text is taken here (the same copy that saves take) and counted on the counting thread; a
// count that finishes after a newer one has started is dropped.
void TranscriptionSession::countWords()
{
    const quint64 number = ++m_countNumber;
    m_counter.start([this, number, text = transcript()] {
        const qsizetype count = WordTokenizer::countWords(text);
        QMetaObject::invokeMethod(
            this,
            [this, number, count] {
                if (number != m_countNumber || m_wordCount == count)
                    return;
                m_wordCount = count;
                emit wordCountChanged(m_wordCount);
            },
            Qt::QueuedConnection);
    });
}

void TranscriptionSession::learnSpeakers(int from, int charsAdded)
{
    // Typing within a line leaves its label alone until the line is finished; only an edit that
    // adds a line break (or more) is looked at, and only the lines it touched.
    if (charsAdded == 0 || m_replacing ||
        m_document->findBlock(from) == m_document->findBlock(from + charsAdded))
        return;
    addSpeakers(SpeakerLines::namesIn(m_document, from, from + charsAdded));
}

void TranscriptionSession::addSpeakers(const QStringList& names)
{
    if (names.isEmpty())
        return;
    const QStringList merged = SpeakerLabels::merged(m_project.speakers, names);
    if (merged == m_project.speakers)
        return;
    m_project.speakers = merged;
    emit speakersChanged(m_project.speakers);
}

void TranscriptionSession::setSpeakers(const QStringList& speakers)
{
    const QStringList clean = SpeakerLabels::cleanList(speakers);
    if (clean == m_project.speakers)
        return;
    m_project.speakers = clean;
    emit speakersChanged(m_project.speakers);
    scheduleAutosave();
}

void TranscriptionSession::renameSpeakers(const QList<std::pair<QString, QString>>& renames,
                                          const QStringList& speakers)
{
    SpeakerLines::rename(m_document, renames);
    setSpeakers(speakers);
}

void TranscriptionSession::scheduleAutosave()
{
    if (m_isClosed)
        return;
    m_autosaver.schedule([session = QPointer<TranscriptionSession>(this)] {
        if (session)
            session->saveInBackground();
    });
}

Project TranscriptionSession::currentRecord() const
{
    Project record = m_project;
    record.transcript = transcript();
    if (m_engine.duration() > 0) {
        record.lastPosition = m_engine.currentTime();
        record.playbackRate = m_engine.rate();
    }
    record.updatedAt = QDateTime::currentDateTimeUtc();
    return record;
}

bool TranscriptionSession::saveNow()
{
    // The write under way goes first, so that an older record never replaces this one.
    m_saver.waitForDone();
    m_writing = false;
    m_saveAgain = false;
    m_project = currentRecord();
    emit projectChanged();
    const quint64 number = ++m_saveNumber;
    try {
        m_store.save(m_project);
    } catch (const StoreError&) {
        settleSave(number, false);
        return false;
    }
    settleSave(number, true);
    return true;
}

void TranscriptionSession::saveInBackground()
{
    if (m_writing) {
        m_saveAgain = true;
        return;
    }
    m_saveAgain = false;
    m_writing = true;
    // The snapshot is taken here, between two edits; the worker has a copy of its own.
    m_project = currentRecord();
    const quint64 number = ++m_saveNumber;
    m_saver.start([this, number, record = m_project] {
        bool saved = true;
        try {
            m_store.write(record);
        } catch (const StoreError&) {
            saved = false;
        }
        // Queued: runs here once the write is done, unless the session is gone by then.
        QMetaObject::invokeMethod(
            this, [this, number, record, saved] { finishBackgroundSave(number, record, saved); },
            Qt::QueuedConnection);
    });
}

void TranscriptionSession::finishBackgroundSave(quint64 number, const Project& record, bool saved)
{
    if (number <= m_settledNumber)
        return; // saveNow() waited for it and has written a newer record since
    m_writing = false;
    if (saved)
        m_store.noteSaved(record);
    emit projectChanged();
    settleSave(number, saved);
    if (m_saveAgain && !m_isClosed)
        saveInBackground();
}

void TranscriptionSession::settleSave(quint64 number, bool saved)
{
    m_settledNumber = number;
    if (saved) {
        m_retryTimer.stop();
        m_retryTimer.setInterval(0);
        setSaveError(std::nullopt);
        return;
    }
    setSaveError(
        Localization::tr("Autosave failed. Your text is kept in memory; saving will be retried."));
    if (m_isClosed)
        return;
    // Retry without waiting for another edit: 1, 2, 4 … seconds, then every 30 seconds.
    const int next = m_retryTimer.interval() <= 0
                         ? 1000
                         : std::min(2 * m_retryTimer.interval(), maxRetryIntervalMSecs);
    m_retryTimer.start(next);
}

void TranscriptionSession::insertTimestamp(QTextCursor& cursor)
{
    // Right after a pause the turn may be stamped where the listener stopped, not where the
    // rewind has put the player.
    const std::optional<double> pausedAt = m_engine.pausedAt();
    const double seconds =
        pausedAt && AppSettings::shared().stampWherePaused() ? *pausedAt : m_engine.currentTime();
    const QString text = TimestampFormatter::stringFromSeconds(seconds) + u' ';
    // An edit block of its own, so that the insertion is never merged with the typing before
    // or after it and one undo takes exactly it back.
    cursor.beginEditBlock();
    cursor.insertText(text);
    m_blocks->fixBlocks(cursor.block().position(), cursor.position());
    cursor.endEditBlock();
}

// --- starting -----------------------------------------------------------------------------

void TranscriptionSession::start(std::function<void()> done)
{
    m_pendingStarts.append(std::move(done));
    // The oldest pending start runs; a later one begins when the one before it finishes.
    if (m_pendingStarts.size() == 1)
        QMetaObject::invokeMethod(this, &TranscriptionSession::performStart, Qt::QueuedConnection);
}

void TranscriptionSession::performStart()
{
    if (m_isClosed)
        return finishStart();
    m_engine.setSound(m_project.sound);
    m_soundApplied = true;
    setMediaMissing(false);
    stopMediaAccess();

    if (m_project.mediaBookmark)
        m_mediaAccess = ProjectStore::resolveBookmark(*m_project.mediaBookmark);
    if (!m_mediaAccess || !QFileInfo(m_mediaAccess->path()).isFile()) {
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

    m_waveform->open(m_mediaAccess->path(), m_project.lastPosition);
    m_engine.load(m_mediaAccess->path(), m_project.lastPosition, m_project.playbackRate,
                  [session = QPointer<TranscriptionSession>(this)](bool) {
                      if (!session)
                          return;
                      if (session->m_isClosed) {
                          // Closed while loading: undo the load at once.
                          session->m_engine.unload();
                          session->stopMediaAccess();
                      }
                      session->finishStart();
                  });
}

void TranscriptionSession::finishStart()
{
    std::function<void()> done = m_pendingStarts.takeFirst();
    // Decided before `done` runs, which may itself ask for another start.
    if (!m_pendingStarts.isEmpty())
        QMetaObject::invokeMethod(this, &TranscriptionSession::performStart, Qt::QueuedConnection);
    emit started();
    if (done)
        done();
}

void TranscriptionSession::relocateMedia(const QString& path, std::function<void()> done)
{
    std::optional<QByteArray> reference = ProjectStore::makeBookmark(path);
    if (reference) {
        m_engine.unload();
        m_positionTimer.stop();
        stopMediaAccess();
        m_project.mediaBookmark = std::move(reference);
        m_project.mediaFileName = QFileInfo(path).fileName();
        saveNow();
    }
    start(std::move(done));
}

// --- closing ------------------------------------------------------------------------------

QString TranscriptionSession::mediaPath() const
{
    return m_mediaAccess ? m_mediaAccess->path() : QString();
}

bool TranscriptionSession::close()
{
    if (m_isClosed)
        return true;
    emit aboutToClose();
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
    emit aboutToClose();
    m_autosaver.cancel();
    release();
}

void TranscriptionSession::release()
{
    m_isClosed = true;
    m_positionTimer.stop();
    m_retryTimer.stop();
    m_waveform->close();
    m_engine.unload();
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
