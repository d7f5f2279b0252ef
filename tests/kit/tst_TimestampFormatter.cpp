#include <limits>
#include <optional>

#include <QTest>

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

namespace QTest {
template <> char* toString(const std::optional<double>& value)
{
    return value ? QTest::toString(*value) : qstrdup("(absent)");
}
} // namespace QTest

using Matches = QList<TimestampMatch>;

class tst_TimestampFormatter : public QObject
{
    Q_OBJECT

private slots:
    void stringFromSeconds_data();
    void stringFromSeconds();
    void secondsFromString_data();
    void secondsFromString();
    void secondsFromString_readsWhatStringFromSecondsWrites();
    void timestampMatches_data();
    void timestampMatches();
};

void tst_TimestampFormatter::stringFromSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("zero") << 0.0 << u"[00:00:00]"_s;
    QTest::newRow("truncated, not rounded") << 59.99 << u"[00:00:59]"_s;
    QTest::newRow("last second of first hour") << 3599.0 << u"[00:59:59]"_s;
    QTest::newRow("one hour") << 3600.0 << u"[01:00:00]"_s;
    QTest::newRow("all fields") << 3723.7 << u"[01:02:03]"_s;
    QTest::newRow("largest two-digit hour") << 359999.0 << u"[99:59:59]"_s;
    QTest::newRow("100 hours grow a digit") << 360000.0 << u"[100:00:00]"_s;
    QTest::newRow("negative") << -12.0 << u"[00:00:00]"_s;
    QTest::newRow("small negative") << -0.5 << u"[00:00:00]"_s;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << u"[00:00:00]"_s;
    QTest::newRow("-inf") << -inf << u"[00:00:00]"_s;
    // 2^63 - 1 seconds, the largest representable total.
    QTest::newRow("+inf clamps") << inf << u"[2562047788015215:30:07]"_s;
    QTest::newRow("huge clamps") << 1e300 << u"[2562047788015215:30:07]"_s;
    QTest::newRow("2^63 clamps") << 9223372036854775808.0 << u"[2562047788015215:30:07]"_s;
}

void tst_TimestampFormatter::stringFromSeconds()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    QCOMPARE(TimestampFormatter::stringFromSeconds(seconds), expected);
}

void tst_TimestampFormatter::secondsFromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("expected");

    const std::optional<double> absent;
    QTest::newRow("all fields") << u"[01:02:03]"_s << std::optional(3723.0);
    QTest::newRow("zero") << u"[00:00:00]"_s << std::optional(0.0);
    QTest::newRow("hours beyond a day") << u"[24:00:00]"_s << std::optional(86400.0);
    QTest::newRow("largest") << u"[99:59:59]"_s << std::optional(359999.0);
    QTest::newRow("one hour digit") << u"[1:02:03]"_s << absent;
    QTest::newRow("three hour digits") << u"[100:00:00]"_s << absent;
    QTest::newRow("one minute digit") << u"[01:2:03]"_s << absent;
    QTest::newRow("minutes 60") << u"[01:60:00]"_s << absent;
    QTest::newRow("seconds 60") << u"[01:02:60]"_s << absent;
    QTest::newRow("leading space") << u" [01:02:03]"_s << absent;
    QTest::newRow("trailing space") << u"[01:02:03] "_s << absent;
    QTest::newRow("trailing line feed") << u"[01:02:03]\n"_s << absent;
    QTest::newRow("no brackets") << u"01:02:03"_s << absent;
    QTest::newRow("empty") << QString() << absent;
    QTest::newRow("Arabic-Indic digits") << u"[٠١:٠٢:٠٣]"_s << absent;
    QTest::newRow("fullwidth digits") << u"[０１:０２:０３]"_s << absent;
    QTest::newRow("one Devanagari digit") << u"[0१:02:03]"_s << absent;
    QTest::newRow("mark on digit") << u"[01:02:0\u03033]"_s << absent;
    QTest::newRow("mark on colon") << u"[01:\u030102:03]"_s << absent;
    QTest::newRow("mark on closing bracket") << u"[01:02:03]\u0301"_s << absent;
}

void tst_TimestampFormatter::secondsFromString()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, expected);
    QCOMPARE(TimestampFormatter::secondsFromString(text), expected);
}

void tst_TimestampFormatter::secondsFromString_readsWhatStringFromSecondsWrites()
{
    for (int seconds = 0; seconds < 360000; seconds += 1237) {
        const QString text = TimestampFormatter::stringFromSeconds(seconds);
        QCOMPARE(TimestampFormatter::secondsFromString(text), std::optional<double>(seconds));
    }
}

