// The main window comes back where and as it was, and never off every screen.
#include "TestSupport.h"
#include "WindowGeometry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTest>

using namespace dictaro;

class tst_WindowGeometry : public QObject
{
    Q_OBJECT

    test::TemporaryHome m_home;

private slots:
    void placedOnScreens_data()
    {
        // The primary screen is 1920x1080 (minus a 40 px panel); a 1280x1024 one may be on its
        // right.
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("placed");
        const QList<QRect> both{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
        const QList<QRect> primary{both.first()};
        QTest::newRow("on the second screen")
            << both << QRect(2000, 100, 900, 640) << QRect(2000, 100, 900, 640);
        QTest::newRow("mostly off, top still on")
            << both << QRect(3100, 900, 900, 640) << QRect(3100, 900, 900, 640);
        QTest::newRow("screen unplugged")
            << both << QRect(3500, 100, 900, 640) << QRect(510, 200, 900, 640);
        QTest::newRow("larger than the primary")
            << both << QRect(-3000, 0, 2500, 1500) << QRect(0, 0, 1920, 1040);
        QTest::newRow("larger than the second screen, on it")
            << both << QRect(2200, 50, 3000, 3000) << QRect(1920, 0, 1280, 1024);
        QTest::newRow("larger than the second screen, mostly on it")
            << both << QRect(1800, 100, 3000, 3000) << QRect(1920, 0, 1280, 1024);
        QTest::newRow("reaching into the second screen")
            << both << QRect(1850, 100, 900, 640) << QRect(1850, 100, 900, 640);
        QTest::newRow("sliver left when the second screen is unplugged")
            << primary << QRect(1850, 100, 900, 640) << QRect(1020, 100, 900, 640);
        QTest::newRow("sliver of the top above the panel")
            << both << QRect(100, 1030, 900, 640) << QRect(100, 400, 900, 640);
    }
    void placedOnScreens()
    {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, saved);
        QFETCH(QRect, placed);
        QCOMPARE(WindowGeometry::placedOnScreens(saved, screens), placed);
    }

    // Size, position and state of one window come back in the next one, within the screen (a
    // corrupt or hand-edited size larger than any would need gigabytes for its pixels); without
    // a saved placement nothing is changed.
    void saveAndRestore()
    {
        QMainWindow none;
        QVERIFY(!WindowGeometry::restore(none));

        QMainWindow first;
        first.setGeometry(40, 50, 500, 300);
        first.setWindowState(Qt::WindowMaximized);
        WindowGeometry::save(first);
        QMainWindow second;
        QVERIFY(WindowGeometry::restore(second));
        QCOMPARE(second.windowState(), Qt::WindowMaximized);
        QCOMPARE(second.normalGeometry(), QRect(40, 50, 500, 300));

        AppSettings::setWindowPlacement({QRect(0, 0, 32767, 32767), false, false});
        QMainWindow oversized;
        QVERIFY(WindowGeometry::restore(oversized));
        QVERIFY(
            QGuiApplication::primaryScreen()->availableGeometry().contains(oversized.geometry()));

        // A hand-edited position whose far edge no number could hold is not restored at all.
        QSettings(m_home.settingsFile(), QSettings::IniFormat)
            .setValue("window/geometry", QStringList{"2147483000", "0", "800", "600"});
        QVERIFY(!AppSettings::windowPlacement());
    }
};

QTEST_MAIN(tst_WindowGeometry)
#include "tst_WindowGeometry.moc"
