#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace dictaro {

class AppActions;
class PlaybackEngine;

// The strip of playback controls above the transcript: skip back, play/pause, skip forward, the
// position with its slider and the length, the loop stretch while one repeats (a click clears
// it), the rate with its slower and faster buttons, and the volume (0 to 200 %) with its slider.
// It shows the engine's state; its buttons run the application's playback actions and the slider
// seeks. Everything is disabled while no audio is loaded (a length of 0).
class PlayerBarView : public QWidget
{
    Q_OBJECT

public:
    PlayerBarView(PlaybackEngine& engine, AppActions& actions, QWidget* parent = nullptr);

private:
    void seekToSlider(int value);

    void updatePlaying();
    void updatePosition();
    void updateDuration();
    void updateRate();
    void updateLoop();
    void updateVolume();

    QPointer<PlaybackEngine> m_engine;
    AppActions& m_actions;
    QToolButton* m_skipBackButton = nullptr;
    QToolButton* m_playPauseButton = nullptr;
    QToolButton* m_skipForwardButton = nullptr;
    QLabel* m_currentTimeLabel = nullptr;
    QSlider* m_positionSlider = nullptr;
    QLabel* m_durationLabel = nullptr;
    QToolButton* m_loopButton = nullptr;
    QToolButton* m_slowerButton = nullptr;
    QLabel* m_rateLabel = nullptr;
    QToolButton* m_fasterButton = nullptr;
    QSlider* m_volumeSlider = nullptr;
    QLabel* m_volumeLabel = nullptr;
    // The whole second the elapsed time shows: the text is made only when it changes.
    double m_shownSecond = -1.0;
    // Set while the slider is moved to follow the engine, which is no seek by the user.
    bool m_followingEngine = false;
};

} // namespace dictaro
