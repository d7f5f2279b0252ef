#include "PedalController.h"

#include "PedalSettings.h"

#include <QTimer>

namespace dictaro {

namespace {

class QtRepeatTimer final : public PedalController::RepeatTimer
{
public:
    void start(std::chrono::milliseconds interval, std::function<void()> tick) override
    {
        m_timer.disconnect();
        QObject::connect(&m_timer, &QTimer::timeout, std::move(tick));
        m_timer.start(interval);
    }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

bool repeats(PlaybackCommand command)
{
    return command == PlaybackCommand::SkipBack || command == PlaybackCommand::SkipForward;
}

} // namespace

PedalController::PedalController(const PedalSettings& settings, TimerFactory makeTimer,
                                 QObject* parent)
    : QObject(parent), m_settings(settings), m_makeTimer(std::move(makeTimer))
{
    if (!m_makeTimer)
        m_makeTimer = [] { return std::make_unique<QtRepeatTimer>(); };
}

PedalController::~PedalController() = default;

bool PedalController::isPressed(int button) const
{
    return button >= 0 && button < int(m_buttons.size()) && m_buttons[button].pressed;
}

void PedalController::setPressed(int button, bool pressed)
{
    if (button < 0 || button >= int(m_buttons.size()) || m_buttons[button].pressed == pressed)
        return;
    Button& state = m_buttons[button];
    state.pressed = pressed;
    emit buttonChanged(button, pressed);

    if (!pressed) {
        const Hold hold = std::exchange(state.hold, Hold::Nothing);
        if (hold == Hold::Repeating && state.timer)
            state.timer->stop();
        else if (hold == Hold::Playing)
            emit pauseRequested();
        return;
    }

    const std::optional<PlaybackCommand> command = m_settings.command(button);
    if (!command)
        return;
    if (*command == PlaybackCommand::PlayPause && m_settings.holdToPlay()) {
        state.hold = Hold::Playing;
        emit playRequested();
        return;
    }
    if (repeats(*command)) {
        state.hold = Hold::Repeating;
        if (!state.timer)
            state.timer = m_makeTimer();
        state.timer->start(repeatInterval, [this, c = *command] { emit commandTriggered(c); });
    }
    emit commandTriggered(*command);
}

void PedalController::releaseAll()
{
    for (int button = 0; button < int(m_buttons.size()); ++button)
        setPressed(button, false);
}

} // namespace dictaro
