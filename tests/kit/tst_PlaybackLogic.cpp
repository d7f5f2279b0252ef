#include <cmath>
#include <limits>

#include <QTest>

#include "PlaybackLogic.h"

using namespace dictaro;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// QCOMPARE on doubles is fuzzy; rates and seek targets must match to the last bit.
bool identical(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

QByteArray describe(double actual, double expected)
{
    return QByteArray("actual ") + QByteArray::number(actual, 'g', 17) + ", expected " +
           QByteArray::number(expected, 'g', 17);
}

} // namespace

#define COMPARE_EXACTLY(actual, expected)                                                          \
    do {                                                                                           \
        const double a_ = (actual);                                                                \
        const double e_ = (expected);                                                              \
        QVERIFY2(identical(a_, e_), describe(a_, e_).constData());                                 \
    } while (false)

class tst_PlaybackLogic : public QObject
{
    Q_OBJECT

private slots:
    void clampedRate_data();
    void clampedRate();
    void steppedRate_data();
    void steppedRate();
    void steppedRate_repeatedStepsLandOnGridAndStopAtLimits();
    void skipTarget_data();
    void skipTarget();
    void autoRewindTarget_data();
    void autoRewindTarget();
};

void tst_PlaybackLogic::clampedRate_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("expected");

    QTest::newRow("inside, not snapped") << 1.37 << 1.37;
    QTest::newRow("at min") << 0.5 << 0.5;
    QTest::newRow("at max") << 2.0 << 2.0;
    QTest::newRow("above max") << 3.0 << 2.0;
    QTest::newRow("below min") << 0.1 << 0.5;
    QTest::newRow("negative") << -1.0 << 0.5;
    QTest::newRow("NaN") << notANumber << 0.5;
    QTest::newRow("+infinity") << infinity << 2.0;
    QTest::newRow("-infinity") << -infinity << 0.5;
}

void tst_PlaybackLogic::clampedRate()
{
    QFETCH(double, rate);
    QFETCH(double, expected);
    COMPARE_EXACTLY(PlaybackLogic::clampedRate(rate), expected);
}

void tst_PlaybackLogic::steppedRate_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("delta");
    QTest::addColumn<double>("expected");

    QTest::newRow("up from normal") << 1.0 << 0.1 << 1.1;
    QTest::newRow("down from normal") << 1.0 << -0.1 << 0.9;
    // The product k * 0.1, not the decimal value: 12 * 0.1 and 7 * 0.1.
    QTest::newRow("up to 12 steps") << 1.1 << 0.1 << 1.2000000000000002;
    QTest::newRow("down to 7 steps") << 0.8 << -0.1 << 0.7000000000000001;
    // Halves round away from zero; rounding half to even would give 12, 6 and 10 steps.
    QTest::newRow("half step 12.5") << 1.25 << 0.0 << 1.3;
    QTest::newRow("half step 6.5") << 0.65 << 0.0 << 0.7000000000000001;
    QTest::newRow("half step 10.5") << 1.05 << 0.0 << 1.1;
    QTest::newRow("off grid snaps by the next step") << 1.23 << 0.1 << 1.3;
    QTest::newRow("off grid near max") << 1.94 << 0.1 << 2.0;
    QTest::newRow("above max") << 2.0 << 0.1 << 2.0;
    QTest::newRow("below min") << 0.5 << -0.1 << 0.5;
    QTest::newRow("far below, negative sum") << 0.0 << -1.05 << 0.5;
    QTest::newRow("NaN current") << notANumber << 0.1 << 0.5;
    QTest::newRow("NaN delta") << 1.0 << notANumber << 0.5;
    QTest::newRow("+infinity") << infinity << 0.1 << 2.0;
}

void tst_PlaybackLogic::steppedRate()
{
    QFETCH(double, current);
    QFETCH(double, delta);
    QFETCH(double, expected);
    COMPARE_EXACTLY(PlaybackLogic::steppedRate(current, delta), expected);
}

