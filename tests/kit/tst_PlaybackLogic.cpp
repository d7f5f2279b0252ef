#include <cmath>

#include <QTest>

#include "PlaybackLogic.h"

using namespace dictaro::PlaybackLogic;
using namespace Qt::StringLiterals;

class tst_PlaybackLogic : public QObject
{
    Q_OBJECT

private slots:
    // Each row is a result worked out by the function under test and the value it must be. Rates
    // and seek targets must match to the last bit, so the comparison is exact, not QCOMPARE's fuzzy
    // one.
    void results_data()
    {
        QTest::addColumn<double>("actual");
        QTest::addColumn<double>("expected");

        QTest::newRow("clamp: above max") << clampedRate(3.0) << 2.0;
        QTest::newRow("clamp: NaN") << clampedRate(NAN) << 0.5;
        // The product k * 0.1, not the decimal value k / 10.
        QTest::newRow("step: up to 12") << steppedRate(1.1, 0.1) << 1.2000000000000002;
        // Halves round away from zero; rounding half to even would give 12 and 6 steps.
        QTest::newRow("step: half step 12.5") << steppedRate(1.25, 0.0) << 1.3;
        QTest::newRow("step: half step 6.5") << steppedRate(0.65, 0.0) << 0.7000000000000001;
        QTest::newRow("step: NaN delta") << steppedRate(1.0, NAN) << 0.5;

        QTest::newRow("skip: before start") << skipTarget(3.0, -5.0, 60.0) << 0.0;
        QTest::newRow("skip: past end") << skipTarget(58.0, 5.0, 60.0) << 60.0;
        QTest::newRow("skip: NaN position") << skipTarget(NAN, 5.0, 60.0) << 0.0;
        // Not expected from the engine, but must never yield an unusable seek target.
        QTest::newRow("skip: NaN duration") << skipTarget(10.0, 5.0, NAN) << 0.0;

        QTest::newRow("rewind: inside") << autoRewindTarget(10.0, 3.0) << 7.0;
        QTest::newRow("rewind: before start") << autoRewindTarget(2.0, 3.0) << 0.0;
        QTest::newRow("rewind: NaN") << autoRewindTarget(10.0, NAN) << 0.0;

        // Rounded down, so that 100 % means the very end; -1 stands for "unknown".
        const auto percent = [](double position, double duration) {
            return double(percentOf(position, duration).value_or(-1));
        };
        QTest::newRow("percent: rounded down") << percent(59.9, 60.0) << 99.0;
        QTest::newRow("percent: end") << percent(60.0, 60.0) << 100.0;
        QTest::newRow("percent: past end") << percent(75.0, 60.0) << 100.0;
        QTest::newRow("percent: before start") << percent(-1.0, 60.0) << 0.0;
        QTest::newRow("percent: no duration") << percent(10.0, 0.0) << -1.0;
        QTest::newRow("percent: NaN duration") << percent(10.0, NAN) << -1.0;

        QTest::newRow("rewind at rate: slower") << rewindAtRate(5.0, 0.8) << 4.0;
        QTest::newRow("rewind at rate: faster") << rewindAtRate(3.0, 1.5) << 4.5;
        QTest::newRow("rewind at rate: rate clamped") << rewindAtRate(3.0, 0.1) << 1.5;

        QTest::newRow("loop: swapped start") << loopStretch(9.0, 4.0, 60.0).start << 4.0;
        QTest::newRow("loop: swapped end") << loopStretch(9.0, 4.0, 60.0).end << 9.0;
        QTest::newRow("loop: end past duration") << loopStretch(50.0, 70.0, 60.0).end << 60.0;
        QTest::newRow("loop: start before 0") << loopStretch(-2.0, 5.0, 60.0).start << 0.0;
    }

    void results()
    {
        QFETCH(double, actual);
        QFETCH(double, expected);
        QVERIFY2(
            actual == expected,
            qPrintable(
                u"actual %1, expected %2"_s.arg(actual, 0, 'g', 17).arg(expected, 0, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(tst_PlaybackLogic)
#include "tst_PlaybackLogic.moc"
