// A virtual pedal made through uinput, found, read and unplugged by the real device layer.
// Needs /dev/uinput and the right to read the new event node; skipped with the reason elsewhere.
#include "PedalMonitor.h"
#include "PedalSettings.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <fcntl.h>
#include <unistd.h>

using namespace dictaro;

class tst_PedalDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void virtualPedal_isFoundReadAndReleased()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        if (!QFile::exists("/dev/uinput"))
            QSKIP("/dev/uinput does not exist on this machine");
        const int uinput = ::open("/dev/uinput", O_RDWR | O_CLOEXEC);
        if (uinput < 0)
            QSKIP("/dev/uinput cannot be opened by this user");

        libevdev* device = libevdev_new();
        libevdev_set_name(device, "Dictaro test pedal");
        libevdev_set_id_bustype(device, BUS_USB);
        libevdev_set_id_vendor(device, 0x05f3);
        libevdev_set_id_product(device, 0x00ff);
        for (int code : {BTN_0, BTN_1, BTN_2})
            libevdev_enable_event_code(device, EV_KEY, code, nullptr);
        libevdev_uinput* pedal = nullptr;
        const int made = libevdev_uinput_create_from_device(device, uinput, &pedal);
        libevdev_free(device);
        if (made != 0) {
            ::close(uinput);
            QSKIP("uinput refused to make a device");
        }

        PedalSettings settings;
        PedalMonitor monitor([&settings] { return settings.chosenDevice(); });
        QTRY_VERIFY_WITH_TIMEOUT(monitor.state() != PedalMonitor::State::NotConnected, 5000);
        if (monitor.state() == PedalMonitor::State::NoPermission) {
            libevdev_uinput_destroy(pedal);
            ::close(uinput);
            QSKIP("the virtual pedal's event node is not readable by this user");
        }
        QCOMPARE(monitor.state(), PedalMonitor::State::Connected);

        QSignalSpy buttons(&monitor, &PedalMonitor::buttonChanged);
        QSignalSpy released(&monitor, &PedalMonitor::released);
        libevdev_uinput_write_event(pedal, EV_KEY, BTN_1, 1);
        libevdev_uinput_write_event(pedal, EV_SYN, SYN_REPORT, 0);
        QVERIFY(buttons.wait(2000));
        QCOMPARE(buttons.first(), (QVariantList{1, true}));

        libevdev_uinput_destroy(pedal); // unplugged while held
        ::close(uinput);
        QTRY_VERIFY_WITH_TIMEOUT(released.count() > 0, 5000);
        QCOMPARE(monitor.state(), PedalMonitor::State::NotConnected);
    }
};

QTEST_MAIN(tst_PedalDevice)
#include "tst_PedalDevice.moc"
