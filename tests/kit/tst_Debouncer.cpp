#include "Debouncer.h"

#include <memory>

#include <QElapsedTimer>
#include <QList>
#include <QTest>

using namespace dictaro;

// Runs on the real event loop with short delays; margins are generous because only the order and
// count of runs are asserted, never precise timing.
class tst_Debouncer : public QObject
{
    Q_OBJECT

private slots:
    void schedule_burstRunsOnlyTheLatestOnceAfterTheLastRequest();
    void cancel_runsNothingThenOrLater();
    void flush_runsNowAndNeverAgain();
    void flushAndCancel_withNothingPending_doNothing_data();
    void flushAndCancel_withNothingPending_doNothing();
    void schedule_fromInsideTheAction_staysPending();
    void destroyedWhilePending_stillRunsAtTheDeadline();
    void action_mayDestroyItsDebouncer();
};

void tst_Debouncer::schedule_burstRunsOnlyTheLatestOnceAfterTheLastRequest()
{
    Debouncer debouncer(0.1);
    QList<int> runs;
    QElapsedTimer clock;
    clock.start();
    debouncer.schedule([&] { runs << 1; });
    QTest::qWait(60);
    const qint64 lastRequest = clock.elapsed();
    debouncer.schedule([&] { runs << 2; });
    QVERIFY(debouncer.isPending());

    QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 1, 2000);
    // Not earlier than the delay after the last request (the first one's deadline has passed).
    QVERIFY2(clock.elapsed() - lastRequest >= 95, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(runs, QList<int>{2});
    QVERIFY(!debouncer.isPending());
    QTest::qWait(150);
    QCOMPARE(runs, QList<int>{2});
}

void tst_Debouncer::cancel_runsNothingThenOrLater()
{
    Debouncer debouncer(0.05);
    int runs = 0;
    debouncer.schedule([&] { ++runs; });
    debouncer.cancel();
    QVERIFY(!debouncer.isPending());
    QTest::qWait(150);
    QCOMPARE(runs, 0);
}

void tst_Debouncer::flush_runsNowAndNeverAgain()
{
    Debouncer debouncer(0.05);
    int runs = 0;
    debouncer.schedule([&] { ++runs; });
    debouncer.flush();
    QCOMPARE(runs, 1);
    QVERIFY(!debouncer.isPending());
    QTest::qWait(150);
    QCOMPARE(runs, 1);
}

void tst_Debouncer::flushAndCancel_withNothingPending_doNothing_data()
{
    QTest::addColumn<bool>("afterARun");
    QTest::newRow("never scheduled") << false;
    QTest::newRow("after a scheduled run") << true;
}

void tst_Debouncer::flushAndCancel_withNothingPending_doNothing()
{
    QFETCH(bool, afterARun);
    Debouncer debouncer(0.02);
    int runs = 0;
    if (afterARun) {
        debouncer.schedule([&] { ++runs; });
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 2000);
    }
    debouncer.flush();
    debouncer.cancel();
    debouncer.flush();
    QCOMPARE(runs, afterARun ? 1 : 0);
    QVERIFY(!debouncer.isPending());
}

void tst_Debouncer::schedule_fromInsideTheAction_staysPending()
{
    Debouncer debouncer(0.05);
    QList<QString> runs;
    bool pendingInside = true;
    debouncer.schedule([&] {
        runs << QStringLiteral("first");
        pendingInside = debouncer.isPending();
        debouncer.schedule([&] { runs << QStringLiteral("second"); });
    });
    debouncer.flush();
    QVERIFY(!pendingInside);
    QCOMPARE(runs, QList<QString>{QStringLiteral("first")});
    QVERIFY(debouncer.isPending());
    QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 2, 2000);
    QCOMPARE(runs.last(), QStringLiteral("second"));

    // The same from a timed run.
    debouncer.schedule([&] {
        runs << QStringLiteral("third");
        debouncer.schedule([&] { runs << QStringLiteral("fourth"); });
    });
    QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 4, 2000);
    QCOMPARE(runs.last(), QStringLiteral("fourth"));
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
    QTest::qWait(20);
    QCOMPARE(runs, 0);
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 2000);
    QVERIFY(clock.elapsed() >= 95);
    QTest::qWait(100);
    QCOMPARE(runs, 1);
}

void tst_Debouncer::action_mayDestroyItsDebouncer()
{
    auto debouncer = std::make_unique<Debouncer>(0.02);
    int runs = 0;
    debouncer->schedule([&] {
        ++runs;
        debouncer.reset();
    });
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 2000);
    QVERIFY(!debouncer);

    debouncer = std::make_unique<Debouncer>(0.02);
    debouncer->schedule([&] {
        ++runs;
        debouncer.reset();
    });
    debouncer->flush();
    QCOMPARE(runs, 2);
    QVERIFY(!debouncer);
}

QTEST_GUILESS_MAIN(tst_Debouncer)
#include "tst_Debouncer.moc"
