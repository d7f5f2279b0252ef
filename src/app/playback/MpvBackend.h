#pragma once

#include "MediaBackend.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <optional>

struct mpv_handle;
struct mpv_event;

namespace dictaro {

// The media back end on libmpv's client API: one mpv handle, owned and used on the thread that
// created this object (the GUI thread). The process must have LC_NUMERIC set to "C" before the
// first back end is created, or libmpv refuses to start and every open() fails.
class MpvBackend final : public MediaBackend
{
    Q_OBJECT

public:
    using Options = QList<QPair<QByteArray, QByteArray>>;

    // `extraOptions` are libmpv options applied after the defaults, e.g. {"ao", "null"}.
    explicit MpvBackend(const Options& extraOptions = {}, QObject* parent = nullptr);
    ~MpvBackend() override;

    MpvBackend(const MpvBackend&) = delete;
    MpvBackend& operator=(const MpvBackend&) = delete;

    // Options for playing with no sound device: a null output with a short buffer, so that the
    // clock runs in real time and positions read right after a pause and seek.
    static Options silentOutputOptions();

    // False when libmpv could not be started (see the class comment).
    bool isValid() const { return m_mpv != nullptr; }

    void open(const QString& path) override;
    void close() override;
    void seek(double seconds) override;
    void setRate(double rate) override;
    void setPaused(bool paused) override;
    void setLoop(double start, double end) override;
    void clearLoop() override;
    void setVolume(double percent) override;
    void setPositionShown(bool shown) override;
    double position() const override;
    void setSoundShaping(Channels channels, bool voiceFilter) override;

    // The libmpv audio filter chain ("af") for these channels and filter; empty for none.
    static QByteArray audioFilters(Channels channels, bool voiceFilter);

    // The libmpv handle, for a render context that draws the picture (VideoSurface); null when
    // libmpv could not be started.
    mpv_handle* handle() const { return m_mpv; }
    // Whether the open file's picture is decoded and sent to the render context. Off by default
    // and for every new file: a file's picture costs nothing until a surface asks for it. A
    // render context must exist before it is turned on.
    void setVideoEnabled(bool enabled);
    bool isVideoEnabled() const { return m_videoEnabled; }

signals:
    // A seek asked for through seek() has been carried out (the position is now the target).
    void seekFinished();

private:
    static void wakeup(void* context);
    void drain();
    void handleEvent(const mpv_event& event);
    void reportOpened();
    void applyPause(bool paused);
    void finishSeek();
    void checkEnd();
    void failSoon(const QString& reason);
    void resetFileState();
    void noteOutput(const char* output);
    void loadEntry(const char** load);
    void findVideoTrack();
    void applyVideo();
    void pollPosition();
    void schedulePositionPoll(double position);

    mpv_handle* m_mpv = nullptr;
    std::atomic_bool m_drainQueued{false};
    bool m_draining = false;
    // Playlist entry of the file asked for by the last open(); 0 when none.
    std::int64_t m_entryId = 0;
    bool m_started = false;    // the player has begun opening our entry
    bool m_fileLoaded = false; // ... has read its headers
    bool m_loaded = false;     // ... is ready to play; reported through opened()
    bool m_seekPending = false;
    bool m_endReported = false;
    bool m_wantPlaying = false; // asked to play; held back while a seek is pending
    QTimer m_seekWatchdog;
    // While the clock runs, the position is read when it is due to pass the next step, rather
    // than heard at every change (libmpv reports those many times a second).
    QTimer m_positionPoll;
    bool m_paused = true;
    bool m_positionShown = true;
    double m_rate = 1.0;
    double m_lastDuration = 0.0;
    quint64 m_openSerial = 0;
    // The null output was asked for (silentOutputOptions): playing silently is no fault then.
    bool m_silentOnPurpose = false;
    // The picture: the open file's video track (0 when none), whether a surface wants it, and
    // whether the file has no sound and had to be opened with its picture to play at all.
    std::int64_t m_videoTrack = 0;
    bool m_videoEnabled = false;
    bool m_pictureOnly = false;
    QByteArray m_path;
    // The last output reported through outputChanged(); none before the first.
    std::optional<bool> m_hasOutput;
};

} // namespace dictaro
