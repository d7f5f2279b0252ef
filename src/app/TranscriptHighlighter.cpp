#include "TranscriptHighlighter.h"

#include "TimestampFormatter.h"

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

    void reset(size_t hash, int newGeneration)
    {
        textHash = hash;
        generation = newGeneration;
        checkedUpTo = 0;
        misspelt.clear();
    }
};

BlockSpelling* spellingOf(const QTextBlock& block)
{
    return static_cast<BlockSpelling*>(block.userData());
}

const QColor misspeltColor(255, 59, 48);

} // namespace

TranscriptHighlighter::TranscriptHighlighter(QTextDocument* document, const QColor& color)
    : QSyntaxHighlighter(document), m_color(color)
{
    m_timestampFormat.setForeground(m_color);
    m_misspeltFormat.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    m_misspeltFormat.setUnderlineColor(misspeltColor);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &TranscriptHighlighter::runSlice);
}

void TranscriptHighlighter::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_timestampFormat.setForeground(m_color);
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
}

void TranscriptHighlighter::setPriorityBlocks(int first, int last)
{
    m_priorityFirst = first;
    m_priorityLast = last;
}

bool TranscriptHighlighter::isBlockChecked(const QTextBlock& block) const
{
    const BlockSpelling* spelling = spellingOf(block);
    if (!spellingActive())
        return !spelling || spelling->generation == m_generation;
    return spelling && spelling->generation == m_generation &&
           spelling->checkedUpTo >= block.length() - 1;
}

bool TranscriptHighlighter::spellingActive() const
{
    return m_checker && m_checker->isActive();
}

void TranscriptHighlighter::invalidateSpelling()
{
    ++m_generation;
    scheduleSlice();
}

void TranscriptHighlighter::scheduleSlice()
{
    m_cleanRun = 0;
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

    auto* spelling = static_cast<BlockSpelling*>(currentBlockUserData());
    if (!spellingActive()) {
        if (spelling)
            spelling->reset(0, m_generation);
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
            scheduleSlice();
    }
    for (const SpellChecker::Range& range : std::as_const(spelling->misspelt))
        setFormat(int(range.start), int(range.end - range.start), m_misspeltFormat);
}

bool TranscriptHighlighter::updateBlock(const QTextBlock& block, const QDeadlineTimer& deadline)
{
    BlockSpelling* spelling = spellingOf(block);
    if (!spellingActive()) {
        // Only marks of an earlier generation need taking away.
        if (!spelling || spelling->generation == m_generation)
            return false;
        spelling->reset(0, m_generation);
        rehighlightBlock(block);
        return true;
    }
    const int length = block.length() - 1; // without the block separator
    if (spelling && spelling->generation == m_generation && spelling->checkedUpTo >= length)
        return false;
    const QString text = block.text();
    if (!spelling) {
        spelling = new BlockSpelling;
        const_cast<QTextBlock&>(block).setUserData(spelling);
    }
    const size_t hash = qHash(text);
    if (spelling->textHash != hash || spelling->generation != m_generation)
        spelling->reset(hash, m_generation);
    spelling->checkedUpTo =
        m_checker->findMisspellings(text, spelling->checkedUpTo, spelling->misspelt, deadline);
    if (spelling->checkedUpTo >= length) {
        // Applies the marks; highlightBlock() finds the block done and checks nothing.
        rehighlightBlock(block);
    }
    return true;
}

void TranscriptHighlighter::runSlice()
{
    QTextDocument* doc = document();
    if (!doc) {
        m_sliceTimer.stop();
        return;
    }
    const QDeadlineTimer deadline(std::chrono::nanoseconds(sliceBudgetNs), Qt::PreciseTimer);
    m_inSlice = true;
    // What is on screen first.
    if (m_priorityFirst >= 0) {
        for (QTextBlock block = doc->findBlockByNumber(m_priorityFirst);
             block.isValid() && block.blockNumber() <= m_priorityLast; block = block.next()) {
            if (deadline.hasExpired())
                break;
            updateBlock(block, deadline);
        }
    }
    // Then a sweep round the document until every block in a row needed nothing.
    const int blockCount = doc->blockCount();
    QTextBlock block = doc->findBlockByNumber(m_sweepBlock);
    while (!deadline.hasExpired() && m_cleanRun < blockCount) {
        if (!block.isValid())
            block = doc->begin();
        if (updateBlock(block, deadline))
            m_cleanRun = 0;
        else
            ++m_cleanRun;
        // A block cut short by the deadline is continued where it stopped.
        const BlockSpelling* spelling = spellingOf(block);
        if (spelling && spellingActive() && spelling->checkedUpTo < block.length() - 1)
            break;
        block = block.next();
    }
    m_sweepBlock = block.isValid() ? block.blockNumber() : 0;
    m_inSlice = false;
    if (m_cleanRun >= blockCount) {
        m_sliceTimer.stop();
        emit spellingUpToDate();
    }
}

} // namespace dictaro
