#pragma once

#include "Recogniser.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace dictaro {

// How a machine draft becomes transcript text.
namespace DraftPlacement {

// One line per segment, "[hh:mm:ss] text", each ended by a line break; segments with no text
// are left out, and a segment's own line breaks become spaces.
QString linesFor(const std::vector<RecognisedSegment>& segments);

// A stretch of the recording in seconds, start <= end.
struct Stretch
{
    double start = 0.0;
    double end = 0.0;

    double length() const { return end - start; }
    friend bool operator==(const Stretch&, const Stretch&) = default;
};

// Which stretch a draft of a transcript covers.
enum class StretchKind {
    Whole,          // the transcript has no text yet: the whole recording
    AfterLastStamp, // from the last timestamp in the text to the end
    Unclear,        // text without a timestamp, or nothing left after the last one: ask
};
struct StretchPlan
{
    StretchKind kind = StretchKind::Unclear;
    Stretch stretch;
};
// This much or less after the last timestamp is nothing left to draft.
constexpr double shortestStretch = 1.0;
StretchPlan planFor(QStringView transcript, double duration);

// `stretch` in order and within 0..duration (a duration that is not positive and finite
// bounds nothing above); non-finite ends become the bounds.
Stretch clamped(Stretch stretch, double duration);
// The segment with its times, and its words' times, within the stretch and in order.
RecognisedSegment clampedTo(const RecognisedSegment& segment, Stretch stretch);

// What appending `segments` to a transcript that ends with `before` inserts: their lines,
// after a line break when `before` is text that does not end with one.
QString appendedText(QStringView before, const std::vector<RecognisedSegment>& segments);

} // namespace DraftPlacement
} // namespace dictaro
