#include <QTest>

#include "RecognisedWords.h"

using namespace dictaro;
using namespace Qt::StringLiterals;
using Token = RecognisedWords::Token;
using Words = std::vector<RecognisedWord>;

class tst_RecognisedWords : public QObject
{
    Q_OBJECT

private slots:
    void join_data()
    {
        QTest::addColumn<std::vector<Token>>("tokens");
        QTest::addColumn<double>("segmentStart");
        QTest::addColumn<double>("segmentEnd");
        QTest::addColumn<Words>("words");

        QTest::newRow("pieces of a word join")
            << std::vector<Token>{{" Hel", 1.0, 1.2, 0.9},
                                  {"lo", 1.2, 1.4, 0.5},
                                  {" world", 1.5, 1.9, 0.8}}
            << 1.0 << 2.0 << Words{{1.0, 1.4, u"Hello"_s, 0.7}, {1.5, 1.9, u"world"_s, 0.8}};
        QTest::newRow("a character split between tokens")
            << std::vector<Token>{{" caf", 0.0, 0.3, 1.0},
                                  {"\xC3", 0.3, 0.3, 1.0},
                                  {"\xA9", 0.3, 0.4, 1.0}}
            << 0.0 << 1.0 << Words{{0.0, 0.4, u"café"_s, 1.0}};
        QTest::newRow("the first token starts a word without a space")
            << std::vector<Token>{{"Hi", 0.0, 0.2, 0.6},
                                  {",", 0.2, 0.3, 0.2},
                                  {" there", 0.3, 0.5, 1.0}}
            << 0.0 << 1.0 << Words{{0.0, 0.3, u"Hi,"_s, 0.4}, {0.3, 0.5, u"there"_s, 1.0}};
        QTest::newRow("blanks are left out") << std::vector<Token>{{" ", 0.0, 0.1, 0.1},
                                                                   {" Yes", 0.1, 0.4, 0.9},
                                                                   {" ", 0.4, 0.5, 0.1}}
                                             << 0.0 << 1.0 << Words{{0.1, 0.4, u"Yes"_s, 0.9}};
        QTest::newRow("times kept within the segment")
            << std::vector<Token>{{" early", 4.0, 5.5, 1.0}, {" late", 6.5, 8.0, 1.0}} << 5.0 << 7.0
            << Words{{5.0, 5.5, u"early"_s, 1.0}, {6.5, 7.0, u"late"_s, 1.0}};
        QTest::newRow("nothing") << std::vector<Token>{} << 0.0 << 1.0 << Words{};
    }

    void join()
    {
        QFETCH(std::vector<Token>, tokens);
        QFETCH(double, segmentStart);
        QFETCH(double, segmentEnd);
        QFETCH(Words, words);
        const Words joined = RecognisedWords::join(tokens, segmentStart, segmentEnd);
        QCOMPARE(joined.size(), words.size());
        for (std::size_t i = 0; i < words.size(); ++i) {
            QCOMPARE(joined[i].text, words[i].text);
            QCOMPARE(joined[i].start, words[i].start);
            QCOMPARE(joined[i].end, words[i].end);
            QVERIFY(qFuzzyCompare(joined[i].probability, words[i].probability));
        }
    }
};

QTEST_GUILESS_MAIN(tst_RecognisedWords)
#include "tst_RecognisedWords.moc"
