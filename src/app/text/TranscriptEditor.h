#pragma once

#include <optional>

#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>
#include <QString>

class QTextDocument;

class QMimeData;

namespace dictaro {

class TranscriptHighlighter;

// The plain-text editor of a transcript document that someone else owns: timestamps are shown in
// the palette's accent colour and a click on one reports the position it names. Pasted and
// dropped text comes in as plain text; copied text goes out exactly as typed.
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

signals:
    // A left click (press and release without dragging) on a timestamp.
    void timestampClicked(double seconds);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void updatePointerShape(const QPoint& viewportPosition);
    bool pressOnTimestamp(QMouseEvent* event);

    TranscriptHighlighter* m_highlighter = nullptr;

    // A press on a timestamp that becomes a click unless the pointer is dragged.
    std::optional<double> m_pressedSeconds;
    QPoint m_pressPosition;
    bool m_pointerOverTimestamp = false;
};

} // namespace dictaro
