#include "AtomicFile.h"

#include "Platform.h"
#include "StoreError.h"

#include <QFileInfo>
#include <QSaveFile>

namespace dictaro::AtomicFile {

void write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    const auto fail = [&](const QString& why) {
        file.cancelWriting();
        throw StoreError(QStringLiteral("%1: %2").arg(path, why));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    // A write can fail inside the device's buffer and only show at the flush; on some Qt
    // versions commit() would then still rename the short file over the target. Every step is
    // checked, and the size of what reached the file is compared before anything is replaced.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        fail(file.errorString());
    if (file.size() != bytes.size())
        fail(QStringLiteral("only %1 of %2 bytes were written").arg(file.size()).arg(bytes.size()));
    if (!file.commit())
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    // The rename itself is durable only once the folder's entries reach the disk.
    const QString folder = QFileInfo(path).absolutePath();
    if (!Platform::syncDirectory(folder))
        throw StoreError(QStringLiteral("%1: the folder could not be synced").arg(folder));
}

} // namespace dictaro::AtomicFile
