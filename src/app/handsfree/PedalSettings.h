#pragma once

#include "PlaybackCommand.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace dictaro {

// What the foot pedal's buttons do, kept in the settings file: a command (or none) for each of
// the left, middle and right button, whether the play button plays only while held, and the
// input device the user picked when their pedal is not one Dictaro knows.
class PedalSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(std::optional<QString> saveError READ saveError NOTIFY saveErrorChanged)

public:
    static constexpr int buttonCount = 3; // left, middle, right

    // Reads the settings file; nothing is written until something is set.
    explicit PedalSettings(QObject* parent = nullptr);

    static std::optional<PlaybackCommand> defaultCommand(int button);
    std::optional<PlaybackCommand> command(int button) const;
    void setCommand(int button, std::optional<PlaybackCommand> command);

    // True (the default): a button assigned Play/Pause plays while held and pauses, with the
    // auto-rewind, when released. False: each press plays or pauses.
    bool holdToPlay() const { return m_holdToPlay; }
    void setHoldToPlay(bool holdToPlay);

    // The user's own pedal as "vendor:product" in hexadecimal ("1a2b:3c4d"); empty for none.
    QString chosenDevice() const { return m_chosenDevice; }
    void setChosenDevice(const QString& device);

    // Why the last change could not be written to the settings file; nothing once one was.
    std::optional<QString> saveError() const { return m_saveError; }

signals:
    void changed();
    void saveErrorChanged(const std::optional<QString>& saveError);

private:
    void store(const QString& key, const QString& value);

    std::array<std::optional<PlaybackCommand>, buttonCount> m_commands;
    bool m_holdToPlay = true;
    QString m_chosenDevice;
    std::optional<QString> m_saveError;
};

} // namespace dictaro
