#include <limits>

#include <QTest>

#include "TimeFormat.h"
#include "TimestampFormatter.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace dictaro {
// Readable failure messages for QCOMPARE on match lists.
char* toString(const TimestampMatch& match)
{
    return QTest::toString(QString::asprintf("{%lld, %lld, %g}", qlonglong(match.start),
                                             qlonglong(match.end), match.seconds));
}
} // namespace dictaro

using Matches = QList<TimestampMatch>;
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

class tst_TimestampFormatter : public QObject
{
    Q_OBJECT

private slots:
    void stringFromSeconds_data();
    void stringFromSeconds();
    void secondsFromString_data();
    void secondsFromString();
    void timestampMatches_data();
    void timestampMatches();
};

// A position as a timestamp and as the slider's time display, which differ past an hour and at
// the limits.
void tst_TimestampFormatter::stringFromSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("timestamp");
    QTest::addColumn<QString>("display");
    QTest::newRow("truncated") << 3599.9 << u"[00:59:59]"_s << u"59:59"_s;
    QTest::newRow("hours") << 3723.99 << u"[01:02:03]"_s << u"1:02:03"_s;
    QTest::newRow("100 hours") << 360000.0 << u"[100:00:00]"_s << u"100:00:00"_s;
    QTest::newRow("just below zero") << -0.5 << u"[00:00:00]"_s << u"00:00"_s;
    QTest::newRow("NaN") << notANumber << u"[00:00:00]"_s << u"00:00"_s;
    // 2^63 - 1 seconds, the largest representable total; the display stops at 10^15 seconds.
    QTest::newRow("+inf") << infinity << u"[2562047788015215:30:07]"_s << u"00:00"_s;
    QTest::newRow("2^63") << 9223372036854775808.0 << u"[2562047788015215:30:07]"_s
                          << u"277777777777:46:40"_s;
}

void tst_TimestampFormatter::stringFromSeconds()
{
    QFETCH(double, seconds);
    QFETCH(QString, timestamp);
    QFETCH(QString, display);
    QCOMPARE(TimestampFormatter::stringFromSeconds(seconds), timestamp);
    QCOMPARE(TimeFormat::timeString(seconds), display);
}

void tst_TimestampFormatter::secondsFromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected"); // -1: not a timestamp
    const double absent = -1;
    QTest::newRow("largest") << u"[99:59:59]"_s << 359999.0;
    QTest::newRow("one hour digit") << u"[1:02:03]"_s << absent;
    QTest::newRow("three hour digits") << u"[100:00:00]"_s << absent;
    QTest::newRow("seconds 60") << u"[01:02:60]"_s << absent;
    QTest::newRow("trailing space") << u"[01:02:03] "_s << absent;
    QTest::newRow("one Devanagari digit") << u"[0१:02:03]"_s << absent;
}

void tst_TimestampFormatter::secondsFromString()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(TimestampFormatter::secondsFromString(text).value_or(-1), expected);
}

void tst_TimestampFormatter::timestampMatches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Matches>("expected");

    QTest::newRow("touching") << u"[00:00:01][00:00:02]"_s << Matches{{0, 10, 1}, {10, 20, 2}};
    QTest::newRow("after a broken candidate") << u"[00:00:0[00:00:05]"_s << Matches{{8, 18, 5}};
    // Digits of other scripts are never timestamp digits.
    QTest::newRow("Arabic-Indic digits") << u"[٠٠:٠١:٠٠] [00:01:00]"_s << Matches{{11, 21, 60}};

    // A mark inside or after the closing bracket makes a different character.
    QTest::newRow("mark on digit") << u"[00:00:0\u03035]"_s << Matches{};
    QTest::newRow("mark on closing bracket")
        << u"[00:00:05]\u0301 [00:00:06]"_s << Matches{{12, 22, 6}};
    QTest::newRow("spacing mark") << u"[00:00:05]\u0903"_s << Matches{};
    QTest::newRow("spacing mark that stands alone") << u"[00:00:05]\u102B"_s << Matches{{0, 10, 5}};
    QTest::newRow("zero width joiner") << u"[00:00:05]\u200D"_s << Matches{};
    QTest::newRow("emoji modifier (surrogate pair)") << u"[00:00:05]\U0001F3FB"_s << Matches{};
    QTest::newRow("prepended character") << u"\u0600[00:00:05]"_s << Matches{};
    QTest::newRow("prepended character (surrogate pair)") << u"\U000110BD[00:00:05]"_s << Matches{};

    // Non-ASCII neighbours that do not join the brackets.
    QTest::newRow("mark before belongs to the letter")
        << u"e\u0301[00:00:05]"_s << Matches{{2, 12, 5}};
    QTest::newRow("lone surrogates around")
        << u"x"_s + QChar(0xD800) + u"[00:00:05]"_s + QChar(0xDC00) << Matches{{2, 12, 5}};
}

void tst_TimestampFormatter::timestampMatches()
{
    QFETCH(QString, text);
    QFETCH(Matches, expected);
    QCOMPARE(TimestampFormatter::timestampMatches(text), expected);
}

QTEST_APPLESS_MAIN(tst_TimestampFormatter)
#include "tst_TimestampFormatter.moc"
