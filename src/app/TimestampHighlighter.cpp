#include "TimestampHighlighter.h"

#include "TimestampFormatter.h"

namespace dictaro {

TimestampHighlighter::TimestampHighlighter(QTextDocument* document, const QColor& color)
    : QSyntaxHighlighter(document), m_color(color)
{
    m_format.setForeground(m_color);
}

void TimestampHighlighter::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_format.setForeground(m_color);
    rehighlight();
    emit colorChanged(m_color);
}

void TimestampHighlighter::highlightBlock(const QString& text)
{
    // Timestamps never contain a line break, so the block's own text is all the context a
    // match needs. Positions are UTF-16 units of that text, as the layout counts them.
    const QList<TimestampMatch> matches = TimestampFormatter::timestampMatches(text);
    for (const TimestampMatch& match : matches)
        setFormat(int(match.start), int(match.end - match.start), m_format);
}

} // namespace dictaro
