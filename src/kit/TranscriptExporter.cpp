#include "TranscriptExporter.h"

#include <iterator>
#include <vector>

#include <QStringView>

#include "Graphemes.h"
#include "TimestampFormatter.h"

namespace dictaro::TranscriptExporter {

namespace {

// A character whose first code point ends a line (CR LF counts as one character).
bool isLineBreak(char16_t c)
{
    switch (c) {
    case 0x000A: // line feed
    case 0x000B: // vertical tab
    case 0x000C: // form feed
    case 0x000D: // carriage return
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default: return false;
    }
}

// The space at `pos` standing as a character of its own, not the base of a combining sequence
// nor joined to a prepended character.
bool isWholeSpaceAt(QStringView text, qsizetype pos)
{
    return text[pos] == u' ' && Graphemes::isWholeCharacter(text, pos);
}

// Timestamps that touch each other, removed as one.
struct Run
{
    qsizetype start;
    qsizetype end;
};

std::vector<Run> timestampRuns(const QString& text)
{
    std::vector<Run> runs;
    for (const TimestampMatch& match : TimestampFormatter::timestampMatches(text)) {
        if (!runs.empty() && runs.back().end == match.start)
            runs.back().end = match.end;
        else
            runs.push_back({match.start, match.end});
    }
    return runs;
}

// `prefix` followed by `text` without its timestamps, built in one buffer.
QString strippedWithPrefix(const QString& prefix, const QString& text)
{
    std::vector<Run> spans = timestampRuns(text);
    if (spans.empty())
        return prefix.isEmpty() ? text : prefix + text;
    const QStringView view(text);

    // Widen each run by the space that goes with it. The rule reads as if runs were cut out from
    // the last to the first, so a run sees the text after it already stripped. That matters only
    // when the later run took the single space between the two: it did so because it ended the
    // text or a line, so this run now ends the text or a line as well.
    qsizetype removed = 0;
    bool nextTookSingleSpaceBefore = false;
    for (auto span = spans.rbegin(); span != spans.rend(); ++span) {
        bool spaceFollows = false;
        bool endsTextOrLine = true;
        if (!nextTookSingleSpaceBefore && span->end < view.size()) {
            spaceFollows = isWholeSpaceAt(view, span->end);
            endsTextOrLine = isLineBreak(view[span->end].unicode());
        }

        nextTookSingleSpaceBefore = false;
        if (spaceFollows) {
            ++span->end;
        } else if (span->start > 0 && endsTextOrLine && isWholeSpaceAt(view, span->start - 1)) {
            --span->start;
            const auto previous = std::next(span);
            nextTookSingleSpaceBefore = previous != spans.rend() && previous->end == span->start;
        }
        removed += span->end - span->start;
    }

    // Copy the prefix and everything between the removed spans.
    QString result;
    result.reserve(prefix.size() + text.size() - removed);
    result.append(prefix);
    qsizetype copied = 0;
    for (const Run& span : spans) {
        Q_ASSERT(span.start >= copied); // a space is never claimed by two runs
        result.append(view.sliced(copied, span.start - copied));
        copied = span.end;
    }
    result.append(view.sliced(copied));
    return result;
}

} // namespace

QString exportText(const QString& transcript, const QString& projectName, ExportFormat format,
                   bool includeTimestamps)
{
    QString heading;
    if (format == ExportFormat::Markdown)
        heading = QStringLiteral("# ") + projectName + QStringLiteral("\n\n");
    if (!includeTimestamps)
        return strippedWithPrefix(heading, transcript);
    return heading.isEmpty() ? transcript : heading + transcript;
}

} // namespace dictaro::TranscriptExporter
