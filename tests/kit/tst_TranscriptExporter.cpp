#include <QRandomGenerator>
#include <QTest>
#include <QTextBoundaryFinder>

#include "ExportFormat.h"
#include "TimestampFormatter.h"
#include "TranscriptExporter.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

QString stripped(const QString& text)
{
    return TranscriptExporter::exportText(text, u"Ignored"_s, ExportFormat::PlainText, false);
}

// The removal rule written out literally: runs are cut from a working copy, last to first, and
// every neighbour is judged as a whole grapheme cluster of the copy as it is at that moment.
// Slow, but obviously right; the exporter must produce the same text in one pass. (The boundary
// finder tailors clusters of some Indic and Southeast Asian scripts, so the random texts below
// avoid those scripts.)
QString strippedLiterally(const QString& text)
{
    QList<std::pair<qsizetype, qsizetype>> runs; // start and end of touching timestamps
    for (const TimestampMatch& match : TimestampFormatter::timestampMatches(text)) {
        if (!runs.isEmpty() && runs.last().second == match.start)
            runs.last().second = match.end;
        else
            runs.append({match.start, match.end});
    }

    QString copy = text;
    // Whether the cluster of the copy that starts (after) or ends (before) at `pos` is one space.
    const auto spaceCluster = [&copy](qsizetype pos, bool after) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, copy);
        finder.setPosition(pos);
        const qsizetype other = after ? finder.toNextBoundary() : finder.toPreviousBoundary();
        return qAbs(other - pos) == 1 && copy[qMin(pos, other)] == u' ';
    };
    const auto isLineBreak = [](QChar c) {
        return QStringView(u"\n\v\f\r\u0085\u2028\u2029").contains(c);
    };

    for (qsizetype k = runs.size() - 1; k >= 0; --k) {
        const auto [start, end] = runs[k];
        if (end < copy.size() && spaceCluster(end, true))
            copy.remove(start, end - start + 1);
        else if (start > 0 && spaceCluster(start, false) &&
                 (end == copy.size() || isLineBreak(copy[end])))
            copy.remove(start - 1, end - start + 1);
        else
            copy.remove(start, end - start);
    }
    return copy;
}

} // namespace

class tst_TranscriptExporter : public QObject
{
    Q_OBJECT

private slots:
    void exportText_addsHeadingAndStripsOnRequest();
    void strip_data();
    void strip();
    void strip_matchesTheLiteralRuleOnRandomTexts();
};

void tst_TranscriptExporter::exportText_addsHeadingAndStripsOnRequest()
{
    using TranscriptExporter::exportText;
    const QString text = u"[00:00:05] Hello\r\n  [100:00:00] x\u0301 "_s;
    QCOMPARE(exportText(text, u"Name"_s, ExportFormat::PlainText, true), text);
    // The name is neither escaped nor trimmed.
    QCOMPARE(exportText(u"[00:00:05] Hi"_s, u" *Notes* #2 "_s, ExportFormat::Markdown, false),
             u"#  *Notes* #2 \n\nHi"_s);
}

// Worked examples of the removal rule; the random texts below check the rest.
void tst_TranscriptExporter::strip_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("between words") << u"Hello [00:00:05] there"_s << u"Hello there"_s;
    QTest::newRow("at end") << u"Hello [00:00:05]"_s << u"Hello"_s;
    QTest::newRow("before line feed") << u"Hello [00:00:05]\nWorld"_s << u"Hello\nWorld"_s;
    QTest::newRow("touching run") << u"Hello [00:00:05][00:00:09]"_s << u"Hello"_s;
    // A space that carries a mark is not a space.
    QTest::newRow("space with mark after")
        << u"Hello [00:00:05] \u0301there"_s << u"Hello  \u0301there"_s;
    // Runs separated by one space: the later run's choice changes what the earlier one sees.
    QTest::newRow("two at end") << u"Hello [00:00:01] [00:00:02]"_s << u"Hello"_s;
}

void tst_TranscriptExporter::strip()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(stripped(input), expected);
}

void tst_TranscriptExporter::strip_matchesTheLiteralRuleOnRandomTexts()
{
    const QStringList pieces = {
        u"[00:00:05]"_s, u"[00:00:05]"_s, u"[01:02:03]"_s,  u" "_s, u" "_s,      u" "_s,
        u"\n"_s,         u"\r\n"_s,       u"\u2028"_s,      u"a"_s, u"\u0301"_s, u"\u0600"_s,
        u"\u200D"_s,     u"😀"_s,          u"[100:00:00]"_s, u"["_s, u"\t"_s};
    QRandomGenerator random(20240601);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(random.bounded(1, 12));
        for (int i = 0; i < length; ++i)
            text += pieces[random.bounded(qsizetype(pieces.size()))];
        QVERIFY2(stripped(text) == strippedLiterally(text),
                 text.toUtf8()
                     .toPercentEncoding(" []:0123456789abcdefghijklmnopqrstuvwxyz")
                     .constData());
    }
}

QTEST_APPLESS_MAIN(tst_TranscriptExporter)
#include "tst_TranscriptExporter.moc"
