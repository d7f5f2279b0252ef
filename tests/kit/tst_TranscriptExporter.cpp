#include <optional>

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
    struct Run
    {
        qsizetype start;
        qsizetype end;
    };
    QList<Run> runs;
    for (const TimestampMatch& match : TimestampFormatter::timestampMatches(text)) {
        if (!runs.isEmpty() && runs.last().end == match.start)
            runs.last().end = match.end;
        else
            runs.append({match.start, match.end});
    }

    QString copy = text;
    const auto clusterAt = [&copy](qsizetype pos) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, copy);
        finder.setPosition(pos);
        const qsizetype next = finder.toNextBoundary();
        return QStringView(copy).sliced(pos, next - pos);
    };
    const auto clusterBefore = [&copy](qsizetype pos) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, copy);
        finder.setPosition(pos);
        const qsizetype previous = finder.toPreviousBoundary();
        return QStringView(copy).sliced(previous, pos - previous);
    };
    const auto isLineBreak = [](QChar c) {
        return QStringView(u"\n\v\f\r\u0085\u2028\u2029").contains(c);
    };

    for (qsizetype k = runs.size() - 1; k >= 0; --k) {
        const Run run = runs[k];
        const qsizetype length = run.end - run.start;
        if (run.end < copy.size() && clusterAt(run.end) == u" ")
            copy.remove(run.start, length + 1);
        else if (run.start > 0 && clusterBefore(run.start) == u" " &&
                 (run.end == copy.size() || isLineBreak(copy[run.end])))
            copy.remove(run.start - 1, length + 1);
        else
            copy.remove(run.start, length);
    }
    return copy;
}

} // namespace

class tst_TranscriptExporter : public QObject
{
    Q_OBJECT

private slots:
    void exportFormat_values();
    void exportFormat_fromRawValue_data();
    void exportFormat_fromRawValue();

    void exportText_data();
    void exportText();
    void strip_data();
    void strip();
    void strip_matchesTheLiteralRuleOnRandomTexts();
};

void tst_TranscriptExporter::exportFormat_values()
{
    QCOMPARE(allExportFormats(),
             (QList<ExportFormat>{ExportFormat::PlainText, ExportFormat::Markdown}));
    QCOMPARE(rawValue(ExportFormat::PlainText), u"plainText"_s);
    QCOMPARE(rawValue(ExportFormat::Markdown), u"markdown"_s);
    QCOMPARE(fileExtension(ExportFormat::PlainText), u"txt"_s);
    QCOMPARE(fileExtension(ExportFormat::Markdown), u"md"_s);
}

void tst_TranscriptExporter::exportFormat_fromRawValue_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<std::optional<ExportFormat>>("expected");

    QTest::newRow("plainText") << u"plainText"_s << std::optional(ExportFormat::PlainText);
    QTest::newRow("markdown") << u"markdown"_s << std::optional(ExportFormat::Markdown);
    QTest::newRow("other case") << u"Markdown"_s << std::optional<ExportFormat>();
    QTest::newRow("extension") << u"md"_s << std::optional<ExportFormat>();
    QTest::newRow("padded") << u" markdown"_s << std::optional<ExportFormat>();
    QTest::newRow("empty") << QString() << std::optional<ExportFormat>();
}

void tst_TranscriptExporter::exportFormat_fromRawValue()
{
    QFETCH(QString, raw);
    QFETCH(std::optional<ExportFormat>, expected);
    QVERIFY(exportFormatFromRawValue(raw) == expected);
}

void tst_TranscriptExporter::exportText_data()
{
    QTest::addColumn<QString>("transcript");
    QTest::addColumn<QString>("projectName");
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<bool>("includeTimestamps");
    QTest::addColumn<QString>("expected");

    const QString text = u"[00:00:05] Hello\r\n  [100:00:00] x\u0301 "_s;
    QTest::newRow("plain, with timestamps: unchanged")
        << text << u"Name"_s << ExportFormat::PlainText << true << text;
    QTest::newRow("markdown, with timestamps")
        << u"[00:00:05] Hi"_s << u"Interview"_s << ExportFormat::Markdown << true
        << u"# Interview\n\n[00:00:05] Hi"_s;
    QTest::newRow("markdown, without timestamps")
        << u"[00:00:05] Hi"_s << u"Interview"_s << ExportFormat::Markdown << false
        << u"# Interview\n\nHi"_s;
    QTest::newRow("markdown, empty transcript")
        << QString() << u"Interview"_s << ExportFormat::Markdown << true << u"# Interview\n\n"_s;
    QTest::newRow("markdown, only a timestamp, stripped")
        << u"[00:00:05]"_s << u"Interview"_s << ExportFormat::Markdown << false
        << u"# Interview\n\n"_s;
    QTest::newRow("markdown, name not escaped or trimmed")
        << u"Hi\n"_s << u" *Notes* #2 "_s << ExportFormat::Markdown << true
        << u"#  *Notes* #2 \n\nHi\n"_s;
    QTest::newRow("markdown, three-digit hours kept")
        << u"[100:00:00] Hi"_s << u"N"_s << ExportFormat::Markdown << false
        << u"# N\n\n[100:00:00] Hi"_s;
}

void tst_TranscriptExporter::exportText()
{
    QFETCH(QString, transcript);
    QFETCH(QString, projectName);
    QFETCH(ExportFormat, format);
    QFETCH(bool, includeTimestamps);
    QFETCH(QString, expected);
    QCOMPARE(TranscriptExporter::exportText(transcript, projectName, format, includeTimestamps),
             expected);
}

