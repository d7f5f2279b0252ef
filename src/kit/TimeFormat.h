#pragma once

#include <QString>

// The text of a playback position or length as shown next to the position slider.
namespace dictaro::TimeFormat {

// Whole seconds (truncated towards zero) as "mm:ss" below one hour and "h:mm:ss" from one hour
// on, e.g. 04:07 and 1:02:03. Negative and non-finite values show as 00:00; values beyond
// maxSeconds show as maxSeconds.
QString timeString(double seconds);

// The largest number of seconds shown (about 31.7 million years).
constexpr double maxSeconds = 1e15;

} // namespace dictaro::TimeFormat
