// Where a machine draft goes: the stretch it covers, the text it appends, its times clamped.
#include "DraftPlacement.h"

#include <QTest>

#include <limits>

using namespace dictaro;
using namespace DraftPlacement;

Q_DECLARE_METATYPE(dictaro::DraftPlacement::StretchKind)

namespace {

RecognisedSegment segment(double start, double end, const QString& text)
{
    return {start, end, text, {}};
}

} // namespace

class tst_DraftPlacement : public QObject
{
    Q_OBJECT

private slots:
    void planFor_data()
    {
        QTest::addColumn<QString>("transcript");
        QTest::addColumn<StretchKind>("kind");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::newRow("empty") << "" << StretchKind::Whole << 0.0 << 600.0;
        QTest::newRow("only spaces") << " \n\t" << StretchKind::Whole << 0.0 << 600.0;
        QTest::newRow("text, no stamp") << "hello" << StretchKind::Unclear << 0.0 << 600.0;
        QTest::newRow("last stamp wins") << "[00:00:10] a\n[00:05:00] b\n"
                                         << StretchKind::AfterLastStamp << 300.0 << 600.0;
        QTest::newRow("stamp in the last second")
            << "[00:09:59] a" << StretchKind::Unclear << 0.0 << 600.0;
        QTest::newRow("stamp past the end")
            << "[01:00:00] a" << StretchKind::Unclear << 0.0 << 600.0;
    }
    void planFor()
    {
        QFETCH(QString, transcript);
        QFETCH(StretchKind, kind);
        QFETCH(double, start);
        QFETCH(double, end);
        const StretchPlan plan = DraftPlacement::planFor(transcript, 600.0);
        QCOMPARE(plan.kind, kind);
        QCOMPARE(plan.stretch, (Stretch{start, end}));
    }

    void clamped_ordersAndBounds()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QCOMPARE(clamped({50, 10}, 100), (Stretch{10, 50}));
        QCOMPARE(clamped({-5, 500}, 100), (Stretch{0, 100}));
        QCOMPARE(clamped({nan, nan}, 100), (Stretch{0, 100}));
        // An unknown length bounds nothing above.
        QCOMPARE(clamped({5, 500}, nan), (Stretch{5, 500}));
    }

    // Times a recogniser gives outside the stretch, or out of order, end up inside it.
    void clampedTo_keepsTimesInTheStretch()
    {
        RecognisedSegment raw = segment(5, 400, QStringLiteral("a b"));
        raw.words = {{5, 8, QStringLiteral("a"), 1.5},
                     {300, 250, QStringLiteral("b"), std::numeric_limits<double>::quiet_NaN()}};
        const RecognisedSegment fixed = clampedTo(raw, {10, 260});
        QCOMPARE(fixed.start, 10.0);
        QCOMPARE(fixed.end, 260.0);
        QCOMPARE(fixed.words[0].start, 10.0);
        QCOMPARE(fixed.words[0].probability, 1.0);
        QCOMPARE(fixed.words[1].start, 260.0);
        QCOMPARE(fixed.words[1].end, 260.0);
        QCOMPARE(fixed.words[1].probability, 0.0);
    }

    void appendedText_startsOnALineOfItsOwn()
    {
        const std::vector<RecognisedSegment> segments{
            segment(61, 62, QStringLiteral(" Hi\nthere ")), segment(63, 64, QStringLiteral("  "))};
        const QString line = QStringLiteral("[00:01:01] Hi there\n");
        QCOMPARE(appendedText(u"", segments), line);
        QCOMPARE(appendedText(u"typed\n", segments), line);
        QCOMPARE(appendedText(u"typed", segments), u'\n' + line);
        QCOMPARE(appendedText(u"typed", {segment(1, 2, QString())}), QString());
    }
};

QTEST_GUILESS_MAIN(tst_DraftPlacement)
#include "tst_DraftPlacement.moc"
