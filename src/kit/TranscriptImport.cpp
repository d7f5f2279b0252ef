#include "TranscriptImport.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

#include "TimestampFormatter.h"

namespace dictaro {

ImportError::ImportError(Kind kind, int line)
    : std::runtime_error("transcript import failed"), m_kind(kind), m_line(line)
{}

namespace TranscriptImport {

namespace {

// The 1-based line of code unit `offset`, counting LF, CR LF and lone CR as line ends.
template <typename Unit> int lineAt(const Unit* units, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        const auto unit = char16_t(units[i]);
        if (unit == u'\n' ||
            (unit == u'\r' && (i + 1 >= offset || char16_t(units[i + 1]) != u'\n')))
            ++line;
    }
    return line;
}

int lineAt(QByteArrayView bytes, qsizetype offset)
{
    return lineAt(reinterpret_cast<const unsigned char*>(bytes.data()), offset);
}

int lineAt(const QString& text, qsizetype offset)
{
    return lineAt(text.utf16(), offset);
}

// The offset of the first byte that does not belong to well-formed UTF-8, or -1.
qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // no overlong forms
            if (lead == 0xED)
                high = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F; // nothing above U+10FFFF
        } else {
            return i;
        }
        if (i + length > size)
            return i;
        if (data[i + 1] < low || data[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k) {
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return i;
        }
        i += length;
    }
    return -1;
}

