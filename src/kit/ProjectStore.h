#pragma once

#include "Project.h"
#include "StoreError.h"

#include <memory>
#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

namespace dictaro {

// What the list of projects shows of one project.
struct ProjectSummary
{
    QUuid id;
    QString name;
    QString mediaFileName;
    QDateTime updatedAt;
    // Where playback was left, in seconds.
    double lastPosition = 0.0;
    // Where the audio file was when the project last found it; empty if unknown.
    QString mediaPath;

    friend bool operator==(const ProjectSummary&, const ProjectSummary&) = default;
};

// Keeps one JSON file per project in a data folder: saves, loads, lists newest first, deletes.
class ProjectStore
{
public:
    // One granted access to the audio file a media reference points to; ended exactly once.
    class MediaAccess
    {
    public:
        MediaAccess(QString path, bool isStale, bool accessing);
        ~MediaAccess();
        MediaAccess(const MediaAccess&) = delete;
        MediaAccess& operator=(const MediaAccess&) = delete;

        // Where the reference points now (an absolute path).
        QString path() const { return m_path; }
        // The reference is outdated (the file moved or was replaced); make a new one for path().
        bool isStale() const { return m_isStale; }
        // Ends the access if it is still open; otherwise does nothing.
        void stop();

    private:
        QString m_path;
        bool m_isStale = false;
        bool m_accessing = false;
    };

    // A store over `directory`; creates the folder (and its parents) if it can, ignoring failure,
    // and removes the temporary files of saves that were cut short.
    explicit ProjectStore(QString directory);

    // "Dictaro/Projects" inside the user's data folder; empty if the platform names none.
    static QString defaultDirectory();
    // Where text that could not be saved is kept when the application must end anyway, best
    // first: "Dictaro/Recovery" in the user's state folder, else in the cache folder, else
    // "Dictaro-<user>/Recovery" in the temporary folder. None of them is the projects folder.
    static QStringList recoveryDirectories();

    QString directory() const { return m_directory; }
    // The file that holds the project with this identity.
    QString filePath(const QUuid& id) const;
    // The file beside it that holds the word timings of its machine drafts ("<UUID>.words"):
    // no project file, and removed with the project.
    QString draftWordsPath(const QUuid& id) const;

    // Writes the record atomically and durably; the previous file survives any failure. A folder
    // deleted meanwhile is made again if the folder two levels up still exists. A record that
    // load() read from a file of another name is moved to its own: that file is removed once
    // the new one is on disk.
    void save(const Project& project);
    // The two halves of save(). write() changes nothing in the store object, so it may run on
    // another thread while the store is used here (one write per file at a time); noteSaved()
    // then tells the store, on its own thread, what the written file holds.
    void write(const Project& project) const;
    void noteSaved(const Project& project);
    // The record listed for `id`: from the file named after it, else from the newest file that
    // holds it under another name (copied in by hand, say).
    Project load(const QUuid& id) const;
    // Every readable record in the folder, latest `updatedAt` first, each identity once (from
    // the file named after it if there is one, else the newest); never throws. Only regular
    // files of at most 256 MB are read.
    QList<Project> loadAll() const;
    // The same list as loadAll(), only what a list shows of each. Files unchanged since the last
    // call are not read again.
    QList<ProjectSummary> summaries() const;
    // Removes the file of the record listed for `id` (see load()); throws if it cannot, also
    // when there is no such file. Its draft's word timings go with it.
    void remove(const QUuid& id);

    // A persistent reference to the regular file at `path` (relative to the working folder if not
    // absolute), or nothing if there is no such file. Never throws.
    static std::optional<QByteArray> makeBookmark(const QString& path);
    // The file a reference designates now, with an access begun on it; nothing if the bytes are
    // no reference. A file renamed or moved next door is found again (stale). When the file is
    // nowhere to be found, the access holds the old path, not stale, and no file exists there:
    // callers check for the file and report it missing.
    static std::unique_ptr<MediaAccess> resolveBookmark(const QByteArray& bookmark);

private:
    struct CachedSummary
    {
        QDateTime modified;
        qint64 size = 0;
        ProjectSummary summary;
    };
    // Calls `visit(fileName, bytes)` for every readable candidate file in the folder.
    template <typename Visit> void forEachFile(Visit&& visit) const;
    // The file named after `id` if there is one, else the newest file holding that record under
    // another name, else the named path (which does not exist).
    QString fileListedFor(const QUuid& id) const;

    QString m_directory;
    mutable QHash<QString, CachedSummary> m_summaryCache;
    // Records that load() read from a file not named after them: that file, by identity.
    mutable QHash<QUuid, QString> m_readElsewhere;
};

} // namespace dictaro
