#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTextEdit>

class QTextDocument;

class QMimeData;
class QProgressBar;

namespace dictaro {

class DisplayBlocks;
class TranscriptHighlighter;

// The plain-text editor of a transcript document that someone else owns: timestamps are shown in
// the palette's accent colour and a click on one reports the position it names. Pasted and
// dropped text comes in as plain text; copied text goes out exactly as typed. A long paragraph
// is shown as several short blocks (see DisplayBlocks), which moving and deleting step over.
class TranscriptEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Shows `document`, which must outlive the editor.
    explicit TranscriptEditor(QTextDocument* document, QWidget* parent = nullptr);

    // The colour timestamps are drawn in: the palette's accent, made legible on its text
    // background where it is too faint.
    static QColor timestampColor(const QPalette& palette);
    // Colours the timestamps and marks misspelt words of the document.
    TranscriptHighlighter* highlighter() const { return m_highlighter; }

    // The seconds of the timestamp drawn under a point of the viewport, if any.
    std::optional<double> timestampAt(const QPoint& viewportPosition) const;

    // Marks drawn over the text besides the selection, each kind set on its own: the find bar's
    // matches, and the line being played.
    enum class Marks { Found, PlayingLine };
    void setMarks(Marks kind, const QList<QTextEdit::ExtraSelection>& marks);

    // Longer pasted or dropped text goes in in slices of this many characters, with the
    // window repainting and the progress shown in between.
    static constexpr qsizetype pasteSliceLength = 1 << 20;

signals:
    // A left click (press and release without dragging) on a timestamp.
    void timestampClicked(double seconds);
    // A left press with Ctrl held (not on a timestamp), at this position of the document.
    void controlClicked(int position);
    // How much of a long paste is in, in percent (0 at the start, 100 at the end).
    void pasteProgress(int percent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void updatePointerShape(const QPoint& viewportPosition);
    bool pressOnTimestamp(QMouseEvent* event);
    // Moves the caret over the soft break it is at, in the direction of `key`.
    void stepOverSoftBreak(int key, bool extend);
    void plainCurrentFormat();
    // Whether typing `typed` characters (or deleting one) at the caret may leave a display
    // block too long or empty.
    bool mayUnsettleBlocks(qsizetype typed) const;
    // Runs an edit at the caret and, where needed, the cuts and joins after it in one undo step.
    void keepingBlocksShort(qsizetype typed, const std::function<void()>& edit);
    void showPasteProgress(int percent);
    void hidePasteProgress();

    TranscriptHighlighter* m_highlighter = nullptr;
    DisplayBlocks* m_blocks = nullptr;
    QList<QTextEdit::ExtraSelection> m_found;
    QList<QTextEdit::ExtraSelection> m_playingLine;

    // A press on a timestamp that becomes a click unless the pointer is dragged.
    std::optional<double> m_pressedSeconds;
    QPoint m_pressPosition;
    bool m_pointerOverTimestamp = false;
    // Shown while a long paste goes in.
    QPointer<QProgressBar> m_pasteProgress;
    // Set while an edit block of a key or a drop is open around the text control's work.
    bool m_inEditBlock = false;
};

} // namespace dictaro
