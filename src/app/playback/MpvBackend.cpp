#include "MpvBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <mpv/client.h>

#include <algorithm>
#include <cmath>
#include <limits>

static_assert(MPV_CLIENT_API_VERSION >= MPV_MAKE_VERSION(1, 108),
              "playlist entry ids in file events are needed to tell files apart");

namespace dictaro {

namespace {

// reply_userdata of the observed properties.
enum ObservedProperty : std::uint64_t { Duration = 1, EofReached, CurrentOutput };

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
// How long after the clock should have passed a step it is read: the clock moves in steps of the
// output's buffer, and a read just before it moves on costs a wakeup that shows nothing.
constexpr int positionReadDelayMSecs = 15;

// No picture until a surface asks for one (vid=no; setVideoEnabled), never a window of its own
// (its video output draws only through a render context, or nowhere), never a terminal, user
// configuration or scripts; files stay open at their end so that the end can be seen and playback
// restarted; exact seeks. Playlists and other references inside a file are not followed, so a file
// can never make the player open another.
const MpvBackend::Options& defaultOptions()
{
    static const MpvBackend::Options options = {
        {"config", "no"},
        {"terminal", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        // Nor the built-in scripts: each would start a Lua interpreter on a thread of its own.
        {"osc", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"idle", "yes"},
        {"vid", "no"},
        {"vo", "null"},
        {"osd-level", "0"},
        {"osd-bar", "no"},
        {"sid", "no"},
        {"sub-auto", "no"},
        {"audio-display", "no"},
        {"cover-art-auto", "no"},
        {"resume-playback", "no"},
        {"access-references", "no"},
        {"keep-open", "yes"},
        {"pause", "yes"},
        {"hr-seek", "yes"},
        // Exact seeks start decoding this much earlier: MP3 and AAC decoders need a few frames
        // before their output is right, and without this the first tens of milliseconds after
        // every seek (each pause with rewind, each skip) would be garbled.
        {"hr-seek-demuxer-offset", "0.2"},
        {"audio-fallback-to-null", "yes"},
        {"audio-client-name", "Dictaro"},
        // Up to twice the recording's amplitude (a libmpv volume of 126), for quiet speakers.
        {"volume-max", "200"},
    };
    return options;
}

} // namespace

MpvBackend::MpvBackend(const Options& extraOptions, QObject* parent) : MediaBackend(parent)
{
    // A seek that never reports its end must not hold back positions and playing for good.
    m_seekWatchdog.setSingleShot(true);
    m_seekWatchdog.setInterval(2000);
    connect(&m_seekWatchdog, &QTimer::timeout, this, [this] {
        if (m_seekPending) {
            finishSeek();
            checkEnd();
        }
    });
    m_positionPoll.setSingleShot(true);
    m_positionPoll.setTimerType(Qt::PreciseTimer);
    connect(&m_positionPoll, &QTimer::timeout, this, &MpvBackend::pollPosition);
    m_mpv = mpv_create();
    if (!m_mpv)
        return;
    // An option this libmpv does not know is skipped; none of them is needed to play.
    for (const auto& [name, value] : defaultOptions())
        mpv_set_option_string(m_mpv, name.constData(), value.constData());
    for (const auto& [name, value] : extraOptions) {
        mpv_set_option_string(m_mpv, name.constData(), value.constData());
        if (name == "ao")
            m_silentOnPurpose = value.split(',').constFirst().trimmed().startsWith("null");
    }
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
    // Observed without a value: every possible change wakes us up, and the value is read when it
    // can be trusted (see checkEnd).
    mpv_observe_property(m_mpv, EofReached, "eof-reached", MPV_FORMAT_NONE);
    // With no device to open, libmpv falls back to its null output (audio-fallback-to-null) and
    // the file plays on with a running clock: the output's name is the one sign of it.
    mpv_observe_property(m_mpv, CurrentOutput, "current-ao", MPV_FORMAT_STRING);
    mpv_set_wakeup_callback(m_mpv, &MpvBackend::wakeup, this);
}

MpvBackend::~MpvBackend()
{
    if (!m_mpv)
        return;
    // libmpv runs the callback under a lock that this call takes, so once it returns no wakeup
    // is running or will run. Drains already posted die with this object.
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

MpvBackend::Options MpvBackend::silentOutputOptions()
{
    return {{"ao", "null"}, {"ao-null-buffer", "0.02"}};
}

// Called by libmpv from any of its threads, and sometimes from inside a client call on ours. It
// must not call libmpv: it only posts one drain to this object's thread.
void MpvBackend::wakeup(void* context)
{
    auto* self = static_cast<MpvBackend*>(context);
    if (!self->m_drainQueued.exchange(true))
        QMetaObject::invokeMethod(self, &MpvBackend::drain, Qt::QueuedConnection);
}

void MpvBackend::drain()
{
    m_drainQueued.store(false);
    // A slot connected to one of our signals may delete us, or run a nested event loop that
    // drains; the event data of libmpv is valid only until the next mpv_wait_event.
    // A nested drain leaves the rest to the outer one.
    if (m_draining)
        return;
    m_draining = true;
    QPointer<MpvBackend> alive(this);
    while (m_mpv) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
        if (!alive)
            return;
    }
    m_draining = false;
}

void MpvBackend::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        const auto* data = static_cast<const mpv_event_start_file*>(event.data);
        if (m_entryId != 0 && data->playlist_entry_id == m_entryId)
            m_started = true;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (m_started)
            m_fileLoaded = true;
        break;
    case MPV_EVENT_END_FILE: {
        // Our own close() and replacements forget the entry first, so any end of the current
        // entry is a failure: an error, a file that turned out to be a playlist, or an end
        // that keep-open should have prevented.
        const auto* data = static_cast<const mpv_event_end_file*>(event.data);
        if (m_entryId == 0 || data->playlist_entry_id != m_entryId)
            break;
        // No sound to play: a video without a sound track plays its picture, so it is opened
        // again with its picture on (reportOpened refuses it if that is a still image).
        if (data->reason == MPV_END_FILE_REASON_ERROR && data->error == MPV_ERROR_NOTHING_TO_PLAY &&
            !m_pictureOnly && !m_path.isEmpty()) {
            m_pictureOnly = true;
            m_entryId = 0;
            m_started = false;
            m_fileLoaded = false;
            const char* load[] = {"loadfile", m_path.constData(), "replace", "vid=auto", nullptr};
            loadEntry(load);
            break;
        }
        QString reason;
        if (data->reason == MPV_END_FILE_REASON_ERROR)
            reason = QString::fromUtf8(mpv_error_string(data->error));
        else if (data->reason == MPV_END_FILE_REASON_REDIRECT)
            reason = QStringLiteral("the file refers to other files");
        else
            reason = QStringLiteral("the file was closed by the player");
        const char* stop[] = {"stop", nullptr};
        mpv_command(m_mpv, stop);
        resetFileState();
        emit failed(reason);
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART: {
        // The first restart after loading: the audio decoder and output run and the start is
        // ready to play. Only now is the file reported open; a file whose audio cannot be
        // decoded ends in an error before this point.
        if (m_fileLoaded && !m_loaded) {
            m_loaded = true;
            reportOpened();
            break;
        }
        if (!m_loaded)
            break;
        const bool seekDone = m_seekPending;
        if (seekDone)
            finishSeek();
        QPointer<MpvBackend> alive(this);
        checkEnd();
        if (alive && seekDone)
            emit seekFinished();
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        // The output opens while the file loads, before it is reported open.
        if (event.reply_userdata == CurrentOutput) {
            if (property->format == MPV_FORMAT_STRING)
                noteOutput(*static_cast<const char* const*>(property->data));
            break;
        }
        if (!m_loaded)
            break;
        if (event.reply_userdata == EofReached) {
            checkEnd();
        } else if (property->format == MPV_FORMAT_DOUBLE) {
            const double value = *static_cast<const double*>(property->data);
            if (event.reply_userdata == Duration && std::isfinite(value) &&
                value != m_lastDuration) {
                m_lastDuration = value;
                emit durationChanged(value);
            }
        }
        break;
    }
    case MPV_EVENT_SHUTDOWN:
        if (m_entryId != 0) {
            resetFileState();
            emit failed(QStringLiteral("the player shut down"));
        }
        break;
    default: break;
    }
}

void MpvBackend::reportOpened()
{
    double duration = notANumber;
    if (mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &duration) < 0)
        duration = notANumber;
    std::int64_t audioTrack = 0;
    const bool hasAudio =
        mpv_get_property(m_mpv, "current-tracks/audio/id", MPV_FORMAT_INT64, &audioTrack) >= 0;
    findVideoTrack();
    m_lastDuration = duration;
    if (m_pictureOnly && m_videoTrack == 0) {
        // A still image (or a cover alone) is no recording.
        const char* stop[] = {"stop", nullptr};
        mpv_command(m_mpv, stop);
        resetFileState();
        emit failed(QStringLiteral("the file has neither sound nor a moving picture"));
        return;
    }
    applyVideo();
    emit opened(duration, hasAudio, m_videoTrack != 0);
}

