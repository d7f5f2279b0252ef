#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringView>
#include <QTimer>

class QTextDocument;

namespace dictaro {

// Finding and replacing in a document: the next or previous match with wrap-around, with or
// without matching case and whole words; one or all matches replaced, all of them as one undo
// step. The number of matches is counted in idle slices so that it never holds up typing.
class FindController : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 sliceBudgetNs = 2'500'000;
    // After an edit the count waits this long for the typing to pause.
    static constexpr int recountDelayMs = 250;

    enum class Direction { Forward, Backward };

    // Document positions, half-open. `wrapped`: found only past the end (or the start).
    struct Match
    {
        int start = -1;
        int end = -1;
        bool wrapped = false;
        bool isValid() const { return start >= 0; }
    };

    explicit FindController(QTextDocument* document, QObject* parent = nullptr);

    QTextDocument* document() const { return m_document.data(); }

    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    bool matchCase() const { return m_matchCase; }
    void setMatchCase(bool matchCase);
    bool wholeWords() const { return m_wholeWords; }
    void setWholeWords(bool wholeWords);

    // Forward: the first match starting at or after `position`; Backward: the last one that
    // starts before it. Either goes round the end of the document; invalid when none exists.
    Match find(int position, Direction direction) const;
    // Whether the text from start to end is a match of the pattern.
    bool isMatch(int start, int end) const;
    // The matches that start within [from, to).
    QList<Match> matchesBetween(int from, int to) const;
    // Replaces every match as one undo step; returns how many it replaced.
    int replaceAll(const QString& replacement);

    // Counting runs while enabled (the find bar is open) and restarts after changes.
    void setCounting(bool counting);
    // All matches, or -1 while they are being counted.
    int matchCount() const { return m_countDone ? int(m_starts.size()) : -1; }
    // The number (from 1) of the match starting at `start`; 0 while counting or for none.
    int matchNumber(int start) const;

signals:
    // Pattern or options changed: what was found before may no longer be a match.
    void searchChanged();
    // matchCount() changed (also to "still counting").
    void countChanged();

private:
    bool isWholeWord(QStringView text, qsizetype start, qsizetype end) const;
    qsizetype indexIn(QStringView text, qsizetype from) const;
    qsizetype lastIndexBefore(QStringView text, qsizetype before) const;
    void restartCount();
    void countSlice();

    QPointer<QTextDocument> m_document;
    QString m_pattern;
    bool m_matchCase = false;
    bool m_wholeWords = false;

    bool m_counting = false;
    bool m_countDone = false;
    int m_countBlock = 0;
    QList<int> m_starts;
    QTimer m_countTimer;
    QTimer m_recountDelay;
};

} // namespace dictaro
