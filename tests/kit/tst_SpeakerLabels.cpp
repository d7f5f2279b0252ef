#include "SpeakerLabels.h"

#include <QTest>

using namespace dictaro;
using namespace Qt::StringLiterals;

class tst_SpeakerLabels : public QObject
{
    Q_OBJECT

private slots:
    void nameAt_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"Anna: hello"_s << u"Anna"_s;
        QTest::newRow("after a stamp") << u"[00:01:02] Dr. Öz: yes"_s << u"Dr. Öz"_s;
        QTest::newRow("spaces after a stamp") << u"[00:01:02]  Bo: x"_s << u"Bo"_s;
        QTest::newRow("colon ends the line") << u"Interviewer:"_s << u"Interviewer"_s;
        QTest::newRow("four words") << u"Mary Ann Li Jones: x"_s << u"Mary Ann Li Jones"_s;
        QTest::newRow("apostrophe and digit") << u"O’Brien 2: x"_s << u"O’Brien 2"_s;
        QTest::newRow("five words") << u"A b c d e: x"_s << QString();
        QTest::newRow("lower case") << u"note: x"_s << QString();
        QTest::newRow("no space after the colon") << u"Time:10"_s << QString();
        QTest::newRow("space before the colon") << u"Anna : x"_s << QString();
        QTest::newRow("double space") << u"Anna  Li: x"_s << QString();
        const QString longest = u"A"_s + QString(39, u'a');
        QTest::newRow("too long") << longest + u"a: x"_s << QString();
        QTest::newRow("longest") << longest + u": x"_s << longest;
        QTest::newRow("not at the start") << u"Yes, Anna: x"_s << QString();
        QTest::newRow("a stamp alone") << u"[00:01:02] hello: x"_s << QString();
        QTest::newRow("broken stamp") << u"[00:01:0] Anna: x"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void nameAt()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QCOMPARE(SpeakerLabels::nameAt(line).toString(), name);
    }

    void namesIn_eachOnceInOrder()
    {
        const QString text = u"Bo: hi\n[00:00:05] Anna: hello\nBo: again\n\nno label\nCy:"_s;
        QCOMPARE(SpeakerLabels::namesIn(text), (QStringList{u"Bo"_s, u"Anna"_s, u"Cy"_s}));
        QString many;
        for (int i = 0; i < 1200; ++i)
            many += u"N"_s + QString::number(i) + u": x\n"_s;
        QCOMPARE(SpeakerLabels::namesIn(many).size(), SpeakerLabels::maxNames);
    }

    // Lists are cleaned name by name (their limit is tst_Project's "speakers beyond the limit").
    void lists_cleaned()
    {
        QCOMPARE(
            SpeakerLabels::merged({u"Anna"_s, u"Bo"_s}, {u"  Cy   Li "_s, u"Bo"_s, u"x:y"_s, {}}),
            (QStringList{u"Anna"_s, u"Bo"_s, u"Cy Li"_s}));
        QCOMPARE(SpeakerLabels::cleanName(u"Zero\u200bwidth"_s), QString());
    }
};

QTEST_GUILESS_MAIN(tst_SpeakerLabels)
#include "tst_SpeakerLabels.moc"
