#include "Project.h"

#include "SpeakerLabels.h"
#include "StoreError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <system_error>
#include <utility>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>
#include <QStringList>
#include <QTimeZone>
#include <QVariant>

namespace dictaro {

namespace {

// --- numbers kept as written ------------------------------------------------------------------
//
// A QJsonValue holds a number as a double or a 64-bit integer, so a member of a newer version
// holding, say, a whole number beyond 2^63 or more digits than a double carries would be written
// back changed. Such a literal is read as a string made of an unpaired low surrogate followed by
// its text, and written back as that text. No readable file holds such a string: one that starts
// with that surrogate is refused as invalid Unicode.

constexpr char16_t keptNumberMark = 0xDC00;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether `text` is exactly one JSON number literal.
bool isJsonNumber(QByteArrayView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < n && isDigit(text[i]))
            ++i;
        return i > from;
    };
    if (i < n && text[i] == '-')
        ++i;
    if (i < n && text[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < n && text[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

// A number literal's decimal value in one form: sign, significant digits without leading or
// trailing zeros, and the power of ten of the last one (zero has no digits and no sign).
struct DecimalValue
{
    bool negative = false;
    QByteArray digits;
    qint64 exponent = 0;
    friend bool operator==(const DecimalValue&, const DecimalValue&) = default;
};

DecimalValue decimalValue(QByteArrayView literal)
{
    DecimalValue value;
    qsizetype i = 0;
    value.negative = literal.startsWith('-');
    if (value.negative)
        ++i;
    qint64 fractionDigits = 0;
    bool inFraction = false;
    for (; i < literal.size() && literal[i] != 'e' && literal[i] != 'E'; ++i) {
        if (literal[i] == '.') {
            inFraction = true;
            continue;
        }
        if (!value.digits.isEmpty() || literal[i] != '0')
            value.digits.append(literal[i]);
        fractionDigits += inFraction ? 1 : 0;
    }
    qint64 power = 0;
    if (i < literal.size()) {
        ++i;
        const bool negativePower = literal[i] == '-';
        if (literal[i] == '-' || literal[i] == '+')
            ++i;
        // Saturated: such powers only arise for zero, or for numbers beyond a double anyway.
        for (; i < literal.size(); ++i)
            power = std::min<qint64>(power * 10 + (literal[i] - '0'), qint64(1) << 40);
        power = negativePower ? -power : power;
    }
    value.exponent = power - fractionDigits;
    while (value.digits.endsWith('0')) {
        value.digits.chop(1);
        ++value.exponent;
    }
    if (value.digits.isEmpty())
        return {};
    return value;
}

// Whether reading `literal` into a QJsonValue and writing that back would change its value.
bool losesValue(QByteArrayView literal)
{
    const char* begin = literal.data();
    const char* end = begin + literal.size();
    const bool whole =
        std::none_of(begin, end, [](char c) { return c == '.' || c == 'e' || c == 'E'; });
    if (whole) {
        qint64 integer = 0;
        return std::from_chars(begin, end, integer).ec != std::errc();
    }
    double number = 0;
    if (std::from_chars(begin, end, number).ec != std::errc() || !std::isfinite(number))
        return true;
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, number);
    return decimalValue(QByteArrayView(buffer, written.ptr - buffer)) != decimalValue(literal);
}

// A string read in place of a number literal: the mark, then the literal.
bool isKeptNumber(const QString& text)
{
    if (text.size() < 2 || text.front() != QChar(keptNumberMark))
        return false;
    const QStringView literal = QStringView(text).sliced(1);
    return std::all_of(literal.begin(), literal.end(),
                       [](QChar c) { return c.unicode() < 0x80; }) &&
           isJsonNumber(literal.toLatin1());
}

// --- writing ---------------------------------------------------------------------------------

void appendEscaped(QByteArray& out, const QByteArray& utf8)
{
    static constexpr char hex[] = "0123456789abcdef";
    out.reserve(out.size() + utf8.size() + 2);
    out.append('"');
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype upTo) {
        if (upTo > plainFrom)
            out.append(utf8.constData() + plainFrom, upTo - plainFrom);
    };
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const char* escape = nullptr;
        switch (c) {
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        case '/': escape = "\\/"; break;
        case '\b': escape = "\\b"; break;
        case '\f': escape = "\\f"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\t': escape = "\\t"; break;
        default:
            if (c >= 0x20)
                continue;
        }
        flushPlain(i);
        plainFrom = i + 1;
        if (escape) {
            out.append(escape);
        } else {
            const char unicode[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xf]};
            out.append(unicode, sizeof unicode);
        }
    }
    flushPlain(utf8.size());
    out.append('"');
}