void tst_TimestampFormatter::timestampMatches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Matches>("expected");

    QTest::newRow("empty") << QString() << Matches{};
    QTest::newRow("no timestamps") << u"Hello [world] 01:02:03"_s << Matches{};
    QTest::newRow("two in order") << u"a [00:01:00] b [00:02:00]"_s
                                  << Matches{{2, 12, 60}, {15, 25, 120}};
    QTest::newRow("inside brackets") << u"[[00:00:05]]"_s << Matches{{1, 11, 5}};
    QTest::newRow("touching") << u"[00:00:01][00:00:02]"_s << Matches{{0, 10, 1}, {10, 20, 2}};
    QTest::newRow("after a broken candidate") << u"[00:00:0[00:00:05]"_s << Matches{{8, 18, 5}};
    QTest::newRow("ASCII letters around") << u"x[99:59:59]y"_s << Matches{{1, 11, 359999}};
    QTest::newRow("three hour digits") << u"[100:00:00] [01:00:00]"_s << Matches{{12, 22, 3600}};
    QTest::newRow("minutes 60") << u"[00:60:00]"_s << Matches{};
    QTest::newRow("at end, CRLF after") << u"[00:00:05]\r\n"_s << Matches{{0, 10, 5}};

    // Digits of other scripts are never timestamp digits.
    QTest::newRow("Arabic-Indic digits") << u"[٠٠:٠١:٠٠] [00:01:00]"_s << Matches{{11, 21, 60}};
    QTest::newRow("Devanagari digit") << u"[00:0१:00]"_s << Matches{};

    // A mark inside or after the closing bracket makes a different character.
    QTest::newRow("mark on digit") << u"[00:00:0\u03035]"_s << Matches{};
    QTest::newRow("mark on colon") << u"[00:\u030100:05]"_s << Matches{};
    QTest::newRow("mark on opening bracket") << u"[\u030100:00:05]"_s << Matches{};
    QTest::newRow("mark on closing bracket")
        << u"[00:00:05]\u0301 [00:00:06]"_s << Matches{{12, 22, 6}};
    QTest::newRow("enclosing mark") << u"[00:00:05]\u20DD"_s << Matches{};
    QTest::newRow("spacing mark") << u"[00:00:05]\u0903"_s << Matches{};
    QTest::newRow("spacing mark, letters before") << u"x[00:00:05]\u093E"_s << Matches{};
    QTest::newRow("Thai sara am") << u"[00:00:05]\u0E33"_s << Matches{};
    QTest::newRow("spacing mark that stands alone") << u"[00:00:05]\u102B"_s << Matches{{0, 10, 5}};
    QTest::newRow("halfwidth sound mark") << u"[00:00:05]\uFF9E"_s << Matches{};
    QTest::newRow("tag character (surrogate pair)") << u"[00:00:05]\U000E0041"_s << Matches{};
    QTest::newRow("zero width joiner") << u"[00:00:05]\u200D"_s << Matches{};
    QTest::newRow("zero width non-joiner") << u"[00:00:05]\u200C"_s << Matches{};
    QTest::newRow("variation selector") << u"[00:00:05]\uFE0F"_s << Matches{};
    QTest::newRow("emoji modifier (surrogate pair)") << u"[00:00:05]\U0001F3FB"_s << Matches{};
    QTest::newRow("prepended character") << u"\u0600[00:00:05]"_s << Matches{};
    QTest::newRow("prepended repha") << u"\u0D4E[00:00:05]"_s << Matches{};
    QTest::newRow("prepended character (surrogate pair)") << u"\U000110BD[00:00:05]"_s << Matches{};

    // Non-ASCII neighbours that do not join the brackets.
    QTest::newRow("mark before belongs to the letter")
        << u"e\u0301[00:00:05]"_s << Matches{{2, 12, 5}};
    QTest::newRow("after an emoji") << u"😀[00:00:05]"_s << Matches{{2, 12, 5}};
    QTest::newRow("after an emoji with modifier")
        << u"👍🏽 [00:00:07] done"_s << Matches{{5, 15, 7}};
    QTest::newRow("emoji after") << u"[00:00:05]😀"_s << Matches{{0, 10, 5}};
    QTest::newRow("Arabic letters around") << u"ب[00:00:05]ب"_s << Matches{{1, 11, 5}};
    QTest::newRow("Turkish letters around") << u"şç[00:00:05]ığ"_s << Matches{{2, 12, 5}};
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
