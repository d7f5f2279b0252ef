#include "NewProject.h"

#include "ProjectStore.h"

#include <QDateTime>
#include <QFileInfo>
#include <QUuid>

namespace dictaro {

Project newProjectFor(const QString& audioPath)
{
    const QString fileName = QFileInfo(audioPath).fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QDateTime now = QDateTime::currentDateTimeUtc();
    Project project;
    project.id = QUuid::createUuid();
    project.name = dot > 0 ? fileName.left(dot) : fileName;
    project.mediaBookmark = ProjectStore::makeBookmark(audioPath);
    project.mediaFileName = fileName;
    project.createdAt = now;
    project.updatedAt = now;
    return project;
}

} // namespace dictaro