void appendString(QByteArray& out, const QString& text)
{
    appendEscaped(out, text.toUtf8());
}

void appendNumber(QByteArray& out, double value, const char* field)
{
    if (!std::isfinite(value))
        throw StoreError(QStringLiteral("%1 is not a finite number").arg(QLatin1String(field)));
    // The shortest decimal form that reads back to the same double.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr - buffer);
}

QString dateText(const QDateTime& date, const char* field)
{
    if (!date.isValid())
        throw StoreError(QStringLiteral("%1 is not a valid date").arg(QLatin1String(field)));
    const QDateTime utc = date.toUTC();
    if (utc.date().year() < 1 || utc.date().year() > 9999)
        throw StoreError(QStringLiteral("%1 is out of range").arg(QLatin1String(field)));
    return utc.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

// Any JSON value, pretty-printed like the rest of the file at nesting `depth`.
void appendValue(QByteArray& out, const QJsonValue& value, int depth)
{
    const auto newline = [&out](int level) {
        out.append('\n');
        out.append(QByteArray(2 * level, ' '));
    };
    switch (value.type()) {
    case QJsonValue::Null: out.append("null"); return;
    case QJsonValue::Bool: out.append(value.toBool() ? "true" : "false"); return;
    case QJsonValue::String:
        if (const QString text = value.toString(); isKeptNumber(text))
            out.append(QStringView(text).sliced(1).toLatin1());
        else
            appendString(out, text);
        return;
    case QJsonValue::Double:
        // Whole numbers beyond a double's exact range keep every digit.
        if (value.toVariant().typeId() == QMetaType::LongLong)
            out.append(QByteArray::number(value.toInteger()));
        else
            appendNumber(out, value.toDouble(), "a number");
        return;
    case QJsonValue::Array: {
        const QJsonArray array = value.toArray();
        out.append('[');
        for (qsizetype i = 0; i < array.size(); ++i) {
            out.append(i ? "," : "");
            newline(depth + 1);
            appendValue(out, array.at(i), depth + 1);
        }
        if (!array.isEmpty())
            newline(depth);
        out.append(']');
        return;
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        QStringList keys = object.keys();
        std::sort(keys.begin(), keys.end());
        out.append('{');
        for (qsizetype i = 0; i < keys.size(); ++i) {
            out.append(i ? "," : "");
            newline(depth + 1);
            appendString(out, keys.at(i));
            out.append(" : ");
            appendValue(out, object.value(keys.at(i)), depth + 1);
        }
        if (!keys.isEmpty())
            newline(depth);
        out.append('}');
        return;
    }
    case QJsonValue::Undefined: out.append("null"); return;
    }
}

// Optional, and kept as it was when it is no list of names.
const QString speakersKey = QStringLiteral("speakers");

const QSet<QString>& knownKeys()
{
    // clang-format off
    static const QSet<QString> keys = {
        QStringLiteral("createdAt"),     QStringLiteral("id"),
        QStringLiteral("lastPosition"),  QStringLiteral("mediaBookmark"),
        QStringLiteral("mediaFileName"), QStringLiteral("name"),
        QStringLiteral("playbackRate"),  QStringLiteral("transcript"),
        QStringLiteral("updatedAt"),
        // How the recording sounds: optional, absent means the defaults.
        QStringLiteral("channels"), QStringLiteral("voiceFilter"), QStringLiteral("volume"),
    };
    // clang-format on
    return keys;
}

// Whether a value can be written back exactly: finite numbers and valid Unicode throughout, or
// numbers kept as written where `keptNumbers` allows them.
bool isWritable(const QJsonValue& value, bool keptNumbers)
{
    switch (value.type()) {
    case QJsonValue::String: {
        const QString text = value.toString();
        return QStringView(text).isValidUtf16() || (keptNumbers && isKeptNumber(text));
    }
    case QJsonValue::Double: return std::isfinite(value.toDouble());
    case QJsonValue::Array: {
        const QJsonArray array = value.toArray();
        return std::all_of(array.begin(), array.end(),
                           [=](const QJsonValue& v) { return isWritable(v, keptNumbers); });
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!QStringView(it.key()).isValidUtf16() || !isWritable(it.value(), keptNumbers))
                return false;
        }
        return true;
    }
    default: return true;
    }
}

