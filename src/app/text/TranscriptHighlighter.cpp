#include "TranscriptHighlighter.h"

#include "DisplayBlocks.h"
#include "TimestampFormatter.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextBlockUserData>
#include <QTextDocument>

namespace dictaro {

namespace {

// A block's spelling as last worked out: for which text and generation, how far, what.
struct BlockSpelling final : QTextBlockUserData
{
    size_t textHash = 0;
    int generation = -1;
    qsizetype checkedUpTo = 0;
    QList<SpellChecker::Range> misspelt;
    // Whether the block's layout shows these marks. Off screen they are applied only when the
    // block comes into view: applying them lays the block out, which costs more than checking.
    bool shown = false;

    void reset(size_t hash, int newGeneration)
    {
        textHash = hash;
        generation = newGeneration;
        checkedUpTo = 0;
        misspelt.clear();
        shown = false;
    }
};

BlockSpelling* spellingOf(const QTextBlock& block)
{
    return static_cast<BlockSpelling*>(block.userData());
}

const QColor misspeltColor(255, 59, 48);
// Orange: a word to listen to again, not an error.
const QColor unsureColor(255, 149, 0);

// A light wash of the timestamps' colour behind the word being spoken.
QColor spokenBackground(QColor color)
{
    color.setAlpha(70);
    return color;
}

} // namespace

TranscriptHighlighter::TranscriptHighlighter(QTextDocument* document, const QColor& color)
    : QSyntaxHighlighter(document), m_color(color)
{
    m_timestampFormat.setForeground(m_color);
    m_spokenBackground = spokenBackground(m_color);
    m_misspeltFormat.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_misspeltFormat.setUnderlineColor(misspeltColor);
    m_unsureFormat.setUnderlineStyle(QTextCharFormat::DotLine);
    m_unsureFormat.setUnderlineColor(unsureColor);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &TranscriptHighlighter::runSlice);
}

void TranscriptHighlighter::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_timestampFormat.setForeground(m_color);
    m_spokenBackground = spokenBackground(m_color);
    rehighlight();
    emit colorChanged(m_color);
}

void TranscriptHighlighter::setSpellChecker(SpellChecker* checker)
{
    if (checker == m_checker)
        return;
    if (m_checker)
        disconnect(m_checker, nullptr, this, nullptr);
    m_checker = checker;
    if (m_checker)
        connect(m_checker, &SpellChecker::misspellingsChanged, this,
                &TranscriptHighlighter::invalidateSpelling);
    invalidateSpelling();
    emit spellCheckerChanged(checker);
}

void TranscriptHighlighter::setWordMarks(WordMarks* marks)
{
    if (marks == m_marks)
        return;
    if (m_marks)
        disconnect(m_marks, nullptr, this, nullptr);
    m_marks = marks;
    if (m_marks)
        connect(m_marks, &WordMarks::changed, this, &QSyntaxHighlighter::rehighlight);
}

void TranscriptHighlighter::setSpokenRange(int from, int to)
{
    if (!document())
        return;
    const auto [oldFrom, oldTo] = spokenRange();
    if (from == to && oldFrom == oldTo)
        return;
    if (from == oldFrom && to == oldTo)
        return;
    const QTextBlock old = m_spoken.isNull() ? QTextBlock() : document()->findBlock(oldFrom);
    m_spoken = QTextCursor();
    if (from != to) {
        m_spoken = QTextCursor(document());
        m_spoken.setPosition(std::clamp(from, 0, document()->characterCount() - 1));
        m_spoken.setPosition(std::clamp(to, 0, document()->characterCount() - 1),
                             QTextCursor::KeepAnchor);
    }
    if (old.isValid())
        rehighlightBlock(old);
    if (!m_spoken.isNull() && m_spoken.block() != old)
        rehighlightBlock(document()->findBlock(m_spoken.selectionStart()));
}

std::pair<int, int> TranscriptHighlighter::spokenRange() const
{
    if (m_spoken.isNull() || !m_spoken.hasSelection())
        return {0, 0};
    return {m_spoken.selectionStart(), m_spoken.selectionEnd()};
}

void TranscriptHighlighter::typingAt(const QTextCursor& caret)
{
    if (!document() || caret.document() != document())
        return;
    // At the start of what is typed: the cursor moves on past the new text as it comes in.
    m_typing = QTextCursor(document());
    m_typing.setPosition(caret.selectionStart());
}

void TranscriptHighlighter::caretMovedTo(int position)
{
    if (m_typing.isNull() || m_typing.position() == position)
        return;
    const QTextBlock block = m_typing.block();
    // Within the unfinished word, the caret is still typing it.
    if (const BlockSpelling* spelling = spellingOf(block)) {
        const qsizetype from = m_typing.positionInBlock();
        const qsizetype to = position - block.position();
        for (const SpellChecker::Range& range : spelling->misspelt) {
            if (range.start <= from && from <= range.end && range.start <= to && to <= range.end) {
                m_typing.setPosition(position);
                return;
            }
        }
    }
    m_typing = QTextCursor();
    if (block.isValid())
        rehighlightBlock(block);
}

