#include "DisplayBlocks.h"

#include "ParagraphPieces.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace dictaro {

namespace {

// The mark of a soft break, in the character format of its separator.
constexpr int softBreakProperty = QTextFormat::UserProperty + 0x50b;

QTextCharFormat softBreakFormat()
{
    QTextCharFormat format;
    format.setProperty(softBreakProperty, true);
    return format;
}

} // namespace

DisplayBlocks::DisplayBlocks(QTextDocument* document) : QObject(document), m_document(document)
{
    connect(document, &QTextDocument::contentsChange, this, &DisplayBlocks::noteChange);
    noteChange(0, 0, document->characterCount());
    settle();
}

DisplayBlocks* DisplayBlocks::of(const QTextDocument* document)
{
    return document ? document->findChild<DisplayBlocks*>(QString(), Qt::FindDirectChildrenOnly)
                    : nullptr;
}

bool DisplayBlocks::continuesPrevious(const QTextBlock& block)
{
    // A block's character format is the one of the separator before it.
    return block.isValid() && block.blockNumber() > 0 &&
           block.charFormat().boolProperty(softBreakProperty);
}

DisplayBlocks::Paragraph DisplayBlocks::paragraphOf(const QTextBlock& block)
{
    QTextBlock first = block;
    while (continuesPrevious(first))
        first = first.previous();
    Paragraph paragraph;
    for (QTextBlock piece = first; piece.isValid() && (piece == first || continuesPrevious(piece));
         piece = piece.next()) {
        if (piece == block)
            paragraph.offset = int(paragraph.text.size());
        paragraph.text += piece.text();
    }
    return paragraph;
}

int DisplayBlocks::positionInParagraph(const QTextBlock& block, int offset)
{
    QTextBlock piece = block;
    while (continuesPrevious(piece))
        piece = piece.previous();
    // Each piece's text is followed by a soft break, which the paragraph's text leaves out.
    while (offset > piece.length() - 1 && continuesPrevious(piece.next())) {
        offset -= piece.length() - 1;
        piece = piece.next();
    }
    return piece.position() + offset;
}

QString DisplayBlocks::text(const QTextDocument* document)
{
    QString result;
    result.reserve(document->characterCount());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockNumber() > 0 && !continuesPrevious(block))
            result += u'\n';
        result += block.text();
    }
    return result;
}

QString DisplayBlocks::selectedText(const QTextCursor& cursor)
{
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const QTextDocument* document = cursor.document();
    QString result;
    result.reserve(end - start);
    QTextBlock block = document->findBlock(start);
    for (; block.isValid() && block.position() <= end; block = block.next()) {
        if (block.position() > start)
            result += continuesPrevious(block) ? QString() : QStringLiteral("\n");
        const int from = std::max(start, block.position()) - block.position();
        const int to = std::min(end, block.position() + block.length() - 1) - block.position();
        result += QStringView(block.text()).mid(from, to - from);
    }
    return result;
}

void DisplayBlocks::noteChange(int from, int /*charsRemoved*/, int charsAdded)
{
    if (m_fixing)
        return;
    const int end = std::min(from + charsAdded, m_document->characterCount() - 1);
    if (m_dirty.isNull()) {
        m_dirty = QTextCursor(m_document);
        m_dirty.setPosition(end);
        m_dirty.setPosition(from, QTextCursor::KeepAnchor);
    } else {
        const int start = std::min(m_dirty.selectionStart(), from);
        const int stop = std::max(m_dirty.selectionEnd(), end);
        m_dirty.setPosition(stop);
        m_dirty.setPosition(start, QTextCursor::KeepAnchor);
    }
    if (!m_settleQueued) {
        m_settleQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_settleQueued = false;
            settle();
        });
    }
}

bool DisplayBlocks::needsWork(int from, int to) const
{
    QTextBlock block = m_document->findBlock(from);
    const QTextBlock last = m_document->findBlock(to).next();
    for (; block.isValid() && block != last; block = block.next()) {
        if (block.length() - 1 > 2 * pieceLength ||
            (block.length() == 1 && continuesPrevious(block)))
            return true;
    }
    // An emptied block that continued the paragraph may be the one after the span.
    return continuesPrevious(last) && last.length() == 1;
}

void DisplayBlocks::fixBlocks(int from, int to)
{
    // A cursor of its own: the caller's stays where its edit left it.
    QTextCursor cursor(m_document);
    const bool wasFixing = m_fixing;
    m_fixing = true;
    // From the last block back, so that the numbers of the blocks before stay put.
    const int first = m_document->findBlock(from).blockNumber();
    const int last =
        std::min(m_document->findBlock(to).blockNumber() + 1, m_document->blockCount() - 1);
    for (int number = last; number >= first; --number) {
        const QTextBlock block = m_document->findBlockByNumber(number);
        if (block.length() == 1 && continuesPrevious(block)) {
            // Nothing left of it: the soft break goes, which changes no text.
            cursor.setPosition(block.position() - 1);
            cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        } else if (block.length() - 1 > 2 * pieceLength) {
            const QList<qsizetype> cuts = ParagraphPieces::breaks(block.text(), pieceLength);
            const QTextBlockFormat format = block.blockFormat();
            const int position = block.position();
            for (auto cut = cuts.crbegin(); cut != cuts.crend(); ++cut) {
                cursor.setPosition(position + int(*cut));
                cursor.insertBlock(format, softBreakFormat());
            }
        }
    }
    m_fixing = wasFixing;
}

void DisplayBlocks::settle()
{
    if (m_dirty.isNull())
        return;
    const int from = m_dirty.selectionStart();
    const int to = m_dirty.selectionEnd();
    m_dirty = QTextCursor();
    // With something to redo, the change was most likely an undo: a state of the history is
    // left as it was (at worst slower to edit), since a new edit would throw the redo away, and
    // an undo that took back only a cut would otherwise be cut again, over and over.
    if (m_document->isRedoAvailable() || !needsWork(from, to))
        return;
    QTextCursor cursor(m_document);
    if (m_document->isUndoAvailable()) {
        // Part of the edit that made it necessary: one undo takes both back.
        cursor.joinPreviousEditBlock();
        fixBlocks(from, to);
        cursor.endEditBlock();
    } else {
        // A text just set: its first state is already cut. (With nothing to undo, only a
        // state that is already cut can be waiting to be redone, so none is lost here.)
        const bool modified = m_document->isModified();
        const bool undoEnabled = m_document->isUndoRedoEnabled();
        m_document->setUndoRedoEnabled(false);
        cursor.beginEditBlock();
        fixBlocks(from, to);
        cursor.endEditBlock();
        m_document->setUndoRedoEnabled(undoEnabled);
        m_document->setModified(modified);
    }
}

} // namespace dictaro