// --- reading ---------------------------------------------------------------------------------

[[noreturn]] void fail(const QString& why)
{
    throw StoreError(why);
}

QJsonValue required(const QJsonObject& object, QLatin1String key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull() || it->isUndefined())
        fail(QStringLiteral("missing member \"%1\"").arg(key));
    return *it;
}

QString requiredString(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = required(object, key);
    if (!value.isString())
        fail(QStringLiteral("member \"%1\" is not a string").arg(key));
    // An escaped lone surrogate ("\ud800") has no UTF-8 form and could not be saved again.
    QString text = value.toString();
    if (!QStringView(text).isValidUtf16())
        fail(QStringLiteral("member \"%1\" is not valid Unicode").arg(key));
    return text;
}

double requiredNumber(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = required(object, key);
    // Numbers too large for a double would read as infinity, which could never be saved again.
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        fail(QStringLiteral("member \"%1\" is not a finite number").arg(key));
    return value.toDouble();
}

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QUuid parseUuid(const QString& text)
{
    // Only the canonical 8-4-4-4-12 form, in either case; no braces.
    if (text.size() != 36)
        fail(QStringLiteral("\"id\" is not a UUID"));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? text[i] != u'-' : !isHex(text[i]))
            fail(QStringLiteral("\"id\" is not a UUID"));
    }
    return QUuid::fromString(text);
}

bool isDigit(QChar c)
{
    return c.unicode() < 0x80 && isDigit(char(c.unicode()));
}

QDateTime parseDate(const QString& text, QLatin1String key)
{
    // ISO 8601 date and time with a zone designator: "Z" or a numeric offset. Qt would read a
    // text without one as local time, which would silently shift the instant.
    bool zoned = text.endsWith(u'Z');
    if (!zoned && text.size() >= 6) {
        const QStringView tail = QStringView(text).right(6);
        zoned = (tail[0] == u'+' || tail[0] == u'-') && isDigit(tail[1]) && isDigit(tail[2]) &&
                tail[3] == u':' && isDigit(tail[4]) && isDigit(tail[5]);
    }
    const bool hasTime = text.size() > 10 && text[10] == u'T';
    const QDateTime date =
        zoned && hasTime ? QDateTime::fromString(text, Qt::ISODateWithMs) : QDateTime();
    if (!date.isValid())
        fail(QStringLiteral("member \"%1\" is not a date").arg(key));
    return date.toUTC();
}

std::optional<QByteArray> parseBookmark(const QJsonObject& object)
{
    const auto it = object.constFind(QLatin1String("mediaBookmark"));
    if (it == object.constEnd() || it->isNull())
        return std::nullopt;
    if (!it->isString())
        fail(QStringLiteral("member \"mediaBookmark\" is not a string"));
    const QByteArray text = it->toString().toLatin1();
    auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || text.size() % 4 != 0)
        fail(QStringLiteral("member \"mediaBookmark\" is not Base64"));
    return *decoded;
}

// The sound members are optional and never make a file unreadable: a value of the wrong type is
// ignored, a volume out of range is clamped.
SoundSettings parseSound(const QJsonObject& object)
{
    SoundSettings sound;
    if (const QJsonValue volume = object.value(QLatin1String("volume")); volume.isDouble())
        sound.volume = SoundSettings::clampedVolume(volume.toDouble());
    const QJsonValue channels = object.value(QLatin1String("channels"));
    sound.channels = SoundSettings::channelsFromName(channels.toString()).value_or(sound.channels);
    sound.voiceFilter = object.value(QLatin1String("voiceFilter")).toBool(false);
    return sound;
}

