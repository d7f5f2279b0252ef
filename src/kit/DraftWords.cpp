#include "DraftWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace dictaro {

namespace {

const QString formatName = QStringLiteral("dictaro-draft-words");
constexpr int formatVersion = 1;
// Drafted words that a typist may have deleted between two words still there.
constexpr int lookahead = 4;
constexpr qsizetype maxWordLength = 200;

// Calls visit(start, end) for each whitespace-separated piece of text[from, to).
template <typename Visit>
void forEachPiece(QStringView text, qsizetype from, qsizetype to, Visit visit)
{
    qsizetype i = from;
    while (i < to) {
        while (i < to && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < to && !text[i].isSpace())
            ++i;
        if (i > start)
            visit(start, i);
    }
}

bool isWordText(const QString& text)
{
    if (text.isEmpty() || text.size() > maxWordLength)
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar ch) { return ch.isSpace(); });
}

} // namespace

qint64 DraftWords::stampSecond(double seconds)
{
    return TimestampFormatter::secondsFromString(TimestampFormatter::stringFromSeconds(seconds))
        .value_or(0.0);
}

void DraftWords::add(const RecognisedSegment& recognised)
{
    Segment segment{recognised.start, std::max(recognised.start, recognised.end), {}};
    // The text as its line shows it; each piece of it takes the times of the words in it.
    const QString text = recognised.text.simplified();
    struct Span
    {
        qsizetype start;
        qsizetype end;
        const RecognisedWord* word;
    };
    QList<Span> spans;
    qsizetype cursor = 0;
    for (const RecognisedWord& word : recognised.words) {
        const QString wordText = word.text.simplified();
        const qsizetype at = wordText.isEmpty() ? -1 : text.indexOf(wordText, cursor);
        if (at < 0)
            continue;
        spans.append({at, at + wordText.size(), &word});
        cursor = at + wordText.size();
    }
    QList<std::pair<qsizetype, qsizetype>> pieces;
    forEachPiece(text, 0, text.size(), [&](qsizetype start, qsizetype end) {
        pieces.append({start, end});
    });
    // Without word timings, the pieces share the segment's time evenly.
    const double step =
        (segment.end - segment.start) / double(std::max<qsizetype>(1, pieces.size()));
    qsizetype span = 0;
    double reached = segment.start;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const auto [start, end] = pieces[i];
        Word word{reached, reached, 1.0, text.sliced(start, end - start).left(maxWordLength)};
        if (spans.isEmpty()) {
            word.start = segment.start + step * double(i);
            word.end = word.start + step;
        }
        while (span < spans.size() && spans[span].end <= start)
            ++span;
        bool first = true;
        for (qsizetype k = span; k < spans.size() && spans[k].start < end; ++k) {
            const RecognisedWord& heard = *spans[k].word;
            if (first)
                word.start = heard.start;
            word.end = std::max(word.start, heard.end);
            word.probability =
                first ? heard.probability : std::min(word.probability, heard.probability);
            first = false;
        }
        reached = word.end;
        segment.words.append(std::move(word));
    }
    if (!segment.words.isEmpty())
        insert(std::move(segment));
}

void DraftWords::insert(Segment segment)
{
    const auto later =
        std::upper_bound(m_segments.begin(), m_segments.end(), segment.start,
                         [](double start, const Segment& other) { return start < other.start; });
    const bool atEnd = later == m_segments.end();
    const qint64 stamp = stampSecond(segment.start);
    m_segments.insert(later, std::move(segment));
    if (atEnd) {
        m_byStamp[stamp].append(int(m_segments.size() - 1));
        return;
    }
    m_byStamp.clear();
    for (int i = 0; i < m_segments.size(); ++i)
        m_byStamp[stampSecond(m_segments[i].start)].append(i);
}

void DraftWords::clear()
{
    m_segments.clear();
    m_byStamp.clear();
}

QList<DraftWords::Found> DraftWords::find(QStringView line) const
{
    if (m_segments.isEmpty())
        return {};
    return find(line, TimestampFormatter::timestampMatches(line.toString()));
}

