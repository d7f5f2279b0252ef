#include "PedalSettings.h"

#include "AppSettings.h"
#include "Localization.h"

namespace dictaro {

namespace {

const QString holdToPlayKey = QStringLiteral("holdToPlay");
const QString chosenDeviceKey = QStringLiteral("device");
const QString noCommand = QStringLiteral("none");

QString buttonKey(int button)
{
    static const char* const names[] = {"left", "middle", "right"};
    return QString::fromLatin1(names[button]);
}

bool isButton(int button)
{
    return button >= 0 && button < PedalSettings::buttonCount;
}

} // namespace

PedalSettings::PedalSettings(QObject* parent) : QObject(parent)
{
    for (int button = 0; button < buttonCount; ++button) {
        m_commands[button] = defaultCommand(button);
        const QString stored = AppSettings::pedalSetting(buttonKey(button)).toString();
        if (stored == noCommand)
            m_commands[button] = std::nullopt;
        else if (const auto command = playbackCommandFromId(stored))
            m_commands[button] = command;
    }
    const QVariant holdToPlay = AppSettings::pedalSetting(holdToPlayKey);
    m_holdToPlay = holdToPlay.isValid() ? holdToPlay.toBool() : true;
    m_chosenDevice = AppSettings::pedalSetting(chosenDeviceKey).toString();
}

std::optional<PlaybackCommand> PedalSettings::defaultCommand(int button)
{
    switch (button) {
    case 0: return PlaybackCommand::SkipBack;
    case 1: return PlaybackCommand::PlayPause;
    case 2: return PlaybackCommand::SkipForward;
    default: return std::nullopt;
    }
}

std::optional<PlaybackCommand> PedalSettings::command(int button) const
{
    return isButton(button) ? m_commands[button] : std::nullopt;
}

void PedalSettings::setCommand(int button, std::optional<PlaybackCommand> command)
{
    if (!isButton(button) || m_commands[button] == command)
        return;
    m_commands[button] = command;
    store(buttonKey(button), command ? playbackCommandId(*command) : noCommand);
}

void PedalSettings::setHoldToPlay(bool holdToPlay)
{
    if (m_holdToPlay == holdToPlay)
        return;
    m_holdToPlay = holdToPlay;
    store(holdToPlayKey, holdToPlay ? QStringLiteral("true") : QStringLiteral("false"));
}

void PedalSettings::setChosenDevice(const QString& device)
{
    if (m_chosenDevice == device)
        return;
    m_chosenDevice = device;
    store(chosenDeviceKey, device);
}

void PedalSettings::store(const QString& key, const QString& value)
{
    std::optional<QString> error;
    if (!AppSettings::setPedalSetting(key, value))
        error = Localization::tr(
            "Your pedal settings could not be saved. They work until Dictaro quits.");
    emit changed();
    if (error == m_saveError)
        return;
    m_saveError = error;
    emit saveErrorChanged(m_saveError);
}

} // namespace dictaro
