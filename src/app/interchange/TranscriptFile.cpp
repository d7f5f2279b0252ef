#include "TranscriptFile.h"

#include "ImportMessage.h"
#include "Localization.h"
#include "RegularFile.h"
#include "TranscriptImport.h"

#include <QFile>
#include <QFileInfo>

namespace dictaro {

TranscriptFile TranscriptFile::read(const QString& path)
{
    const auto failed = [](const QString& message) { return TranscriptFile{{}, message}; };
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.exists())
        return failed(Localization::tr("“%1” could not be found.").arg(name));
    if (!info.isFile())
        return failed(Localization::tr("“%1” is not a file.").arg(name));
    if (info.size() > TranscriptImport::maxFileSize)
        return failed(ImportMessage::describe(ImportError(ImportError::Kind::TooLarge, 0)));
    QFile file;
    if (!RegularFile::openForReading(file, path, TranscriptImport::maxFileSize,
                                     RegularFile::Links::Follow))
        return failed(Localization::tr("You don't have permission to read “%1”.").arg(name));
    const QByteArray bytes = file.readAll();
    try {
        return {TranscriptImport::transcriptFromFile(bytes, path), std::nullopt};
    } catch (const ImportError& error) {
        return failed(ImportMessage::describe(error));
    }
}

QString TranscriptFile::appended(const QString& existing, const QString& imported)
{
    if (existing.isEmpty() || existing.endsWith(u'\n'))
        return existing + imported;
    return existing + u'\n' + imported;
}

} // namespace dictaro
