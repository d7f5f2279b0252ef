#include "CaptionExporter.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include "TimestampFormatter.h"

namespace dictaro::CaptionExporter {

namespace {

// How long a caption whose end is not known stays up: the time its text takes to read.
constexpr double readingCharactersPerSecond = 15.0;

// A stretch of the transcript between two timestamps.
struct Stretch
{
    double start = 0.0;
    double end = 0.0;
    QString text; // whitespace collapsed
};

double readingTime(qsizetype characters)
{
    return std::clamp(double(characters) / readingCharactersPerSecond, 1.0, maxCueSeconds);
}

// The space at which `text` breaks into two lines that both fit, as evenly as can be; -1 when
// it fits on one line, -2 when it fits on no two.
qsizetype lineBreak(const QString& text)
{
    if (text.size() <= maxLineLength)
        return -1;
    qsizetype best = -2;
    qsizetype bestLonger = text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u' ')
            continue;
        const qsizetype longer = std::max(i, text.size() - i - 1);
        if (longer <= maxLineLength && longer < bestLonger) {
            best = i;
            bestLonger = longer;
        }
    }
    return best;
}

bool fitsTwoLines(const QString& text)
{
    return lineBreak(text) != -2;
}

QStringList wrapped(const QString& text)
{
    const qsizetype at = lineBreak(text);
    if (at < 0)
        return {text};
    return {text.left(at), text.sliced(at + 1)};
}

// The pieces that `text` may be broken into: sentences, else words, else (for a word longer
// than a line) lines' worth of characters.
QStringList sentences(const QString& text)
{
    static const QRegularExpression end(QStringLiteral(R"((?<=[.!?…])\s+)"));
    return text.split(end, Qt::SkipEmptyParts);
}

QStringList words(const QString& text)
{
    QStringList result;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        for (qsizetype at = 0; at < word.size(); at += maxLineLength)
            result.append(word.mid(at, maxLineLength));
    }
    return result;
}

// Words in chunks of two lines, each line filled as far as it goes (which fits the most words).
// Every word fits a line.
QStringList packWords(const QStringList& words)
{
    QStringList chunks;
    QString current;
    bool secondLine = false;
    qsizetype lineLength = 0;
    for (const QString& word : words) {
        if (current.isEmpty()) {
            current = word;
            lineLength = word.size();
        } else if (lineLength + 1 + word.size() <= maxLineLength) {
            current.append(u' ').append(word);
            lineLength += 1 + word.size();
        } else if (!secondLine) {
            current.append(u' ').append(word);
            secondLine = true;
            lineLength = word.size();
        } else {
            chunks.append(current);
            current = word;
            secondLine = false;
            lineLength = word.size();
        }
    }
    if (!current.isEmpty())
        chunks.append(current);
    return chunks;
}

// Sentences in chunks that fit two lines; sentences are joined only while the chunk stays within
// `maxJoined` characters. A sentence that fits no two lines is broken between words.
QStringList pack(const QStringList& sentences, qsizetype maxJoined)
{
    QStringList chunks;
    QString current;
    for (const QString& sentence : sentences) {
        if (!current.isEmpty()) {
            current.append(u' ').append(sentence);
            if (current.size() <= maxJoined && fitsTwoLines(current))
                continue;
            current.chop(sentence.size() + 1);
            chunks.append(current);
            current.clear();
        }
        if (fitsTwoLines(sentence)) {
            current = sentence;
        } else {
            QStringList parts = packWords(words(sentence));
            current = parts.takeLast();
            chunks.append(parts);
        }
    }
    if (!current.isEmpty())
        chunks.append(current);
    return chunks;
}

// The speaker that a stretch's text names before ": ", or "".
QString speakerOf(const QString& text)
{
    static const QRegularExpression prefix(
        QStringLiteral(R"(^(\p{L}[\p{L}\p{M}\p{N}'’.-]*(?: [\p{L}\p{M}\p{N}'’.-]+){0,2}): )"));
    // Most stretches name no one; the expression runs only where a colon could end a name.
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0 || colon > 3 * 40)
        return {};
    const QRegularExpressionMatch match = prefix.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

QList<Stretch> stretches(const QString& transcript, double duration)
{
    const QList<TimestampMatch> stamps = TimestampFormatter::timestampMatches(transcript);
    QList<Stretch> result;
    const auto add = [&](double start, qsizetype from, qsizetype to, double next) {
        QString text = transcript.mid(from, to - from);
        // Control characters have no place on screen, nor in the files' syntax; they go before
        // the spaces are tidied, so that none is left at either end.
        const auto isControl = [](QChar c) {
            return (c.unicode() < 0x20 && !c.isSpace()) || c.unicode() == 0x7F;
        };
        if (std::any_of(text.cbegin(), text.cend(), isControl))
            text.removeIf(isControl);
        text = std::move(text).simplified();
        if (text.isEmpty())
            return;
        const double end = next > start ? next : start + readingTime(text.size());
        result.append({start, end, text});
    };
    const qsizetype firstStamp = stamps.isEmpty() ? transcript.size() : stamps.constFirst().start;
    add(0.0, 0, firstStamp, stamps.isEmpty() ? duration : stamps.constFirst().seconds);
    for (qsizetype k = 0; k < stamps.size(); ++k) {
        const bool last = k + 1 == stamps.size();
        add(stamps.at(k).seconds, stamps.at(k).end,
            last ? transcript.size() : stamps.at(k + 1).start,
            last ? duration : stamps.at(k + 1).seconds);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const Stretch& a, const Stretch& b) { return a.start < b.start; });
    return result;
}

