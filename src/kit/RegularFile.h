#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

// Opening files from the user's folders without ever waiting on a pipe, a device or a file of
// any size: only regular files are opened, checked on the open handle itself so that nothing
// can be swapped in between.
namespace dictaro::RegularFile {

enum class Links {
    Follow, // a symbolic link to a regular file is that file
    Refuse  // a symbolic link is refused, whatever it points to
};

// Opens the regular file at `path` for reading into `file` when it holds at most `maxBytes`.
// False (and `file` closed) for a missing file, anything but a regular file, a larger one or an
// error; `error`, when given, then says why.
bool openForReading(QFile& file, const QString& path, qint64 maxBytes, Links links,
                    QString* error = nullptr);

// The whole content of the regular file at `path`, if it holds at most `maxBytes`.
std::optional<QByteArray> read(const QString& path, qint64 maxBytes, Links links = Links::Follow,
                               QString* error = nullptr);

// Opens the regular file at `path` for appending, creating it when missing, when it holds at
// most `maxBytes`. Same failures as openForReading().
bool openForAppending(QFile& file, const QString& path, qint64 maxBytes, Links links,
                      QString* error = nullptr);

// True when nothing is at `path`, or a regular file of at most `maxBytes`: safe to hand to a
// library that opens it by name.
bool isMissingOrRegular(const QString& path, qint64 maxBytes, Links links = Links::Follow);

} // namespace dictaro::RegularFile
