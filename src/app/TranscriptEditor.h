#pragma once

#include <optional>

#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>
#include <QString>

class QMimeData;

namespace dictaro {

class TranscriptHighlighter;
class TranscriptEditorController;

// The plain-text editor of a transcript: timestamps are shown in the palette's accent colour
// and a click on one reports the position it names. The owner is told that the text changed
// (textEdited) and takes the whole text with text() only when it needs it.
class TranscriptEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Registers itself with the controller (which may be null) for as long as it lives.
    explicit TranscriptEditor(TranscriptEditorController* controller, QWidget* parent = nullptr);
    ~TranscriptEditor() override;

    TranscriptEditorController* controller() const { return m_controller.data(); }
    // Colours the timestamps and marks misspelt words of the document.
    TranscriptHighlighter* highlighter() const { return m_highlighter; }

    // The whole text, with "\n" for every line break (also a soft one, Shift+Enter) and every
    // other character as typed (unlike toPlainText(), which turns no-break spaces into spaces).
    QString text() const;

    // Brings the editor in line with a text from outside. A text equal to the one shown (line
    // breaks compared as the editor stores them) changes nothing, so selection and undo
    // history stay; any other text replaces everything and clears the undo history. Emits no
    // textEdited().
    void setTranscript(const QString& text);

    // The seconds of the timestamp drawn under a point of the viewport, if any.
    std::optional<double> timestampAt(const QPoint& viewportPosition) const;

signals:
    // A left click (press and release without dragging) on a timestamp.
    void timestampClicked(double seconds);
    // The text changed by an edit: typing, deleting, pasting, dropping, undo and redo, or the
    // controller's insertText(). Emitted once per change, after the new text is coloured.
    void textEdited();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    void updatePointerShape(const QPoint& viewportPosition);
    bool pressOnTimestamp(QMouseEvent* event);

    QPointer<TranscriptEditorController> m_controller;
    TranscriptHighlighter* m_highlighter = nullptr;

    // Set while setTranscript() replaces the text, which is no edit.
    bool m_replacing = false;

    // A press on a timestamp that becomes a click unless the pointer is dragged.
    std::optional<double> m_pressedSeconds;
    QPoint m_pressPosition;
    bool m_pointerOverTimestamp = false;
};

} // namespace dictaro
