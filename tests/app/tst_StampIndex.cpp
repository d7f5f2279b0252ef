// The timestamps of a document kept up to date through edits, and the line a time belongs to.
#include "DisplayBlocks.h"
#include "StampIndex.h"
#include "TimestampFormatter.h"

#include <QPlainTextDocumentLayout>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace dictaro;

namespace {

// Every stamp of the document, read from its whole text.
QList<StampIndex::Stamp> readAll(const QTextDocument& document)
{
    QList<StampIndex::Stamp> stamps;
    const QString text = document.toPlainText();
    for (const TimestampMatch& match : TimestampFormatter::timestampMatches(text))
        stamps.append({int(match.start), int(match.end), match.seconds});
    return stamps;
}

} // namespace

class tst_StampIndex : public QObject
{
    Q_OBJECT

private slots:
    // Edits of every kind, anywhere and several between two questions, undone and redone,
    // leave the index as a fresh reading of the text would be.
    void index_followsEdits()
    {
        QTextDocument document;
        document.setPlainText(QStringLiteral("[00:00:01] one\n[00:00:05] two\nthree"));
        // Laid out as in an editor: edits report the stretch they touched.
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        StampIndex index(&document);
        QCOMPARE(index.stamps(), readAll(document));
        QRandomGenerator random(7);
        const QStringList pieces{QStringLiteral("[00:00:09] "), QStringLiteral("word "),
                                 QStringLiteral("\n"), QStringLiteral("[00:01:00]\n[00:00:02]"),
                                 QString()};
        for (int round = 0; round < 300; ++round) {
            for (int edit = random.bounded(1, 4); edit > 0; --edit) {
                QTextCursor cursor(&document);
                const int length = document.characterCount() - 1;
                cursor.setPosition(random.bounded(length + 1));
                cursor.setPosition(std::min(length, cursor.position() + random.bounded(12)),
                                   QTextCursor::KeepAnchor);
                if (random.bounded(10) == 0)
                    document.undo();
                else
                    cursor.insertText(pieces[random.bounded(pieces.size())]);
            }
            QCOMPARE(index.stamps(), readAll(document));
        }
        document.setPlainText(QStringLiteral("none"));
        QCOMPARE(index.stamps(), readAll(document));
    }

    // A long paragraph shown in several blocks keeps its stamps where they are.
    void index_readsAcrossSoftBreaks()
    {
        QString text;
        for (int i = 0; i < 200; ++i)
            text += TimestampFormatter::stringFromSeconds(i) + QStringLiteral(" some words ");
        QTextDocument document(text);
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        new DisplayBlocks(&document);
        QVERIFY(document.blockCount() > 1);
        StampIndex index(&document);
        QCOMPARE(index.stamps().size(), 200);
        QTextCursor(&document).insertText(QStringLiteral("x"));
        QCOMPARE(index.stamps(), StampIndex(&document).stamps());
    }

    // The line runs from the latest stamp not after the time to the next stamp in the text.
    void lineAt_isFromTheLatestEarlierStamp()
    {
        QTextDocument document(QStringLiteral("intro [00:00:10] a\n[00:00:20] b\n[00:00:05] c"));
        StampIndex index(&document);
        QVERIFY(!index.lineAt(4.9));
        QCOMPARE(index.lineAt(7.0), std::pair(32, 44));
        QCOMPARE(index.lineAt(10.0), std::pair(6, 19));
        QCOMPARE(index.lineAt(99.0), std::pair(19, 32));
    }

    // Moving between stamps: the next one starts at or after the caret, the previous one ends
    // before it, and a caret in a stamp or at its "[" plays from that stamp.
    void lookups_aroundAPosition()
    {
        QTextDocument document(QStringLiteral("[00:00:01] a\n[00:00:05] b"));
        StampIndex index(&document);
        const StampIndex::Stamp first{0, 10, 1.0}, second{13, 23, 5.0};
        QCOMPARE(index.next(0), first);
        QCOMPARE(index.next(1), second);
        QVERIFY(!index.next(14));
        QVERIFY(!index.previous(10));
        QCOMPARE(index.previous(11), first);
        QCOMPARE(index.previous(24), second);
        QVERIFY(!index.atOrBefore(-1));
        QCOMPARE(index.atOrBefore(0), first);
        QCOMPARE(index.atOrBefore(12), first);
        QCOMPARE(index.atOrBefore(13), second);
    }
};

QTEST_MAIN(tst_StampIndex)
#include "tst_StampIndex.moc"
