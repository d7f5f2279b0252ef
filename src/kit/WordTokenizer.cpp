#include "WordTokenizer.h"

#include "TimestampFormatter.h"

#include <algorithm>

namespace dictaro::WordTokenizer {

namespace {

constexpr QChar typographicApostrophe = u'\u2019';

bool startsWithCaseless(QStringView text, QLatin1StringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// An apostrophe with a letter on either side, inside text[0, end).
bool isInnerApostrophe(QStringView text, qsizetype i, qsizetype end)
{
    return isApostrophe(text.at(i)) && i > 0 && i + 1 < end && text.at(i - 1).isLetter() &&
           text.at(i + 1).isLetter();
}

} // namespace

bool isApostrophe(QChar ch)
{
    return ch == u'\'' || ch == typographicApostrophe;
}

bool isWordCharAt(QStringView text, qsizetype i)
{
    if (i < 0 || i >= text.size())
        return false;
    const QChar ch = text.at(i);
    return ch.isLetterOrNumber() || ch.isMark() || ch == u'_' ||
           isInnerApostrophe(text, i, text.size());
}

bool isWordBoundary(QStringView text, qsizetype position)
{
    return !(isWordCharAt(text, position - 1) && isWordCharAt(text, position));
}

bool isAddress(QStringView token)
{
    while (!token.isEmpty() && QStringView(u"(<[\"'").contains(token.front()))
        token = token.mid(1);
    if (token.contains(u"://") || startsWithCaseless(token, QLatin1StringView("www.")) ||
        startsWithCaseless(token, QLatin1StringView("mailto:")))
        return true;
    // E-mail addresses, and handles such as @name, are no words to check.
    return token.contains(u'@');
}

bool isCheckable(QStringView word)
{
    bool hasLetter = false;
    for (const QChar ch : word) {
        if (ch.isNumber() || ch == u'.' || ch == u'_')
            return false;
        hasLetter = hasLetter || ch.isLetter();
    }
    return hasLetter;
}

std::pair<qsizetype, qsizetype> simpleWord(QStringView token)
{
    qsizetype start = 0;
    qsizetype end = token.size();
    // Latin punctuation, and quotes and dashes of the general punctuation block.
    const auto isPunctuation = [](QChar ch) {
        return !ch.isLetterOrNumber() &&
               (ch.unicode() < 0x250 || (ch.unicode() >= 0x2000 && ch.unicode() < 0x2070));
    };
    while (start < end && isPunctuation(token.at(start)))
        ++start;
    while (end > start && isPunctuation(token.at(end - 1)))
        --end;
    for (qsizetype i = start; i < end; ++i) {
        const QChar ch = token.at(i);
        if (ch.unicode() >= 0x250)
            return {};
        if (ch.isLetter())
            continue;
        if (!isInnerApostrophe(token, i, end))
            return {};
    }
    return {start, end};
}

WordRange checkableWordAt(QStringView text, qsizetype position)
{
    // The whitespace-separated piece around the position decides (an address is one piece).
    qsizetype from = std::clamp(position, qsizetype(0), text.size());
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    qsizetype to = std::clamp(position, qsizetype(0), text.size());
    while (to < text.size() && !text.at(to).isSpace())
        ++to;
    WordRange result;
    forEachCheckableWord(text, from, to, [&](qsizetype start, qsizetype end) {
        if (position >= start && position <= end && result.start == result.end)
            result = {start, end};
        return true;
    });
    return result;
}

qsizetype countWords(QStringView text)
{
    constexpr qsizetype timestampLength = 10; // "[hh:mm:ss]"
    qsizetype count = 0;
    qsizetype start = -1; // of the piece being read
    bool hasWordChar = false;
    const auto endPiece = [&](qsizetype end) {
        if (hasWordChar &&
            !(end - start == timestampLength &&
              TimestampFormatter::secondsFromString(text.sliced(start, end - start).toString())))
            ++count;
        start = -1;
        hasWordChar = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isSpace()) {
            if (start >= 0)
                endPiece(i);
            continue;
        }
        if (start < 0)
            start = i;
        if (!hasWordChar && (ch.isLetterOrNumber() || ch.isMark() || ch == u'_'))
            hasWordChar = true;
    }
    if (start >= 0)
        endPiece(text.size());
    return count;
}

} // namespace dictaro::WordTokenizer
