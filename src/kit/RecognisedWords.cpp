#include "RecognisedWords.h"

#include <algorithm>

namespace dictaro::RecognisedWords {

std::vector<RecognisedWord> join(const std::vector<Token>& tokens, double segmentStart,
                                 double segmentEnd)
{
    std::vector<RecognisedWord> words;
    const double last = std::max(segmentStart, segmentEnd);
    QByteArray text;
    double probabilitySum = 0.0;
    int count = 0;
    RecognisedWord word;
    const auto finish = [&] {
        // The bytes are decoded whole, so a character split between tokens comes out right.
        word.text = QString::fromUtf8(text).trimmed();
        if (!word.text.isEmpty()) {
            word.probability = std::clamp(probabilitySum / count, 0.0, 1.0);
            word.start = std::clamp(word.start, segmentStart, last);
            word.end = std::clamp(word.end, word.start, last);
            words.push_back(word);
        }
        text.clear();
        probabilitySum = 0.0;
        count = 0;
    };
    for (const Token& token : tokens) {
        const bool blank = token.text.trimmed().isEmpty();
        if (blank && text.trimmed().isEmpty())
            continue;
        if (token.text.startsWith(' ') && !text.trimmed().isEmpty())
            finish();
        if (count == 0) {
            word.start = token.start;
            word.end = token.end;
        }
        text += token.text;
        probabilitySum += token.probability;
        ++count;
        word.end = std::max(word.end, token.end);
    }
    if (count > 0)
        finish();
    return words;
}

} // namespace dictaro::RecognisedWords
