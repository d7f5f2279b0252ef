#pragma once

#include <memory>

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace dictaro {

// Lets one process at a time work on a projects folder. The first start holds a lock file and
// listens on a local socket; a later start finds the lock taken, hands the running one its files
// and ends without writing anything. The lock lives in the user's runtime folder, named after the
// projects folder's canonical path, so that deleting and re-creating the projects folder cannot
// lose it. A lock that names no live process (one that died, even by SIGKILL, or an empty or
// unreadable file) is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Status {
        Primary,   // this process holds the folder and listens for later starts
        Secondary, // another running process holds it: call sendToPrimary() and end
        Failed,    // the lock could not be made or checked (no runtime folder, a full disk, …):
                   // this process must not write the folder
    };
    struct Result
    {
        Status status = Status::Failed;
        // Set for Primary and Secondary.
        std::unique_ptr<SingleInstance> instance;
        // For Failed: what went wrong, for developers.
        QString errorString;
    };

    // Creates `dataDir` if needed and tries to lock it.
    static Result acquire(const QString& dataDir);
    // The lock file for `dataDir` (an existing folder), in the runtime folder; empty if the
    // system names no runtime folder.
    static QString lockFilePath(const QString& dataDir);

    ~SingleInstance() override;

    bool isPrimary() const { return m_lock != nullptr; }

    // From a secondary: asks the running process to come to the front and open `files` (relative
    // paths are taken against this process's working folder; none: just come to the front).
    // Returns true once the running process has received them; false if it could not be reached
    // within `timeoutMs` (it may be starting, hung or ending).
    bool sendToPrimary(const QStringList& files, int timeoutMs = 3000) const;

signals:
    // On the primary: a later start asked to be shown and to open these absolute paths.
    void activated(const QStringList& files);

private:
    explicit SingleInstance(QString serverName);
    void listen();
    void readRequest(QLocalSocket* socket);

    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace dictaro
