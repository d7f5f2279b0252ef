#include "PedalMonitor.h"

#include "PedalEventReader.h"

#include <QFile>
#include <QSocketNotifier>
#include <QStringList>

#include <libevdev/libevdev.h>
#include <libudev.h>
#include <linux/input.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace dictaro {

namespace {

struct KnownPedal
{
    quint16 vendor;
    quint16 product;
};

// The USB transcription pedals with three buttons reported as BTN_0, BTN_1 and BTN_2.
constexpr KnownPedal knownPedals[] = {
    {0x05f3, 0x00ff},
};

QString attribute(udev_device* device, const char* name)
{
    const char* value = udev_device_get_sysattr_value(device, name);
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

// Whether a capability bitmap from the device list ("1f0000 0 0 ...", most significant word
// first, one word per long) has `bit` set.
bool hasBit(const QString& bitmap, int bit)
{
    const QStringList words = bitmap.split(u' ', Qt::SkipEmptyParts);
    constexpr int wordBits = sizeof(long) * 8;
    const qsizetype index = words.size() - 1 - bit / wordBits;
    if (index < 0)
        return false;
    bool ok = false;
    const qulonglong word = words.at(index).toULongLong(&ok, 16);
    return ok && (word >> (bit % wordBits)) & 1u;
}

// The event node's description, from its parent input device; empty node if it is not one.
PedalMonitor::Device describe(udev_device* eventDevice, QString* keyBits = nullptr)
{
    PedalMonitor::Device device;
    const char* node = udev_device_get_devnode(eventDevice);
    const char* sysname = udev_device_get_sysname(eventDevice);
    if (!node || !sysname || qstrncmp(sysname, "event", 5) != 0)
        return device;
    udev_device* input =
        udev_device_get_parent_with_subsystem_devtype(eventDevice, "input", nullptr);
    if (!input)
        return device;
    device.node = QString::fromUtf8(node);
    device.name = attribute(input, "name");
    device.vendor = attribute(input, "id/vendor").toUShort(nullptr, 16);
    device.product = attribute(input, "id/product").toUShort(nullptr, 16);
    if (keyBits)
        *keyBits = attribute(input, "capabilities/key");
    return device;
}

// Calls `visit` for every input event node on the system.
template <typename Visit> void forEachEventNode(udev* context, Visit visit)
{
    udev_enumerate* enumerate = udev_enumerate_new(context);
    if (!enumerate)
        return;
    udev_enumerate_add_match_subsystem(enumerate, "input");
    udev_enumerate_add_match_sysname(enumerate, "event*");
    udev_enumerate_scan_devices(enumerate);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
    {
        udev_device* device =
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (device) {
            visit(device);
            udev_device_unref(device);
        }
    }
    udev_enumerate_unref(enumerate);
}

} // namespace

QString PedalMonitor::Device::id() const
{
    return QStringLiteral("%1:%2")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'));
}

bool PedalMonitor::isKnownPedal(quint16 vendor, quint16 product)
{
    for (const KnownPedal& pedal : knownPedals) {
        if (pedal.vendor == vendor && pedal.product == product)
            return true;
    }
    return false;
}

QList<PedalMonitor::Device> PedalMonitor::candidates()
{
    QList<Device> devices;
    udev* context = udev_new();
    if (!context)
        return devices;
    forEachEventNode(context, [&](udev_device* eventDevice) {
        QString keys;
        const Device device = describe(eventDevice, &keys);
        const bool numberedButtons = hasBit(keys, BTN_0) || hasBit(keys, BTN_1);
        if (!device.node.isEmpty() && numberedButtons && !hasBit(keys, KEY_A) &&
            !hasBit(keys, BTN_LEFT))
            devices.append(device);
    });
    udev_unref(context);
    return devices;
}

QString PedalMonitor::permissionFix(const Device& device)
{
    const QString vendor = QStringLiteral("%1").arg(device.vendor, 4, 16, QLatin1Char('0'));
    const QString product = QStringLiteral("%1").arg(device.product, 4, 16, QLatin1Char('0'));
    return QStringLiteral("echo 'SUBSYSTEM==\"input\", ATTRS{idVendor}==\"%1\", "
                          "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"' | sudo tee "
                          "/etc/udev/rules.d/70-dictaro-pedal.rules\n"
                          "sudo udevadm control --reload-rules && sudo udevadm trigger")
        .arg(vendor, product);
}

PedalMonitor::PedalMonitor(std::function<QString()> chosenDevice, QObject* parent)
    : QObject(parent), m_chosenDevice(std::move(chosenDevice))
{
    m_udev = udev_new();
    if (!m_udev) {
        m_state = State::Unavailable;
        return;
    }
    // Devices plugged in or out, announced once the system's rules (and their permissions)
    // have been applied. Without it (in some containers) the pedal is still found at start.
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (m_monitor &&
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "input", nullptr) >= 0 &&
        udev_monitor_enable_receiving(m_monitor) >= 0) {
        m_monitorNotifier =
            new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
        connect(m_monitorNotifier, &QSocketNotifier::activated, this, &PedalMonitor::onUdevEvent);
    }
    rescan();
}

