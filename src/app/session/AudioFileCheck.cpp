#include "AudioFileCheck.h"

#include "AppState.h"
#include "AudioTypes.h"
#include "Localization.h"

#include <QFileInfo>

namespace dictaro::AudioFileCheck {

namespace {

// Names the types Dictaro opens: "Choose an MP3, M4A, … or CAF file."
QString typeMessage(const QString& fileName)
{
    QStringList names = AudioTypes::names();
    const QString last = names.takeLast();
    return Localization::tr("“%1” is not an audio file Dictaro can open. Choose an %2 or %3 file.")
        .arg(fileName, names.join(QStringLiteral(", ")), last);
}

} // namespace

std::optional<QString> problem(const QString& path)
{
    const QFileInfo info(path);
    const QString name = info.fileName().isEmpty() ? path : info.fileName();
    if (path.isEmpty() || !info.exists())
        return Localization::tr("“%1” could not be found.").arg(name);
    if (!info.isFile())
        return Localization::tr("“%1” is not a file.").arg(name);
    if (!AppState::isSupportedAudioFile(path))
        return typeMessage(name);
    if (!info.isReadable())
        return Localization::tr("You don't have permission to read “%1”.").arg(name);
    return std::nullopt;
}

} // namespace dictaro::AudioFileCheck
