#include "TimestampNavigation.h"

#include "TimestampFormatter.h"

#include <QTextBlock>
#include <QTextDocument>

namespace dictaro::TimestampNavigation {

namespace {

Found inDocument(const QTextBlock& block, const TimestampMatch& match)
{
    const int offset = block.position();
    return {offset + int(match.start), offset + int(match.end), match.seconds};
}

// The last timestamp, searching backwards from the block of `position`, for which `accept`
// holds.
template <typename Accept>
std::optional<Found> lastBefore(const QTextDocument& document, int position, Accept accept)
{
    for (QTextBlock block = document.findBlock(position); block.isValid();
         block = block.previous()) {
        const QList<TimestampMatch> matches = TimestampFormatter::timestampMatches(block.text());
        for (auto it = matches.crbegin(); it != matches.crend(); ++it) {
            const Found found = inDocument(block, *it);
            if (accept(found))
                return found;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Found> next(const QTextDocument& document, int position)
{
    for (QTextBlock block = document.findBlock(position); block.isValid(); block = block.next()) {
        for (const TimestampMatch& match : TimestampFormatter::timestampMatches(block.text())) {
            const Found found = inDocument(block, match);
            if (found.start >= position)
                return found;
        }
    }
    return std::nullopt;
}

std::optional<Found> previous(const QTextDocument& document, int position)
{
    return lastBefore(document, position, [position](const Found& f) { return f.end < position; });
}

std::optional<Found> atOrBefore(const QTextDocument& document, int position)
{
    return lastBefore(document, position,
                      [position](const Found& f) { return f.start <= position; });
}

} // namespace dictaro::TimestampNavigation