PedalMonitor::~PedalMonitor()
{
    closeDevice();
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

bool PedalMonitor::wanted(const Device& device) const
{
    return isKnownPedal(device.vendor, device.product) || device.id() == m_chosenDevice();
}

void PedalMonitor::rescan()
{
    if (!m_udev)
        return;
    closeDevice();
    Device found;
    forEachEventNode(m_udev, [&](udev_device* eventDevice) {
        const Device device = describe(eventDevice);
        if (found.node.isEmpty() && !device.node.isEmpty() && wanted(device))
            found = device;
    });
    if (found.node.isEmpty()) {
        m_device = {};
        setState(State::NotConnected);
        return;
    }
    open(found);
}

void PedalMonitor::open(const Device& device)
{
    closeDevice();
    m_device = device;
    m_fd = ::open(QFile::encodeName(device.node).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        setState(errno == EACCES || errno == EPERM ? State::NoPermission : State::NotConnected);
        return;
    }
    // The kernel's own description: the name it reports, and whether it has the buttons.
    libevdev* evdev = nullptr;
    if (libevdev_new_from_fd(m_fd, &evdev) == 0) {
        m_device.name = QString::fromUtf8(libevdev_get_name(evdev));
        const bool hasButtons = libevdev_has_event_code(evdev, EV_KEY, BTN_0);
        libevdev_free(evdev);
        if (!hasButtons) {
            closeDevice();
            setState(State::NotConnected);
            return;
        }
    }
    m_reader = new PedalEventReader(m_fd, this);
    connect(m_reader, &PedalEventReader::buttonChanged, this, &PedalMonitor::buttonChanged);
    connect(m_reader, &PedalEventReader::eventsLost, this, &PedalMonitor::released);
    connect(m_reader, &PedalEventReader::closed, this, [this] {
        closeDevice();
        setState(State::NotConnected);
    });
    setState(State::Connected);
}

void PedalMonitor::closeDevice()
{
    if (m_reader) {
        m_reader->disconnect(this);
        m_reader->deleteLater();
        m_reader = nullptr;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        emit released();
    }
}

void PedalMonitor::onUdevEvent()
{
    udev_device* device = udev_monitor_receive_device(m_monitor);
    if (!device)
        return;
    const QByteArray action = udev_device_get_action(device);
    const char* node = udev_device_get_devnode(device);
    if (action == "remove" && node && QString::fromUtf8(node) == m_device.node) {
        closeDevice();
        setState(State::NotConnected);
    } else if (action == "add" && m_fd < 0) {
        const Device added = describe(device);
        if (!added.node.isEmpty() && wanted(added))
            open(added);
    }
    udev_device_unref(device);
}

void PedalMonitor::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

} // namespace dictaro
