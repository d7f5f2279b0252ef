#include "DraftPlacement.h"

#include "TimestampFormatter.h"

#include <algorithm>
#include <cmath>

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

StretchPlan planFor(QStringView transcript, double duration)
{
    const Stretch whole = clamped({0.0, duration}, duration);
    if (transcript.trimmed().isEmpty())
        return {StretchKind::Whole, whole};
    const QList<TimestampMatch> stamps =
        TimestampFormatter::timestampMatches(transcript.toString());
    if (stamps.isEmpty())
        return {StretchKind::Unclear, whole};
    const Stretch after = clamped({stamps.constLast().seconds, duration}, duration);
    if (after.length() <= shortestStretch)
        return {StretchKind::Unclear, whole};
    return {StretchKind::AfterLastStamp, after};
}

Stretch clamped(Stretch stretch, double duration)
{
    const double top =
        std::isfinite(duration) && duration > 0.0 ? duration : std::numeric_limits<double>::max();
    const auto within = [top](double value, double fallback) {
        return std::isfinite(value) ? std::clamp(value, 0.0, top) : fallback;
    };
    double start = within(stretch.start, 0.0);
    double end = within(stretch.end, top);
    if (end < start)
        std::swap(start, end);
    return {start, end};
}

RecognisedSegment clampedTo(const RecognisedSegment& segment, Stretch stretch)
{
    const auto within = [stretch](double value) {
        return std::isfinite(value) ? std::clamp(value, stretch.start, stretch.end) : stretch.start;
    };
    RecognisedSegment result = segment;
    result.start = within(segment.start);
    result.end = std::max(result.start, within(segment.end));
    for (RecognisedWord& word : result.words) {
        word.start = within(word.start);
        word.end = std::max(word.start, within(word.end));
        if (!std::isfinite(word.probability))
            word.probability = 0.0;
        word.probability = std::clamp(word.probability, 0.0, 1.0);
    }
    return result;
}

QString appendedText(QStringView before, const std::vector<RecognisedSegment>& segments)
{
    const QString lines = linesFor(segments);
    if (lines.isEmpty() || before.isEmpty() || before.endsWith(u'\n'))
        return lines;
    return u'\n' + lines;
}

} // namespace dictaro::DraftPlacement
