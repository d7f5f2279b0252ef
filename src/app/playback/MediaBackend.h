#pragma once

#include "SoundSettings.h"

#include <QObject>
#include <QString>

#include <limits>

namespace dictaro {

// The few media operations the playback engine needs, so that its rules can run over libmpv or a
// test double. A back end only translates: it decides nothing about what the engine shows.
//
// Contract for implementations:
// - Signals are emitted from the event loop, never from inside one of the calls below.
// - After open() or close(), nothing of an earlier file is reported any more.
// - Between open() and opened() or failed(), no other signal of the new file is emitted.
//   outputChanged() is about the sound device, not the file, and may come at any time.
class MediaBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~MediaBackend() override = default;

    // Media time between two position reports that a view needs (see positionChanged).
    static constexpr double positionStep = 0.25;

    // Starts opening the file at `path`, paused at its start. Answers with opened() or failed().
    virtual void open(const QString& path) = 0;
    // Closes the current file, if any, and stops its sound.
    virtual void close() = 0;
    // Moves to `seconds` exactly, neither starting nor stopping playback.
    virtual void seek(double seconds) = 0;
    // Sets the playback speed; pitch is kept.
    virtual void setRate(double rate) = 0;
    virtual void setPaused(bool paused) = 0;
    // Repeats [start, end) once playback reaches `end`, going back to `start`; start < end.
    virtual void setLoop(double start, double end) = 0;
    // Plays on past the end of the stretch again.
    virtual void clearLoop() = 0;
    // Sets the loudness in percent, SoundSettings::minVolume to maxVolume (above 100 boosts).
    // It applies to every file from now on.
    virtual void setVolume(double /*percent*/) {}
    // Chooses the channels heard and whether the voice filter runs, for every file from now on.
    virtual void setSoundShaping(Channels /*channels*/, bool /*voiceFilter*/) {}
    // Whether anything on screen shows the position. While nothing does, it is not reported;
    // it is at once when it is shown again.
    virtual void setPositionShown(bool /*shown*/) {}
    // Where the clock is now, while it runs; NaN when that is not known (no file, a seek
    // pending, or a back end that only reports).
    virtual double position() const { return std::numeric_limits<double>::quiet_NaN(); }

signals:
    // The file is open and paused at its start. `duration` may be NaN or infinite when the
    // length is unknown; `hasAudio` is false when no audio track can be played; `hasVideo` is
    // true when the file has a moving picture (cover art is no video).
    void opened(double duration, bool hasAudio, bool hasVideo = false);
    // Opening failed, or the open file can no longer be played. `reason` is for diagnostics.
    void failed(const QString& reason);
    // The playback position while the clock runs: at least once after each multiple of
    // positionStep it passes (while shown), and seldom much more often. Positions from before a
    // seek are not reported once the seek has been asked for.
    void positionChanged(double seconds);
    // A revised length (some formats only estimate it until they are read further).
    void durationChanged(double seconds);
    // Playback reached the end of the media, at `position` seconds (NaN when unknown); the clock
    // stops there. A damaged or cut-off file can end well before its stated duration.
    void ended(double position);
    // Whether the sound reaches a device: false when none could be opened and the file plays
    // silently (its clock still runs), true once one is open again. Only changes are reported.
    void outputChanged(bool hasOutput);
};

} // namespace dictaro
