#include "Snippets.h"

#include <QTest>

using namespace dictaro;
using namespace Qt::StringLiterals;

class tst_Snippets : public QObject
{
    Q_OBJECT

private slots:
    void endingAt_data()
    {
        QTest::addColumn<QString>("text"); // the caret at "|"
        QTest::addColumn<QString>("expanded");
        QTest::newRow("alone") << u"/inaud|"_s << u"[inaudible]|"_s;
        QTest::newRow("after a word") << u"so /inaud|"_s << u"so [inaudible]|"_s;
        QTest::newRow("in brackets") << u"(/inaud|"_s << u"([inaudible]|"_s;
        QTest::newRow("longer abbreviation") << u"/inaudx|"_s << u"<x>|"_s;
        QTest::newRow("longest wins") << u"[x|"_s << u"<bracket>|"_s;
        QTest::newRow("part of a word") << u"and/inaud|"_s << QString();
        QTest::newRow("not at the caret") << u"/inaud|x"_s << u"[inaudible]|x"_s;
        QTest::newRow("caret after more") << u"/inaudi|"_s << QString();
        QTest::newRow("case matters") << u"/INAUD|"_s << QString();
        QTest::newRow("at the start") << u"|"_s << QString();
    }

    void endingAt()
    {
        QFETCH(QString, text);
        QFETCH(QString, expanded);
        const QList<Snippet> snippets{{u"/inaud"_s, u"[inaudible]"_s},
                                      {u"x"_s, u"<y>"_s},
                                      {u"/inaudx"_s, u"<x>"_s},
                                      {u"[x"_s, u"<bracket>"_s},
                                      {u"udx"_s, u"<never: shorter>"_s}};
        const qsizetype caret = text.indexOf(u'|');
        const auto match = Snippets::endingAt(text, caret, snippets);
        QCOMPARE(match.has_value(), !expanded.isNull());
        if (match)
            QCOMPARE(QString(text).replace(match->start, match->length, match->text), expanded);
    }

    void usableAndTriggers()
    {
        QVERIFY(Snippets::isUsable({u"/cross"_s, u"[crosstalk]"_s}));
        QVERIFY(!Snippets::isUsable({u"/a b"_s, u"x"_s}));
        QVERIFY(!Snippets::isUsable({u"/a."_s, u"x"_s}));
        QVERIFY(!Snippets::isUsable({u"/a"_s, {}}));
        QVERIFY(!Snippets::isUsable({QString(33, u'a'), u"x"_s}));
        // An unusable snippet is never expanded, even where its abbreviation is typed.
        QVERIFY(!Snippets::endingAt(u"/a."_s, 3, {{u"/a."_s, u"x"_s}}));
        for (const QChar c : u" \t\n.,;:!?)]\"…"_s)
            QVERIFY2(Snippets::isTrigger(c), qPrintable(QString(c)));
        for (const QChar c : u"a/-_(['0"_s)
            QVERIFY2(!Snippets::isTrigger(c), qPrintable(QString(c)));
    }
};

QTEST_GUILESS_MAIN(tst_Snippets)
#include "tst_Snippets.moc"
