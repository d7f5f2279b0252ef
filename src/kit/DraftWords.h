#pragma once

#include "Recogniser.h"
#include "TimestampFormatter.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace dictaro {

// The timings of a machine draft's words, kept beside the project (never in it) so that the
// drafted words still in the text can be found again after any edit: the unsure ones marked,
// the one being spoken followed. A word is a whitespace-free piece of a segment's line, found
// after the timestamp of its segment, in order; a word edited since is no longer found.
class DraftWords
{
public:
    struct Word
    {
        double start = 0.0;
        double end = 0.0;
        double probability = 1.0;
        QString text;
        friend bool operator==(const Word&, const Word&) = default;
    };
    struct Segment
    {
        double start = 0.0;
        double end = 0.0;
        QList<Word> words;
        friend bool operator==(const Segment&, const Segment&) = default;
    };
    // A drafted word found in a line: where (UTF-16 positions, half-open) and which.
    struct Found
    {
        qsizetype start = 0;
        qsizetype end = 0;
        int segment = 0;
        int word = 0;
        friend bool operator==(const Found&, const Found&) = default;
    };

    // A side file larger than this is not read: an hour of speech takes well under 1 MB.
    static constexpr qint64 maxFileSize = 32LL * 1024 * 1024;

    // Adds a drafted segment. Its words become whitespace-free pieces as its line shows them:
    // a word that does not start with a space ("," or "n't") joins the piece before it. A
    // segment without word timings has its text's pieces spread over its time.
    void add(const RecognisedSegment& segment);
    void clear();
    bool isEmpty() const { return m_segments.isEmpty(); }
    const QList<Segment>& segments() const { return m_segments; }
    const Word& word(int segment, int word) const { return m_segments[segment].words[word]; }

    // The drafted words in a line of text, given its timestamps.
    QList<Found> find(QStringView line, const QList<TimestampMatch>& stamps) const;
    QList<Found> find(QStringView line) const;
    // The word being spoken at `seconds`: the last one started in the segment that is under
    // way. None between segments.
    std::optional<std::pair<int, int>> wordAt(double seconds) const;

    QByteArray encode() const;
    // Nothing for anything but a well-formed file of this kind (and no more than the limits).
    static std::optional<DraftWords> decode(const QByteArray& bytes);

    friend bool operator==(const DraftWords& a, const DraftWords& b)
    {
        return a.m_segments == b.m_segments;
    }

private:
    void insert(Segment segment);
    // The whole seconds a segment's timestamp shows.
    static qint64 stampSecond(double seconds);

    // In order of start.
    QList<Segment> m_segments;
    // Segments by the second their timestamp shows.
    QHash<qint64, QList<int>> m_byStamp;
};

} // namespace dictaro
