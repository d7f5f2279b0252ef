#pragma once

#include <QList>
#include <QObject>

#include <optional>
#include <utility>

class QTextDocument;

namespace dictaro {

// The timestamps of a transcript document in text order, kept up to date without reading the
// whole text after every edit: an edit only notes which stretch of the text it touched, and the
// next question reads again just the paragraphs of that stretch. Answers where the timestamps
// around a position are, for moving from one to the next and playing from them.
class StampIndex : public QObject
{
    Q_OBJECT

public:
    struct Stamp
    {
        int position = 0; // where "[" is
        int end = 0;      // just after "]"
        double seconds = 0.0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    // Follows `document`, which must outlive it; belongs to `parent`, else to the document.
    explicit StampIndex(QTextDocument* document, QObject* parent = nullptr);

    // Every timestamp of the text, in text order.
    const QList<Stamp>& stamps();
    // The line a time belongs to: from the stamp with the latest time not after `seconds` (the
    // first such stamp in the text when several name it) up to the next stamp in the text, or
    // to the end of the text. Empty when every stamp is later, or there is none.
    std::optional<std::pair<int, int>> lineAt(double seconds);

    // The first timestamp that starts at or after `position`.
    std::optional<Stamp> next(int position);
    // The last timestamp that ends before `position`: from just behind one, the one before it.
    std::optional<Stamp> previous(int position);
    // The timestamp that `position` is in or at the start of, else the last one before it.
    std::optional<Stamp> atOrBefore(int position);

private:
    void noteChange(int from, int charsRemoved, int charsAdded);
    void catchUp();
    QList<Stamp> read(int from, int to) const;

    QTextDocument* m_document = nullptr;
    QList<Stamp> m_stamps;
    bool m_built = false;
    // The text's length when m_stamps was right, and its length now.
    int m_indexedLength = 0;
    int m_length = 0;
    // Since then the text changed only after its first m_same characters and before its last
    // m_sameAtEnd characters.
    bool m_changed = false;
    bool m_heardSpan = false;
    int m_same = 0;
    int m_sameAtEnd = 0;
};

} // namespace dictaro