void TranscriptHighlighter::setPriorityBlocks(int first, int last)
{
    if (first == m_priorityFirst && last == m_priorityLast)
        return;
    m_priorityFirst = first;
    m_priorityLast = last;
    if (!document() || m_sliceTimer.isActive())
        return;
    for (QTextBlock block = document()->findBlockByNumber(first);
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (!isBlockChecked(block)) {
            m_sliceTimer.start();
            return;
        }
    }
}

bool TranscriptHighlighter::isCurrent(const QTextBlock& block) const
{
    const BlockSpelling* spelling = spellingOf(block);
    if (!spellingActive())
        return !spelling || spelling->generation == m_generation;
    return spelling && spelling->generation == m_generation &&
           spelling->checkedUpTo >= block.length() - 1;
}

bool TranscriptHighlighter::isBlockChecked(const QTextBlock& block) const
{
    const BlockSpelling* spelling = spellingOf(block);
    return isCurrent(block) && (!spelling || spelling->shown);
}

bool TranscriptHighlighter::spellingActive() const
{
    return m_checker && m_checker->isActive();
}

void TranscriptHighlighter::invalidateSpelling()
{
    ++m_generation;
    scheduleSweep();
}

void TranscriptHighlighter::scheduleSweep()
{
    m_pending.clear();
    m_sweeping = true;
    m_cleanRun = 0;
    if (!m_sliceTimer.isActive())
        m_sliceTimer.start();
}

void TranscriptHighlighter::schedulePending(const QTextBlock& block)
{
    if (m_sweeping) {
        // The sweep passes it again before it ends.
        m_cleanRun = 0;
        return;
    }
    if (m_pending.size() >= maxPendingBlocks) {
        scheduleSweep();
        return;
    }
    m_pending.append(QTextCursor(block));
    if (!m_sliceTimer.isActive())
        m_sliceTimer.start();
}

void TranscriptHighlighter::highlightBlock(const QString& text)
{
    // Timestamps never contain a line break, so the block's own text is all the context a
    // match needs. Positions are UTF-16 units of that text, as the layout counts them.
    const QList<TimestampMatch> matches = TimestampFormatter::timestampMatches(text);
    for (const TimestampMatch& match : matches)
        setFormat(int(match.start), int(match.end - match.start), m_timestampFormat);
    if (m_marks) {
        // The words of a line follow its stamps, which may stand in an earlier piece of it.
        const QTextBlock block = currentBlock();
        QList<WordTokenizer::WordRange> unsure;
        if (DisplayBlocks::continuesPrevious(block) ||
            DisplayBlocks::continuesPrevious(block.next())) {
            const DisplayBlocks::Paragraph line = DisplayBlocks::paragraphOf(block);
            const QList<TimestampMatch> stamps = TimestampFormatter::timestampMatches(line.text);
            if (!stamps.isEmpty())
                m_marks->unsureWords(line.text, stamps, unsure);
            for (WordTokenizer::WordRange& range : unsure) {
                range.start = std::max<qsizetype>(range.start - line.offset, 0);
                range.end = std::min<qsizetype>(range.end - line.offset, text.size());
            }
        } else if (!matches.isEmpty()) {
            m_marks->unsureWords(text, matches, unsure);
        }
        for (const WordTokenizer::WordRange& range : std::as_const(unsure)) {
            if (range.end > range.start)
                setFormat(int(range.start), int(range.end - range.start), m_unsureFormat);
        }
    }
    // Drawn last, over whatever marks the word has.
    const auto showSpoken = [this] {
        if (m_spoken.isNull() || !m_spoken.hasSelection())
            return;
        const QTextBlock block = currentBlock();
        const int from = std::max(m_spoken.selectionStart(), block.position()) - block.position();
        const int to = std::min(m_spoken.selectionEnd(), block.position() + block.length() - 1) -
                       block.position();
        for (int i = from; i < to; ++i) {
            QTextCharFormat spoken = format(i);
            spoken.setBackground(m_spokenBackground);
            setFormat(i, 1, spoken);
        }
    };

    auto* spelling = static_cast<BlockSpelling*>(currentBlockUserData());
    if (!spellingActive()) {
        if (spelling) {
            spelling->reset(0, m_generation);
            spelling->shown = true;
        }
        showSpoken();
        return;
    }
    if (!spelling) {
        spelling = new BlockSpelling;
        setCurrentBlockUserData(spelling);
    }
    const size_t hash = qHash(text);
    if (spelling->textHash != hash || spelling->generation != m_generation)
        spelling->reset(hash, m_generation);

    if (spelling->checkedUpTo < text.size() && !m_inSlice) {
        // Whatever one turn of the event loop highlights shares one small budget; an edit
        // fits in it, a whole new text does not.
        if (!m_immediateTurn) {
            m_immediateTurn = true;
            m_immediateDeadline =
                QDeadlineTimer(std::chrono::nanoseconds(immediateBudgetNs), Qt::PreciseTimer);
            QTimer::singleShot(0, this, [this] { m_immediateTurn = false; });
        }
        if (!m_immediateDeadline.hasExpired())
            spelling->checkedUpTo = m_checker->findMisspellings(
                text, spelling->checkedUpTo, spelling->misspelt, m_immediateDeadline);
        if (spelling->checkedUpTo < text.size())
            schedulePending(currentBlock());
    }
    const qsizetype typing =
        !m_typing.isNull() && m_typing.block() == currentBlock() ? m_typing.positionInBlock() : -1;
    for (const SpellChecker::Range& range : std::as_const(spelling->misspelt)) {
        if (range.start <= typing && typing <= range.end)
            continue; // not finished yet
        setFormat(int(range.start), int(range.end - range.start), m_misspeltFormat);
    }
    showSpoken();
    spelling->shown = true;
}

