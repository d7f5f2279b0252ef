#include "ParagraphPieces.h"

#include "Graphemes.h"

namespace dictaro::ParagraphPieces {

namespace {

bool isSpace(QChar ch)
{
    return ch == u' ' || ch == u'\t' || ch == QChar::Nbsp;
}

// Whether a piece may start at `pos`: not inside a surrogate pair, not before a code point that
// extends the one before it.
bool startsCharacter(QStringView text, qsizetype pos)
{
    const QChar ch = text.at(pos);
    if (ch.isLowSurrogate() && text.at(pos - 1).isHighSurrogate())
        return false;
    char32_t codePoint = ch.unicode();
    if (ch.isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate())
        codePoint = QChar::surrogateToUcs4(ch, text.at(pos + 1));
    return !Graphemes::extendsPrevious(codePoint);
}

} // namespace

QList<qsizetype> breaks(QStringView text, qsizetype pieceLength)
{
    QList<qsizetype> result;
    pieceLength = std::max<qsizetype>(pieceLength, 2);
    qsizetype start = 0;
    // Whatever is left once the text is shorter than two pieces stays one.
    while (text.size() - start > 2 * pieceLength) {
        const qsizetype ideal = start + pieceLength;
        const qsizetype window = pieceLength / 2;
        qsizetype cut = -1;
        // The nearest end of a run of spaces, looking forward first and then back.
        for (qsizetype i = ideal; i < ideal + window && cut < 0; ++i) {
            if (isSpace(text.at(i - 1)) && !isSpace(text.at(i)))
                cut = i;
        }
        for (qsizetype i = ideal - 1; i > ideal - window && cut < 0; --i) {
            if (isSpace(text.at(i - 1)) && !isSpace(text.at(i)))
                cut = i;
        }
        // No space near: between two whole characters.
        for (qsizetype i = ideal; cut < 0 && i < ideal + window; ++i) {
            if (startsCharacter(text, i))
                cut = i;
        }
        if (cut < 0)
            cut = ideal + window; // a run of marks this long has no sensible place to cut
        result.append(cut);
        start = cut;
    }
    return result;
}

} // namespace dictaro::ParagraphPieces
