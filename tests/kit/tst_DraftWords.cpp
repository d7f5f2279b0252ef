// The word timings of a draft: found again in edited text, the word at a time, the side file
// (round trip, hostile content).
#include "DraftWords.h"

#include <QTest>

using namespace dictaro;

namespace {

// " Hello", ",", " world", "." as a recogniser gives them.
RecognisedSegment greeting(double start)
{
    return {start,
            start + 4,
            QStringLiteral(" Hello, world."),
            {{start, start + 1, QStringLiteral(" Hello"), 0.9},
             {start + 1, start + 1.2, QStringLiteral(","), 0.3},
             {start + 2, start + 3, QStringLiteral(" world"), 0.95},
             {start + 3, start + 3.5, QStringLiteral("."), 0.99}}};
}

QStringList texts(QStringView line, const QList<DraftWords::Found>& found)
{
    QStringList list;
    for (const DraftWords::Found& f : found)
        list.append(line.sliced(f.start, f.end - f.start).toString());
    return list;
}

} // namespace

class tst_DraftWords : public QObject
{
    Q_OBJECT

private slots:
    // Pieces as the line shows them, with the times and the least sure part of their words;
    // a segment without word timings shares its time among its pieces.
    void add_makesThePiecesOfTheLine()
    {
        DraftWords words;
        words.add(greeting(10));
        words.add({20, 26, QStringLiteral("one two three"), {}});
        const DraftWords::Segment& first = words.segments()[0];
        QCOMPARE(first.words.size(), 2);
        QCOMPARE(first.words[0], (DraftWords::Word{10, 11.2, 0.3, QStringLiteral("Hello,")}));
        QCOMPARE(first.words[1], (DraftWords::Word{12, 13.5, 0.95, QStringLiteral("world.")}));
        const DraftWords::Segment& second = words.segments()[1];
        QCOMPARE(second.words[2], (DraftWords::Word{24, 26, 1.0, QStringLiteral("three")}));
    }

    void find_followsEdits_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("as drafted")
            << "[00:00:10] Hello, world." << QStringList{"Hello,", "world."};
        QTest::newRow("edited word loses it")
            << "[00:00:10] Hello, World!" << QStringList{"Hello,"};
        QTest::newRow("inserted and deleted words")
            << "[00:00:10] Oh dear world." << QStringList{"world."};
        QTest::newRow("another second's stamp") << "[00:00:11] Hello, world." << QStringList{};
        QTest::newRow("no stamp") << "Hello, world." << QStringList{};
        QTest::newRow("two segments in one second")
            << "[00:01:00] Hello, world. [00:01:00] one two"
            << QStringList{"Hello,", "world.", "one", "two"};
    }
    void find_followsEdits()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, found);
        DraftWords words;
        words.add(greeting(10));
        words.add(greeting(60.2));
        words.add({60.7, 61, QStringLiteral("one two"), {}});
        QCOMPARE(texts(line, words.find(line)), found);
    }

    void wordAt_isTheLastWordStartedInTheSegmentUnderWay()
    {
        DraftWords words;
        words.add(greeting(10));
        words.add(greeting(30));
        QCOMPARE(words.wordAt(9.9), std::nullopt);
        QCOMPARE(words.wordAt(10.5), (std::pair{0, 0}));
        QCOMPARE(words.wordAt(13.9), (std::pair{0, 1}));
        QCOMPARE(words.wordAt(20), std::nullopt); // between segments
        QCOMPARE(words.wordAt(32.5), (std::pair{1, 1}));
    }

    void sideFile_roundTripsAndRefusesWhatItDidNotWrite()
    {
        DraftWords words;
        words.add(greeting(30));
        words.add(greeting(10)); // out of order: kept in order
        const std::optional<DraftWords> back = DraftWords::decode(words.encode());
        QVERIFY(back);
        QCOMPARE(*back, words);
        QCOMPARE(back->segments()[0].start, 10.0);
        QCOMPARE(words.find(u"[00:00:30] Hello, world.").constLast().segment, 1);

        const QByteArray head = R"({"format":"dictaro-draft-words","version":1,"segments":)";
        const auto withSegments = [&](const char* segments) { return head + segments + "}"; };
        for (const QByteArray& bad :
             {QByteArray("not json"), QByteArray("[]"),
              QByteArray(R"({"format":"x","version":1,"segments":[]})"),
              head + "[]," + R"("version":2})",
              withSegments(R"([{"start":1,"end":0,"words":[[0,1,0.5,"a"]]}])"),
              withSegments(R"([{"start":0,"end":1,"words":[[0,1,1.5,"a"]]}])"),
              withSegments(R"([{"start":0,"end":1,"words":[[0,1,0.5,"a b"]]}])"),
              withSegments(R"([{"start":0,"end":1,"words":[[0,1,0.5]]}])"),
              withSegments(R"([{"start":0,"end":1,"words":[["0",1,0.5,"a"]]}])"),
              withSegments(R"([{"start":-1,"end":1,"words":[[0,1,0.5,"a"]]}])"),
              withSegments(R"([{"start":0,"end":1e300,"words":[[0,1,0.5,"a"]]}])"),
              withSegments(R"([{"start":0,"end":1,"words":[]}])"),
              withSegments(R"([{"start":5,"end":6,"words":[[5,6,1,"a"]]},)"
                           R"({"start":1,"end":2,"words":[[1,2,1,"b"]]}])"),
              withSegments(R"([7])")})
            QVERIFY2(!DraftWords::decode(bad), bad.constData());
    }
};

QTEST_GUILESS_MAIN(tst_DraftWords)
#include "tst_DraftWords.moc"
