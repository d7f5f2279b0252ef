#include "BackgroundChecker.h"
#include "WordTokenizer.h"

#include <QTest>

using namespace dictaro;
using WordTokenizer::WordRange;

namespace {

QStringList checkableWords(const QString& text)
{
    QStringList words;
    WordTokenizer::forEachCheckableWord(text, 0, text.size(), [&](qsizetype start, qsizetype end) {
        words << text.mid(start, end - start);
        return true;
    });
    return words;
}

} // namespace

class tst_WordTokenizer : public QObject
{
    Q_OBJECT

private slots:
    // Which words spelling looks at: apostrophes between letters belong to the word, quotes
    // and punctuation around it do not; numbers, timestamps and addresses are no words.
    void checkableWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("punctuation around")
            << "(word), \"quoted\"." << QStringList{"word", "quoted"};
        QTest::newRow("apostrophes inside")
            << "don't don\u2019t Ankara'da rock'n'roll"
            << QStringList{"don't", "don\u2019t", "Ankara'da", "rock'n'roll"};
        QTest::newRow("apostrophes outside")
            << "'tis dogs' 'quoted'" << QStringList{"tis", "dogs", "quoted"};
        QTest::newRow("double apostrophe")
            << "shouldn't'v can''t" << QStringList{"shouldn't'v", "can", "t"};
        QTest::newRow("no words") << "[00:01:23] 1999 3rd h2o snake_case" << QStringList{};
        QTest::newRow("addresses")
            << "www.a.com https://x.org/y mailto:a b@c.de <http://q.r> ok" << QStringList{"ok"};
        QTest::newRow("hyphen") << "well-known" << QStringList{"well", "known"};
        QTest::newRow("Turkish") << "İstanbul’da ışık" << QStringList{"İstanbul’da", "ışık"};
        QTest::newRow("Greek") << "καλημέρα κόσμε" << QStringList{"καλημέρα", "κόσμε"};
    }
    void checkableWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(::checkableWords(text).join(u"|"), words.join(u"|"));
    }

    // The word count: pieces between whitespace that hold a letter or digit, timestamps left out.
    void countWords()
    {
        QCOMPARE(WordTokenizer::countWords(u""), 0);
        QCOMPARE(WordTokenizer::countWords(u"  one\ttwo\nthree  "), 3);
        QCOMPARE(WordTokenizer::countWords(u"don't e-mail 42 \u2014 ... word,"), 4);
        QCOMPARE(WordTokenizer::countWords(u"[00:01:12] Yes.[00:01:13] [00:01:1x]"), 2);
        QCOMPARE(WordTokenizer::countWords(u"\u00e7ay i\u0307 \u0915\u093f"), 3);
    }

    // Find's whole words follow the same apostrophe rule: '|' marks a boundary before a
    // position, '.' none (the apostrophe inside "don't" and the underscore in "a_b" join; the
    // quotes around x do not).
    void wordBoundaries()
    {
        const auto marks = [](const QString& text) {
            QString result;
            for (qsizetype i = 0; i <= text.size(); ++i)
                result += WordTokenizer::isWordBoundary(text, i) ? u'|' : u'.';
            return result;
        };
        QCOMPARE(marks(QStringLiteral("don't 'x' a_b")), QStringLiteral("|....||||||..|"));
        QCOMPARE(marks(QStringLiteral("don\u2019t \u2019x\u2019")), QStringLiteral("|....|||||"));
    }

    // Checking piece by piece, with a deadline that has passed at every word, finds what one
    // pass finds, across windows and a word longer than a window.
    void backgroundChecker_resumesWhereItStopped()
    {
        QString text;
        for (int i = 0; i < 800; ++i)
            text += (i % 7 == 0 ? QStringLiteral("bad%1 ").arg(QChar(u'a' + i % 26))
                                : QStringLiteral("good "));
        text += QString(3000, u'x') + QStringLiteral(" bade");
        const BackgroundChecker checker([](QStringView word) { return word.startsWith(u"bad"); });
        QList<WordRange> once;
        QCOMPARE(checker.check(text, 0, once), text.size());
        QCOMPARE(once.size(), 800 / 7 + 1 + 1);
        QList<WordRange> pieces;
        qsizetype position = 0;
        int calls = 0;
        while (position < text.size() && calls < 10000) {
            position = checker.check(text, position, pieces, QDeadlineTimer(0));
            ++calls;
        }
        QVERIFY(calls > 100);
        QCOMPARE(pieces, once);
    }
};

QTEST_GUILESS_MAIN(tst_WordTokenizer)
#include "tst_WordTokenizer.moc"
