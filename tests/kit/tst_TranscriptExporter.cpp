#include <QTest>

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

} // namespace

class tst_TranscriptExporter : public QObject
{
    Q_OBJECT

private slots:
    void exportText_addsHeadingAndStripsOnRequest()
    {
        using TranscriptExporter::exportText;
        const QString text = u"[00:00:05] Hello\r\n  [100:00:00] x\u0301 "_s;
        QCOMPARE(exportText(text, u"Name"_s, ExportFormat::PlainText, true), text);
        // The name is neither escaped nor trimmed.
        QCOMPARE(exportText(u"[00:00:05] Hi"_s, u" *Notes* #2 "_s, ExportFormat::Markdown, false),
                 u"#  *Notes* #2 \n\nHi"_s);
    }

    // The removal rule: a run of touching timestamps goes with the one space after it, else with
    // the one before it when a line ends there; a space is one only as a whole character.
    void strip_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("between words") << u"Hello [00:00:05] there"_s << u"Hello there"_s;
        QTest::newRow("at end") << u"Hello [00:00:05]"_s << u"Hello"_s;
        QTest::newRow("before line feed") << u"Hello [00:00:05]\nWorld"_s << u"Hello\nWorld"_s;
        QTest::newRow("before line separator")
            << u"Hello [00:00:05]\u2028World"_s << u"Hello\u2028World"_s;
        QTest::newRow("before a word") << u"Hello [00:00:05]World"_s << u"Hello World"_s;
        QTest::newRow("at start") << u"[00:00:05] Hello"_s << u"Hello"_s;
        QTest::newRow("touching run") << u"Hello [00:00:05][00:00:09]"_s << u"Hello"_s;
        // A space that carries a mark is not a space.
        QTest::newRow("space with mark after")
            << u"Hello [00:00:05] \u0301there"_s << u"Hello  \u0301there"_s;
        // Runs separated by one space: the later run's choice changes what the earlier one sees.
        QTest::newRow("two at end") << u"Hello [00:00:01] [00:00:02]"_s << u"Hello"_s;
    }

    void strip()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(stripped(input), expected);
    }
};

QTEST_APPLESS_MAIN(tst_TranscriptExporter)
#include "tst_TranscriptExporter.moc"
