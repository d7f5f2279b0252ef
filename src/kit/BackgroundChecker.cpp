#include "BackgroundChecker.h"

#include <algorithm>

namespace dictaro {

namespace {

// Where a window starting at `from` ends: at whitespace after windowSize units, or at the end.
qsizetype windowEnd(QStringView text, qsizetype from)
{
    qsizetype end = std::min(text.size(), from + BackgroundChecker::windowSize);
    while (end < text.size() && !text.at(end).isSpace())
        ++end;
    return end;
}

} // namespace

qsizetype BackgroundChecker::check(QStringView text, qsizetype from,
                                   QList<WordTokenizer::WordRange>& found,
                                   const QDeadlineTimer& deadline) const
{
    qsizetype position = std::clamp(from, qsizetype(0), text.size());
    while (position < text.size()) {
        position = WordTokenizer::forEachCheckableWord(
            text, position, windowEnd(text, position), [&](qsizetype start, qsizetype stop) {
                if (m_isMisspelt(text.sliced(start, stop - start)))
                    found.append({start, stop});
                return !deadline.hasExpired();
            });
        if (deadline.hasExpired())
            break;
    }
    return position;
}

} // namespace dictaro
