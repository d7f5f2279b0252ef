#pragma once

#include "MediaBackend.h"
#include "SoundSettings.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace dictaro {

class MediaBackend;

// Plays one recording at a time (a sound file, or a video with or without sound) for a
// transcription session: load at a remembered position and rate, play, pause with an automatic
// rewind, exact seeks, pitch-keeping rate steps and a stretch that repeats between two marks.
// All of its rules live here; the media back end only carries them out.
class PlaybackEngine : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double currentTime READ currentTime NOTIFY currentTimeChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(double rate READ rate NOTIFY rateChanged)
    Q_PROPERTY(double volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(dictaro::Channels channels READ channels WRITE setChannels NOTIFY channelsChanged)
    Q_PROPERTY(bool voiceFilter READ voiceFilter WRITE setVoiceFilter NOTIFY voiceFilterChanged)
    Q_PROPERTY(std::optional<QString> loadError READ loadError NOTIFY loadErrorChanged)
    Q_PROPERTY(std::optional<QString> playbackError READ playbackError NOTIFY playbackErrorChanged)
    Q_PROPERTY(std::optional<QString> outputError READ outputError NOTIFY outputErrorChanged)
    Q_PROPERTY(std::optional<double> loopStart READ loopStart NOTIFY loopChanged)
    Q_PROPERTY(std::optional<double> loopEnd READ loopEnd NOTIFY loopChanged)
    Q_PROPERTY(bool hasVideo READ hasVideo NOTIFY hasVideoChanged)

public:
    // Plays through `backend`, which the engine owns from now on.
    explicit PlaybackEngine(std::unique_ptr<MediaBackend> backend, QObject* parent = nullptr);
    ~PlaybackEngine() override;

    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Seconds before the end from which play() starts over at the beginning.
    static constexpr double endTolerance = 0.25;
    // Media time between two position updates while playing.
    static constexpr double tickInterval = MediaBackend::positionStep;
    // Playback that ends more than this many seconds before the stated duration ended early.
    static constexpr double earlyEndTolerance = 1.0;

    bool isPlaying() const { return m_isPlaying; }
    // The tick's position; while the position is not shown, where playback is when asked.
    double currentTime() const;
    double duration() const { return m_duration; }
    double rate() const { return m_rate; }
    // How the sound is heard, in every file until changed (see SoundSettings).
    double volume() const { return m_sound.volume; }
    Channels channels() const { return m_sound.channels; }
    bool voiceFilter() const { return m_sound.voiceFilter; }
    const SoundSettings& sound() const { return m_sound; }
    // The message of the last failed load; empty when the last load did not fail.
    std::optional<QString> loadError() const { return m_loadError; }
    // Why the open file does not play as it should, such as its sound ending well before its
    // stated length; empty while nothing is known to be wrong. Cleared by load() and unload().
    std::optional<QString> playbackError() const { return m_playbackError; }
    // Why nothing can be heard although the clock runs (no sound device could be opened);
    // empty while the sound reaches a device. Follows the device, not the file.
    std::optional<QString> outputError() const { return m_outputError; }
    // True while a file is open and ready to play.
    bool isLoaded() const { return m_state == State::Ready; }
    // True while the open file has a moving picture to show (false while none is open).
    bool hasVideo() const { return m_hasVideo; }
    // The media back end, for what only it can do (drawing the picture); owned by the engine.
    MediaBackend* backend() const { return m_backend.get(); }

    // Opens `path` after unloading the current file. The result comes later on the event loop:
    // true when the file is ready at `initialPosition` (clamped to the file) and
    // `initialRate` (clamped to the rate limits), false when it cannot be played (loadError is
    // then set). It is reported through loadFinished() and `done`. A later load() or unload()
    // supersedes this one: loadFinished() is then not emitted for it and `done` gets false.
    // `done` is never called once the engine is destroyed.
    void load(const QString& path, double initialPosition, double initialRate,
              std::function<void(bool)> done = {});
    void unload();
    void play();
    // Pauses and rewinds by `autoRewindSeconds` from the current position; nothing while paused.
    void pause(double autoRewindSeconds);
    void seek(double seconds);
    void changeRate(double delta);
    // The volume is clamped to SoundSettings' limits; a step lands on the grid of volumeStep.
    void setVolume(double percent);
    void changeVolume(double delta);
    void setChannels(Channels channels);
    void setVoiceFilter(bool on);
    void setSound(const SoundSettings& sound);
    // Whether the window that shows the position is on screen. While it is not (minimised or
    // hidden), currentTime is not reported as it moves (reading it gives where playback is).
    void setPositionShown(bool shown);

    // The marks of the stretch that repeats, within the file; a mark may be set alone. Both go
    // with the file (load() and unload() clear them) and are never saved.
    std::optional<double> loopStart() const { return m_loopStart; }
    std::optional<double> loopEnd() const { return m_loopEnd; }
    // Whether playback repeats [loopStart, loopEnd): both marks set, at least
    // PlaybackLogic::minLoopLength apart.
    bool isLooping() const;
    // Marks a stretch end. A mark on the wrong side of the other one swaps the two.
    void setLoopStart(double seconds);
    void setLoopEnd(double seconds);
    // Sets both marks at once, in either order.
    void setLoop(double a, double b);
    void clearLoop();

    // Where the last pause stopped, before its rewind, until the next seek, play or load.
    std::optional<double> pausedAt() const { return m_pausedAt; }

signals:
    void isPlayingChanged(bool isPlaying);
    void currentTimeChanged(double currentTime);
    void durationChanged(double duration);
    void rateChanged(double rate);
    void volumeChanged(double volume);
    void channelsChanged(dictaro::Channels channels);
    void voiceFilterChanged(bool voiceFilter);
    void loadErrorChanged(const std::optional<QString>& loadError);
    void playbackErrorChanged(const std::optional<QString>& playbackError);
    void outputErrorChanged(const std::optional<QString>& outputError);
    void hasVideoChanged(bool hasVideo);
    // The result of the latest load().
    void loadFinished(bool ready);
    void loopChanged();

private:
    enum class State { Empty, Loading, Ready };

    void onOpened(double duration, bool hasAudio, bool hasVideo);
    void onFailed();
    void onPosition(double seconds);
    void onDuration(double seconds);
    void onEnded(double position);
    void onOutput(bool hasOutput);

    void failLoad();
    void reportLoad(bool ready);
    void setIsPlaying(bool isPlaying);
    void setCurrentTime(double currentTime);
    void setDuration(double duration);
    void setRate(double rate);
    void setLoadError(const std::optional<QString>& loadError);
    void setPlaybackError(const std::optional<QString>& playbackError);
    void applyLoop(std::optional<double> start, std::optional<double> end);
    void setHasVideo(bool hasVideo);

    std::unique_ptr<MediaBackend> m_backend;
    State m_state = State::Empty;
    bool m_isPlaying = false;
    bool m_positionShown = true;
    double m_currentTime = 0.0;
    double m_duration = 0.0;
    double m_rate = 1.0;
    SoundSettings m_sound;
    std::optional<QString> m_loadError;
    std::optional<QString> m_playbackError;
    std::optional<QString> m_outputError;
    std::optional<double> m_loopStart;
    std::optional<double> m_loopEnd;
    std::optional<double> m_pausedAt;
    bool m_hasVideo = false;

    // The load in progress, and a number that changes with every load() and unload().
    double m_pendingPosition = 0.0;
    double m_pendingRate = 1.0;
    std::function<void(bool)> m_pendingDone;
    quint64 m_loadSerial = 0;
};

} // namespace dictaro
