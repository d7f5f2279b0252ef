#pragma once

#include "PlaybackCommand.h"

#include <QObject>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

namespace dictaro {

class PedalSettings;

// Turns the foot pedal's button presses and releases into playback commands, as the settings
// say: a Play/Pause button plays while held (or toggles on each press), a skip button skips at
// once and again every half second while held, any other command runs once per press. Knows
// nothing of devices: it is told which button went down or up.
class PedalController : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds repeatInterval{500};

    // Calls `tick` every `interval` from start() until stop() (a QTimer unless a test drives it).
    class RepeatTimer
    {
    public:
        virtual ~RepeatTimer() = default;
        virtual void start(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
        virtual void stop() = 0;
    };
    using TimerFactory = std::function<std::unique_ptr<RepeatTimer>()>;

    explicit PedalController(const PedalSettings& settings, TimerFactory makeTimer = {},
                             QObject* parent = nullptr);
    ~PedalController() override;

    bool isPressed(int button) const;
    // A button (0 left, 1 middle, 2 right) went down or up. Repeats of the same state and
    // unknown buttons are ignored.
    void setPressed(int button, bool pressed);
    // Every held button is let go, as if released: the pedal was unplugged or its events lost.
    void releaseAll();

signals:
    void buttonChanged(int button, bool pressed);
    void commandTriggered(dictaro::PlaybackCommand command);
    // A held Play/Pause button: play on press, pause with the auto-rewind on release.
    void playRequested();
    void pauseRequested();

private:
    // What a press started, so that its release ends that, whatever the settings say by then.
    enum class Hold { Nothing, Playing, Repeating };

    struct Button
    {
        bool pressed = false;
        Hold hold = Hold::Nothing;
        std::unique_ptr<RepeatTimer> timer;
    };

    const PedalSettings& m_settings;
    TimerFactory m_makeTimer;
    std::array<Button, 3> m_buttons;
};

} // namespace dictaro
