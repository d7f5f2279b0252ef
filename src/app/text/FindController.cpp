#include "FindController.h"

#include "WordTokenizer.h"

#include <QDeadlineTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace dictaro {

FindController::FindController(QTextDocument* document, QObject* parent)
    : QObject(parent), m_document(document)
{
    m_countTimer.setInterval(0);
    connect(&m_countTimer, &QTimer::timeout, this, &FindController::countSlice);
    m_recountDelay.setSingleShot(true);
    m_recountDelay.setInterval(recountDelayMs);
    connect(&m_recountDelay, &QTimer::timeout, this, &FindController::restartCount);
    if (m_document) {
        connect(m_document, &QTextDocument::contentsChange, this,
                [this](int, int removed, int added) {
                    if (removed == 0 && added == 0)
                        return;
                    const bool hadCount = m_countDone || m_countTimer.isActive();
                    m_countTimer.stop();
                    m_countDone = false;
                    m_starts.clear();
                    if (m_counting)
                        m_recountDelay.start();
                    if (hadCount)
                        emit countChanged();
                });
    }
}

void FindController::setPattern(const QString& pattern)
{
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    restartCount();
    emit searchChanged();
}

void FindController::setMatchCase(bool matchCase)
{
    if (matchCase == m_matchCase)
        return;
    m_matchCase = matchCase;
    restartCount();
    emit searchChanged();
}

void FindController::setWholeWords(bool wholeWords)
{
    if (wholeWords == m_wholeWords)
        return;
    m_wholeWords = wholeWords;
    restartCount();
    emit searchChanged();
}

bool FindController::isWholeWord(QStringView text, qsizetype start, qsizetype end) const
{
    return !m_wholeWords ||
           (WordTokenizer::isWordBoundary(text, start) && WordTokenizer::isWordBoundary(text, end));
}

qsizetype FindController::indexIn(QStringView text, qsizetype from) const
{
    const Qt::CaseSensitivity cs = m_matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype i = text.indexOf(m_pattern, from, cs); i >= 0;
         i = text.indexOf(m_pattern, i + 1, cs)) {
        if (isWholeWord(text, i, i + m_pattern.size()))
            return i;
    }
    return -1;
}

qsizetype FindController::lastIndexBefore(QStringView text, qsizetype before) const
{
    const Qt::CaseSensitivity cs = m_matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (before <= 0)
        return -1;
    for (qsizetype i = text.lastIndexOf(m_pattern, before - 1, cs); i >= 0;
         i = i > 0 ? text.lastIndexOf(m_pattern, i - 1, cs) : -1) {
        if (isWholeWord(text, i, i + m_pattern.size()))
            return i;
    }
    return -1;
}

FindController::Match FindController::find(int position, Direction direction) const
{
    if (!m_document || m_pattern.isEmpty())
        return {};
    const int length = int(m_pattern.size());
    const QTextBlock startBlock = m_document->findBlock(std::max(0, position));
    if (!startBlock.isValid())
        return {};
    const int offset = position - startBlock.position();
    const auto match = [length](const QTextBlock& block, qsizetype index, bool wrapped) {
        return Match{block.position() + int(index), block.position() + int(index) + length,
                     wrapped};
    };

    if (direction == Direction::Forward) {
        if (const qsizetype i = indexIn(startBlock.text(), offset); i >= 0)
            return match(startBlock, i, false);
        for (QTextBlock block = startBlock.next(); block.isValid(); block = block.next()) {
            if (const qsizetype i = indexIn(block.text(), 0); i >= 0)
                return match(block, i, false);
        }
        for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            const qsizetype i = indexIn(text, 0);
            if (block == startBlock)
                return i >= 0 && i < offset ? match(block, i, true) : Match{};
            if (i >= 0)
                return match(block, i, true);
        }
        return {};
    }

    if (const qsizetype i = lastIndexBefore(startBlock.text(), offset); i >= 0)
        return match(startBlock, i, false);
    for (QTextBlock block = startBlock.previous(); block.isValid(); block = block.previous()) {
        const QString text = block.text();
        if (const qsizetype i = lastIndexBefore(text, text.size() + 1); i >= 0)
            return match(block, i, false);
    }
    for (QTextBlock block = m_document->lastBlock(); block.isValid(); block = block.previous()) {
        const QString text = block.text();
        const qsizetype i = lastIndexBefore(text, text.size() + 1);
        if (block == startBlock)
            return i >= offset ? match(block, i, true) : Match{};
        if (i >= 0)
            return match(block, i, true);
    }
    return {};
}

bool FindController::isMatch(int start, int end) const
{
    if (!m_document || m_pattern.isEmpty() || end - start != m_pattern.size())
        return false;
    const QTextBlock block = m_document->findBlock(start);
    if (!block.isValid() || end > block.position() + block.length() - 1)
        return false;
    const QString text = block.text();
    const int offset = start - block.position();
    return indexIn(text, offset) == offset;
}

QList<FindController::Match> FindController::matchesBetween(int from, int to) const
{
    QList<Match> matches;
    if (!m_document || m_pattern.isEmpty())
        return matches;
    for (QTextBlock block = m_document->findBlock(std::max(0, from));
         block.isValid() && block.position() < to; block = block.next()) {
        const QString text = block.text();
        for (qsizetype i = indexIn(text, 0); i >= 0; i = indexIn(text, i + m_pattern.size())) {
            const int start = block.position() + int(i);
            if (start >= from && start < to)
                matches.append({start, start + int(m_pattern.size()), false});
        }
    }
    return matches;
}

int FindController::replaceAll(const QString& replacement)
{
    const QList<Match> matches = matchesBetween(0, m_document ? m_document->characterCount() : 0);
    if (matches.isEmpty())
        return 0;
    QTextCursor cursor(m_document);
    cursor.beginEditBlock();
    // From the end, so that the positions still to replace stay where they were.
    for (auto it = matches.crbegin(); it != matches.crend(); ++it) {
        cursor.setPosition(it->start);
        cursor.setPosition(it->end, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
    return int(matches.size());
}

void FindController::setCounting(bool counting)
{
    if (counting == m_counting)
        return;
    m_counting = counting;
    restartCount();
}

int FindController::matchNumber(int start) const
{
    if (!m_countDone)
        return 0;
    const auto it = std::lower_bound(m_starts.cbegin(), m_starts.cend(), start);
    return it != m_starts.cend() && *it == start ? int(it - m_starts.cbegin()) + 1 : 0;
}

void FindController::restartCount()
{
    m_recountDelay.stop();
    m_countDone = false;
    m_starts.clear();
    m_countBlock = 0;
    if (m_counting && m_document && !m_pattern.isEmpty())
        m_countTimer.start();
    else
        m_countTimer.stop();
    emit countChanged();
}

void FindController::countSlice()
{
    if (!m_document) {
        m_countTimer.stop();
        return;
    }
    const QDeadlineTimer deadline(std::chrono::nanoseconds(sliceBudgetNs), Qt::PreciseTimer);
    QTextBlock block = m_document->findBlockByNumber(m_countBlock);
    for (; block.isValid() && !deadline.hasExpired(); block = block.next()) {
        const QString text = block.text();
        for (qsizetype i = indexIn(text, 0); i >= 0; i = indexIn(text, i + m_pattern.size()))
            m_starts.append(block.position() + int(i));
    }
    if (block.isValid()) {
        m_countBlock = block.blockNumber();
        return;
    }
    m_countTimer.stop();
    m_countDone = true;
    emit countChanged();
}

} // namespace dictaro
