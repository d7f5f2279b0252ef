#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#endif

namespace dictaro {

namespace {

// A request is a 4-byte big-endian length and a JSON array of absolute paths in UTF-8; the
// primary answers with one byte once it has read it.
constexpr quint32 maxRequestBytes = 1 << 20;
constexpr char received = '\x06';
// A client that has not sent a whole request by then is dropped.
constexpr int requestTimeoutMs = 5000;
// How often an unreadable lock file is looked at again, 50 ms apart, before giving up.
constexpr int unreadableLockAttempts = 10;

// A short name per projects folder (local socket names are short), from its canonical path.
QString nameFor(const QString& folder)
{
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256);
    return QStringLiteral("dictaro-") + QString::fromLatin1(hash.toHex().left(24));
}

// Whether the lock file names a process that is running (of this host: the lock lives in the
// user's runtime folder, whatever host name it gives).
bool namesRunningProcess(const QLockFile& lock)
{
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (!lock.getLockInfo(&pid, &hostName, &appName) || pid <= 0)
        return false;
#if defined(Q_OS_UNIX)
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    return true;
#endif
}

} // namespace

SingleInstance::SingleInstance(QString serverName) : m_serverName(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath(const QString& dataDir)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    return QDir(runtime).filePath(nameFor(QFileInfo(dataDir).canonicalFilePath()) +
                                  QStringLiteral(".lock"));
}

SingleInstance::Result SingleInstance::acquire(const QString& dataDir)
{
    if (!QDir().mkpath(dataDir))
        return {Status::Failed, nullptr,
                QStringLiteral("%1: cannot create the folder").arg(dataDir)};
    // Every path to the folder (through links, with "..") names the same lock and socket.
    const QString folder = QFileInfo(dataDir).canonicalFilePath();
    const QString lockPath = lockFilePath(folder);
    if (lockPath.isEmpty())
        return {Status::Failed, nullptr, QStringLiteral("the system names no runtime folder")};
    auto lock = std::make_unique<QLockFile>(lockPath);
    // The lock is held as long as the program runs: only a dead owner makes it stale, never age.
    lock->setStaleLockTime(0);
    std::unique_ptr<SingleInstance> instance(new SingleInstance(nameFor(folder)));
    bool locked = lock->tryLock(0);
    // A file that names no running process (empty, garbage, or its owner gone) is taken over;
    // the lock file itself takes over from dead owners only where they named this host. The
    // owner, if any, also holds the file locked, which removing it checks: a start that has just
    // made it and is writing it is given a moment; a file that stays unreadable and cannot be
    // removed cannot be checked.
    for (int attempt = 0;
         !locked && lock->error() == QLockFile::LockFailedError && !namesRunningProcess(*lock);
         ++attempt) {
        if (!lock->removeStaleLockFile()) {
            if (attempt == unreadableLockAttempts)
                return {Status::Failed, nullptr,
                        QStringLiteral("%1: the lock file can't be read or removed").arg(lockPath)};
            QThread::msleep(50);
        }
        locked = lock->tryLock(0);
    }
    if (locked) {
        instance->m_lock = std::move(lock);
        instance->listen();
        return {Status::Primary, std::move(instance), {}};
    }
    if (lock->error() == QLockFile::LockFailedError)
        return {Status::Secondary, std::move(instance), {}};
    return {Status::Failed, nullptr,
            QStringLiteral("%1: cannot create a lock file (error %2)")
                .arg(lockPath)
                .arg(int(lock->error()))};
}

void SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket by that name was left by a process that died.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        // Later starts will report that they could not reach this one.
        qWarning("SingleInstance: cannot listen on %s: %s", qPrintable(m_serverName),
                 qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readRequest(socket); });
            QTimer::singleShot(requestTimeoutMs, socket, [socket] { socket->abort(); });
            readRequest(socket);
        }
    });
}

void SingleInstance::readRequest(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < 4)
        return;
    const quint32 size = qFromBigEndian<quint32>(socket->peek(4).constData());
    if (size > maxRequestBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 4 + qint64(size))
        return;
    socket->skip(4);
    const QJsonDocument request = QJsonDocument::fromJson(socket->read(size));
    if (!request.isArray()) {
        socket->abort();
        return;
    }
    QStringList files;
    for (const QJsonValue& value : request.array()) {
        if (value.isString() && !value.toString().isEmpty())
            files.append(value.toString());
    }
    // Answered before anything is done with it, so the later start ends at once.
    socket->write(&received, 1);
    socket->flush();
    emit activated(files);
}

bool SingleInstance::sendToPrimary(const QStringList& files, int timeoutMs) const
{
    QJsonArray paths;
    for (const QString& file : files) {
        if (!file.isEmpty())
            paths.append(QFileInfo(file).absoluteFilePath());
    }
    const QByteArray payload = QJsonDocument(paths).toJson(QJsonDocument::Compact);
    if (payload.size() > qsizetype(maxRequestBytes))
        return false;
    QByteArray request(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), request.data());
    request += payload;

    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The running process may hold the lock a moment before it listens.
    for (;;) {
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == received;
}

} // namespace dictaro
