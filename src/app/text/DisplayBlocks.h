#pragma once

#include <QObject>
#include <QString>
#include <QTextCursor>

class QTextBlock;
class QTextDocument;

namespace dictaro {

// Keeps every block of a text document short, so that an edit lays out only a few hundred
// characters however long the paragraph it is in. A longer paragraph is shown as several
// blocks joined by soft breaks: block separators marked in their character format, which are
// no part of the text. An edit that may leave a block too long (or a soft-joined block empty)
// makes the cuts and joins that fix it inside its own edit block (fixBlocks()), so that every
// state the undo history returns to is already cut; settle() catches any other edit after the
// fact. Belongs to its document.
class DisplayBlocks : public QObject
{
    Q_OBJECT

public:
    // The length a cut paragraph's blocks aim at; none is left longer than twice this.
    static constexpr qsizetype pieceLength = 500;

    // Starts keeping the blocks of `document` short, cutting what is too long now outside the
    // undo history when there is none yet (else as part of the last edit).
    explicit DisplayBlocks(QTextDocument* document);

    // The instance that keeps this document's blocks, if any.
    static DisplayBlocks* of(const QTextDocument* document);

    // Whether the block continues the paragraph of the block before it.
    static bool continuesPrevious(const QTextBlock& block);
    // The paragraph `block` is a piece of: its text without the soft breaks, and where the
    // block's own text starts in it.
    struct Paragraph
    {
        QString text;
        int offset = 0;
    };
    static Paragraph paragraphOf(const QTextBlock& block);
    // The document position of `offset` in the paragraph `block` is a piece of.
    static int positionInParagraph(const QTextBlock& block, int offset);
    // The document's text without the soft breaks, "\n" between paragraphs.
    static QString text(const QTextDocument* document);
    // The selected text without the soft breaks, "\n" between paragraphs.
    static QString selectedText(const QTextCursor& cursor);

    // Cuts and joins the blocks from `from` to `to`. Called inside an edit block of the
    // caller's, whose undo step it joins; a long insertion is then never laid out as one block.
    void fixBlocks(int from, int to);
    // Fixes now what the edits since the last time left, joined to the last undo step (which
    // takes it back with the edit only if that edit was an edit block). Runs by itself on the
    // event loop after every edit.
    void settle();

private:
    void noteChange(int from, int charsRemoved, int charsAdded);
    bool needsWork(int from, int to) const;

    QTextDocument* m_document = nullptr;
    // The span edits touched since the last settle(); it follows later edits.
    QTextCursor m_dirty;
    bool m_settleQueued = false;
    bool m_fixing = false;
};

} // namespace dictaro