void appendCaptions(QList<Caption>& captions, const Stretch& stretch)
{
    const double length = stretch.end - stretch.start;
    const qsizetype total = stretch.text.size();
    // Sentences share a caption only while its share of the time stays within the limit; a
    // single sentence that would stay up longer is shown for the limit instead of being broken.
    const qsizetype byTime =
        length > maxCueSeconds
            ? std::max<qsizetype>(1, qsizetype(std::floor(maxCueSeconds * total / length)))
            : total;
    const QStringList chunks = fitsTwoLines(stretch.text) && byTime >= total
                                   ? QStringList{stretch.text}
                                   : pack(sentences(stretch.text), byTime);
    qsizetype characters = 0;
    for (const QString& chunk : chunks)
        characters += chunk.size();
    const QString speaker = speakerOf(stretch.text);
    qsizetype before = 0;
    for (qsizetype k = 0; k < chunks.size(); ++k) {
        const QString& chunk = chunks.at(k);
        const double start = stretch.start + length * double(before) / double(characters);
        before += chunk.size();
        const double end = k + 1 == chunks.size()
                               ? stretch.end
                               : stretch.start + length * double(before) / double(characters);
        captions.append(
            {start, std::min(end, start + maxCueSeconds), speaker, wrapped(chunk), k == 0});
    }
}

// Appends "hh:mm:ss,mmm" (SubRip) or "hh:mm:ss.mmm" (WebVTT), to the nearest millisecond.
void appendTime(QString& out, double seconds, char16_t separator)
{
    const qint64 total = std::llround(std::max(seconds, 0.0) * 1000.0);
    const qint64 hours = total / 3'600'000;
    if (hours >= 100)
        out += QString::number(hours / 100);
    const qint64 parts[] = {hours % 100, total / 60'000 % 60, total / 1000 % 60};
    char16_t digits[12];
    for (int i = 0; i < 3; ++i) {
        digits[3 * i] = char16_t(u'0' + parts[i] / 10);
        digits[3 * i + 1] = char16_t(u'0' + parts[i] % 10);
        digits[3 * i + 2] = i < 2 ? u':' : separator;
    }
    const qint64 millis = total % 1000;
    digits[9] = char16_t(u'0' + millis / 100);
    digits[10] = char16_t(u'0' + millis / 10 % 10);
    digits[11] = char16_t(u'0' + millis % 10);
    out.append(QStringView(digits, 12));
}

void appendTimeLine(QString& out, const Caption& caption, char16_t separator)
{
    appendTime(out, caption.start, separator);
    out += u" --> ";
    appendTime(out, std::max(caption.end, caption.start), separator);
    out += u'\n';
}

QString escaped(QString text)
{
    if (std::none_of(text.cbegin(), text.cend(),
                     [](QChar c) { return c == u'&' || c == u'<' || c == u'>'; }))
        return text;
    text.replace(u'&', QStringLiteral("&amp;"));
    text.replace(u'<', QStringLiteral("&lt;"));
    text.replace(u'>', QStringLiteral("&gt;"));
    return text;
}

// Room for the captions' text and, per caption, `extra` characters of number, times and markup.
qsizetype sizeOf(const QList<Caption>& captions, qsizetype extra)
{
    qsizetype size = 0;
    for (const Caption& caption : captions) {
        size += extra + caption.speaker.size();
        for (const QString& line : caption.lines)
            size += line.size() + 1;
    }
    return size;
}

} // namespace

QList<Caption> captions(const QString& transcript, double duration)
{
    QList<Caption> result;
    for (const Stretch& stretch : stretches(transcript, duration))
        appendCaptions(result, stretch);
    return result;
}

QString subRip(const QList<Caption>& captions)
{
    QString out;
    out.reserve(sizeOf(captions, 48));
    qsizetype number = 0;
    char16_t digits[20];
    for (const Caption& caption : captions) {
        // The caption's number, written without a string of its own.
        qsizetype length = 0;
        for (qsizetype n = ++number; n > 0; n /= 10)
            digits[length++] = char16_t(u'0' + n % 10);
        std::reverse(digits, digits + length);
        out.append(QStringView(digits, length));
        out += u'\n';
        appendTimeLine(out, caption, u',');
        for (const QString& line : caption.lines) {
            out += line;
            out += u'\n';
        }
        out += u'\n';
    }
    return out;
}

QString webVtt(const QList<Caption>& captions)
{
    QString out = QStringLiteral("WEBVTT\n\n");
    out.reserve(sizeOf(captions, 48));
    for (const Caption& caption : captions) {
        appendTimeLine(out, caption, u'.');
        QStringList lines = caption.lines;
        if (!caption.speaker.isEmpty()) {
            // The voice tag names the speaker on every caption of the turn; the text's own
            // "Name: " goes.
            if (caption.opensTurn) {
                QString& first = lines.first();
                first.remove(0, std::min(first.size(), caption.speaker.size() + 2));
                if (first.isEmpty() && lines.size() > 1)
                    lines.removeFirst();
            }
            for (QString& line : lines)
                line = escaped(line);
            lines.first().prepend(QStringLiteral("<v ") + escaped(caption.speaker) + u'>');
        } else {
            for (QString& line : lines)
                line = escaped(line);
        }
        out += lines.join(u'\n') + QStringLiteral("\n\n");
    }
    return out;
}

} // namespace dictaro::CaptionExporter
