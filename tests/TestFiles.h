#pragma once

// Whole files as the tests write and read them.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dictaro::test {

// Writes `bytes` to `path` (appends with `mode` Append), making its folder first; true when
// every byte was written.
inline bool writeFile(const QString& path, const QByteArray& bytes,
                      QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(mode) &&
           file.write(bytes) == bytes.size();
}

// What `path` holds; nothing when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace dictaro::test
