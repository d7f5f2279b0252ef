#include "RegularFile.h"

#include <QFile>
#include <QIODevice>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dictaro::RegularFile {

namespace {

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Opens without blocking (a pipe with no writer would wait forever), checks what the handle
// is, then makes it an ordinary blocking handle for QFile.
bool openChecked(QFile& file, const QString& path, int flags, QIODevice::OpenMode mode,
                 qint64 maxBytes, Links links, QString* error)
{
    file.close();
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    flags |= O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(native.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno == ELOOP ? QStringLiteral("is a symbolic link") : systemReason(errno));
    struct stat info
    {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(systemReason(code));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("is not a regular file"));
    }
    if (info.st_size > maxBytes) {
        ::close(fd);
        return fail(QStringLiteral("is larger than %1 bytes").arg(maxBytes));
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(systemReason(code));
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
}

} // namespace

bool openForReading(QFile& file, const QString& path, qint64 maxBytes, Links links, QString* error)
{
    return openChecked(file, path, O_RDONLY, QIODevice::ReadOnly, maxBytes, links, error);
}

bool openForAppending(QFile& file, const QString& path, qint64 maxBytes, Links links,
                      QString* error)
{
    return openChecked(file, path, O_WRONLY | O_APPEND | O_CREAT,
                       QIODevice::WriteOnly | QIODevice::Append, maxBytes, links, error);
}

std::optional<QByteArray> read(const QString& path, qint64 maxBytes, Links links, QString* error)
{
    QFile file;
    if (!openForReading(file, path, maxBytes, links, error))
        return std::nullopt;
    // The file may have grown since it was measured: one byte more than allowed tells.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > maxBytes) {
        if (error)
            *error = QStringLiteral("is larger than %1 bytes").arg(maxBytes);
        return std::nullopt;
    }
    return bytes;
}

bool isMissingOrRegular(const QString& path, qint64 maxBytes, Links links)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info
    {};
    const int result = links == Links::Follow ? ::stat(native.constData(), &info)
                                              : ::lstat(native.constData(), &info);
    if (result != 0)
        return errno == ENOENT; // nothing there (or a link to nothing)
    return S_ISREG(info.st_mode) && info.st_size <= maxBytes;
}

} // namespace dictaro::RegularFile
