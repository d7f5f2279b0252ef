#pragma once

#include "Project.h"
#include "StoreError.h"

#include <memory>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

namespace dictaro {

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

    // A store over `directory`; creates the folder (and its parents) if it can, ignoring failure.
    explicit ProjectStore(QString directory);

    // "Dictaro/Projects" inside the user's data folder; empty if the platform names none.
    static QString defaultDirectory();

    QString directory() const { return m_directory; }
    // The file that holds the project with this identity.
    QString filePath(const QUuid& id) const;

    // Writes the record atomically and durably; the previous file survives any failure.
    void save(const Project& project);
    Project load(const QUuid& id) const;
    // Every readable record in the folder, latest `updatedAt` first; never throws.
    QList<Project> loadAll() const;
    // Removes the record's file; throws if it cannot, also when there is no such file.
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
    QString m_directory;
};

} // namespace dictaro
