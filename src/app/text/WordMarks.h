#pragma once

#include "TimestampFormatter.h"
#include "WordTokenizer.h"

#include <QList>
#include <QObject>
#include <QStringView>

namespace dictaro {

// Marks on words of the transcript that come from elsewhere than spelling (a machine draft's
// unsure words), asked for one block at a time by the highlighter.
class WordMarks : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Appends the ranges of `text` (one block's, with its timestamps) to mark as unsure. Runs
    // for every block laid out, also while typing: it must be cheap.
    virtual void unsureWords(QStringView text, const QList<TimestampMatch>& stamps,
                             QList<WordTokenizer::WordRange>& ranges) const = 0;

signals:
    // The marks of any block may have changed.
    void changed();
};

} // namespace dictaro
