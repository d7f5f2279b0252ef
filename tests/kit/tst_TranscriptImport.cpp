#include <QTest>

#include "CaptionExporter.h"
#include "TranscriptImport.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

QString imported(const QByteArray& bytes, const QString& fileName)
{
    return TranscriptImport::transcriptFromFile(bytes, fileName);
}

// The kind and line of the error that importing `bytes` throws; a kind of -1 when none.
std::pair<int, int> failure(const QByteArray& bytes, const QString& fileName)
{
    try {
        imported(bytes, fileName);
    } catch (const ImportError& error) {
        return {int(error.kind()), error.line()};
    }
    return {-1, 0};
}

} // namespace

class tst_TranscriptImport : public QObject
{
    Q_OBJECT

private slots:
    // What other tools write: a byte order mark, CR LF, numbers out of step or missing, cues out of
    // order and overlapping, an empty cue, markup, several lines, no final blank line.
    void subRip_untidyFileImportsCleanly()
    {
        const QByteArray file = "\xEF\xBB\xBF"
                                "7\r\n"
                                "00:00:09,500 --> 00:00:12,000\r\n"
                                "<i>Third</i>, in italics\r\n"
                                "\r\n"
                                "1\r\n"
                                "00:00:01,000 --> 00:00:04,000\r\n"
                                "First line\r\n"
                                "and its second\r\n"
                                "\r\n"
                                "00:00:03,000 --> 00:00:06,000\r\n"
                                "{\\an8}Overlapping, no number\r\n"
                                "\r\n"
                                "3\r\n"
                                "00:00:07,000 --> 00:00:08,000\r\n"
                                "\r\n"
                                "12\r\n"
                                "01:02:03.250 --> 01:02:05,000 X1:10 X2:20\r\n"
                                "Last, 42\r\n"
                                "2017";
        QCOMPARE(imported(file, u"call.SRT"_s), u"[00:00:01] First line and its second\n"
                                                u"[00:00:03] Overlapping, no number\n"
                                                u"[00:00:09] Third, in italics\n"
                                                u"[01:02:03] Last, 42 2017"_s);
    }

    void webVtt_blocksTagsAndVoices()
    {
        const QByteArray file = "WEBVTT - a title\n"
                                "Kind: captions\n"
                                "\n"
                                "STYLE\n"
                                "::cue { color: yellow }\n"
                                "\n"
                                "NOTE a comment\n"
                                "that spans lines --> with an arrow\n"
                                "\n"
                                "intro\n"
                                "00:01.000 --> 00:04.000 align:start position:10%\n"
                                "<v.loud Anna Berg>Hello <b>there</b> &amp; &lt;welcome&gt;\n"
                                "\n"
                                "01:00:05.000 --> 01:00:06.000\n"
                                "<v Ben>Hi</v> <c.yellow>you</c><00:00:05.500> too&nbsp;&#x263A;\n";
        QCOMPARE(imported(file, u"x.vtt"_s), u"[00:00:01] Anna Berg: Hello there & <welcome>\n"
                                             u"[01:00:05] Ben: Hi you too \u263A"_s);
    }

    void plainAndMarkdown_takenAsTheyAre()
    {
        QCOMPARE(imported("[00:00:01] Hi\r\nno stamp\n\n", u"a.txt"_s),
                 u"[00:00:01] Hi\nno stamp\n\n"_s);
        // Dictaro's own Markdown export loses its title line again.
        QCOMPARE(imported("# Interview\n\n[00:00:01] Hi\n", u"a.md"_s), u"[00:00:01] Hi\n"_s);
        QCOMPARE(imported("# Heading of a note\nText", u"a.md"_s), u"# Heading of a note\nText"_s);
    }

    void encodings()
    {
        const QString text = u"[00:00:01] Çağrı ☺ 𝄞"_s;
        QByteArray le("\xFF\xFE"), be("\xFE\xFF");
        for (const QChar c : text) {
            const char16_t unit = c.unicode();
            le.append(char(unit & 0xFF)).append(char(unit >> 8));
            be.append(char(unit >> 8)).append(char(unit & 0xFF));
        }
        QCOMPARE(imported(le, u"a.txt"_s), text);
        QCOMPARE(imported(be, u"a.txt"_s), text);
        QCOMPARE(imported(text.toUtf8(), u"a.txt"_s), text);
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("line");
        using enum ImportError::Kind;
        const auto row = [](const char* name, const QByteArray& bytes, const char* extension,
                            ImportError::Kind kind, int line) {
            QTest::newRow(name) << bytes << u"a."_s + QLatin1String(extension) << int(kind) << line;
        };
        row("Latin-1 on line 3", "a\r\nb\nna\xEFve", "txt", NotText, 3);
        row("overlong UTF-8", "\xC0\xAF", "txt", NotText, 1);
        row("UTF-8 surrogate", "a\n\xED\xA0\x80", "txt", NotText, 2);
        row("truncated sequence", "ok\n\xE2\x98", "txt", NotText, 2);
        row("binary", QByteArray("PK\x03\x04\0\0", 6), "srt", Binary, 1);
        row("lone UTF-16 surrogate", QByteArray("\xFF\xFE\x61\0\n\0\0\xD8", 8), "txt", NotText, 2);
        row("odd UTF-16", "\xFF\xFE\x61", "txt", NotText, 0);
        row("bad time line", "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03 --> 00:00:04\nB\n",
            "srt", BadTimeLine, 6);
        row("minutes out of range", "00:61:01,000 --> 00:62:02,000\nA\n", "srt", BadTimeLine, 1);
        row("stray text", "1\n00:00:01,000 --> 00:00:02,000\nA\n\nstray\n", "srt", BadTimeLine, 5);
        row("no header", "WEBVTTX\n\n00:01.000 --> 00:02.000\nA\n", "vtt", NoHeader, 1);
        row("vtt bad time", "WEBVTT\n\nid\n00:01 --> 00:02\nA\n", "vtt", BadTimeLine, 4);
    }

    void unreadable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QFETCH(int, kind);
        QFETCH(int, line);
        QCOMPARE(failure(bytes, fileName), std::pair(kind, line));
    }

    // Dictaro's transcripts go out as captions and come back as the same lines and stamps, the
    // lines sorted by stamp.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("transcript");
        QTest::addColumn<QString>("expected");
        const QString turns = u"[00:00:01] Anna: Hello there.\n"
                              u"[00:00:04] Ben: Hi <you> & \"them\" --> over.\n"
                              u"[00:01:10] Anna: Çok güzel."_s;
        QTest::newRow("turns") << turns << turns;
        QTest::newRow("stamps out of order and touching")
            << u"[00:00:10] Later.\n[00:00:02] Earlier one.\n[01:00:00][01:00:02] Touching."_s
            << u"[00:00:02] Earlier one.\n[00:00:10] Later.\n[01:00:02] Touching."_s;
    }

    void roundTrip()
    {
        QFETCH(QString, transcript);
        QFETCH(QString, expected);
        const QList<Caption> captions = CaptionExporter::captions(transcript, 4000.0);
        QCOMPARE(imported(CaptionExporter::webVtt(captions).toUtf8(), u"x.vtt"_s), expected);
        QCOMPARE(imported(CaptionExporter::subRip(captions).toUtf8(), u"x.srt"_s), expected);
    }
};

QTEST_GUILESS_MAIN(tst_TranscriptImport)
#include "tst_TranscriptImport.moc"
