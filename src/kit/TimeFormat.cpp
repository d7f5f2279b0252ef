#include "TimeFormat.h"

#include <QList>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <optional>

namespace dictaro::TimeFormat {

QString timeString(double seconds)
{
    // Non-finite values are never handed to us by the engine; they must not reach the integer
    // conversion below, which is undefined beyond the range of qint64.
    double whole = std::isfinite(seconds) ? std::trunc(seconds) : 0.0;
    if (whole < 0.0)
        whole = 0.0;
    if (whole > maxSeconds)
        whole = maxSeconds;
    const auto total = static_cast<qint64>(whole);
    const qint64 hours = total / 3600;
    const qint64 minutes = (total % 3600) / 60;
    const qint64 secs = total % 60;
    const QChar zero(u'0');
    if (total < 3600)
        return QStringLiteral("%1:%2").arg(minutes, 2, 10, zero).arg(secs, 2, 10, zero);
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, zero).arg(secs, 2, 10, zero);
}

} // namespace dictaro::TimeFormat

namespace dictaro::TimeFormat {

namespace {

// The whole number of an ASCII digit string of 1 to `maxDigits` digits.
std::optional<int> digits(QStringView text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

std::optional<double> secondsFromEntry(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'[') && text.endsWith(u']'))
        text = text.sliced(1, text.size() - 2).trimmed();
    // The fraction belongs to the seconds, the last part.
    double fraction = 0.0;
    if (const qsizetype point = std::max(text.lastIndexOf(u'.'), text.lastIndexOf(u','));
        point >= 0) {
        const QStringView decimals = text.sliced(point + 1);
        const std::optional<int> value = digits(decimals, 6);
        if (!value || text.sliced(0, point).contains(u'.') || text.sliced(0, point).contains(u','))
            return std::nullopt;
        fraction = *value / std::pow(10.0, double(decimals.size()));
        text = text.sliced(0, point);
    }
    const QList<QStringView> parts = text.split(u':');
    if (parts.size() > 3)
        return std::nullopt;
    double seconds = 0.0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<int> value = digits(parts[i], i == 0 ? 6 : 2);
        if (!value || (i > 0 && *value >= 60))
            return std::nullopt;
        seconds = seconds * 60.0 + *value;
    }
    return seconds + fraction;
}

} // namespace dictaro::TimeFormat
