#pragma once

#include <QStringView>

// The parts of the grapheme cluster rules (what a reader sees as one character) that decide
// whether a single ASCII character in a text stands as a character of its own.
namespace dictaro::Graphemes {

// Whether the code point joins the character before it into one cluster: a combining or
// enclosing mark, a spacing mark, a zero width joiner or non-joiner, a variation selector, an
// emoji modifier, a tag character.
bool extendsPrevious(char32_t codePoint);

// Whether the code point joins the character after it into one cluster (a prepended
// concatenation mark such as U+0600, or a preceding repha/prefixed consonant).
bool prependsToNext(char32_t codePoint);

// Whether the printable ASCII character at `pos` is a whole cluster: the code point before it
// does not prepend to it and the code point after it does not extend it. Surrogate pairs on
// either side are read as one code point; only those two neighbours are looked at, which is
// exact for a printable ASCII character.
bool isWholeCharacter(QStringView text, qsizetype pos);

} // namespace dictaro::Graphemes
