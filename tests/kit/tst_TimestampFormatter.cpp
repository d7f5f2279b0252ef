#include <limits>

#include <QTest>

#include "TimeFormat.h"
#include "TimestampFormatter.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

constexpr double infinity = std::numeric_limits<double>::infinity();

class tst_TimestampFormatter : public QObject
{
    Q_OBJECT

private slots:
    // A position as a timestamp and as the slider's time display, which differ past an hour and at
    // the limits.
    void stringFromSeconds_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("timestamp");
        QTest::addColumn<QString>("display");
        QTest::newRow("one second") << 1.0 << u"[00:00:01]"_s << u"00:01"_s;
        QTest::newRow("one hour, truncated") << 3600.9 << u"[01:00:00]"_s << u"1:00:00"_s;
        QTest::newRow("100 hours") << 360000.0 << u"[100:00:00]"_s << u"100:00:00"_s;
        QTest::newRow("below zero") << -0.5 << u"[00:00:00]"_s << u"00:00"_s;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << u"[00:00:00]"_s
                             << u"00:00"_s;
        // 2^63 - 1 seconds, the largest representable total; the display stops at 10^15 seconds.
        QTest::newRow("+inf") << infinity << u"[2562047788015215:30:07]"_s << u"00:00"_s;
        QTest::newRow("2^63") << 9223372036854775808.0 << u"[2562047788015215:30:07]"_s
                              << u"277777777777:46:40"_s;
    }

    void stringFromSeconds()
    {
        QFETCH(double, seconds);
        QFETCH(QString, timestamp);
        QFETCH(QString, display);
        QCOMPARE(TimestampFormatter::stringFromSeconds(seconds), timestamp);
        QCOMPARE(TimeFormat::timeString(seconds), display);
    }

    // Every timestamp found in a text, written "start-end=seconds", and what parsing the whole text
    // as one timestamp gives ("-" when it is none).
    void timestampMatches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("matches");
        QTest::addColumn<QString>("parsed");

        QTest::newRow("largest") << u"[99:59:59]"_s << u"0-10=359999"_s << u"359999"_s;
        QTest::newRow("one hour digit") << u"[1:02:03]"_s << u""_s << u"-"_s;
        QTest::newRow("three hour digits") << u"[100:00:00]"_s << u""_s << u"-"_s;
        QTest::newRow("minutes 60") << u"[01:60:00]"_s << u""_s << u"-"_s;
        QTest::newRow("seconds 60") << u"[01:02:60]"_s << u""_s << u"-"_s;
        QTest::newRow("trailing space") << u"[01:02:03] "_s << u"0-10=3723"_s << u"-"_s;
        QTest::newRow("touching") << u"[00:00:01][00:00:02]"_s << u"0-10=1 10-20=2"_s << u"-"_s;
        QTest::newRow("after a broken one") << u"[00:00:0[00:00:05]"_s << u"8-18=5"_s << u"-"_s;
        // Digits of other scripts are never timestamp digits.
        QTest::newRow("Arabic-Indic digits")
            << u"[٠٠:٠١:٠٠] [00:01:00]"_s << u"11-21=60"_s << u"-"_s;

        // A mark, joiner or prepended character fuses a bracket into a different character.
        QTest::newRow("mark on closing bracket")
            << u"[00:00:05]\u0301 [00:00:06]"_s << u"12-22=6"_s << u"-"_s;
        QTest::newRow("spacing mark") << u"[00:00:05]\u0903"_s << u""_s << u"-"_s;
        QTest::newRow("spacing mark that stands alone")
            << u"[00:00:05]\u102B"_s << u"0-10=5"_s << u"-"_s;
        QTest::newRow("zero width joiner") << u"[00:00:05]\u200D"_s << u""_s << u"-"_s;
        QTest::newRow("emoji modifier") << u"[00:00:05]\U0001F3FB"_s << u""_s << u"-"_s;
        QTest::newRow("prepended character") << u"\U000110BD[00:00:05]"_s << u""_s << u"-"_s;
        QTest::newRow("mark before belongs to the letter")
            << u"e\u0301[00:00:05]"_s << u"2-12=5"_s << u"-"_s;
        QTest::newRow("lone surrogates around")
            << u"x"_s + QChar(0xD800) + u"[00:00:05]"_s + QChar(0xDC00) << u"2-12=5"_s << u"-"_s;
    }

    void timestampMatches()
    {
        QFETCH(QString, text);
        QFETCH(QString, matches);
        QFETCH(QString, parsed);
        QStringList found;
        for (const TimestampMatch& match : TimestampFormatter::timestampMatches(text))
            found.append(u"%1-%2=%3"_s.arg(match.start).arg(match.end).arg(match.seconds));
        QCOMPARE(found.join(u' '), matches);
        const std::optional<double> seconds = TimestampFormatter::secondsFromString(text);
        QCOMPARE(seconds ? QString::number(*seconds) : u"-"_s, parsed);
    }

    // Times typed to go to: the forms accepted, and what is refused (-1).
    void secondsFromEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<double>("seconds");
        QTest::newRow("seconds") << u"72"_s << 72.0;
        QTest::newRow("minutes") << u"1:12"_s << 72.0;
        QTest::newRow("hours") << u"01:12:30"_s << 4350.0;
        QTest::newRow("fraction") << u" 1:12.5 "_s << 72.5;
        QTest::newRow("decimal comma") << u"72,25"_s << 72.25;
        QTest::newRow("timestamp") << u"[00:01:12]"_s << 72.0;
        QTest::newRow("long first part") << u"90:00"_s << 5400.0;
        QTest::newRow("empty") << u""_s << -1.0;
        QTest::newRow("minutes of 60") << u"1:60"_s << -1.0;
        QTest::newRow("three-digit seconds") << u"1:005"_s << -1.0;
        QTest::newRow("empty part") << u"1::12"_s << -1.0;
        QTest::newRow("four parts") << u"1:2:3:4"_s << -1.0;
        QTest::newRow("fraction not last") << u"1.5:12"_s << -1.0;
        QTest::newRow("two points") << u"1.2.3"_s << -1.0;
        QTest::newRow("sign") << u"-5"_s << -1.0;
        QTest::newRow("letters") << u"1m12s"_s << -1.0;
        QTest::newRow("non-ASCII digits") << u"\u0661:12"_s << -1.0;
    }

    void secondsFromEntry()
    {
        QFETCH(QString, entry);
        QFETCH(double, seconds);
        QCOMPARE(TimeFormat::secondsFromEntry(entry).value_or(-1.0), seconds);
    }
};

QTEST_APPLESS_MAIN(tst_TimestampFormatter)
#include "tst_TimestampFormatter.moc"
