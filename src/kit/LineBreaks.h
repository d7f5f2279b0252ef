#pragma once

#include <QString>

// A transcript separates lines with "\n" only; a text document keeps paragraph separators
// (U+2029) and soft line breaks (U+2028) instead, and pasted or loaded text may bring "\r".
namespace dictaro::LineBreaks {

// Turns both Unicode separators into "\n", in place.
void toNewlines(QString& text);

// The text as a text document reads it back after taking it as plain text: "\r\n", "\r" and both
// Unicode separators become "\n".
QString normalized(const QString& text);

} // namespace dictaro::LineBreaks
