// Where a long paragraph is cut into display pieces.
#include "ParagraphPieces.h"

#include <QTest>

using namespace dictaro;

class tst_ParagraphPieces : public QObject
{
    Q_OBJECT

    // The pieces the breaks make, checked for size on the way.
    static QStringList piecesOf(const QString& text, qsizetype length)
    {
        QStringList pieces;
        qsizetype start = 0;
        const QList<qsizetype> cuts = ParagraphPieces::breaks(text, length);
        for (const qsizetype cut : cuts) {
            if (cut <= start)
                return {QStringLiteral("not ascending")};
            pieces << text.mid(start, cut - start);
            start = cut;
        }
        pieces << text.mid(start);
        return pieces;
    }

private slots:
    // Words and timestamps stay whole: every piece but the last ends with its spaces, and the
    // next starts with a word; no piece is longer than twice the length aimed at.
    void breaks_endPiecesAfterSpacesWithinTwiceTheLength()
    {
        QString text;
        for (int i = 0; text.size() < 20'000; ++i)
            text += QStringLiteral("[00:%1:00] so we went  through the questions ").arg(i % 60);
        const QStringList pieces = piecesOf(text, 300);
        QVERIFY(pieces.size() >= 20'000 / 600);
        QCOMPARE(pieces.join(QString()), text);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            QVERIFY2(pieces[i].size() <= 600, qPrintable(QString::number(pieces[i].size())));
            if (i + 1 < pieces.size()) {
                QVERIFY(pieces[i].endsWith(u' '));
                QVERIFY(!pieces[i + 1].startsWith(u' '));
            }
        }
        QVERIFY(ParagraphPieces::breaks(text.left(600), 300).isEmpty());
    }

    // Without spaces (as in Japanese), between whole characters: never between the halves of
    // a surrogate pair or before a combining mark.
    void breaks_withoutSpacesKeepCharactersWhole()
    {
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += (i % 3 == 0) ? QStringLiteral("\U0001F600") : QStringLiteral("e\u0301");
        const QList<qsizetype> cuts = ParagraphPieces::breaks(text, 101);
        QVERIFY(!cuts.isEmpty());
        for (const qsizetype cut : cuts) {
            QVERIFY(!text.at(cut).isLowSurrogate());
            QCOMPARE_NE(text.at(cut), QChar(0x0301));
        }
    }
};

QTEST_MAIN(tst_ParagraphPieces)
#include "tst_ParagraphPieces.moc"
