#pragma once

#include <QColor>
#include <QDeadlineTimer>
#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>

#include "SpellChecker.h"
#include "WordMarks.h"

class QTextDocument;

namespace dictaro {

// The one highlighter of a transcript: colours every timestamp, underlines misspelt words and
// the words a machine draft was unsure of, and shows the drafted word being spoken, one block
// (line) at a time. Only the display changes: the document's own character formats
// stay untouched.
//
// Spelling never makes typing wait: an edited block is checked at once within a small budget;
// what does not fit (a new or pasted text, another dictionary) is checked in idle slices of a
// few milliseconds, the priority blocks (those on screen) first. A word is marked once it is
// finished: not while the caret that is typing it is in it or at its end.
class TranscriptHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    // Budgets: for the blocks highlighted in one turn of the event loop, and per idle slice.
    static constexpr qint64 immediateBudgetNs = 500'000;
    static constexpr qint64 sliceBudgetNs = 2'000'000;
    // Blocks left over by edits that are remembered one by one; more make a sweep of all.
    static constexpr int maxPendingBlocks = 32;

    TranscriptHighlighter(QTextDocument* document, const QColor& color);

    QColor color() const { return m_color; }
    // Restyles the whole document when the colour differs from the current one.
    void setColor(const QColor& color);

    // Marks the words this checker finds misspelt (none with null); follows its changes.
    void setSpellChecker(SpellChecker* checker);
    SpellChecker* spellChecker() const { return m_checker.data(); }
    // Marks the words these marks name unsure (none with null) in the blocks highlighted from
    // now on, as the document's first highlighting does; follows their changes.
    void setWordMarks(WordMarks* marks);
    // Shows the text from `from` to `to` (document positions) as the word being spoken; none
    // when they are equal. The range follows later edits.
    void setSpokenRange(int from, int to);
    // The range shown as spoken: (from, to), equal when none.
    std::pair<int, int> spokenRange() const;
    // Text is about to be typed at `caret` (replacing its selection): the word the caret is in
    // or at the end of after that is not marked until the caret leaves it.
    void typingAt(const QTextCursor& caret);
    // The caret is at `position` now; a word left behind unfinished is marked.
    void caretMovedTo(int position);
    // The blocks checked before all others, by number (the ones on screen).
    void setPriorityBlocks(int first, int last);
    // Every block is checked against the current dictionary and words, and the blocks on
    // screen show the result.
    bool isSpellingUpToDate() const { return !m_sliceTimer.isActive(); }
    // Whether a block shows the marks of the current dictionary and words. Blocks off screen
    // are checked but show their marks only once they come on screen.
    bool isBlockChecked(const QTextBlock& block) const;

signals:
    void colorChanged(const QColor& color);
    void spellCheckerChanged(dictaro::SpellChecker* checker);
    void spellingUpToDate();

protected:
    void highlightBlock(const QString& text) override;

private:
    bool spellingActive() const;
    void invalidateSpelling();
    void scheduleSweep();
    void schedulePending(const QTextBlock& block);
    void runSlice();
    // Whether a block's marks are worked out for its text and the current generation.
    bool isCurrent(const QTextBlock& block) const;
    // Brings one block's marks up to date within the deadline, and shows them when `display`;
    // true when they needed working out.
    bool updateBlock(const QTextBlock& block, const QDeadlineTimer& deadline, bool display);

    QColor m_color;
    QTextCharFormat m_timestampFormat;
    QTextCharFormat m_misspeltFormat;
    QTextCharFormat m_unsureFormat;
    QPointer<WordMarks> m_marks;
    QTextCursor m_spoken;
    QColor m_spokenBackground;
    QPointer<SpellChecker> m_checker;
    // Raised whenever all marks must be worked out again.
    int m_generation = 0;

    QTimer m_sliceTimer;
    int m_priorityFirst = -1;
    int m_priorityLast = -1;
    // Blocks an edit left unchecked (cursors, so that they follow later edits).
    QList<QTextCursor> m_pending;
    // The sweep round the whole document: whether one is due, the next block to look at, and
    // how many in a row needed nothing.
    bool m_sweeping = false;
    int m_sweepBlock = 0;
    int m_cleanRun = 0;
    // The immediate budget of the current turn of the event loop.
    QDeadlineTimer m_immediateDeadline;
    bool m_immediateTurn = false;
    bool m_inSlice = false;
    // Where the caret that is typing is: follows the edits. Null when not typing.
    QTextCursor m_typing;
};

} // namespace dictaro
