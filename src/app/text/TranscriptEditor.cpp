#include "TranscriptEditor.h"

#include <QApplication>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include "ColorContrast.h"
#include "DisplayBlocks.h"
#include "LineBreaks.h"
#include "Localization.h"
#include "TimestampFormatter.h"
#include "TranscriptHighlighter.h"

namespace dictaro {

namespace {

constexpr qreal fontPointSize = 14.0;
constexpr int horizontalInset = 16;
constexpr int verticalInset = 12;

// What a drop or paste inserts: the plain text of the data, or the text of its HTML when it
// has no plain text.
QString plainTextOf(const QMimeData* source)
{
    QString text = source->text();
    if (text.isEmpty() && source->hasHtml())
        text = QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    return text;
}

} // namespace

TranscriptEditor::TranscriptEditor(QTextDocument* document, QWidget* parent)
    : QPlainTextEdit(parent)
{
    // A plain-text editor lays its document out in lines of its own kind.
    if (!qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout()))
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    setDocument(document);

    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(fontPointSize);
    setFont(font);
    setUndoRedoEnabled(true);

    // The document margin insets the text on all sides and scrolls with it; the rest of the
    // horizontal inset is a strip of viewport margin painted like the text's background.
    document->setDocumentMargin(verticalInset);
    setViewportMargins(horizontalInset - verticalInset, 0, horizontalInset - verticalInset, 0);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    // For the pointing hand over timestamps.
    viewport()->setMouseTracking(true);

    // So do its short display blocks, which the session's document has already.
    m_blocks = DisplayBlocks::of(document);
    if (!m_blocks)
        m_blocks = new DisplayBlocks(document);

    // The colouring belongs to the document and goes with it.
    m_highlighter = new TranscriptHighlighter(document, timestampColor(palette()));
    connect(this, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { m_highlighter->caretMovedTo(textCursor().position()); });
}

void TranscriptEditor::setMarks(Marks kind, const QList<QTextEdit::ExtraSelection>& marks)
{
    (kind == Marks::Found ? m_found : m_playingLine) = marks;
    // Found words are drawn over the line's shade.
    setExtraSelections(m_playingLine + m_found);
}

std::optional<double> TranscriptEditor::timestampAt(const QPoint& viewportPosition) const
{
    const QTextBlock block = cursorForPosition(viewportPosition).block();
    if (!block.isValid() || !block.isVisible() || !block.layout())
        return std::nullopt;
    const QTextLayout* layout = block.layout();
    const QPointF point = QPointF(viewportPosition) -
                          blockBoundingGeometry(block).translated(contentOffset()).topLeft() -
                          layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (point.y() < line.y() || point.y() >= line.y() + line.height())
            continue;
        // Only the glyphs count: not the empty space after the end of a line.
        if (!line.naturalTextRect().contains(point))
            return std::nullopt;
        const int index = line.xToCursor(point.x(), QTextLine::CursorOnCharacter);
        const QList<TimestampMatch> matches = TimestampFormatter::timestampMatches(block.text());
        for (const TimestampMatch& match : matches) {
            if (index >= match.start && index < match.end)
                return match.seconds;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

bool TranscriptEditor::pressOnTimestamp(QMouseEvent* event)
{
    m_pressedSeconds.reset();
    // Shift extends the selection, on a timestamp as anywhere else.
    if (event->button() != Qt::LeftButton || event->modifiers().testFlag(Qt::ShiftModifier))
        return false;
    const QPoint position = event->position().toPoint();
    m_pressedSeconds = timestampAt(position);
    if (!m_pressedSeconds)
        return false;
    m_pressPosition = position;
    event->accept();
    return true;
}

void TranscriptEditor::mousePressEvent(QMouseEvent* event)
{
    if (pressOnTimestamp(event))
        return;
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier)
        emit controlClicked(cursorForPosition(event->position().toPoint()).position());
    QPlainTextEdit::mousePressEvent(event);
}

void TranscriptEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a quick pair on a timestamp is another click, not a word selection.
    if (!pressOnTimestamp(event))
        QPlainTextEdit::mouseDoubleClickEvent(event);
}