// The file's bytes with every number literal of an unknown member that losesValue() turned into a
// kept-number string; nothing when that cannot be told (malformed JSON, which the parser then
// refuses). A string that starts with the mark, and could pass for a kept number, is refused.
std::optional<QByteArray> withKeptNumbers(const QByteArray& bytes)
{
    std::vector<std::pair<qsizetype, qsizetype>> literals;
    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    int depth = 0;
    bool keyNext = false;     // the next string at depth 1 names a member
    bool knownMember = false; // the member at depth 1 being read is one of the record's fields
    for (qsizetype i = 0; i < n;) {
        const char c = p[i];
        if (c == '"') {
            // The closing quote is the first one after an even run of backslashes.
            const qsizetype from = ++i;
            for (;;) {
                const void* quote = std::memchr(p + i, '"', size_t(n - i));
                if (!quote)
                    return std::nullopt;
                i = static_cast<const char*>(quote) - p;
                qsizetype backslashes = 0;
                while (i - backslashes > from && p[i - backslashes - 1] == '\\')
                    ++backslashes;
                if (backslashes % 2 == 0)
                    break;
                ++i;
            }
            const QByteArrayView text(p + from, i - from);
            // Refused wherever it stands, also where a later duplicate member would hide it.
            if (text.size() >= 6 && qstrnicmp(text.data(), "\\udc00", 6) == 0)
                fail(QStringLiteral("a string starts with an unpaired surrogate"));
            if (depth == 1 && keyNext) {
                QString key = QString::fromUtf8(text);
                if (text.contains('\\')) {
                    const QByteArray quoted = '[' + QByteArray(p + from - 1, text.size() + 2) + ']';
                    key = QJsonDocument::fromJson(quoted).array().at(0).toString();
                }
                knownMember = knownKeys().contains(key);
                keyNext = false;
            }
            ++i;
            continue;
        }
        if (c == '-' || isDigit(c)) {
            const qsizetype from = i;
            while (i < n && (isDigit(p[i]) || p[i] == '-' || p[i] == '+' || p[i] == '.' ||
                             p[i] == 'e' || p[i] == 'E'))
                ++i;
            const QByteArrayView literal(p + from, i - from);
            if (!isJsonNumber(literal))
                return std::nullopt;
            if (depth > 1 || (depth == 1 && !knownMember)) {
                if (losesValue(literal))
                    literals.emplace_back(from, i);
            }
            continue;
        }
        switch (c) {
        case '{':
            ++depth;
            keyNext = depth == 1;
            break;
        case '[': ++depth; break;
        case '}':
        case ']':
            if (--depth < 0)
                return std::nullopt;
            break;
        case ',':
            if (depth == 1)
                keyNext = true;
            break;
        default: break;
        }
        ++i;
    }
    if (literals.empty())
        return bytes;
    QByteArray out;
    out.reserve(n + qsizetype(literals.size()) * 10);
    qsizetype copied = 0;
    for (const auto& [from, to] : literals) {
        out.append(p + copied, from - copied);
        out.append("\"\\udc00");
        out.append(p + from, to - from);
        out.append('"');
        copied = to;
    }
    out.append(p + copied, n - copied);
    return out;
}

} // namespace

