#include "ProjectStore.h"

#include "AtomicFile.h"
#include "MediaReference.h"
#include "Platform.h"
#include "RegularFile.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>

namespace dictaro {

namespace {

// No project file comes near this; anything larger is not read at all.
constexpr qint64 maxFileSize = 256LL * 1024 * 1024;

// What a save that was cut short leaves next to a project file: "<UUID>.json.XXXXXX" (or
// "<UUID>.words.XXXXXX" beside it).
bool isLeftoverTemporary(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}"
        "\\.(json|words)\\.[A-Za-z0-9]{6}$"));
    return pattern.match(name).hasMatch();
}

// The bytes of a regular file of sensible size; nothing for FIFOs, devices, folders, links to
// them, and files too large to be a project.
std::optional<QByteArray> readRegularFile(const QString& path, QString* why = nullptr)
{
    return RegularFile::read(path, maxFileSize, RegularFile::Links::Follow, why);
}

// What the list shows of a record, with its time as the file holds it (whole seconds).
ProjectSummary summaryOf(const Project& project)
{
    QDateTime updatedAt = project.updatedAt.toUTC();
    const QTime time = updatedAt.time();
    updatedAt.setTime(QTime(time.hour(), time.minute(), time.second()));
    std::optional<MediaReference> media;
    if (project.mediaBookmark)
        media = MediaReference::decode(*project.mediaBookmark);
    return {project.id, project.name,         project.mediaFileName,
            updatedAt,  project.lastPosition, media ? media->path : QString()};
}

} // namespace

ProjectStore::ProjectStore(QString directory) : m_directory(std::move(directory))
{
    // A folder that cannot be created shows up later as failed saves and an empty list.
    QDir().mkpath(m_directory);
    // Only one process writes this folder (the application holds a lock on it), so temporary
    // files found now were left by a save that was killed.
    const QDir dir(m_directory);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (isLeftoverTemporary(name))
            QFile::remove(dir.filePath(name));
    }
}

QString ProjectStore::defaultDirectory()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    return QDir(base).filePath(QStringLiteral("Dictaro/Projects"));
}

QStringList ProjectStore::recoveryDirectories()
{
    const QString below = QStringLiteral("Dictaro/Recovery");
    QStringList folders;
    for (const QString& base :
         {Platform::stateDirectory(),
          QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)}) {
        if (!base.isEmpty())
            folders.append(QDir(base).filePath(below));
    }
    // Every user shares the temporary folder: a fixed name there could be taken by someone else
    // first, so the folder carries the user's key.
    const QString temporary = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    if (!temporary.isEmpty()) {
        const QString key = Platform::userKey();
        folders.append(QDir(temporary).filePath(
            key.isEmpty() ? below : QStringLiteral("Dictaro-%1/Recovery").arg(key)));
    }
    folders.removeDuplicates();
    return folders;
}

QString ProjectStore::filePath(const QUuid& id) const
{
    return QDir(m_directory)
        .filePath(id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".json"));
}

QString ProjectStore::draftWordsPath(const QUuid& id) const
{
    return QDir(m_directory)
        .filePath(id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".words"));
}

void ProjectStore::save(const Project& project)
{
    write(project);
    noteSaved(project);
}

void ProjectStore::write(const Project& project) const
{
    const QByteArray bytes = encodeProject(project);
    // A projects folder deleted while the application runs is made again, but never the user's
    // data folder it lives in: without that there is nowhere sensible to write.
    if (!QFileInfo(m_directory).isDir() &&
        QFileInfo(QDir::cleanPath(m_directory + QStringLiteral("/../.."))).isDir())
        QDir().mkpath(m_directory);
    const QString path = filePath(project.id);
    AtomicFile::write(path, bytes);
}

void ProjectStore::noteSaved(const Project& project)
{
    const QFileInfo info(filePath(project.id));
    m_summaryCache.insert(info.fileName(), {info.lastModified(), info.size(), summaryOf(project)});

    // The record is now on disk under its own name; the file it was read from goes, unless it
    // has come to hold something else meanwhile. Should that fail, the named file still wins.
    const auto elsewhere = m_readElsewhere.constFind(project.id);
    if (elsewhere == m_readElsewhere.constEnd())
        return;
    const QString old = *elsewhere;
    bool sameRecord = false;
    if (const std::optional<QByteArray> oldBytes = readRegularFile(old)) {
        try {
            sameRecord = decodeProject(*oldBytes).id == project.id;
        } catch (const StoreError&) {
        }
    }
    if (!sameRecord || QFile::remove(old))
        m_readElsewhere.erase(elsewhere);
}

Project ProjectStore::load(const QUuid& id) const
{
    const QString path = fileListedFor(id);
    QString why;
    const std::optional<QByteArray> bytes = readRegularFile(path, &why);
    if (!bytes)
        throw StoreError(QStringLiteral("%1: %2").arg(path, why));
    Project project = decodeProject(*bytes);
    if (path != filePath(id) && project.id == id)
        m_readElsewhere.insert(id, path);
    return project;
}

