#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;

namespace dictaro {

class PedalMonitor;
class PedalSettings;

// The Pedal page of the settings: whether a foot pedal was found (or why not, and what to do),
// its buttons lighting up while pressed, the command of each button, how the play button
// works, and the device to use when the pedal is not one Dictaro knows.
class PedalSettingsView : public QWidget
{
    Q_OBJECT

public:
    // `monitor` may be null where pedals cannot be read at all.
    PedalSettingsView(PedalSettings& settings, PedalMonitor* monitor, QWidget* parent = nullptr);

private:
    void showState();
    void showPressed(int button, bool pressed);
    void fillDevices();

    PedalSettings& m_settings;
    PedalMonitor* m_monitor;
    QLabel* m_status = nullptr;
    QLabel* m_fix = nullptr;
    QComboBox* m_devicePicker = nullptr;
    std::array<QLabel*, 3> m_lamps{};
    std::array<QComboBox*, 3> m_commandPickers{};
    QButtonGroup* m_playMode = nullptr;
};

} // namespace dictaro
