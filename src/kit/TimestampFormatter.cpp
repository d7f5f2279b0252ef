#include "TimestampFormatter.h"

#include <array>
#include <cstdint>
#include <limits>

#include <QStringView>

#include "Graphemes.h"

namespace dictaro::TimestampFormatter {

namespace {

constexpr qsizetype timestampLength = 10; // "[hh:mm:ss]"

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isSexagesimalTens(char16_t c)
{
    return c >= u'0' && c <= u'5';
}

int twoDigits(const char16_t* p)
{
    return (p[0] - u'0') * 10 + (p[1] - u'0');
}

// The seconds of a timestamp that starts at `pos` and stands as whole characters there, if any.
std::optional<double> timestampAt(QStringView text, qsizetype pos)
{
    if (text.size() - pos < timestampLength)
        return std::nullopt;
    const auto* p = reinterpret_cast<const char16_t*>(text.data()) + pos;
    if (p[0] != u'[' || !isAsciiDigit(p[1]) || !isAsciiDigit(p[2]) || p[3] != u':' ||
        !isSexagesimalTens(p[4]) || !isAsciiDigit(p[5]) || p[6] != u':' ||
        !isSexagesimalTens(p[7]) || !isAsciiDigit(p[8]) || p[9] != u']')
        return std::nullopt;

    // A prepended character before the opening bracket, or a mark, joiner or selector after the
    // closing one, fuses the bracket into a different character.
    if (!Graphemes::isWholeCharacter(text, pos) ||
        !Graphemes::isWholeCharacter(text, pos + timestampLength - 1))
        return std::nullopt;

    return double(twoDigits(p + 1) * 3600 + twoDigits(p + 4) * 60 + twoDigits(p + 7));
}

} // namespace

QString stringFromSeconds(double seconds)
{
    // 2^63 is the first double beyond the range of a signed 64-bit whole number.
    constexpr double int64Limit = 9223372036854775808.0;
    std::int64_t total = 0;
    if (seconds >= int64Limit)
        total = std::numeric_limits<std::int64_t>::max();
    else if (seconds >= 1.0)
        total = static_cast<std::int64_t>(seconds);

    const std::int64_t hours = total / 3600;
    const int minutes = int(total % 3600 / 60);
    const int secs = int(total % 60);

    // Written backwards into a buffer: "]", seconds, ":", minutes, ":", hours (>= 2 digits), "[".
    std::array<char16_t, 32> buffer{};
    qsizetype at = qsizetype(buffer.size());
    const auto put = [&](char16_t c) { buffer[--at] = c; };
    put(u']');
    put(char16_t(u'0' + secs % 10));
    put(char16_t(u'0' + secs / 10));
    put(u':');
    put(char16_t(u'0' + minutes % 10));
    put(char16_t(u'0' + minutes / 10));
    put(u':');
    std::int64_t h = hours;
    int hourDigits = 0;
    do {
        put(char16_t(u'0' + h % 10));
        h /= 10;
        ++hourDigits;
    } while (h > 0);
    if (hourDigits < 2)
        put(u'0');
    put(u'[');
    return QString(reinterpret_cast<const QChar*>(buffer.data() + at),
                   qsizetype(buffer.size()) - at);
}

std::optional<double> secondsFromString(const QString& text)
{
    if (text.size() != timestampLength)
        return std::nullopt;
    return timestampAt(text, 0);
}

QList<TimestampMatch> timestampMatches(const QString& text)
{
    QList<TimestampMatch> matches;
    const QStringView view(text);
    qsizetype pos = view.indexOf(u'[');
    while (pos >= 0) {
        if (const auto seconds = timestampAt(view, pos)) {
            matches.append({pos, pos + timestampLength, *seconds});
            pos = view.indexOf(u'[', pos + timestampLength);
        } else {
            pos = view.indexOf(u'[', pos + 1);
        }
    }
    return matches;
}

} // namespace dictaro::TimestampFormatter
