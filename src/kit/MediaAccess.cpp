// The media reference operations of ProjectStore and its MediaAccess.
#include "ProjectStore.h"

#include "MediaReference.h"
#include "Platform.h"

#include <utility>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

namespace dictaro {

namespace {

// Directory entries looked at, in all folders together, when searching for a moved file. Keeps a
// resolution quick even next to a huge folder.
constexpr int searchBudget = 4096;

// A file found away from its old path must also have kept its size: a bare inode number can be
// reused by an unrelated file once the original is deleted.
bool isMovedFile(const QString& path, const Platform::FileIdentity& wanted)
{
    const std::optional<Platform::FileIdentity> found = Platform::fileIdentity(path);
    return found && found->sameFile(wanted) && found->size == wanted.size;
}

// Looks for a file renamed or moved next door: in the old folder, its parent, and the immediate
// subfolders of both, in that order, within the entry budget. Symbolic links are never followed.
class MovedFileSearch
{
public:
    explicit MovedFileSearch(const Platform::FileIdentity& wanted) : m_wanted(wanted) {}

    QString find(const QString& oldPath)
    {
        const QString oldFolder = QFileInfo(oldPath).path();
        const QString parent = QFileInfo(oldFolder).path(); // the root is its own parent

        QStringList subfolders;
        QString found = scan(oldFolder, &subfolders);
        if (!found.isEmpty())
            return found;
        if (parent != oldFolder) {
            QStringList parentSubfolders;
            found = scan(parent, &parentSubfolders);
            if (!found.isEmpty())
                return found;
            parentSubfolders.removeAll(oldFolder);
            subfolders += parentSubfolders;
        }
        for (const QString& folder : std::as_const(subfolders)) {
            found = scan(folder, nullptr);
            if (!found.isEmpty())
                return found;
        }
        return {};
    }

private:
    // The matching file directly in `folder`, or empty; collects the subfolders seen on the way.
    QString scan(const QString& folder, QStringList* subfolders)
    {
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        while (m_budget > 0 && it.hasNext()) {
            --m_budget;
            const QString path = QDir::cleanPath(it.next());
            const QFileInfo info = it.fileInfo();
            if (info.isSymLink())
                continue;
            if (info.isDir()) {
                if (subfolders)
                    subfolders->append(path);
            } else if (info.isFile() && isMovedFile(path, m_wanted)) {
                return path;
            }
        }
        return {};
    }

    Platform::FileIdentity m_wanted;
    int m_budget = searchBudget;
};

struct Location
{
    QString path;
    bool isStale = false;
};

Location locate(const MediaReference& reference)
{
    const std::optional<Platform::FileIdentity> current = Platform::fileIdentity(reference.path);
    if (!reference.identity)
        // A bare path: the file there is taken as it is, and the reference should be renewed.
        return {reference.path, current.has_value()};
    if (current)
        // Another file at the same place (a copy put back, a restore) is still the user's file.
        // The same file with new contents or a new time is not outdated.
        return {reference.path, !current->sameFile(*reference.identity)};
    QString moved = MovedFileSearch(*reference.identity).find(reference.path);
    if (!moved.isEmpty())
        return {std::move(moved), true};
    return {reference.path, false};
}

} // namespace

ProjectStore::MediaAccess::MediaAccess(QString path, bool isStale, bool accessing)
    : m_path(std::move(path)), m_isStale(isStale), m_accessing(accessing)
{}

ProjectStore::MediaAccess::~MediaAccess()
{
    stop();
}

void ProjectStore::MediaAccess::stop()
{
    if (!m_accessing)
        return;
    m_accessing = false;
    Platform::endFileAccess(m_path);
}

std::optional<QByteArray> ProjectStore::makeBookmark(const QString& path)
{
    const QString absolute = MediaReference::absoluteLocalPath(path);
    if (absolute.isEmpty())
        return std::nullopt;

    const bool accessing = Platform::beginFileAccess(absolute);
    const std::optional<MediaReference> reference = MediaReference::forFile(absolute);
    QByteArray bytes = reference ? reference->encode() : QByteArray();
    if (accessing)
        Platform::endFileAccess(absolute);

    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

std::unique_ptr<ProjectStore::MediaAccess> ProjectStore::resolveBookmark(const QByteArray& bookmark)
{
    const std::optional<MediaReference> reference = MediaReference::decode(bookmark);
    if (!reference)
        return nullptr;
    const Location location = locate(*reference);
    const bool accessing = Platform::beginFileAccess(location.path);
    return std::make_unique<MediaAccess>(location.path, location.isStale, accessing);
}

} // namespace dictaro