QByteArray encodeProject(const Project& project)
{
    // Each member writes its own value; all are written in the order of their keys.
    using Writer = std::function<void(QByteArray&)>;
    std::vector<std::pair<QString, Writer>> members;
    members.reserve(9 + project.unknownMembers.size());
    const auto text = [](const QString& value) {
        return [&value](QByteArray& out) { appendString(out, value); };
    };
    const auto number = [](double value, const char* field) {
        return [value, field](QByteArray& out) { appendNumber(out, value, field); };
    };
    const QString createdAt = dateText(project.createdAt, "createdAt");
    const QString updatedAt = dateText(project.updatedAt, "updatedAt");
    const QString id = project.id.toString(QUuid::WithoutBraces).toUpper();
    members.emplace_back(QStringLiteral("createdAt"), text(createdAt));
    members.emplace_back(QStringLiteral("id"), text(id));
    members.emplace_back(QStringLiteral("lastPosition"),
                         number(project.lastPosition, "lastPosition"));
    if (project.mediaBookmark) {
        members.emplace_back(QStringLiteral("mediaBookmark"), [&](QByteArray& out) {
            appendEscaped(out, project.mediaBookmark->toBase64());
        });
    }
    members.emplace_back(QStringLiteral("mediaFileName"), text(project.mediaFileName));
    members.emplace_back(QStringLiteral("name"), text(project.name));
    members.emplace_back(QStringLiteral("playbackRate"),
                         number(project.playbackRate, "playbackRate"));
    if (!project.speakers.isEmpty()) {
        members.emplace_back(speakersKey, [&](QByteArray& out) {
            appendValue(out, QJsonArray::fromStringList(project.speakers), 1);
        });
    }
    members.emplace_back(QStringLiteral("transcript"), text(project.transcript));
    members.emplace_back(QStringLiteral("updatedAt"), text(updatedAt));
    const SoundSettings defaults;
    const QString channels = SoundSettings::channelsName(project.sound.channels);
    if (project.sound.channels != defaults.channels)
        members.emplace_back(QStringLiteral("channels"), text(channels));
    if (project.sound.voiceFilter != defaults.voiceFilter)
        members.emplace_back(QStringLiteral("voiceFilter"),
                             [](QByteArray& out) { out.append("true"); });
    if (project.sound.volume != defaults.volume)
        members.emplace_back(QStringLiteral("volume"), number(project.sound.volume, "volume"));
    for (auto it = project.unknownMembers.begin(); it != project.unknownMembers.end(); ++it) {
        if (knownKeys().contains(it.key()) ||
            (it.key() == speakersKey && !project.speakers.isEmpty()))
            continue; // a known member is always written from its field
        members.emplace_back(it.key(),
                             [value = it.value()](QByteArray& out) { appendValue(out, value, 1); });
    }
    std::sort(members.begin(), members.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    QByteArray out;
    out.reserve(project.transcript.size() + 512);
    out.append('{');
    bool first = true;
    for (const auto& [key, write] : members) {
        out.append(first ? "\n  " : ",\n  ");
        first = false;
        appendString(out, key);
        out.append(" : ");
        write(out);
    }
    out.append("\n}");
    return out;
}

Project decodeProject(const QByteArray& bytes)
{
    const std::optional<QByteArray> marked = withKeptNumbers(bytes);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(marked.value_or(bytes), &error);
    if (error.error != QJsonParseError::NoError)
        fail(QStringLiteral("not JSON: %1").arg(error.errorString()));
    if (!document.isObject())
        fail(QStringLiteral("not a JSON object"));
    const QJsonObject object = document.object();

    Project project;
    project.createdAt =
        parseDate(requiredString(object, QLatin1String("createdAt")), QLatin1String("createdAt"));
    project.id = parseUuid(requiredString(object, QLatin1String("id")));
    project.lastPosition = requiredNumber(object, QLatin1String("lastPosition"));
    project.mediaBookmark = parseBookmark(object);
    project.mediaFileName = requiredString(object, QLatin1String("mediaFileName"));
    project.name = requiredString(object, QLatin1String("name"));
    project.playbackRate = requiredNumber(object, QLatin1String("playbackRate"));
    project.transcript = requiredString(object, QLatin1String("transcript"));
    project.updatedAt =
        parseDate(requiredString(object, QLatin1String("updatedAt")), QLatin1String("updatedAt"));
    project.sound = parseSound(object);
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (knownKeys().contains(it.key()))
            continue;
        if (it.key() == speakersKey && it->isArray()) {
            QStringList names;
            for (const QJsonValue name : it->toArray()) {
                if (name.isString())
                    names.append(name.toString());
            }
            project.speakers = SpeakerLabels::cleanList(names);
            continue;
        }
        if (!QStringView(it.key()).isValidUtf16() || !isWritable(it.value(), marked.has_value()))
            fail(QStringLiteral("member \"%1\" could not be written back").arg(it.key()));
        project.unknownMembers.insert(it.key(), it.value());
    }
    return project;
}

} // namespace dictaro
