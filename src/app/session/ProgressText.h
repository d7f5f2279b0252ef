#pragma once

#include <QDateTime>
#include <QString>

namespace dictaro {

// How far a transcript has got, as the status area and the project list put it, in the
// interface language.
namespace ProgressText {

// "1 word", "1,234 words".
QString words(qsizetype count);
// How far `position` is into a recording of `duration` ("42 %"); empty while the duration is
// unknown.
QString share(double position, double duration);
// When a project was last edited ("Edited 3 May 2025"), in local time.
QString edited(const QDateTime& updatedAt);

} // namespace ProgressText
} // namespace dictaro
