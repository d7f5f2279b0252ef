#include "ProjectStore.h"

#include "Platform.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace dictaro {

ProjectStore::ProjectStore(QString directory) : m_directory(std::move(directory))
{
    // A folder that cannot be created shows up later as failed saves and an empty list.
    QDir().mkpath(m_directory);
}

QString ProjectStore::defaultDirectory()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    return QDir(base).filePath(QStringLiteral("Dictaro/Projects"));
}

QString ProjectStore::filePath(const QUuid& id) const
{
    return QDir(m_directory)
        .filePath(id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".json"));
}

void ProjectStore::save(const Project& project)
{
    const QByteArray bytes = encodeProject(project);
    const QString path = filePath(project.id);

    // QSaveFile writes a temporary file next to the target, syncs it and renames it over the
    // target, so a crash leaves either the old or the new file. It never creates the folder.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw StoreError(QStringLiteral("%1: %2").arg(path, why));
    }
    if (!file.commit())
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    // The rename itself is durable only once the folder's entries reach the disk.
    if (!Platform::syncDirectory(m_directory))
        throw StoreError(QStringLiteral("%1: the folder could not be synced").arg(m_directory));
}

Project ProjectStore::load(const QUuid& id) const
{
    const QString path = filePath(id);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return decodeProject(bytes);
}

QList<Project> ProjectStore::loadAll() const
{
    const QDir dir(m_directory);
    const QStringList names = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    QList<Project> projects;
    projects.reserve(names.size());
    for (const QString& name : names) {
        // Exactly ".json" after the last dot; ".JSON" and names without a dot are skipped.
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot < 0 || QStringView(name).sliced(dot + 1) != u"json")
            continue;
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            continue;
        try {
            projects.append(decodeProject(bytes));
        } catch (const StoreError&) {
            // Unreadable records are left alone and not listed.
        }
    }
    std::stable_sort(projects.begin(), projects.end(),
                     [](const Project& a, const Project& b) { return a.updatedAt > b.updatedAt; });
    return projects;
}

void ProjectStore::remove(const QUuid& id)
{
    const QString path = filePath(id);
    QFile file(path);
    if (!file.exists())
        throw StoreError(QStringLiteral("%1: no such file").arg(path));
    if (!file.remove())
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
}

} // namespace dictaro
