#pragma once

#include <optional>

class QTextDocument;

namespace dictaro {

// The timestamps of a transcript around a position, for moving from one to the next and playing
// from them. Looks at one block after another from the position outwards, so the cost grows
// with the distance to the timestamp found, not with the length of the text.
namespace TimestampNavigation {

// One timestamp in the document: its span [start, end) in document positions and its time.
struct Found
{
    int start = 0;
    int end = 0;
    double seconds = 0.0;
    friend bool operator==(const Found&, const Found&) = default;
};

// The first timestamp that starts at or after `position`.
std::optional<Found> next(const QTextDocument& document, int position);
// The last timestamp that ends before `position`: from just behind one, the one before it.
std::optional<Found> previous(const QTextDocument& document, int position);
// The timestamp that `position` is in or at the start of, else the last one before it.
std::optional<Found> atOrBefore(const QTextDocument& document, int position);

} // namespace TimestampNavigation
} // namespace dictaro