bool TranscriptHighlighter::updateBlock(const QTextBlock& block, const QDeadlineTimer& deadline,
                                        bool display)
{
    BlockSpelling* spelling = spellingOf(block);
    bool worked = false;
    if (!isCurrent(block)) {
        worked = true;
        if (!spellingActive()) {
            // Only marks of an earlier generation need taking away.
            spelling->reset(0, m_generation);
        } else {
            const QString text = block.text();
            if (!spelling) {
                spelling = new BlockSpelling;
                const_cast<QTextBlock&>(block).setUserData(spelling);
            }
            const size_t hash = qHash(text);
            if (spelling->textHash != hash || spelling->generation != m_generation)
                spelling->reset(hash, m_generation);
            spelling->checkedUpTo = m_checker->findMisspellings(text, spelling->checkedUpTo,
                                                                spelling->misspelt, deadline);
        }
        spelling->shown = false;
    }
    // Applies the marks; highlightBlock() finds the block done and checks nothing.
    if (display && spelling && !spelling->shown && isCurrent(block))
        rehighlightBlock(block);
    return worked;
}

void TranscriptHighlighter::runSlice()
{
    QTextDocument* doc = document();
    if (!doc) {
        m_sliceTimer.stop();
        return;
    }
    const QDeadlineTimer deadline(std::chrono::nanoseconds(sliceBudgetNs), Qt::PreciseTimer);
    // Without a known screen, every block shows its marks at once.
    const auto onScreen = [this](const QTextBlock& block) {
        if (m_priorityFirst < 0)
            return true;
        const int number = block.blockNumber();
        return number >= m_priorityFirst && number <= m_priorityLast;
    };
    m_inSlice = true;
    // What is on screen first, checked and shown.
    bool screenDone = true;
    if (m_priorityFirst >= 0) {
        for (QTextBlock block = doc->findBlockByNumber(m_priorityFirst);
             block.isValid() && block.blockNumber() <= m_priorityLast; block = block.next()) {
            if (deadline.hasExpired()) {
                screenDone = false;
                break;
            }
            updateBlock(block, deadline, true);
            screenDone = screenDone && isBlockChecked(block);
        }
    }
    // Then the blocks edits left over.
    while (!m_pending.isEmpty() && !deadline.hasExpired()) {
        const QTextBlock block = m_pending.constFirst().block();
        updateBlock(block, deadline, onScreen(block));
        if (isCurrent(block) || !deadline.hasExpired())
            m_pending.removeFirst();
    }
    // Then, when all may be out of date, round the document until every block in a row
    // needed nothing.
    const int blockCount = doc->blockCount();
    if (m_sweeping) {
        QTextBlock block = doc->findBlockByNumber(m_sweepBlock);
        while (!deadline.hasExpired() && m_cleanRun < blockCount) {
            if (!block.isValid())
                block = doc->begin();
            if (updateBlock(block, deadline, onScreen(block)))
                m_cleanRun = 0;
            else
                ++m_cleanRun;
            // A block cut short by the deadline is continued where it stopped.
            if (!isCurrent(block))
                break;
            block = block.next();
        }
        m_sweepBlock = block.isValid() ? block.blockNumber() : 0;
        m_sweeping = m_cleanRun < blockCount;
    }
    m_inSlice = false;
    if (screenDone && !m_sweeping && m_pending.isEmpty()) {
        m_sliceTimer.stop();
        emit spellingUpToDate();
    }
}

} // namespace dictaro
