#pragma once

#include "Recogniser.h"

#include <QByteArray>

#include <vector>

namespace dictaro {

// How a recogniser's tokens (pieces of words) become words.
namespace RecognisedWords {

// A token as a recogniser gives it: its UTF-8 text (which may hold part of a character), its
// times in the recording and its probability.
struct Token
{
    QByteArray text;
    double start = 0.0;
    double end = 0.0;
    double probability = 1.0;
};

// The words the tokens of a segment make: a token whose text starts with a space starts a new
// word, the others continue the word before. A word runs from its first token's start to its
// last token's end, kept within start..end of the segment, and its probability is the mean of
// its tokens'. Tokens of blanks alone are left out.
std::vector<RecognisedWord> join(const std::vector<Token>& tokens, double segmentStart,
                                 double segmentEnd);

} // namespace RecognisedWords
} // namespace dictaro