void tst_TranscriptExporter::strip_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    // The reference table.
    QTest::newRow("at start") << u"[00:00:05] Hello there"_s << u"Hello there"_s;
    QTest::newRow("between words") << u"Hello [00:00:05] there"_s << u"Hello there"_s;
    QTest::newRow("at end") << u"Hello [00:00:05]"_s << u"Hello"_s;
    QTest::newRow("before line feed") << u"Hello [00:00:05]\nWorld"_s << u"Hello\nWorld"_s;
    QTest::newRow("no spaces") << u"Hello[00:00:05]there"_s << u"Hellothere"_s;
    QTest::newRow("space before only") << u"Hello [00:00:05]there"_s << u"Hello there"_s;
    QTest::newRow("touching run") << u"[00:00:05][00:00:09] Hello"_s << u"Hello"_s;
    QTest::newRow("line of its own at start") << u"[00:00:05]\nHello"_s << u"\nHello"_s;
    QTest::newRow("double spaces") << u"Hello  [00:00:05]  there"_s << u"Hello   there"_s;
    QTest::newRow("three-digit hours") << u"[100:00:00] Hello"_s << u"[100:00:00] Hello"_s;

    QTest::newRow("only a timestamp") << u"[00:00:05]"_s << QString();
    QTest::newRow("no timestamps") << u"Hello [world]"_s << u"Hello [world]"_s;
    QTest::newRow("other digits kept") << u"[٠٠:٠٠:٠٥] Hello"_s << u"[٠٠:٠٠:٠٥] Hello"_s;

    // Every line break takes the preceding space; other whitespace does not.
    QTest::newRow("CRLF") << u"Hello [00:00:05]\r\nWorld"_s << u"Hello\r\nWorld"_s;
    QTest::newRow("CR") << u"Hello [00:00:05]\rWorld"_s << u"Hello\rWorld"_s;
    QTest::newRow("VT") << u"Hello [00:00:05]\vWorld"_s << u"Hello\vWorld"_s;
    QTest::newRow("FF") << u"Hello [00:00:05]\fWorld"_s << u"Hello\fWorld"_s;
    QTest::newRow("NEL") << u"Hello [00:00:05]\u0085World"_s << u"Hello\u0085World"_s;
    QTest::newRow("LS") << u"Hello [00:00:05]\u2028World"_s << u"Hello\u2028World"_s;
    QTest::newRow("PS") << u"Hello [00:00:05]\u2029World"_s << u"Hello\u2029World"_s;
    QTest::newRow("tab after") << u"Hello [00:00:05]\tWorld"_s << u"Hello \tWorld"_s;
    QTest::newRow("tab before") << u"Hello\t[00:00:05]"_s << u"Hello\t"_s;
    QTest::newRow("no-break space after") << u"a [00:00:05]\u00A0b"_s << u"a \u00A0b"_s;

    // A space that carries a mark, or joins a prepended character, is not a space.
    QTest::newRow("space with mark after")
        << u"Hello [00:00:05] \u0301there"_s << u"Hello  \u0301there"_s;
    QTest::newRow("space with mark before, at end")
        << u"Hello \u0301[00:00:05]"_s << u"Hello \u0301"_s;
    QTest::newRow("space with spacing mark after") << u"a [00:00:05] \u0903"_s << u"a  \u0903"_s;
    QTest::newRow("prepended to the space before") << u"\u0600 [00:00:05]"_s << u"\u0600 "_s;
    QTest::newRow("timestamp with mark kept")
        << u"a [00:00:05]\u0301 b"_s << u"a [00:00:05]\u0301 b"_s;

    // Runs separated by one space: the later run's choice changes what the earlier one sees.
    QTest::newRow("two at end") << u"Hello [00:00:01] [00:00:02]"_s << u"Hello"_s;
    QTest::newRow("two before line break") << u"A [00:00:01] [00:00:02]\nB"_s << u"A\nB"_s;
    QTest::newRow("two between words") << u"A [00:00:01] [00:00:02] B"_s << u"A B"_s;
    QTest::newRow("two at start") << u"[00:00:01] [00:00:02] Hello"_s << u"Hello"_s;
    QTest::newRow("two spaces between, at end") << u"A [00:00:01]  [00:00:02]"_s << u"A "_s;
    QTest::newRow("three at end") << u"A [00:00:01] [00:00:02] [00:00:03]"_s << u"A"_s;

    QTest::newRow("after emoji") << u"😀 [00:00:05] x"_s << u"😀 x"_s;
    QTest::newRow("CRLF lines") << u"[00:00:01] One\r\n[00:00:02] Two [00:00:03]\r\n"_s
                                << u"One\r\nTwo\r\n"_s;
}

void tst_TranscriptExporter::strip()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(stripped(input), expected);
    QCOMPARE(strippedLiterally(input), expected);
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
        const QString expected = strippedLiterally(text);
        if (stripped(text) != expected)
            QFAIL(qPrintable(u"input: "_s + QString::fromLatin1(text.toUtf8().toPercentEncoding(
                                                " []:0123456789abcdefghijklmnopqrstuvwxyz"))));
    }
}

QTEST_APPLESS_MAIN(tst_TranscriptExporter)
#include "tst_TranscriptExporter.moc"
