#include "Platform.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <sys/syscall.h>
#endif

namespace dictaro::Platform {

bool syncDirectory(const QString& path)
{
#if defined(Q_OS_WIN)
    // NTFS makes a rename durable with the file's own flush; folders cannot be opened for it.
    Q_UNUSED(path);
    return true;
#else
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // Some file systems cannot sync a folder at all; that is not a failed write.
    const bool ok = result == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return ok;
#endif
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
#if defined(Q_OS_WIN)
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!ok || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    FileIdentity identity;
    identity.device = info.dwVolumeSerialNumber;
    identity.inode = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    const quint64 ticks =
        (quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    identity.modifiedMSecs = qint64(ticks / 10000) - 11644473600000LL; // 1601 → 1970
    return identity;
#else
    struct stat info
    {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    FileIdentity identity;
    identity.device = quint64(info.st_dev);
    identity.inode = quint64(info.st_ino);
    identity.size = qint64(info.st_size);
#if defined(Q_OS_MACOS)
    identity.modifiedMSecs =
        qint64(info.st_mtimespec.tv_sec) * 1000 + info.st_mtimespec.tv_nsec / 1000000;
#else
    identity.modifiedMSecs = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
#endif
    return identity;
#endif
}

QString stateDirectory()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    const QString home = QDir::homePath();
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral(".local/state"));
#else
    return {};
#endif
}

void lowerThreadPriority()
{
#if defined(Q_OS_LINUX)
    // Niceness applies per thread on Linux.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
#endif
}

QString userKey()
{
#if defined(Q_OS_UNIX)
    return QString::number(::getuid());
#else
    return {};
#endif
}

bool beginFileAccess(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

void endFileAccess(const QString& path)
{
    Q_UNUSED(path);
}

} // namespace dictaro::Platform
