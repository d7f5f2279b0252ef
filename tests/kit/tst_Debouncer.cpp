#include "Debouncer.h"

#include <algorithm>
#include <memory>

#include <QElapsedTimer>
#include <QTest>

using namespace dictaro;

// Runs on the real event loop with short delays; margins are generous because only the order and
// count of runs are asserted, never precise timing.
class tst_Debouncer : public QObject
{
    Q_OBJECT

private slots:
    void schedule_burstRunsOnlyTheLatestOnceAfterTheLastRequest();
    void maxWait_burstThatNeverPausesStillRuns();
    void flushAndCancel_leaveNothingToRunLater();
    void schedule_fromInsideTheAction_staysPending();
    void destroyedWhilePending_stillRunsAtTheDeadline();
    void action_mayDestroyItsDebouncer();
};

void tst_Debouncer::schedule_burstRunsOnlyTheLatestOnceAfterTheLastRequest()
{
    Debouncer debouncer(0.1);
    QList<int> runs;
    debouncer.schedule([&] { runs << 1; });
    QTest::qWait(60);
    QElapsedTimer sinceLastRequest;
    sinceLastRequest.start();
    debouncer.schedule([&] { runs << 2; });
    QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 1, 2000);
    // Not at the first request's deadline, which has passed by then.
    QVERIFY(sinceLastRequest.elapsed() >= 95);
    QCOMPARE(runs, QList<int>{2});
    QVERIFY(!debouncer.isPending());
}

// Requests every 20 ms never leave the 100 ms pause; the 250 ms ceiling runs the latest action
// anyway, and the next burst gets a ceiling of its own.
void tst_Debouncer::maxWait_burstThatNeverPausesStillRuns()
{
    Debouncer debouncer(0.1, 0.25);
    QList<int> runs;
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; burst.elapsed() < 700; ++i) {
        debouncer.schedule([&runs, i] { runs << i; });
        QTest::qWait(20);
    }
    QVERIFY2(runs.size() >= 2, qPrintable(QString::number(runs.size())));
    QVERIFY(runs.size() <= 4);
    QVERIFY(std::is_sorted(runs.begin(), runs.end()));
    debouncer.cancel();
}

void tst_Debouncer::flushAndCancel_leaveNothingToRunLater()
{
    Debouncer debouncer(0.05);
    int runs = 0;
    debouncer.schedule([&] { ++runs; });
    debouncer.flush(); // runs now, synchronously
    QCOMPARE(runs, 1);
    debouncer.schedule([&] { runs += 10; });
    debouncer.cancel();
    QVERIFY(!debouncer.isPending());
    debouncer.flush(); // nothing pending
    QTest::qWait(150);
    QCOMPARE(runs, 1);
}

void tst_Debouncer::schedule_fromInsideTheAction_staysPending()
{
    Debouncer debouncer(0.05);
    QStringList runs;
    debouncer.schedule([&] {
        runs << QStringLiteral("first");
        debouncer.schedule([&] { runs << QStringLiteral("second"); });
    });
    debouncer.flush();
    QVERIFY(debouncer.isPending());
    QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 2, 2000);

    // The same from a timed run.
    debouncer.schedule([&] {
        runs << QStringLiteral("third");
        debouncer.schedule([&] { runs << QStringLiteral("fourth"); });
    });
    QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 4, 2000);
    QCOMPARE(runs.join(u' '), QStringLiteral("first second third fourth"));
    QVERIFY(!debouncer.isPending());
}

void tst_Debouncer::destroyedWhilePending_stillRunsAtTheDeadline()
{
    int runs = 0;
    QElapsedTimer clock;
    clock.start();
    auto debouncer = std::make_unique<Debouncer>(0.1);
    debouncer->schedule([&] { ++runs; });
    debouncer.reset();
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 2000);
    QVERIFY(clock.elapsed() >= 95);
}

void tst_Debouncer::action_mayDestroyItsDebouncer()
{
    int runs = 0;
    std::unique_ptr<Debouncer> debouncer;
    const auto scheduleSelfDestruction = [&] {
        debouncer = std::make_unique<Debouncer>(0.02);
        debouncer->schedule([&] {
            ++runs;
            debouncer.reset();
        });
    };
    scheduleSelfDestruction();
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 2000); // from the timer
    scheduleSelfDestruction();
    debouncer->flush();
    QCOMPARE(runs, 2);
    QVERIFY(!debouncer);
}

QTEST_GUILESS_MAIN(tst_Debouncer)
#include "tst_Debouncer.moc"