template <typename Visit> void ProjectStore::forEachFile(Visit&& visit) const
{
    const QDir dir(m_directory);
    const QStringList names = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : names) {
        // Exactly ".json" after the last dot; ".JSON" and names without a dot are skipped.
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot < 0 || QStringView(name).sliced(dot + 1) != u"json")
            continue;
        visit(name, QFileInfo(dir.filePath(name)));
    }
}

QString ProjectStore::fileListedFor(const QUuid& id) const
{
    const QString named = filePath(id);
    if (QFileInfo::exists(named))
        return named;
    // As summaries() and loadAll() choose: the first listed, unless a later one is newer.
    QString found = named;
    QDateTime newest;
    forEachFile([&](const QString& name, const QFileInfo& info) {
        std::optional<ProjectSummary> summary;
        const auto cached = m_summaryCache.constFind(name);
        if (cached != m_summaryCache.constEnd() && info.isFile() &&
            cached->modified == info.lastModified() && cached->size == info.size()) {
            summary = cached->summary;
        } else if (const std::optional<QByteArray> bytes = readRegularFile(info.filePath())) {
            try {
                summary = summaryOf(decodeProject(*bytes));
            } catch (const StoreError&) {
            }
        }
        if (summary && summary->id == id && (found == named || summary->updatedAt > newest)) {
            found = info.filePath();
            newest = summary->updatedAt;
        }
    });
    return found;
}

namespace {

// Keeps one record per identity: the one from the file named after it, else the newest. The
// records keep the order in which their identities were first listed.
template <typename Record> class Deduplicated
{
public:
    void add(Record record, bool namedAfterId)
    {
        const auto it = m_index.constFind(record.id);
        if (it == m_index.constEnd()) {
            m_index.insert(record.id, m_entries.size());
            m_entries.append({std::move(record), namedAfterId});
            return;
        }
        Entry& entry = m_entries[*it];
        if (!entry.namedAfterId && (namedAfterId || record.updatedAt > entry.record.updatedAt))
            entry = {std::move(record), namedAfterId};
    }

    // Latest `updatedAt` first; equal times in listing order.
    QList<Record> newestFirst()
    {
        QList<Record> records;
        records.reserve(m_entries.size());
        for (Entry& entry : m_entries)
            records.append(std::move(entry.record));
        std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
            return a.updatedAt > b.updatedAt;
        });
        return records;
    }

private:
    struct Entry
    {
        Record record;
        bool namedAfterId = false;
    };
    QList<Entry> m_entries;
    QHash<QUuid, qsizetype> m_index;
};

} // namespace

QList<Project> ProjectStore::loadAll() const
{
    Deduplicated<Project> projects;
    forEachFile([&](const QString& name, const QFileInfo& info) {
        const std::optional<QByteArray> bytes = readRegularFile(info.filePath());
        if (!bytes)
            return;
        try {
            Project project = decodeProject(*bytes);
            const bool named = QFileInfo(filePath(project.id)).fileName() == name;
            projects.add(std::move(project), named);
        } catch (const StoreError&) {
            // Unreadable records are left alone and not listed.
        }
    });
    return projects.newestFirst();
}

QList<ProjectSummary> ProjectStore::summaries() const
{
    Deduplicated<ProjectSummary> summaries;
    QHash<QString, CachedSummary> seen;
    forEachFile([&](const QString& name, const QFileInfo& info) {
        const auto cached = m_summaryCache.constFind(name);
        if (cached != m_summaryCache.constEnd() && info.isFile() &&
            cached->modified == info.lastModified() && cached->size == info.size()) {
            seen.insert(name, *cached);
            summaries.add(cached->summary,
                          QFileInfo(filePath(cached->summary.id)).fileName() == name);
            return;
        }
        const std::optional<QByteArray> bytes = readRegularFile(info.filePath());
        if (!bytes)
            return;
        try {
            const ProjectSummary summary = summaryOf(decodeProject(*bytes));
            seen.insert(name, {info.lastModified(), info.size(), summary});
            summaries.add(summary, QFileInfo(filePath(summary.id)).fileName() == name);
        } catch (const StoreError&) {
        }
    });
    m_summaryCache = std::move(seen);
    return summaries.newestFirst();
}

void ProjectStore::remove(const QUuid& id)
{
    const QString path = fileListedFor(id);
    QFile file(path);
    if (!file.exists())
        throw StoreError(QStringLiteral("%1: no such file").arg(path));
    if (!file.remove())
        throw StoreError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    m_readElsewhere.remove(id);
    // Only marks and follow-along come from it: one left behind does no harm.
    QFile::remove(draftWordsPath(id));
}

} // namespace dictaro
