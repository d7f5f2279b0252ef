#include "PlaybackEngine.h"

#include "Localization.h"
#include "MediaBackend.h"
#include "PlaybackLogic.h"
#include "TimeFormat.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace dictaro {

namespace {

bool sameDouble(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

PlaybackEngine::PlaybackEngine(std::unique_ptr<MediaBackend> backend, QObject* parent)
    : QObject(parent), m_backend(std::move(backend))
{
    Q_ASSERT(m_backend);
    MediaBackend* media = m_backend.get();
    connect(media, &MediaBackend::opened, this, &PlaybackEngine::onOpened);
    connect(media, &MediaBackend::failed, this, &PlaybackEngine::onFailed);
    connect(media, &MediaBackend::positionChanged, this, &PlaybackEngine::onPosition);
    connect(media, &MediaBackend::durationChanged, this, &PlaybackEngine::onDuration);
    connect(media, &MediaBackend::ended, this, &PlaybackEngine::onEnded);
    connect(media, &MediaBackend::outputChanged, this, &PlaybackEngine::onOutput);
}

// The back end goes with the engine; it reports nothing while being destroyed.
PlaybackEngine::~PlaybackEngine() = default;

void PlaybackEngine::load(const QString& path, double initialPosition, double initialRate,
                          std::function<void(bool)> done)
{
    unload();
    m_state = State::Loading;
    m_pendingPosition = initialPosition;
    m_pendingRate = initialRate;
    m_pendingDone = std::move(done);
    m_backend->open(path);
}

void PlaybackEngine::unload()
{
    ++m_loadSerial;
    if (m_pendingDone) {
        QTimer::singleShot(0, this, [done = std::exchange(m_pendingDone, {})] { done(false); });
    }
    if (m_state != State::Empty)
        m_backend->close();
    m_state = State::Empty;
    setIsPlaying(false);
    setCurrentTime(0.0);
    setDuration(0.0);
    setLoadError(std::nullopt);
    setPlaybackError(std::nullopt);
    clearLoop();
    m_pausedAt.reset();
    setHasVideo(false);
}

void PlaybackEngine::play()
{
    if (m_state != State::Ready || m_isPlaying)
        return;
    if (m_duration > 0.0 && m_currentTime >= m_duration - endTolerance)
        seek(0.0);
    m_pausedAt.reset();
    m_backend->setRate(m_rate);
    m_backend->setPaused(false);
    setIsPlaying(true);
}

double PlaybackEngine::currentTime() const
{
    // Unshown, no ticks come; what acts on the position (a pause and its rewind, skips,
    // stamps, loop marks) acts on where playback is.
    if (!m_positionShown && m_isPlaying && m_state == State::Ready) {
        const double now = m_backend->position();
        if (std::isfinite(now))
            return std::clamp(now, 0.0, m_duration);
    }
    return m_currentTime;
}

void PlaybackEngine::setPositionShown(bool shown)
{
    m_positionShown = shown;
    m_backend->setPositionShown(shown);
}

void PlaybackEngine::pause(double autoRewindSeconds)
{
    if (m_state != State::Ready || !m_isPlaying)
        return;
    const double stoppedAt = currentTime();
    m_backend->setPaused(true);
    setIsPlaying(false);
    // Also with a rewind of 0: the player is put back exactly where the user saw it stop.
    seek(PlaybackLogic::autoRewindTarget(stoppedAt, autoRewindSeconds));
    m_pausedAt = stoppedAt;
}

void PlaybackEngine::seek(double seconds)
{
    m_pausedAt.reset();
    const double target = PlaybackLogic::skipTarget(seconds, 0.0, m_duration);
    setCurrentTime(target);
    if (m_state == State::Ready)
        m_backend->seek(target);
}

void PlaybackEngine::changeRate(double delta)
{
    setRate(PlaybackLogic::steppedRate(m_rate, delta));
    if (m_state == State::Ready && m_isPlaying)
        m_backend->setRate(m_rate);
}

void PlaybackEngine::setVolume(double percent)
{
    const double volume = SoundSettings::clampedVolume(percent);
    if (volume == m_sound.volume)
        return;
    m_sound.volume = volume;
    m_backend->setVolume(volume);
    emit volumeChanged(volume);
}

void PlaybackEngine::changeVolume(double delta)
{
    setVolume(SoundSettings::steppedVolume(m_sound.volume, delta));
}

void PlaybackEngine::setChannels(Channels channels)
{
    if (channels == m_sound.channels)
        return;
    m_sound.channels = channels;
    m_backend->setSoundShaping(channels, m_sound.voiceFilter);
    emit channelsChanged(channels);
}

void PlaybackEngine::setVoiceFilter(bool on)
{
    if (on == m_sound.voiceFilter)
        return;
    m_sound.voiceFilter = on;
    m_backend->setSoundShaping(m_sound.channels, on);
    emit voiceFilterChanged(on);
}

void PlaybackEngine::setSound(const SoundSettings& sound)
{
    setVolume(sound.volume);
    setChannels(sound.channels);
    setVoiceFilter(sound.voiceFilter);
}

bool PlaybackEngine::isLooping() const
{
    return m_loopStart && m_loopEnd && *m_loopEnd - *m_loopStart >= PlaybackLogic::minLoopLength;
}

void PlaybackEngine::setLoopStart(double seconds)
{
    if (m_state != State::Ready || !std::isfinite(seconds))
        return;
    if (m_loopEnd)
        setLoop(seconds, *m_loopEnd);
    else
        applyLoop(PlaybackLogic::skipTarget(seconds, 0.0, m_duration), std::nullopt);
}

void PlaybackEngine::setLoopEnd(double seconds)
{
    if (m_state != State::Ready || !std::isfinite(seconds))
        return;
    if (m_loopStart)
        setLoop(*m_loopStart, seconds);
    else
        applyLoop(std::nullopt, PlaybackLogic::skipTarget(seconds, 0.0, m_duration));
}

void PlaybackEngine::setLoop(double a, double b)
{
    if (m_state != State::Ready || !std::isfinite(a) || !std::isfinite(b))
        return;
    const PlaybackLogic::LoopStretch stretch = PlaybackLogic::loopStretch(a, b, m_duration);
    applyLoop(stretch.start, stretch.end);
}

void PlaybackEngine::clearLoop()
{
    applyLoop(std::nullopt, std::nullopt);
}

void PlaybackEngine::applyLoop(std::optional<double> start, std::optional<double> end)
{
    if (start == m_loopStart && end == m_loopEnd)
        return;
    const bool wasLooping = isLooping();
    m_loopStart = start;
    m_loopEnd = end;
    if (isLooping())
        m_backend->setLoop(*m_loopStart, *m_loopEnd);
    else if (wasLooping)
        m_backend->clearLoop();
    emit loopChanged();
}

void PlaybackEngine::onOpened(double duration, bool hasAudio, bool hasVideo)
{
    if (m_state != State::Loading)
        return;
    if ((!hasAudio && !hasVideo) || !std::isfinite(duration) || duration < 0.0) {
        failLoad();
        return;
    }
    m_state = State::Ready;
    setDuration(duration);
    setLoadError(std::nullopt);
    setHasVideo(hasVideo);
    // The picture plays on its own; the user should not look for a fault in the sound device.
    if (!hasAudio)
        setPlaybackError(Localization::tr("This video has no sound."));
    // The rate is only remembered here; the player takes it when playing starts.
    setRate(PlaybackLogic::clampedRate(m_pendingRate));
    seek(m_pendingPosition);
    reportLoad(true);
}

void PlaybackEngine::onFailed()
{
    // While loading this ends the load; once loaded, the file has become unplayable and is
    // released the same way, so that the engine never claims a file it cannot play.
    if (m_state != State::Empty)
        failLoad();
}

void PlaybackEngine::failLoad()
{
    const bool wasLoading = m_state == State::Loading;
    m_state = State::Empty;
    m_backend->close();
    setIsPlaying(false);
    setCurrentTime(0.0);
    setDuration(0.0);
    setLoadError(Localization::tr("This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC."));
    setPlaybackError(std::nullopt);
    clearLoop();
    m_pausedAt.reset();
    setHasVideo(false);
    if (wasLoading)
        reportLoad(false);
}

// Ticks: one update of currentTime for every quarter second of media time crossed, and one
// when a loop goes back to its start. Positions that arrive while paused are late reports and
// never move what a pause or seek has set.
void PlaybackEngine::onPosition(double seconds)
{
    if (m_state != State::Ready || !m_isPlaying || !std::isfinite(seconds))
        return;
    const double position = std::clamp(seconds, 0.0, m_duration);
    // The player's own seek back may report a position from just before the start of the
    // stretch, where its decoder starts; what is heard starts at the stretch.
    if (isLooping() && position < m_currentTime)
        setCurrentTime(std::max(position, *m_loopStart));
    else if (std::floor(position / tickInterval) > std::floor(m_currentTime / tickInterval))
        setCurrentTime(position);
}

// Some formats only estimate their length until they are read further; following the revisions
// lets the position reach the real end.
void PlaybackEngine::onDuration(double seconds)
{
    if (m_state != State::Ready || !std::isfinite(seconds) || seconds < 0.0)
        return;
    setDuration(seconds);
    if (m_currentTime > seconds)
        setCurrentTime(seconds);
}

void PlaybackEngine::onEnded(double position)
{
    if (m_state != State::Ready || !m_isPlaying)
        return;
    // The player keeps running at its end; pause it so that a later seek stays silent.
    m_backend->setPaused(true);
    setIsPlaying(false);
    // A file cut off after its header was written (an interrupted copy or recording) states
    // the full length but has sound only up to the cut. Its real end becomes its length, so
    // that the position does not leap to a time that cannot be heard, and the user is told.
    if (std::isfinite(position) && position >= 0.0 && position < m_duration - earlyEndTolerance) {
        setPlaybackError(
            Localization::tr("The sound of this file ends at %1, before its stated length of %2. "
                             "The file may be incomplete or damaged.")
                .arg(TimeFormat::timeString(position), TimeFormat::timeString(m_duration)));
        setDuration(position);
    }
    setCurrentTime(m_duration);
}

void PlaybackEngine::onOutput(bool hasOutput)
{
    std::optional<QString> error;
    if (!hasOutput)
        error = Localization::tr("No sound device could be opened, so the recording plays without "
                                 "sound. Check the sound settings, then open the project again.");
    if (m_outputError == error)
        return;
    m_outputError = error;
    emit outputErrorChanged(m_outputError);
}

void PlaybackEngine::setPlaybackError(const std::optional<QString>& playbackError)
{
    if (m_playbackError == playbackError)
        return;
    m_playbackError = playbackError;
    emit playbackErrorChanged(m_playbackError);
}

void PlaybackEngine::setHasVideo(bool hasVideo)
{
    if (m_hasVideo == hasVideo)
        return;
    m_hasVideo = hasVideo;
    emit hasVideoChanged(m_hasVideo);
}

void PlaybackEngine::reportLoad(bool ready)
{
    QTimer::singleShot(
        0, this, [this, serial = m_loadSerial, done = std::exchange(m_pendingDone, {}), ready] {
            const bool current = serial == m_loadSerial;
            if (current)
                emit loadFinished(ready);
            if (done)
                done(current && ready);
        });
}

void PlaybackEngine::setIsPlaying(bool isPlaying)
{
    if (m_isPlaying == isPlaying)
        return;
    m_isPlaying = isPlaying;
    emit isPlayingChanged(m_isPlaying);
}

void PlaybackEngine::setCurrentTime(double currentTime)
{
    if (sameDouble(m_currentTime, currentTime))
        return;
    m_currentTime = currentTime;
    emit currentTimeChanged(m_currentTime);
}

void PlaybackEngine::setDuration(double duration)
{
    if (sameDouble(m_duration, duration))
        return;
    m_duration = duration;
    emit durationChanged(m_duration);
}

void PlaybackEngine::setRate(double rate)
{
    if (sameDouble(m_rate, rate))
        return;
    m_rate = rate;
    emit rateChanged(m_rate);
}

void PlaybackEngine::setLoadError(const std::optional<QString>& loadError)
{
    if (m_loadError == loadError)
        return;
    m_loadError = loadError;
    emit loadErrorChanged(m_loadError);
}

} // namespace dictaro
