#pragma once

#include "WordTokenizer.h"

#include <QDeadlineTimer>
#include <QList>
#include <QStringView>

#include <functional>

namespace dictaro {

// Checks the words of a text a piece at a time, so that a long text never holds up the caller:
// each call goes on from where the last one stopped until the end or a deadline. Whether a word
// is misspelt is the speller's answer, given as a function.
class BackgroundChecker
{
public:
    using IsMisspelt = std::function<bool(QStringView word)>;

    // The window of text one boundary finder sees: long enough to be cheap per word, short
    // enough that a text without line breaks costs no more per call than one with them.
    static constexpr qsizetype windowSize = 2048;

    explicit BackgroundChecker(IsMisspelt isMisspelt) : m_isMisspelt(std::move(isMisspelt)) {}

    // Finds the misspelt words of `text` from `from` on, appending them to `found`, until the
    // end or the deadline. Returns where it stopped: text.size(), or a later start that a next
    // call continues from.
    qsizetype check(QStringView text, qsizetype from, QList<WordTokenizer::WordRange>& found,
                    const QDeadlineTimer& deadline = QDeadlineTimer::Forever) const;

private:
    IsMisspelt m_isMisspelt;
};

} // namespace dictaro
