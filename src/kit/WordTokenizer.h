#pragma once

#include <QStringView>
#include <QTextBoundaryFinder>

#include <utility>

// The one rule for what a word is, shared by spelling and find: letters (with marks) and
// digits, and an apostrophe between two letters ("don't", "Ankara'da" are single words).
// Spelling checks only words worth checking: not numbers, timestamps, words with digits, web or
// e-mail addresses.
namespace dictaro::WordTokenizer {

// A word: UTF-16 positions in its text, half-open.
struct WordRange
{
    qsizetype start = 0;
    qsizetype end = 0;
    bool operator==(const WordRange&) const = default;
};

bool isApostrophe(QChar ch);
// Whether text[i] belongs to a word: a letter, digit, mark or underscore, or an apostrophe
// between two letters.
bool isWordCharAt(QStringView text, qsizetype i);
// Whether a word may start or end at `position` (between two characters).
bool isWordBoundary(QStringView text, qsizetype position);

// A whitespace-separated piece of text that is a web or e-mail address as a whole.
bool isAddress(QStringView token);
// A word worth checking: has a letter, and no digit or inner dot (numbers, "3rd", "e.g",
// domain names) or underscore.
bool isCheckable(QStringView word);
// The word of a piece of Latin letters with punctuation only around it or apostrophes inside
// ("word,", "(don't", "Ankara'da."): its bounds as the boundary finder would give them, found
// without it. Empty for any other piece.
std::pair<qsizetype, qsizetype> simpleWord(QStringView token);

// Calls `visit(start, end)` for each checkable word of text[from, to), which starts and ends
// at whitespace (or the ends of the text). When `visit` returns false, stops at the end of
// that whitespace-separated piece and returns where it stopped; otherwise returns `to`.
template <typename Visit>
qsizetype forEachCheckableWord(QStringView text, qsizetype from, qsizetype to, Visit&& visit)
{
    bool goOn = true;
    qsizetype tokenStart = from;
    while (tokenStart < to) {
        while (tokenStart < to && text.at(tokenStart).isSpace())
            ++tokenStart;
        qsizetype tokenEnd = tokenStart;
        while (tokenEnd < to && !text.at(tokenEnd).isSpace())
            ++tokenEnd;
        if (tokenEnd == tokenStart)
            break;
        const QStringView token = text.sliced(tokenStart, tokenEnd - tokenStart);
        const auto [simpleStart, simpleEnd] = simpleWord(token);
        if (simpleEnd > simpleStart) {
            if (!visit(tokenStart + simpleStart, tokenStart + simpleEnd))
                goOn = false;
        } else if (!isAddress(token)) {
            QTextBoundaryFinder finder(QTextBoundaryFinder::Word, token.data(), token.size());
            qsizetype wordStart = -1;
            for (qsizetype p = 0; p >= 0; p = finder.toNextBoundary()) {
                const auto reasons = finder.boundaryReasons();
                if (wordStart >= 0 && reasons.testFlag(QTextBoundaryFinder::EndOfItem)) {
                    const QStringView word = token.sliced(wordStart, p - wordStart);
                    if (isCheckable(word) && !visit(tokenStart + wordStart, tokenStart + p))
                        goOn = false;
                    wordStart = -1;
                }
                if (reasons.testFlag(QTextBoundaryFinder::StartOfItem))
                    wordStart = p;
            }
        }
        tokenStart = tokenEnd;
        if (!goOn)
            return tokenEnd;
    }
    return to;
}

// The number of words in a text as a word count gives it: pieces between whitespace with at
// least one letter, digit or mark ("don't", "e-mail", "42" are one word each, a dash alone is
// none), leaving out timestamps ("[00:01:12]").
qsizetype countWords(QStringView text);

// The checkable word at or just before a position; an empty range when there is none.
WordRange checkableWordAt(QStringView text, qsizetype position);

} // namespace dictaro::WordTokenizer
