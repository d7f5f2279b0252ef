#pragma once

#include <optional>

#include <QList>
#include <QString>

namespace dictaro {

// One timestamp found in a text: its span [start, end) in UTF-16 units, brackets included, and
// the position it names in whole seconds (0 to 359999).
struct TimestampMatch
{
    qsizetype start = 0;
    qsizetype end = 0;
    double seconds = 0.0;

    friend bool operator==(const TimestampMatch&, const TimestampMatch&) = default;
};

// The timestamp text form "[hh:mm:ss]" that users insert into transcripts: formatting, parsing
// and searching. A recognised timestamp is a bracket, exactly two hour digits, a colon, minutes
// 00-59, a colon, seconds 00-59 and a bracket, all ASCII, each of them a whole user-perceived
// character (a combining mark on any of them, or a prepended character joining the opening
// bracket, makes the sequence something else).
namespace TimestampFormatter {

// "[hh:mm:ss]" for a position, truncated toward zero to whole seconds. Hours have at least two
// digits and as many more as needed, so 100 hours and more print a form that parsing and
// searching do not recognise. NaN, negative values and values below one second give
// "[00:00:00]"; +inf and values from 2^63 seconds on are clamped to 2^63 - 1 seconds.
QString stringFromSeconds(double seconds);

// The seconds named by a text that is exactly one timestamp, nothing trimmed; otherwise empty.
std::optional<double> secondsFromString(const QString& text);

// Every timestamp in the text, in order and never overlapping; touching timestamps are
// separate matches. Linear in the length of the text.
QList<TimestampMatch> timestampMatches(const QString& text);

} // namespace TimestampFormatter
} // namespace dictaro
