#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The text of a playback position or length as shown next to the position slider, and a time
// as the user types it to go there.
namespace dictaro::TimeFormat {

// Whole seconds (truncated towards zero) as "mm:ss" below one hour and "h:mm:ss" from one hour
// on, e.g. 04:07 and 1:02:03. Negative and non-finite values show as 00:00; values beyond
// maxSeconds show as maxSeconds.
QString timeString(double seconds);

// The largest number of seconds shown (about 31.7 million years).
constexpr double maxSeconds = 1e15;

// The seconds of a time typed by the user: seconds ("72"), minutes and seconds ("1:12"), or
// hours, minutes and seconds ("01:12:30"), with a fraction of a second after a dot or a comma
// ("1:12.5", "72,25"), optionally in a timestamp's brackets ("[00:01:12]"), blanks around
// ignored. The first part has at most six digits and no upper limit; every later one has one or
// two digits and stays below 60. Anything else gives nothing.
std::optional<double> secondsFromEntry(QStringView text);

} // namespace dictaro::TimeFormat
