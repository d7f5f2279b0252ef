#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace dictaro {

class PedalEventReader;

// Finds the foot pedal among the input devices, opens it and follows it being plugged in and
// out, on the event loop. Only a device in the table of known pedals, or the one the user picked
// in the settings, is ever opened: keyboards and mice are only looked at in the device list.
class PedalMonitor : public QObject
{
    Q_OBJECT

public:
    enum class State {
        NotConnected, // no known or chosen pedal is plugged in
        NoPermission, // one is, but this user may not read it
        Connected,
        Unavailable, // the system's device list cannot be read
    };
    Q_ENUM(State)

    struct Device
    {
        QString node; // /dev/input/eventN
        QString name;
        quint16 vendor = 0;
        quint16 product = 0;
        QString id() const; // "vendor:product" in hexadecimal, as PedalSettings keeps it
    };

    // Whether a vendor and product are those of a transcription pedal Dictaro knows.
    static bool isKnownPedal(quint16 vendor, quint16 product);
    // Input devices with numbered buttons and no letter keys or mouse buttons, which the user
    // may pick as their pedal. Read from the device list without opening any device.
    static QList<Device> candidates();
    // The shell commands that give the logged-in user access to `device`.
    static QString permissionFix(const Device& device);

    explicit PedalMonitor(std::function<QString()> chosenDevice, QObject* parent = nullptr);
    ~PedalMonitor() override;

    State state() const { return m_state; }
    // The pedal in use, or the one that could not be opened.
    const Device& device() const { return m_device; }

    // Looks for the pedal again (after the user picked another device).
    void rescan();

signals:
    void stateChanged(dictaro::PedalMonitor::State state);
    void buttonChanged(int button, bool pressed);
    // The open pedal is gone or its events were lost: every button counts as released.
    void released();

private:
    bool wanted(const Device& device) const;
    void open(const Device& device);
    void closeDevice();
    void onUdevEvent();
    void setState(State state);

    std::function<QString()> m_chosenDevice;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_monitorNotifier = nullptr;
    PedalEventReader* m_reader = nullptr;
    int m_fd = -1;
    Device m_device;
    State m_state = State::NotConnected;
};

} // namespace dictaro
