#include "LineBreaks.h"

namespace dictaro::LineBreaks {

void toNewlines(QString& text)
{
    for (QChar& ch : text) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    }
}

QString normalized(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            result += u'\n';
        } else if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator) {
            result += u'\n';
        } else {
            result += ch;
        }
    }
    return result;
}

} // namespace dictaro::LineBreaks