// The first moving picture of the file: cover art and still images are pictures of a sound
// file, not video.
void MpvBackend::findVideoTrack()
{
    m_videoTrack = 0;
    mpv_node tracks{};
    if (mpv_get_property(m_mpv, "track-list", MPV_FORMAT_NODE, &tracks) < 0)
        return;
    if (tracks.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < tracks.u.list->num && m_videoTrack == 0; ++i) {
            const mpv_node& track = tracks.u.list->values[i];
            if (track.format != MPV_FORMAT_NODE_MAP)
                continue;
            bool video = false;
            bool still = false;
            std::int64_t id = 0;
            const mpv_node_list* map = track.u.list;
            for (int k = 0; k < map->num; ++k) {
                const mpv_node& value = map->values[k];
                const char* key = map->keys[k];
                if (qstrcmp(key, "type") == 0 && value.format == MPV_FORMAT_STRING)
                    video = qstrcmp(value.u.string, "video") == 0;
                else if ((qstrcmp(key, "albumart") == 0 || qstrcmp(key, "image") == 0) &&
                         value.format == MPV_FORMAT_FLAG)
                    still = still || value.u.flag;
                else if (qstrcmp(key, "id") == 0 && value.format == MPV_FORMAT_INT64)
                    id = value.u.int64;
            }
            if (video && !still && id > 0)
                m_videoTrack = id;
        }
    }
    mpv_free_node_contents(&tracks);
}

