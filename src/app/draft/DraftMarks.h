#pragma once

#include "DraftWords.h"
#include "WordMarks.h"

#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <optional>
#include <tuple>
#include <utility>
#include <vector>

class QTextDocument;

namespace dictaro {

// A project's drafted words: read from and written to the side file beside the project (never
// into the project file), their unsure ones marked while the user's choice says so, and found
// by time or by place in the text for follow-along.
class DraftMarks : public WordMarks
{
    Q_OBJECT

public:
    // A word the recogniser gave less than an even chance is more likely wrong than right:
    // worth listening to again. Higher thresholds mark most words of a noisy recording, which
    // makes the marks useless; lower ones miss the plain mistakes.
    static constexpr double unsureBelow = 0.5;
    // How long after a change the side file is written (off the event loop's thread).
    static constexpr int saveDelayMs = 3000;

    // The words of the side file at `path`, when it is readable (a missing, unreadable, oversized
    // or malformed one gives none).
    explicit DraftMarks(QString path, QObject* parent = nullptr);
    ~DraftMarks() override;

    const DraftWords& words() const { return m_words; }
    bool isEmpty() const { return m_words.isEmpty(); }
    // Adds drafted segments, to be written to the side file shortly.
    void add(const std::vector<RecognisedSegment>& segments);
    // Writes the side file now and waits for it; false when it could not be written.
    bool saveNow();

    bool isMarking() const { return m_marking; }
    // Whether unsure words are marked at all.
    void setMarking(bool marking);
    void unsureWords(QStringView text, const QList<TimestampMatch>& stamps,
                     QList<WordTokenizer::WordRange>& ranges) const override;

    // When the drafted word at `position` of `document` was spoken; none off such a word.
    std::optional<double> timeAt(const QTextDocument* document, int position) const;
    // Where in `document` the drafted word spoken at `seconds` is (from, to); none when no
    // drafted word is spoken then or it is no longer in the text.
    std::optional<std::pair<int, int>> rangeAt(const QTextDocument* document, double seconds);

private:
    void scheduleSave();
    void writeInBackground();

    QString m_path;
    DraftWords m_words;
    bool m_marking = true;
    QTimer m_saveTimer;
    QThreadPool m_writer;
    // The block where the last spoken segment was found: the next is usually there or after it.
    int m_hintBlock = 0;
    // The word last looked for in vain, and the document's revision then.
    std::optional<std::tuple<int, int, int>> m_lastMiss;
};

} // namespace dictaro
