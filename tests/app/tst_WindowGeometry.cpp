// The main window comes back where and as it was, and never off every screen.
#include "AppSettings.h"
#include "WindowGeometry.h"

#include <QMainWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using dictaro::AppSettings;
using dictaro::WindowGeometry;

class tst_WindowGeometry : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void placedOnScreens_data()
    {
        // Two screens: the primary 1920x1080 (minus a 40 px panel), a 1280x1024 one on its right.
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("on the primary") << QRect(100, 100, 900, 640) << QRect(100, 100, 900, 640);
        QTest::newRow("mostly off, top still on")
            << QRect(3100, 900, 900, 640) << QRect(3100, 900, 900, 640);
        QTest::newRow("screen unplugged")
            << QRect(3500, 100, 900, 640) << QRect(510, 200, 900, 640);
        QTest::newRow("title under the panel")
            << QRect(100, 1045, 900, 640) << QRect(510, 200, 900, 640);
        QTest::newRow("larger than the primary")
            << QRect(-3000, 0, 2500, 1500) << QRect(0, 0, 1920, 1040);
    }
    void placedOnScreens()
    {
        QFETCH(QRect, saved);
        QFETCH(QRect, placed);
        const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(WindowGeometry::placedOnScreens(saved, screens), placed);
    }

    // Size, position and state of one window come back in the next one; without a saved
    // placement nothing is changed.
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
    }
};

QTEST_MAIN(tst_WindowGeometry)
#include "tst_WindowGeometry.moc"