void TranscriptEditor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (m_pressedSeconds) {
        if (!event->buttons().testFlag(Qt::LeftButton)) {
            m_pressedSeconds.reset(); // the release went elsewhere
        } else if ((position - m_pressPosition).manhattanLength() <
                   QApplication::startDragDistance()) {
            event->accept();
            return;
        } else {
            // A drag that starts on a timestamp selects text like any other drag: hand the
            // held-back press to the text control first.
            m_pressedSeconds.reset();
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(m_pressPosition),
                              viewport()->mapToGlobal(QPointF(m_pressPosition)), Qt::LeftButton,
                              Qt::LeftButton, event->modifiers(), event->pointingDevice());
            QPlainTextEdit::mousePressEvent(&press);
        }
    }
    if (event->buttons() == Qt::NoButton)
        updatePointerShape(position);
    QPlainTextEdit::mouseMoveEvent(event);
}

void TranscriptEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressedSeconds && event->button() == Qt::LeftButton) {
        const double seconds = *m_pressedSeconds;
        m_pressedSeconds.reset();
        event->accept();
        emit timestampClicked(seconds);
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void TranscriptEditor::updatePointerShape(const QPoint& viewportPosition)
{
    const bool overTimestamp = timestampAt(viewportPosition).has_value();
    if (overTimestamp == m_pointerOverTimestamp)
        return;
    m_pointerOverTimestamp = overTimestamp;
    viewport()->setCursor(overTimestamp ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void TranscriptEditor::stepOverSoftBreak(int key, bool extend)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const QTextCursor::MoveMode mode = extend ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    const bool backwards = key == Qt::Key_Left || key == Qt::Key_Backspace;
    // The end of one display block and the start of the next are one place in the text: a key
    // that moves or deletes across it acts from the far side, or it would seem to do nothing.
    if (backwards && cursor.atBlockStart() && DisplayBlocks::continuesPrevious(block))
        cursor.setPosition(cursor.position() - 1, mode);
    else if (!backwards && cursor.atBlockEnd() && DisplayBlocks::continuesPrevious(block.next()))
        cursor.setPosition(cursor.position() + 1, mode);
    else
        return;
    setTextCursor(cursor);
}

void TranscriptEditor::keyPressEvent(QKeyEvent* event)
{
    // Text typed, or taken away, by the key itself; not a command with Ctrl (Ctrl with Alt is
    // the third level of some keyboards).
    const QString text = event->text();
    const Qt::KeyboardModifiers command =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool typing =
        (command == Qt::NoModifier || command == (Qt::ControlModifier | Qt::AltModifier)) &&
        (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
         (!text.isEmpty() && text.front().isPrint()));
    const int key = event->key();
    if (command == Qt::NoModifier && (key == Qt::Key_Left || key == Qt::Key_Right))
        stepOverSoftBreak(key, event->modifiers().testFlag(Qt::ShiftModifier));
    else if (typing && !isReadOnly() && !textCursor().hasSelection() &&
             (key == Qt::Key_Backspace || key == Qt::Key_Delete))
        stepOverSoftBreak(key, false);
    if (!isReadOnly())
        plainCurrentFormat();
    if (typing && !isReadOnly())
        m_highlighter->typingAt(textCursor());
    if (event->matches(QKeySequence::Paste)) {
        QPlainTextEdit::keyPressEvent(event); // a paste keeps its blocks short by itself
        return;
    }
    keepingBlocksShort(text.size(), [&] { QPlainTextEdit::keyPressEvent(event); });
}

void TranscriptEditor::keepingBlocksShort(qsizetype typed, const std::function<void()>& edit)
{
    if (isReadOnly() || !mayUnsettleBlocks(typed)) {
        edit();
        return;
    }
    // The cut or join the edit makes necessary belongs to its own undo step. (Typing elsewhere
    // stays outside edit blocks, so that undo takes back a run of typing at once.)
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    {
        const QScopedValueRollback nested(m_inEditBlock, true);
        edit();
    }
    const QTextBlock block = textCursor().block();
    const int from = block.previous().isValid() ? block.previous().position() : 0;
    m_blocks->fixBlocks(from, block.position() + block.length() - 1);
    cursor.endEditBlock();
}

bool TranscriptEditor::mayUnsettleBlocks(qsizetype typed) const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const QTextBlock next = block.next();
    return cursor.hasSelection() || block.length() - 1 + typed > 2 * DisplayBlocks::pieceLength ||
           (block.length() <= 2 && DisplayBlocks::continuesPrevious(block)) ||
           (next.length() <= 2 && DisplayBlocks::continuesPrevious(next));
}

void TranscriptEditor::plainCurrentFormat()
{
    // What is typed takes the format of the text before it; never the mark of a soft break,
    // which would make a line break typed there vanish from the text.
    // (With a selection, that would format the selected text instead.)
    if (textCursor().hasSelection() || currentCharFormat().properties().isEmpty())
        return;
    setCurrentCharFormat(QTextCharFormat());
}

void TranscriptEditor::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() && !isReadOnly()) {
        plainCurrentFormat();
        m_highlighter->typingAt(textCursor());
    }
    keepingBlocksShort(event->commitString().size(),
                       [&] { QPlainTextEdit::inputMethodEvent(event); });
}

