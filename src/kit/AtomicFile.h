#pragma once

#include <QByteArray>
#include <QString>

// The one way the program writes user data to disk.
namespace dictaro::AtomicFile {

// Replaces the file at `path` with `bytes`, atomically and durably: the bytes go to a temporary
// file next to it, which is flushed and checked, synced, renamed over the target, and then the
// folder is synced. Throws StoreError with the system's reason on any failure, leaving the
// previous file as it was and no temporary file behind.
void write(const QString& path, const QByteArray& bytes);

} // namespace dictaro::AtomicFile
