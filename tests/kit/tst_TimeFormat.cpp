#include <limits>

#include <QTest>

#include "TimeFormat.h"

using namespace dictaro;

class tst_TimeFormat : public QObject
{
    Q_OBJECT

private slots:
    void timeString_data();
    void timeString();
};

void tst_TimeFormat::timeString_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "00:00";
    QTest::newRow("truncated, not rounded") << 59.9 << "00:59";
    QTest::newRow("minutes and seconds") << 247.0 << "04:07";
    QTest::newRow("last second below an hour") << 3599.0 << "59:59";
    QTest::newRow("one hour") << 3600.0 << "1:00:00";
    QTest::newRow("hours unpadded") << 3723.0 << "1:02:03";
    QTest::newRow("ten hours") << 36000.0 << "10:00:00";
    QTest::newRow("more than a day") << 90061.5 << "25:01:01";
    QTest::newRow("negative") << -5.0 << "00:00";
    QTest::newRow("just below zero") << -0.5 << "00:00";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "00:00";
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << "00:00";
    QTest::newRow("+inf") << std::numeric_limits<double>::infinity() << "00:00";
    QTest::newRow("beyond 64-bit seconds") << 1e300 << "277777777777:46:40";
}

void tst_TimeFormat::timeString()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    QCOMPARE(TimeFormat::timeString(seconds), expected);
}

QTEST_APPLESS_MAIN(tst_TimeFormat)
#include "tst_TimeFormat.moc"