QList<DraftWords::Found> DraftWords::find(QStringView line,
                                          const QList<TimestampMatch>& stamps) const
{
    QList<Found> found;
    if (m_segments.isEmpty())
        return found;
    for (qsizetype i = 0; i < stamps.size(); ++i) {
        const auto candidates = m_byStamp.constFind(qint64(stamps[i].seconds));
        if (candidates == m_byStamp.constEnd())
            continue;
        const qsizetype from = stamps[i].end;
        const qsizetype to = i + 1 < stamps.size() ? stamps[i + 1].start : line.size();
        QList<Found> best;
        for (const int index : *candidates) {
            const QList<Word>& words = m_segments[index].words;
            QList<Found> aligned;
            int next = 0;
            forEachPiece(line, from, to, [&](qsizetype start, qsizetype end) {
                const QStringView piece = line.sliced(start, end - start);
                const int last = std::min<int>(int(words.size()), next + lookahead);
                for (int k = next; k < last; ++k) {
                    if (words[k].text == piece) {
                        aligned.append({start, end, index, k});
                        next = k + 1;
                        return;
                    }
                }
            });
            if (aligned.size() > best.size())
                best = std::move(aligned);
        }
        found += best;
    }
    return found;
}

std::optional<std::pair<int, int>> DraftWords::wordAt(double seconds) const
{
    if (!std::isfinite(seconds))
        return std::nullopt;
    const auto after = std::upper_bound(
        m_segments.begin(), m_segments.end(), seconds,
        [](double value, const Segment& segment) { return value < segment.start; });
    if (after == m_segments.begin())
        return std::nullopt;
    const int index = int(after - m_segments.begin()) - 1;
    const Segment& segment = m_segments[index];
    if (seconds > segment.end)
        return std::nullopt;
    const auto word = std::upper_bound(segment.words.begin(), segment.words.end(), seconds,
                                       [](double value, const Word& w) { return value < w.start; });
    return std::pair{index, std::max(0, int(word - segment.words.begin()) - 1)};
}

QByteArray DraftWords::encode() const
{
    QJsonArray segments;
    for (const Segment& segment : m_segments) {
        QJsonArray words;
        for (const Word& word : segment.words)
            words.append(QJsonArray{word.start, word.end, word.probability, word.text});
        segments.append(
            QJsonObject{{"start", segment.start}, {"end", segment.end}, {"words", words}});
    }
    return QJsonDocument(QJsonObject{{"format", formatName},
                                     {"version", formatVersion},
                                     {"segments", segments}})
        .toJson(QJsonDocument::Compact);
}

std::optional<DraftWords> DraftWords::decode(const QByteArray& bytes)
{
    if (bytes.size() > maxFileSize)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (root.value("format").toString() != formatName ||
        root.value("version").toInteger(-1) != formatVersion || !root.value("segments").isArray())
        return std::nullopt;
    const auto time = [](const QJsonValue& value) -> std::optional<double> {
        if (!value.isDouble())
            return std::nullopt;
        const double seconds = value.toDouble();
        if (!std::isfinite(seconds) || seconds < 0.0 || seconds > 1e9)
            return std::nullopt;
        return seconds;
    };
    DraftWords words;
    double previousStart = 0.0;
    for (const QJsonValue& value : root.value("segments").toArray()) {
        const QJsonObject object = value.toObject();
        const std::optional<double> start = time(object.value("start"));
        const std::optional<double> end = time(object.value("end"));
        if (!value.isObject() || !start || !end || *end < *start || *start < previousStart ||
            !object.value("words").isArray())
            return std::nullopt;
        previousStart = *start;
        Segment segment{*start, *end, {}};
        for (const QJsonValue& item : object.value("words").toArray()) {
            const QJsonArray fields = item.toArray();
            if (!item.isArray() || fields.size() != 4)
                return std::nullopt;
            const std::optional<double> wordStart = time(fields[0]);
            const std::optional<double> wordEnd = time(fields[1]);
            const double probability = fields[2].toDouble(-1.0);
            const QString text = fields[3].toString();
            if (!wordStart || !wordEnd || *wordEnd < *wordStart || !fields[2].isDouble() ||
                !(probability >= 0.0 && probability <= 1.0) || !isWordText(text))
                return std::nullopt;
            segment.words.append({*wordStart, *wordEnd, probability, text});
        }
        if (segment.words.isEmpty())
            return std::nullopt;
        words.insert(std::move(segment));
    }
    return words;
}

} // namespace dictaro
