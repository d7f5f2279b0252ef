#include "DraftPlacement.h"

#include "TimestampFormatter.h"

namespace dictaro::DraftPlacement {

QString linesFor(const std::vector<RecognisedSegment>& segments)
{
    QString lines;
    for (const RecognisedSegment& segment : segments) {
        const QString text = segment.text.simplified();
        if (text.isEmpty())
            continue;
        lines += TimestampFormatter::stringFromSeconds(segment.start) + u' ' + text + u'\n';
    }
    return lines;
}

} // namespace dictaro::DraftPlacement
