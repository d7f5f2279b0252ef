#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace dictaro {

// The content of the settings window: the playback intervals of AppSettings::shared(), in whole
// seconds, and the playback switches, the spelling dictionary, and the interface language used
// from the next start.
// Showing it writes nothing; each change the user makes is stored at once.
class SettingsView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int minAutoRewindSeconds = 0;
    static constexpr int maxAutoRewindSeconds = 10;
    static constexpr int minSkipSeconds = 1;
    static constexpr int maxSkipSeconds = 30;
    static constexpr int minReplaySeconds = 1;
    static constexpr int maxReplaySeconds = 30;

    explicit SettingsView(QWidget* parent = nullptr);

    // A number of seconds as the steppers show it: the localized "%.0f seconds", filled in.
    static QString secondsText(double seconds);

private:
    void showAutoRewindSeconds(double seconds);
    void showSkipSeconds(double seconds);
    void showReplaySeconds(double seconds);

    QSpinBox* m_autoRewindStepper = nullptr;
    QSpinBox* m_skipStepper = nullptr;
    QSpinBox* m_replayStepper = nullptr;
    QCheckBox* m_rewindFollowsSpeed = nullptr;
    QCheckBox* m_stampWherePaused = nullptr;
    QComboBox* m_languagePicker = nullptr;
    QComboBox* m_spellingPicker = nullptr;
};

} // namespace dictaro
