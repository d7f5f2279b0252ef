#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace dictaro {

class PlaybackEngine;

// The strip of playback controls above the transcript: skip back, play/pause, skip forward, the
// position with its slider and the length, and the rate with its slower and faster buttons. It
// shows the engine's state and turns clicks into engine operations, with the skip and rewind
// intervals of the shared settings read at the moment of the click. Everything is disabled while
// no audio is loaded (a length of 0).
class PlayerBarView : public QWidget
{
    Q_OBJECT

public:
    explicit PlayerBarView(PlaybackEngine* engine, QWidget* parent = nullptr);

    PlaybackEngine* engine() const { return m_engine.data(); }

private:
    void seekToSlider(int value);

    void updatePlaying();
    void updatePosition();
    void updateDuration();
    void updateRate();

    QPointer<PlaybackEngine> m_engine;
    QToolButton* m_skipBackButton = nullptr;
    QToolButton* m_playPauseButton = nullptr;
    QToolButton* m_skipForwardButton = nullptr;
    QLabel* m_currentTimeLabel = nullptr;
    QSlider* m_positionSlider = nullptr;
    QLabel* m_durationLabel = nullptr;
    QToolButton* m_slowerButton = nullptr;
    QLabel* m_rateLabel = nullptr;
    QToolButton* m_fasterButton = nullptr;
    // Set while the slider is moved to follow the engine, which is no seek by the user.
    bool m_followingEngine = false;
};

} // namespace dictaro