void MpvBackend::setVideoEnabled(bool enabled)
{
    if (m_videoEnabled == enabled)
        return;
    m_videoEnabled = enabled;
    applyVideo();
}

// The video output is the render context's only while a surface wants the picture, and the
// null output otherwise: the render context may go away at any time after that. A file with
// sound decodes its picture only while it is shown; a file without sound always decodes it,
// since its picture is what keeps its clock running. libmpv starts a new video output when the
// output option changes during playback.
void MpvBackend::applyVideo()
{
    if (!m_mpv)
        return;
    const bool show = m_videoEnabled && m_videoTrack != 0;
    if (show) {
        mpv_set_property_string(m_mpv, "vo", "libmpv");
        if (!m_pictureOnly) {
            const QByteArray track = QByteArray::number(m_videoTrack);
            mpv_set_property_string(m_mpv, "vid", track.constData());
        }
    } else {
        if (!m_pictureOnly && m_loaded)
            mpv_set_property_string(m_mpv, "vid", "no");
        mpv_set_property_string(m_mpv, "vo", "null");
    }
}

// eof-reached is read, not taken from the change event: until a seek has been carried out it
// may still describe the position before the seek, and a quick end, seek, end again can be
// folded into one unchanged value.
void MpvBackend::checkEnd()
{
    if (!m_loaded || m_seekPending)
        return;
    int eof = 0;
    if (mpv_get_property(m_mpv, "eof-reached", MPV_FORMAT_FLAG, &eof) < 0)
        return;
    if (!eof) {
        m_endReported = false;
        return;
    }
    if (m_endReported)
        return;
    m_endReported = true;
    double position = notANumber;
    if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &position) < 0)
        position = notANumber;
    emit ended(position);
}

