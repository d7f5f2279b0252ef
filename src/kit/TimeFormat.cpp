#include "TimeFormat.h"

#include <QtGlobal>

#include <cmath>

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