void tst_PlaybackLogic::steppedRate_repeatedStepsLandOnGridAndStopAtLimits()
{
    const double up[] = {1.1,
                         1.2000000000000002,
                         1.3,
                         1.4000000000000001,
                         1.5,
                         1.6,
                         1.7000000000000002,
                         1.8,
                         1.9000000000000001,
                         2.0,
                         2.0,
                         2.0};
    double rate = 1.0;
    for (const double expected : up) {
        rate = PlaybackLogic::steppedRate(rate, PlaybackLogic::rateStep);
        COMPARE_EXACTLY(rate, expected);
    }

    const double down[] = {0.9, 0.8, 0.7000000000000001, 0.6000000000000001, 0.5, 0.5, 0.5};
    rate = 1.0;
    for (const double expected : down) {
        rate = PlaybackLogic::steppedRate(rate, -PlaybackLogic::rateStep);
        COMPARE_EXACTLY(rate, expected);
    }
}

void tst_PlaybackLogic::skipTarget_data()
{
    QTest::addColumn<double>("position");
    QTest::addColumn<double>("delta");
    QTest::addColumn<double>("duration");
    QTest::addColumn<double>("expected");

    QTest::newRow("inside") << 10.0 << 5.0 << 60.0 << 15.0;
    QTest::newRow("before start") << 3.0 << -5.0 << 60.0 << 0.0;
    QTest::newRow("past end") << 58.0 << 5.0 << 60.0 << 60.0;
    QTest::newRow("exactly at end") << 55.0 << 5.0 << 60.0 << 60.0;
    QTest::newRow("absolute seek") << 42.5 << 0.0 << 60.0 << 42.5;
    QTest::newRow("zero duration") << 10.0 << 5.0 << 0.0 << 0.0;
    QTest::newRow("zero duration, negative") << 3.0 << -5.0 << 0.0 << 0.0;
    QTest::newRow("NaN position") << notANumber << 5.0 << 60.0 << 0.0;
    QTest::newRow("NaN delta") << 10.0 << notANumber << 60.0 << 0.0;
    QTest::newRow("+infinity position") << infinity << 5.0 << 60.0 << 60.0;
    // Not expected from the engine, but must never yield an unusable seek target.
    QTest::newRow("NaN duration") << 10.0 << 5.0 << notANumber << 0.0;
    QTest::newRow("negative duration") << 10.0 << 5.0 << -3.0 << 0.0;
}

void tst_PlaybackLogic::skipTarget()
{
    QFETCH(double, position);
    QFETCH(double, delta);
    QFETCH(double, duration);
    QFETCH(double, expected);
    COMPARE_EXACTLY(PlaybackLogic::skipTarget(position, delta, duration), expected);
}

void tst_PlaybackLogic::autoRewindTarget_data()
{
    QTest::addColumn<double>("position");
    QTest::addColumn<double>("rewindSeconds");
    QTest::addColumn<double>("expected");

    QTest::newRow("inside") << 10.0 << 3.0 << 7.0;
    QTest::newRow("before start") << 2.0 << 3.0 << 0.0;
    QTest::newRow("no rewind") << 12.34 << 0.0 << 12.34;
    QTest::newRow("no upper bound") << 1e9 << 1.0 << 1e9 - 1.0;
    QTest::newRow("NaN position") << notANumber << 3.0 << 0.0;
    QTest::newRow("NaN rewind") << 10.0 << notANumber << 0.0;
}

void tst_PlaybackLogic::autoRewindTarget()
{
    QFETCH(double, position);
    QFETCH(double, rewindSeconds);
    QFETCH(double, expected);
    COMPARE_EXACTLY(PlaybackLogic::autoRewindTarget(position, rewindSeconds), expected);
}

QTEST_APPLESS_MAIN(tst_PlaybackLogic)
#include "tst_PlaybackLogic.moc"
