#pragma once

#include <QString>

namespace dictaro {

// A timed stretch of text: a subtitle cue read from a file or written to one. Times in seconds
// from the start of the recording; the text may span lines.
struct Cue
{
    double start = 0.0;
    double end = 0.0;
    QString text;

    friend bool operator==(const Cue&, const Cue&) = default;
};

} // namespace dictaro
