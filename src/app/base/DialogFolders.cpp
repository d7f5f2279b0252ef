#include "DialogFolders.h"

#include "AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace dictaro::DialogFolders {

namespace {

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// The folder a remembered value stands for: the remembered folder itself when it still exists.
QString existingOr(const QString& remembered, const QString& fallback)
{
    return isFolder(remembered) ? QDir::cleanPath(remembered) : fallback;
}

} // namespace

QString nearestExistingFolder(const QString& path)
{
    if (path.isEmpty() || QDir::isRelativePath(path))
        return QDir::homePath();
    QFileInfo info(QDir::cleanPath(path));
    QString folder = info.isDir() ? info.filePath() : info.path();
    while (!isFolder(folder)) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return QDir::homePath();
        folder = parent;
    }
    return folder;
}

QString openFolder()
{
    return existingOr(AppSettings::lastOpenFolder(), QDir::homePath());
}

void rememberOpenedFile(const QString& filePath)
{
    AppSettings::setLastOpenFolder(QFileInfo(filePath).absolutePath());
}

QString exportFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!isFolder(documents))
        documents = QDir::homePath();
    return existingOr(AppSettings::lastExportFolder(), documents);
}

void rememberExportedFile(const QString& filePath)
{
    AppSettings::setLastExportFolder(QFileInfo(filePath).absolutePath());
}

QString locateFolder(const QString& lastKnownPath)
{
    return nearestExistingFolder(lastKnownPath);
}

} // namespace dictaro::DialogFolders
