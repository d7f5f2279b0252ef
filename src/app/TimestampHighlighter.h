#pragma once

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

namespace dictaro {

// Colours every timestamp of a document, one block (line) at a time, so that an edit costs the
// same whatever the length of the text. Only the display changes: the document's own character
// formats stay untouched.
class TimestampHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    TimestampHighlighter(QTextDocument* document, const QColor& color);

    QColor color() const { return m_color; }
    // Restyles the whole document when the colour differs from the current one.
    void setColor(const QColor& color);

signals:
    void colorChanged(const QColor& color);

protected:
    void highlightBlock(const QString& text) override;

private:
    QColor m_color;
    QTextCharFormat m_format;
};

} // namespace dictaro
