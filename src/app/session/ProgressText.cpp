#include "ProgressText.h"

#include "Localization.h"
#include "PlaybackLogic.h"

#include <QLocale>

namespace dictaro::ProgressText {

namespace {

QLocale interfaceLocale()
{
    return QLocale(Localization::currentLanguage());
}

} // namespace

QString words(qsizetype count)
{
    if (count == 1)
        return Localization::tr("1 word");
    return Localization::tr("%1 words").arg(interfaceLocale().toString(qint64(count)));
}

QString share(double position, double duration)
{
    const std::optional<int> percent = PlaybackLogic::percentOf(position, duration);
    if (!percent)
        return {};
    return Localization::tr("%1 %").arg(*percent);
}

QString edited(const QDateTime& updatedAt)
{
    return Localization::tr("Edited %1")
        .arg(interfaceLocale().toString(updatedAt.toLocalTime().date(),
                                        QStringLiteral("d MMM yyyy")));
}

} // namespace dictaro::ProgressText
