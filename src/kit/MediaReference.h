#pragma once

#include "Platform.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace dictaro {

// What a project remembers about its audio file: where it was and which file it was.
//
// Stored form (big-endian): 8 bytes magic "\x89DMREF\r\n", quint16 version, quint32 path length n,
// n bytes of UTF-8 path, quint64 device, quint64 inode, qint64 size, qint64 modification time in
// milliseconds since the epoch; nothing after. A reference without identity is stored as its bare
// UTF-8 path.
struct MediaReference
{
    static constexpr quint16 version = 1;
    // Longer paths are refused when encoding and decoding.
    static constexpr qsizetype maxPathBytes = 64 * 1024;

    QString path; // absolute and clean
    // Absent for a reference that holds only a path.
    std::optional<Platform::FileIdentity> identity;

    // The reference to the regular file at `path` (made absolute and clean), or nothing.
    static std::optional<MediaReference> forFile(const QString& path);

    // The stored form, or empty bytes when the path cannot be stored (relative, contains NUL, too
    // long; as a bare path also any control character).
    QByteArray encode() const;
    // Reads either stored form back. Anything else (other bytes, a truncated record, an unknown
    // version, a relative path) gives nothing. Safe on arbitrary input.
    static std::optional<MediaReference> decode(const QByteArray& bytes);

    // `path` made absolute against the working folder and cleaned; empty if it names no local file
    // (empty, a Qt resource, contains NUL).
    static QString absoluteLocalPath(const QString& path);

    friend bool operator==(const MediaReference&, const MediaReference&) = default;
};

} // namespace dictaro
