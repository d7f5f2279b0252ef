#pragma once

#include <optional>

#include <QString>

// The few operating-system services the core needs beyond Qt, kept in one place.
namespace dictaro::Platform {

// Flushes a folder's entries (a rename into it) to disk. Returns false if that failed;
// platforms where folders cannot be synced report success.
bool syncDirectory(const QString& path);

// The user's folder for state that should outlive a restart but is no document
// ($XDG_STATE_HOME, else ~/.local/state, on freedesktop systems); empty where there is none.
QString stateDirectory();

// Lowers the calling thread's priority below the interface's, for background work; threads it
// starts afterwards inherit it. Does nothing where priorities are per process.
void lowerThreadPriority();

// A name for the current user, for folders in places that all users share (the numeric user id
// on Unix); empty where such places are per user anyway.
QString userKey();

// What identifies one file on its volume, independent of its name.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedMSecs = 0; // modification time, milliseconds since the epoch (UTC)

    bool sameFile(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode;
    }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the regular file at `path` (symbolic links followed), or nothing.
std::optional<FileIdentity> fileIdentity(const QString& path);

// Opens the platform's access grant to a file chosen by the user. Returns true when an access was
// opened that must later be ended with endFileAccess(); false when none was needed or possible.
// Desktop systems that grant access by file permissions alone need none.
bool beginFileAccess(const QString& path);
void endFileAccess(const QString& path);

} // namespace dictaro::Platform
