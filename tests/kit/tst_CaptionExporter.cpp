#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "AtomicFile.h"
#include "CaptionExporter.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

QString allText(const QList<Caption>& captions)
{
    QStringList lines;
    for (const Caption& caption : captions)
        lines.append(caption.lines);
    return lines.join(u' ');
}

// Start and end of every packet FFmpeg's demuxer reads from a caption file, in milliseconds.
QList<std::pair<qint64, qint64>> readByFfmpeg(const QString& path)
{
    QProcess probe;
    probe.start(u"ffprobe"_s, {u"-v"_s, u"error"_s, u"-show_entries"_s,
                               u"packet=pts_time,duration_time"_s, u"-of"_s, u"csv=p=0"_s, path});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return {};
    QList<std::pair<qint64, qint64>> packets;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        if (fields.size() != 2)
            continue;
        const qint64 start = std::llround(fields[0].toDouble() * 1000);
        packets.append({start, start + std::llround(fields[1].toDouble() * 1000)});
    }
    return packets;
}

} // namespace

class tst_CaptionExporter : public QObject
{
    Q_OBJECT

private slots:
    void stretchesRunFromStampToStamp()
    {
        const auto captions = CaptionExporter::captions(
            u"Before.\n[00:00:03] One\ntwo.  [00:00:05]\n[00:00:06] End."_s, 9.5);
        QCOMPARE(captions.size(), 3);
        QCOMPARE(captions[0], (Caption{0.0, 3.0, {}, {u"Before."_s}, true}));
        QCOMPARE(captions[1],
                 (Caption{3.0, 5.0, {}, {u"One two."_s}, true})); // the empty one skipped
        QCOMPARE(captions[2], (Caption{6.0, 9.5, {}, {u"End."_s}, true}));
        // Without the recording's length, the last one lasts as long as it takes to read.
        QCOMPARE(CaptionExporter::captions(u"[00:01:00] End."_s, 0).constFirst().end, 61.0);
        // A control character is dropped without leaving a space (a line of its own) behind.
        const QString line(42, u'1');
        QCOMPARE(CaptionExporter::captions(u"\u0015\n"_s + line + u'\a', 9).constFirst().lines,
                 QStringList{line});
        // A stamp earlier than the one before it does not give a negative length.
        const auto back = CaptionExporter::captions(u"[00:00:10] A.\n[00:00:02] B."_s, 20);
        QCOMPARE(back[0].start, 2.0);
        QCOMPARE(back[1].start, 10.0);
        QVERIFY(back[1].end > back[1].start);
    }

    void longStretchesAreSplit()
    {
        QString text;
        for (int i = 1; i <= 12; ++i)
            text += u"Sentence number %1 is right here. "_s.arg(i);
        text += u"And one sentence that is far too long to be shown on two lines of a caption, "
                u"so it goes between its words."_s;
        const auto captions =
            CaptionExporter::captions(u"[00:00:00] "_s + text + u"[00:01:00]"_s, 90);
        QVERIFY(captions.size() > 8);
        QCOMPARE(allText(captions), text.simplified());
        double previousEnd = 0;
        for (const Caption& caption : captions) {
            QVERIFY2(caption.end - caption.start <= CaptionExporter::maxCueSeconds + 1e-9,
                     qPrintable(caption.lines.join(u'|')));
            QVERIFY(caption.lines.size() <= CaptionExporter::maxLines);
            for (const QString& line : caption.lines)
                QVERIFY2(line.size() <= CaptionExporter::maxLineLength, qPrintable(line));
            QVERIFY(caption.start >= previousEnd - 1e-9);
            previousEnd = caption.end;
        }
        QCOMPARE(captions.constLast().end, 60.0);
        // Sentences are not broken while they fit; the long one is.
        QVERIFY(captions.constFirst().lines.join(u' ').endsWith(u"here."_s));
        // A short sentence over a long silence stays whole and up for at most the limit.
        const auto pause = CaptionExporter::captions(u"[00:00:00] Yes. [00:01:00] No."_s, 61);
        QCOMPARE(pause[0], (Caption{0.0, 7.0, {}, {u"Yes."_s}, true}));
    }

    void speakersBecomeVoices()
    {
        const QString transcript =
            u"[00:00:01] Anna Berg: I was born in Izmir. We moved when I was seven. Then "
            u"my father found work in the north, and we stayed there for years.\n"
            u"[00:00:20] Ben: <Really>?"_s;
        const auto captions = CaptionExporter::captions(transcript, 25);
        QVERIFY(captions.size() >= 3);
        // A long turn is named once in SubRip and voiced in every WebVTT caption; escaping and the
        // way back are tst_TranscriptImport's roundTrip.
        QCOMPARE(CaptionExporter::subRip(captions).count(u"Anna Berg: "_s), 1);
        const QString vtt = CaptionExporter::webVtt(captions);
        QCOMPARE(vtt.count(u"<v Anna Berg>"_s), captions.size() - 1);
        QVERIFY(vtt.endsWith(u"00:00:20.000 --> 00:00:25.000\n<v Ben>&lt;Really&gt;?\n\n"_s));
    }

    // A real reader of captions finds every one, at its time.
    void ffmpegReadsEveryCaption()
    {
        if (QStandardPaths::findExecutable(u"ffprobe"_s).isEmpty())
            QSKIP("ffprobe is not installed");
        QTemporaryDir dir;
        QString transcript = u"Opening words.\n"_s;
        for (int i = 1; i < 40; ++i)
            transcript +=
                u"[00:00:%1] Speaker %2: line %2, with a comma. And a second sentence.\n"_s
                    .arg(i, 2, 10, QChar(u'0'))
                    .arg(i);
        const auto captions = CaptionExporter::captions(transcript, 45.25);
        QList<std::pair<qint64, qint64>> expected;
        for (const Caption& caption : captions)
            expected.append({std::llround(caption.start * 1000), std::llround(caption.end * 1000)});
        for (const auto& [name, text] :
             {std::pair(u"out.srt"_s, CaptionExporter::subRip(captions)),
              std::pair(u"out.vtt"_s, CaptionExporter::webVtt(captions))}) {
            const QString path = dir.filePath(name);
            AtomicFile::write(path, text.toUtf8());
            QCOMPARE(readByFfmpeg(path), expected);
        }
    }
};

QTEST_GUILESS_MAIN(tst_CaptionExporter)
#include "tst_CaptionExporter.moc"