void TranscriptEditor::dropEvent(QDropEvent* event)
{
    // The text control makes the drop one edit block, the removal of a moved selection with it.
    const QScopedValueRollback nested(m_inEditBlock, true);
    QPlainTextEdit::dropEvent(event);
}

void TranscriptEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_highlighter)
        m_highlighter->setColor(timestampColor(palette()));
}

QColor TranscriptEditor::timestampColor(const QPalette& palette)
{
    return ColorContrast::readableOn(palette.color(QPalette::Active, QPalette::Highlight),
                                     palette.color(QPalette::Active, QPalette::Base));
}

bool TranscriptEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return (source->hasText() && !source->text().isEmpty()) || source->hasHtml();
}

void TranscriptEditor::insertFromMimeData(const QMimeData* source)
{
    const QString text = LineBreaks::normalized(plainTextOf(source));
    if (text.isEmpty())
        return;
    // Only the plain text enters the document, with no format of the source (Markdown would
    // otherwise be taken as rich text). A long paragraph is cut into display blocks before each
    // slice's edit ends, so that it is never laid out whole. A long text goes in slice by slice,
    // the window repainting in between with the progress shown; all of it is one undo step.
    const QPointer<TranscriptEditor> self(this);
    const QPointer<QTextDocument> document(this->document());
    QTextCursor cursor = textCursor();
    // Not inside an edit block of a drop or key of ours: the window must not repaint while one
    // is open.
    const bool inSlices = text.size() > pasteSliceLength && !m_inEditBlock;
    if (inSlices)
        showPasteProgress(0);
    for (qsizetype done = 0, end = 0; done < text.size(); done = end) {
        end = std::min(done + pasteSliceLength, text.size());
        if (end < text.size() && text.at(end - 1).isHighSurrogate())
            ++end; // a surrogate pair goes in whole
        if (done == 0) {
            cursor.beginEditBlock();
            cursor.removeSelectedText();
        } else {
            cursor.joinPreviousEditBlock();
        }
        cursor.setCharFormat(QTextCharFormat()); // no selection: only what is inserted next
        const int from = cursor.position();
        cursor.insertText(text.sliced(done, end - done));
        m_blocks->fixBlocks(from, cursor.position());
        cursor.endEditBlock();
        if (!inSlices)
            break;
        showPasteProgress(int(100 * end / text.size()));
        // Only what needs no input: typing, another paste or closing must wait for the end.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!self || !document)
            return; // the document went away meanwhile; what was pasted stays one undo step
    }
    if (inSlices)
        hidePasteProgress();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TranscriptEditor::showPasteProgress(int percent)
{
    if (!m_pasteProgress) {
        m_pasteProgress = new QProgressBar(this);
        m_pasteProgress->setObjectName(QStringLiteral("pasteProgress"));
        m_pasteProgress->setRange(0, 100);
        m_pasteProgress->setFormat(Localization::tr("Pasting… %p%"));
        m_pasteProgress->setTextVisible(true);
        const QSize size(std::min(260, width() / 2), m_pasteProgress->sizeHint().height());
        m_pasteProgress->setGeometry(width() - size.width() - horizontalInset, verticalInset,
                                     size.width(), size.height());
        m_pasteProgress->show();
    }
    m_pasteProgress->setValue(percent);
    emit pasteProgress(percent);
}

void TranscriptEditor::hidePasteProgress()
{
    delete m_pasteProgress;
}

QMimeData* TranscriptEditor::createMimeDataFromSelection() const
{
    // Plain text only, and exactly as saved: the default would add HTML, turn no-break spaces
    // into spaces and keep soft line breaks as U+2028.
    QString text = DisplayBlocks::selectedText(textCursor());
    LineBreaks::toNewlines(text);
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

} // namespace dictaro