void MpvBackend::open(const QString& path)
{
    ++m_openSerial;
    resetFileState();
    if (!m_mpv) {
        failSoon(QStringLiteral("libmpv could not be started"));
        return;
    }
    // Every file starts paused, whatever the previous one was doing.
    applyPause(true);
    const char* stop[] = {"stop", nullptr};
    // Only regular files: an absolute path is never taken for a URL, a stream or a directory.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        mpv_command(m_mpv, stop);
        failSoon(info.exists() ? QStringLiteral("not a regular file")
                               : QStringLiteral("no such file"));
        return;
    }
    // A previous file's picture is not carried over to this one.
    mpv_set_property_string(m_mpv, "vid", "no");
    m_path = QFile::encodeName(info.absoluteFilePath());
    const char* load[] = {"loadfile", m_path.constData(), "replace", nullptr};
    loadEntry(load);
}

void MpvBackend::loadEntry(const char** load)
{
    const char* stop[] = {"stop", nullptr};
    mpv_node result{};
    if (mpv_command_ret(m_mpv, load, &result) < 0) {
        mpv_command(m_mpv, stop);
        failSoon(QStringLiteral("the player did not accept the file"));
        return;
    }
    if (result.format == MPV_FORMAT_NODE_MAP) {
        const mpv_node_list* map = result.u.list;
        for (int i = 0; i < map->num; ++i) {
            if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 &&
                map->values[i].format == MPV_FORMAT_INT64)
                m_entryId = map->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);
    if (m_entryId == 0) {
        mpv_command(m_mpv, stop);
        failSoon(QStringLiteral("the player did not accept the file"));
    }
}

void MpvBackend::close()
{
    ++m_openSerial;
    resetFileState();
    if (!m_mpv)
        return;
    applyPause(true);
    const char* stop[] = {"stop", nullptr};
    mpv_command(m_mpv, stop);
}

void MpvBackend::seek(double seconds)
{
    if (!m_mpv || !m_loaded || !std::isfinite(seconds))
        return;
    // Fixed notation: never a locale's decimal comma, never an exponent.
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    const char* command[] = {"seek", target.constData(), "absolute+exact", nullptr};
    if (mpv_command(m_mpv, command) >= 0) {
        m_seekPending = true;
        m_endReported = false;
        m_seekWatchdog.start();
    }
}

void MpvBackend::setRate(double rate)
{
    if (!m_mpv)
        return;
    mpv_set_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &rate);
    if (rate > 0.0)
        m_rate = rate;
}

// libmpv scales the amplitude by the cube of its volume; ours is the amplitude itself, so that
// 50 % halves it and 200 % doubles it.
void MpvBackend::setVolume(double percent)
{
    double volume = 100.0 * std::cbrt(std::max(percent, 0.0) / 100.0);
    if (m_mpv)
        mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &volume);
}

// One FFmpeg filter graph. A single channel is taken from a stereo version of the sound, so that a
// mono recording (which has no right channel of its own) still plays, and filtered on its own
// before it is put on both ears at full level. The voice filter keeps the speech band (two
// high-pass stages take mains hum down by about 30 dB), reduces steady noise, and levels the
// loudness with a short look-ahead so that playback starts promptly after a seek.
QByteArray MpvBackend::audioFilters(Channels channels, bool voiceFilter)
{
    QByteArrayList filters;
    if (channels != Channels::Both) {
        filters << "aformat=channel_layouts=stereo";
        filters << (channels == Channels::Left ? "pan=mono|c0=c0" : "pan=mono|c0=c1");
    }
    if (voiceFilter) {
        filters << "highpass=f=120"
                << "highpass=f=120"
                << "lowpass=f=7000"
                << "afftdn"
                << "dynaudnorm=f=100:g=5";
    }
    if (channels != Channels::Both)
        filters << "pan=stereo|c0=c0|c1=c0";
    return filters.isEmpty() ? QByteArray() : "lavfi=[" + filters.join(',') + ']';
}