QString decodeUtf16(QByteArrayView body, bool littleEndian)
{
    if (body.size() % 2 != 0)
        throw ImportError(ImportError::Kind::NotText, 0);
    QString text(body.size() / 2, Qt::Uninitialized);
    const auto* bytes = reinterpret_cast<const unsigned char*>(body.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const unsigned a = bytes[2 * i], b = bytes[2 * i + 1];
        text[i] = QChar(char16_t(littleEndian ? (a | b << 8) : (a << 8 | b)));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool paired =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (paired) {
            ++i;
        } else if (c.isSurrogate()) {
            throw ImportError(ImportError::Kind::NotText, lineAt(text, i));
        } else if (c.unicode() == 0) {
            throw ImportError(ImportError::Kind::Binary, lineAt(text, i));
        }
    }
    return text;
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

bool isCueNumber(const QString& line)
{
    const QString trimmed = line.trimmed();
    return !trimmed.isEmpty() && std::all_of(trimmed.cbegin(), trimmed.cend(),
                                             [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Seconds from the captured parts of one time: hours (may be empty), minutes, seconds and a
// decimal fraction of a second.
std::optional<double> seconds(QStringView hours, QStringView minutes, QStringView secs,
                              QStringView fraction)
{
    bool ok = true;
    const double h = hours.isEmpty() ? 0.0 : hours.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const int m = minutes.toInt(&ok);
    if (!ok || m > 59)
        return std::nullopt;
    const int s = secs.toInt(&ok);
    if (!ok || s > 59)
        return std::nullopt;
    const double f = fraction.toInt(&ok) / std::pow(10.0, double(fraction.size()));
    if (!ok)
        return std::nullopt;
    return h * 3600.0 + m * 60.0 + s + f;
}

// A time line: start and end, whatever follows the end (positions, cue settings) ignored.
std::optional<std::pair<double, double>> timeLine(const QString& line, bool hoursOptional)
{
    static const QRegularExpression subRip(
        QStringLiteral(R"(^\s*(\d+):(\d{1,2}):(\d{1,2})[,.](\d{1,3})\s*-->\s*)"
                       R"((\d+):(\d{1,2}):(\d{1,2})[,.](\d{1,3})(?:\s.*)?$)"));
    static const QRegularExpression webVtt(
        QStringLiteral(R"(^\s*(?:(\d+):)?(\d{1,2}):(\d{1,2})[.,](\d{1,3})\s+-->\s+)"
                       R"((?:(\d+):)?(\d{1,2}):(\d{1,2})[.,](\d{1,3})(?:\s.*)?$)"));
    const QRegularExpressionMatch match = (hoursOptional ? webVtt : subRip).match(line);
    if (!match.hasMatch())
        return std::nullopt;
    const auto start = seconds(match.capturedView(1), match.capturedView(2), match.capturedView(3),
                               match.capturedView(4));
    const auto end = seconds(match.capturedView(5), match.capturedView(6), match.capturedView(7),
                             match.capturedView(8));
    if (!start || !end)
        return std::nullopt;
    return std::pair{*start, std::max(*start, *end)};
}

// Text without SubRip's inline markup: <i>, <b>, <u>, <s>, <font …> and {\…} overrides.
QString subRipText(const QString& line)
{
    QString text = line;
    static const QRegularExpression tags(QStringLiteral(R"(</?(?:i|b|u|s|font)(?:\s[^>]*)?>)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression overrides(QStringLiteral(R"(\{\\[^}]*\})"));
    if (text.contains(u'<'))
        text.remove(tags);
    if (text.contains(u'{'))
        text.remove(overrides);
    return text;
}

QString decodeEntities(const QString& text)
{
    if (!text.contains(u'&'))
        return text;
    static const QRegularExpression entity(QStringLiteral(R"(&(#x[0-9A-Fa-f]+|#[0-9]+|[a-z]+);)"));
    QString result;
    qsizetype copied = 0;
    for (const QRegularExpressionMatch& match : entity.globalMatch(text)) {
        const QStringView name = match.capturedView(1);
        QString replacement;
        if (name == u"amp")
            replacement = QStringLiteral("&");
        else if (name == u"lt")
            replacement = QStringLiteral("<");
        else if (name == u"gt")
            replacement = QStringLiteral(">");
        else if (name == u"nbsp")
            replacement = QStringLiteral(" ");
        else if (name == u"lrm" || name == u"rlm")
            replacement = QString();
        else if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.startsWith(u"#x") ? name.sliced(2).toUInt(&ok, 16)
                                                     : name.sliced(1).toUInt(&ok, 10);
            if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                continue;
            const char32_t point = code;
            replacement = QString::fromUcs4(&point, 1);
        } else {
            continue;
        }
        result.append(QStringView(text).sliced(copied, match.capturedStart() - copied));
        result.append(replacement);
        copied = match.capturedEnd();
    }
    result.append(QStringView(text).sliced(copied));
    return result;
}

// Text without WebVTT's markup; a voice span names its speaker as "Name: ".
QString webVttText(const QString& text)
{
    static const QRegularExpression voice(QStringLiteral(R"(<v(?:\.[^\s>]*)?[ \t]+([^>]*)>)"));
    static const QRegularExpression tags(QStringLiteral(R"(<[^>]*>)"));
    if (!text.contains(u'<'))
        return decodeEntities(text);
    QString result = text;
    result.replace(voice, QStringLiteral("\\1: "));
    result.remove(tags);
    return decodeEntities(result);
}

// Whether a line opens a WebVTT block that holds no cue (a comment, a style sheet, a region).
bool opensNonCueBlock(const QString& line)
{
    for (const QStringView keyword : {u"NOTE", u"STYLE", u"REGION"}) {
        if (line.startsWith(keyword) &&
            (line.size() == keyword.size() || line.at(keyword.size()) == u' ' ||
             line.at(keyword.size()) == u'\t'))
            return true;
    }
    return false;
}

// The cue whose time line is at `i`, with the text lines up to the next blank line, each made
// plain by `plain`; `i` moves past them.
Cue readCue(const QStringList& lines, qsizetype& i, bool hoursOptional,
            QString (*plain)(const QString&))
{
    const auto times = timeLine(lines.at(i), hoursOptional);
    if (!times)
        throw ImportError(ImportError::Kind::BadTimeLine, int(i + 1));
    ++i;
    QStringList body;
    while (i < lines.size() && !isBlank(lines.at(i)))
        body.append(plain(lines.at(i++)));
    return {times->first, times->second, body.join(u'\n')};
}

} // namespace

TranscriptFileFormat formatForFileName(const QString& fileName)
{
    const QString name = fileName.toLower();
    if (name.endsWith(QStringLiteral(".srt")))
        return TranscriptFileFormat::SubRip;
    if (name.endsWith(QStringLiteral(".vtt")))
        return TranscriptFileFormat::WebVtt;
    if (name.endsWith(QStringLiteral(".md")) || name.endsWith(QStringLiteral(".markdown")))
        return TranscriptFileFormat::Markdown;
    return TranscriptFileFormat::PlainText;
}

QString decodeText(const QByteArray& bytes)
{
    if (bytes.size() > maxFileSize)
        throw ImportError(ImportError::Kind::TooLarge, 0);
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        text = decodeUtf16(QByteArrayView(bytes).sliced(2), bytes.startsWith("\xFF\xFE"));
    } else {
        QByteArrayView body(bytes);
        if (body.startsWith("\xEF\xBB\xBF"))
            body = body.sliced(3);
        if (const qsizetype nul = body.indexOf('\0'); nul >= 0)
            throw ImportError(ImportError::Kind::Binary, lineAt(body, nul));
        if (const qsizetype bad = firstInvalidUtf8(body); bad >= 0)
            throw ImportError(ImportError::Kind::NotText, lineAt(body, bad));
        text = QString::fromUtf8(body);
    }
    if (text.contains(u'\r')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    return text;
}

QList<Cue> parseSubRip(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    const qsizetype count = lines.size();
    QList<Cue> cues;
    qsizetype i = 0;
    while (i < count) {
        if (isBlank(lines.at(i))) {
            ++i;
            continue;
        }
        // The cue number is optional, and its value is not trusted.
        if (isCueNumber(lines.at(i)) && i + 1 < count && !isBlank(lines.at(i + 1)))
            ++i;
        cues.append(readCue(lines, i, false, subRipText));
    }
    return cues;
}

QList<Cue> parseWebVtt(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    const qsizetype count = lines.size();
    const QString& first = count > 0 ? lines.constFirst() : QString();
    if (!first.startsWith(QStringLiteral("WEBVTT")) ||
        (first.size() > 6 && first.at(6) != u' ' && first.at(6) != u'\t'))
        throw ImportError(ImportError::Kind::NoHeader, 1);
    QList<Cue> cues;
    qsizetype i = 1;
    // The header's own lines run to the first blank line.
    while (i < count && !isBlank(lines.at(i)))
        ++i;
    while (i < count) {
        if (isBlank(lines.at(i))) {
            ++i;
            continue;
        }
        if (opensNonCueBlock(lines.at(i))) {
            while (i < count && !isBlank(lines.at(i)))
                ++i;
            continue;
        }
        // An identifier may precede the time line.
        if (!lines.at(i).contains(QStringLiteral("-->")) && i + 1 < count &&
            !isBlank(lines.at(i + 1)))
            ++i;
        cues.append(readCue(lines, i, true, webVttText));
    }
    return cues;
}

QString transcriptFromCues(QList<Cue> cues)
{
    std::stable_sort(cues.begin(), cues.end(),
                     [](const Cue& a, const Cue& b) { return a.start < b.start; });
    QStringList lines;
    lines.reserve(cues.size());
    for (const Cue& cue : std::as_const(cues)) {
        QStringList parts;
        for (const QString& line : cue.text.split(u'\n')) {
            const QString trimmed = line.trimmed();
            if (!trimmed.isEmpty())
                parts.append(trimmed);
        }
        if (parts.isEmpty())
            continue;
        lines.append(TimestampFormatter::stringFromSeconds(cue.start) + u' ' + parts.join(u' '));
    }
    return lines.join(u'\n');
}

QString transcriptFromFile(const QByteArray& bytes, const QString& fileName)
{
    const QString text = decodeText(bytes);
    switch (formatForFileName(fileName)) {
    case TranscriptFileFormat::SubRip: return transcriptFromCues(parseSubRip(text));
    case TranscriptFileFormat::WebVtt: return transcriptFromCues(parseWebVtt(text));
    case TranscriptFileFormat::Markdown: {
        // The export's title line and the blank line after it are not part of the transcript.
        const qsizetype titleEnd = text.indexOf(u'\n');
        if (text.startsWith(QStringLiteral("# ")) && titleEnd >= 0 &&
            text.sliced(titleEnd).startsWith(QStringLiteral("\n\n")))
            return text.sliced(titleEnd + 2);
        return text;
    }
    case TranscriptFileFormat::PlainText: return text;
    }
    return text;
}

} // namespace TranscriptImport
} // namespace dictaro
