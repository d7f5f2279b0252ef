#include "Graphemes.h"

#include <QChar>

// The classes follow the extended grapheme cluster rules of Unicode Standard Annex #29
// (Grapheme_Cluster_Break Extend, ZWJ, SpacingMark and Prepend). Between a printable ASCII
// character and its neighbour only the pair rules "do not break before Extend, ZWJ or
// SpacingMark" and "do not break after Prepend" can apply, so classifying the neighbour is
// enough. QTextBoundaryFinder is not used for this: it tailors clusters per script, with an
// outcome that depends on where the examined window starts (a bracket followed by U+0903 is
// split or joined depending on the text before the bracket).

namespace dictaro::Graphemes {

namespace {

// Code points below U+0300 are never marks, joiners or prepended characters.
constexpr char16_t firstJoiningCodeUnit = 0x0300;

bool inRange(char32_t c, char32_t first, char32_t last)
{
    return c >= first && c <= last;
}

// Spacing marks that the cluster rules treat as ordinary characters (Myanmar, Tai Tham,
// Tai Viet and Ahom vowel signs written as separate letters).
bool isSpacingMarkException(char32_t c)
{
    return c == 0x102B || c == 0x102C || c == 0x1038 || inRange(c, 0x1062, 0x1064) ||
           inRange(c, 0x1067, 0x106D) || c == 0x1083 || inRange(c, 0x1087, 0x108C) || c == 0x108F ||
           inRange(c, 0x109A, 0x109C) || c == 0x1A61 || c == 0x1A63 || c == 0x1A64 || c == 0xAA7B ||
           c == 0xAA7D || c == 0x11720 || c == 0x11721;
}

char32_t codePointEndingAt(QStringView text, qsizetype end)
{
    const char16_t last = text[end - 1].unicode();
    if (QChar::isLowSurrogate(last) && end >= 2) {
        const char16_t high = text[end - 2].unicode();
        if (QChar::isHighSurrogate(high))
            return QChar::surrogateToUcs4(high, last);
    }
    return last;
}

char32_t codePointStartingAt(QStringView text, qsizetype start)
{
    const char16_t first = text[start].unicode();
    if (QChar::isHighSurrogate(first) && start + 1 < text.size()) {
        const char16_t low = text[start + 1].unicode();
        if (QChar::isLowSurrogate(low))
            return QChar::surrogateToUcs4(first, low);
    }
    return first;
}

} // namespace

bool extendsPrevious(char32_t c)
{
    if (c < firstJoiningCodeUnit)
        return false;
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing: // includes variation selectors
    case QChar::Mark_Enclosing: return true;
    case QChar::Mark_SpacingCombining: return !isSpacingMarkException(c);
    default: break;
    }
    return c == 0x200C || c == 0x200D       // zero width non-joiner, joiner
           || c == 0x0E33 || c == 0x0EB3    // Thai and Lao sara am
           || inRange(c, 0xFF9E, 0xFF9F)    // halfwidth katakana sound marks
           || inRange(c, 0x1F3FB, 0x1F3FF)  // emoji skin tone modifiers
           || inRange(c, 0xE0020, 0xE007F); // tag characters
}

bool prependsToNext(char32_t c)
{
    return inRange(c, 0x0600, 0x0605) || c == 0x06DD || c == 0x070F || inRange(c, 0x0890, 0x0891) ||
           c == 0x08E2 || c == 0x0D4E || c == 0x110BD || c == 0x110CD ||
           inRange(c, 0x111C2, 0x111C3) || c == 0x1193F || c == 0x11941 || c == 0x11A3A ||
           inRange(c, 0x11A84, 0x11A89) || c == 0x11D46 || c == 0x11F02;
}

bool isWholeCharacter(QStringView text, qsizetype pos)
{
    if (pos > 0 && text[pos - 1].unicode() >= firstJoiningCodeUnit &&
        prependsToNext(codePointEndingAt(text, pos)))
        return false;
    if (pos + 1 < text.size() && text[pos + 1].unicode() >= firstJoiningCodeUnit &&
        extendsPrevious(codePointStartingAt(text, pos + 1)))
        return false;
    return true;
}

} // namespace dictaro::Graphemes
