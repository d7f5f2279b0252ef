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
    // Only the latest action of a burst runs, once, a delay after the last request; requests
    // every 20 ms never leave a 100 ms pause, and the 250 ms ceiling runs them anyway.
    void burst_runsTheLatestAfterAPauseOrAtTheCeiling()
    {
        Debouncer debouncer(0.1);
        QList<int> runs;
        debouncer.schedule([&] { runs << 1; });
        QTest::qWait(60);
        QElapsedTimer sinceLast;
        sinceLast.start();
        debouncer.schedule([&] { runs << 2; });
        QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 1, 2000);
        QVERIFY(sinceLast.elapsed() >= 95);
        QCOMPARE(runs, QList<int>{2});

        Debouncer capped(0.1, 0.25);
        runs.clear();
        QElapsedTimer burst;
        burst.start();
        for (int i = 0; burst.elapsed() < 700; ++i) {
            capped.schedule([&runs, i] { runs << i; });
            QTest::qWait(20);
        }
        QVERIFY2(runs.size() >= 2 && runs.size() <= 4, qPrintable(QString::number(runs.size())));
        QVERIFY(std::is_sorted(runs.begin(), runs.end()));
        capped.cancel();
    }

    // flush runs now (an action scheduling again stays pending), cancel drops, and a run
    // outlives its debouncer; an action may destroy its own debouncer.
    void flushCancelAndLifetime()
    {
        Debouncer debouncer(0.05);
        QStringList runs;
        debouncer.schedule([&] {
            runs << QStringLiteral("first");
            debouncer.schedule([&] { runs << QStringLiteral("second"); });
        });
        debouncer.flush();
        QCOMPARE(runs, QStringList{QStringLiteral("first")});
        QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 2, 2000);
        debouncer.schedule([&] { runs << QStringLiteral("cancelled"); });
        debouncer.cancel();
        debouncer.flush();

        auto owned = std::make_unique<Debouncer>(0.02);
        owned->schedule([&] {
            runs << QStringLiteral("destroys its debouncer");
            owned.reset();
        });
        QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 3, 2000);
        QVERIFY(!owned);
        auto dropped = std::make_unique<Debouncer>(0.02);
        dropped->schedule([&] { runs << QStringLiteral("after its debouncer"); });
        dropped.reset();
        QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 4, 2000);
        QCOMPARE(runs.last(), QStringLiteral("after its debouncer"));
    }
};

QTEST_GUILESS_MAIN(tst_Debouncer)
#include "tst_Debouncer.moc"
