#include "StampIndex.h"

#include "TimestampFormatter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace dictaro {

StampIndex::StampIndex(QTextDocument* document, QObject* parent)
    : QObject(parent ? parent : document), m_document(document)
{
    m_length = document->characterCount();
    connect(document, &QTextDocument::contentsChange, this, &StampIndex::noteChange);
    // Where an edit came without its span (a document that nothing lays out reports none),
    // the whole text is read again at the next question.
    connect(document, &QTextDocument::contentsChanged, this, [this] {
        if (!std::exchange(m_heardSpan, false))
            m_built = false;
    });
}

void StampIndex::noteChange(int from, int charsRemoved, int charsAdded)
{
    m_heardSpan = true;
    const int before = m_length;
    m_length = m_document->characterCount();
    if (!m_built)
        return;
    // Some edits report one character more on both sides than they touched; taking the
    // smaller unchanged end of the two counts stays right either way.
    const int sameAtEnd = std::max(0, std::min(before - std::min(from + charsRemoved, before),
                                               m_length - std::min(from + charsAdded, m_length)));
    if (!m_changed) {
        m_changed = true;
        m_same = from;
        m_sameAtEnd = sameAtEnd;
    } else {
        m_same = std::min(m_same, from);
        m_sameAtEnd = std::min(m_sameAtEnd, sameAtEnd);
    }
}

// A timestamp never spans a paragraph's end nor a soft break (it holds no space), so the
// stamps of whole blocks can be read again on their own.
QList<StampIndex::Stamp> StampIndex::read(int from, int to) const
{
    QList<Stamp> found;
    for (QTextBlock block = m_document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (const TimestampMatch& match : TimestampFormatter::timestampMatches(block.text()))
            found.append({block.position() + int(match.start), block.position() + int(match.end),
                          match.seconds});
    }
    return found;
}

void StampIndex::catchUp()
{
    m_length = m_document->characterCount();
    if (!m_built) {
        m_stamps = read(0, m_length);
        m_built = true;
    } else if (m_changed) {
        const int delta = m_length - m_indexedLength;
        // The blocks around the changed stretch, now; before it nothing moved, after it
        // everything moved by delta.
        const int from = m_document->findBlock(std::clamp(m_same, 0, m_length - 1)).position();
        const QTextBlock last =
            m_document->findBlock(std::clamp(m_length - m_sameAtEnd, from, m_length - 1));
        const int to = last.position() + last.length();
        const int oldTo = to - delta;
        const auto first = std::lower_bound(m_stamps.begin(), m_stamps.end(), from,
                                            [](const Stamp& s, int p) { return s.position < p; });
        const auto rest = std::lower_bound(first, m_stamps.end(), oldTo,
                                           [](const Stamp& s, int p) { return s.position < p; });
        for (auto it = rest; it != m_stamps.end(); ++it) {
            it->position += delta;
            it->end += delta;
        }
        const qsizetype at = first - m_stamps.begin();
        m_stamps.erase(first, rest);
        const QList<Stamp> fresh = read(from, to);
        m_stamps.insert(at, fresh.size(), Stamp());
        std::copy(fresh.cbegin(), fresh.cend(), m_stamps.begin() + at);
    }
    m_changed = false;
    m_indexedLength = m_length;
}

const QList<StampIndex::Stamp>& StampIndex::stamps()
{
    catchUp();
    return m_stamps;
}

std::optional<std::pair<int, int>> StampIndex::lineAt(double seconds)
{
    catchUp();
    qsizetype best = -1;
    for (qsizetype i = 0; i < m_stamps.size(); ++i) {
        if (m_stamps[i].seconds <= seconds &&
            (best < 0 || m_stamps[i].seconds > m_stamps[best].seconds))
            best = i;
    }
    if (best < 0)
        return std::nullopt;
    const int end = best + 1 < m_stamps.size() ? m_stamps[best + 1].position : m_length - 1;
    return std::pair(m_stamps[best].position, end);
}

std::optional<StampIndex::Stamp> StampIndex::next(int position)
{
    catchUp();
    const auto it = std::lower_bound(m_stamps.cbegin(), m_stamps.cend(), position,
                                     [](const Stamp& s, int p) { return s.position < p; });
    return it != m_stamps.cend() ? std::optional(*it) : std::nullopt;
}

std::optional<StampIndex::Stamp> StampIndex::previous(int position)
{
    catchUp();
    // Stamps do not overlap, so their ends rise with their starts.
    const auto it = std::lower_bound(m_stamps.cbegin(), m_stamps.cend(), position,
                                     [](const Stamp& s, int p) { return s.end < p; });
    return it != m_stamps.cbegin() ? std::optional(*(it - 1)) : std::nullopt;
}

std::optional<StampIndex::Stamp> StampIndex::atOrBefore(int position)
{
    catchUp();
    const auto it = std::upper_bound(m_stamps.cbegin(), m_stamps.cend(), position,
                                     [](int p, const Stamp& s) { return p < s.position; });
    return it != m_stamps.cbegin() ? std::optional(*(it - 1)) : std::nullopt;
}

} // namespace dictaro