void MpvBackend::setSoundShaping(Channels channels, bool voiceFilter)
{
    if (m_mpv)
        mpv_set_property_string(m_mpv, "af", audioFilters(channels, voiceFilter).constData());
}

void MpvBackend::setPaused(bool paused)
{
    if (!m_mpv)
        return;
    m_wantPlaying = !paused;
    // Playing starts once a pending seek has been carried out. A seek asked for while the
    // player is still starting up can otherwise run only after it has put out sound from the
    // old position.
    if (paused || !m_seekPending)
        applyPause(paused);
}

void MpvBackend::setLoop(double start, double end)
{
    if (!m_mpv)
        return;
    mpv_set_property(m_mpv, "ab-loop-a", MPV_FORMAT_DOUBLE, &start);
    mpv_set_property(m_mpv, "ab-loop-b", MPV_FORMAT_DOUBLE, &end);
}

void MpvBackend::clearLoop()
{
    if (!m_mpv)
        return;
    mpv_set_property_string(m_mpv, "ab-loop-a", "no");
    mpv_set_property_string(m_mpv, "ab-loop-b", "no");
}

void MpvBackend::applyPause(bool paused)
{
    int flag = paused ? 1 : 0;
    mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &flag);
    m_paused = paused;
    if (paused)
        m_positionPoll.stop();
    else if (m_loaded && !m_seekPending)
        m_positionPoll.start(0);
}

void MpvBackend::setPositionShown(bool shown)
{
    if (shown == m_positionShown)
        return;
    m_positionShown = shown;
    // Shown again: the screen catches up at once. Hidden: nothing is read until then.
    if (shown && !m_paused && m_loaded && !m_seekPending)
        m_positionPoll.start(0);
}

double MpvBackend::position() const
{
    double position = notANumber;
    if (!m_mpv || !m_loaded || m_seekPending ||
        mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &position) < 0)
        return notANumber;
    return position;
}

void MpvBackend::finishSeek()
{
    m_seekPending = false;
    m_seekWatchdog.stop();
    if (m_wantPlaying)
        applyPause(false);
}

void MpvBackend::pollPosition()
{
    if (!m_mpv || !m_loaded || m_seekPending || m_paused)
        return;
    double position = notANumber;
    if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &position) < 0 ||
        !std::isfinite(position)) {
        m_positionPoll.start(50); // not known yet while the player starts up
        return;
    }
    QPointer<MpvBackend> alive(this);
    emit positionChanged(position);
    if (alive)
        schedulePositionPoll(position);
}

// Reads again just after the clock passes the next step, at the speed it runs; a little early
// is harmless (it reads once more), and the clock never runs much faster than its speed.
void MpvBackend::schedulePositionPoll(double position)
{
    if (m_paused || m_seekPending || !m_loaded || !m_positionShown)
        return;
    const double next = (std::floor(position / positionStep) + 1.0) * positionStep;
    const double wait = (next - position) / m_rate;
    m_positionPoll.start(
        std::clamp(int(std::ceil(wait * 1000.0)) + positionReadDelayMSecs, 10, 1000));
}

void MpvBackend::failSoon(const QString& reason)
{
    QTimer::singleShot(0, this, [this, serial = m_openSerial, reason] {
        if (serial == m_openSerial)
            emit failed(reason);
    });
}

// Between files there is no output at all, which says nothing about the device.
void MpvBackend::noteOutput(const char* output)
{
    if (!output || !*output)
        return;
    const bool hasOutput = m_silentOnPurpose || qstrcmp(output, "null") != 0;
    if (m_hasOutput == hasOutput)
        return;
    m_hasOutput = hasOutput;
    emit outputChanged(hasOutput);
}

void MpvBackend::resetFileState()
{
    m_entryId = 0;
    m_started = false;
    m_fileLoaded = false;
    m_loaded = false;
    m_seekPending = false;
    m_endReported = false;
    m_wantPlaying = false;
    m_seekWatchdog.stop();
    m_positionPoll.stop();
    m_lastDuration = notANumber;
    m_videoTrack = 0;
    m_pictureOnly = false;
    m_path.clear();
}

} // namespace dictaro
