#include "AppState.h"

#include "AppSettings.h"
#include "AudioFileCheck.h"
#include "AudioTypes.h"
#include "Localization.h"
#include "NewProject.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dictaro {

const QStringList AppState::supportedExtensions = AudioTypes::extensions();

namespace {

#if defined(Q_OS_UNIX)
// Whether `path` is a real folder (no symbolic link) of this user's own; made with mode 0700 when
// missing and `create` is set.
bool isOwnFolder(const QByteArray& path, bool create)
{
    struct stat info
    {};
    if (::lstat(path.constData(), &info) != 0) {
        if (errno != ENOENT || !create)
            return false;
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (::lstat(path.constData(), &info) != 0)
            return false;
    }
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}
#endif

// Whether the recovery folder `folder` (".../Dictaro/Recovery") is private to the user, making it
// when `create` is set: both levels are the user's own real folders, and the last one is open to
// nobody else (mode 0700). In a shared temporary folder another user may have made either first,
// or put a link there; the text never goes there then.
bool isPrivateRecoveryFolder(const QString& folder, bool create)
{
#if defined(Q_OS_UNIX)
    const QString parent = QFileInfo(folder).path();
    if (create && !QDir().mkpath(QFileInfo(parent).path()))
        return false;
    if (!isOwnFolder(QFile::encodeName(parent), create) ||
        !isOwnFolder(QFile::encodeName(folder), create))
        return false;
    // Checked again on the open folder itself, which no rename can swap any more.
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info
    {};
    // A folder an earlier version made readable to others is closed to them now.
    const bool isPrivate = ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid() &&
                           ((info.st_mode & 077) == 0 || ::fchmod(fd, 0700) == 0);
    ::close(fd);
    return isPrivate;
#else
    return create ? QDir().mkpath(folder) : QFileInfo(folder).isDir();
#endif
}

// Every text kept by an earlier run, from all the places one may have been written. Folders
// that are not the user's private ones are not read: anyone could have put text there.
QList<Project> loadRecoveries()
{
    QList<Project> recoveries;
    for (const QString& folder : ProjectStore::recoveryDirectories()) {
        if (isPrivateRecoveryFolder(folder, false))
            recoveries += ProjectStore(folder).loadAll();
    }
    std::sort(recoveries.begin(), recoveries.end(),
              [](const Project& a, const Project& b) { return a.updatedAt < b.updatedAt; });
    return recoveries;
}

} // namespace

AppState::AppState(ProjectStore& store, PlaybackEngine& engine, QObject* parent)
    : QObject(parent), m_store(store), m_engine(engine), m_recentProjects(m_store.summaries()),
      m_recoveries(loadRecoveries())
{}

AppState::~AppState() = default;

void AppState::setExportPresented(bool presented)
{
    if (m_isExportPresented == presented)
        return;
    m_isExportPresented = presented;
    emit isExportPresentedChanged(presented);
}

void AppState::dismissOpenError()
{
    setOpenError(std::nullopt);
}

bool AppState::isSupportedAudioFile(const QString& path)
{
    return supportedExtensions.contains(QFileInfo(path).suffix().toLower());
}

void AppState::openAudioFile(const QString& path, const QString& transcript)
{
    // FIFOs and devices would hang or never end; folders are no recordings.
    if (const std::optional<QString> problem = AudioFileCheck::problem(path)) {
        setOpenError(problem);
        return;
    }
    if (!endCurrentSession(Unsaved::Keep, {}))
        return;
    Project project = newProjectFor(path);
    project.transcript = transcript;
    bool saved = true;
    try {
        m_store.save(project);
    } catch (const StoreError&) {
        // The session saves again after the first edit and shows its own error then.
        saved = false;
    }
    openProject(project);
    // Imported text is no edit: when it is not on disk yet, the session's save says why.
    if (!saved && !transcript.isEmpty() && m_currentSession)
        m_currentSession->saveNow();
}

void AppState::openProject(const Project& project)
{
    // Only one project is open at a time; the one open now is closed (and saved) first.
    if (!endCurrentSession(Unsaved::Keep, {}))
        return;
    setOpenError(std::nullopt);
    auto* session = new TranscriptionSession(project, m_store, m_engine, this);
    setCurrentSession(session);
    session->start();
}

void AppState::openProject(const QUuid& id)
{
    try {
        openProject(m_store.load(id));
    } catch (const StoreError&) {
        setOpenError(Localization::tr("This project can't be opened. Its file may have been "
                                      "deleted or damaged."));
        reloadRecentProjects();
    }
}

bool AppState::closeProject(Unsaved unsaved, const std::function<bool()>& ask)
{
    if (m_currentSession) {
        if (!endCurrentSession(unsaved, ask))
            return false;
        setCurrentSession(nullptr);
    }
    reloadRecentProjects();
    return true;
}

bool AppState::endCurrentSession(Unsaved unsaved, const std::function<bool()>& ask)
{
    const QPointer<TranscriptionSession> session = m_currentSession;
    if (!session || session->close())
        return true;
    if (unsaved == Unsaved::Recover && writeRecovery()) {
        session->closeWithoutSaving();
        return true;
    }
    if (unsaved == Unsaved::Keep || !ask || m_asking)
        return false;
    m_asking = true;
    const bool discard = ask();
    m_asking = false;
    // The question runs an event loop, in which another way of closing may have ended the
    // session already; that one has done what was needed.
    if (!discard || !session || session != m_currentSession)
        return false;
    session->closeWithoutSaving();
    return true;
}

bool AppState::keepTextBeforeExit()
{
    if (!m_currentSession || m_currentSession->isClosed())
        return true;
    const Project record = m_currentSession->currentRecord();
    try {
        m_store.save(record);
        return true;
    } catch (const StoreError&) {
        return writeRecovery(record);
    }
}

void AppState::deleteProject(const QUuid& id)
{
    try {
        m_store.remove(id);
    } catch (const StoreError&) {
        // A file that is already gone or protected: the list below shows what is left.
    }
    AppSettings::forgetTextPlace(id);
    reloadRecentProjects();
}

bool AppState::writeRecovery()
{
    if (!m_currentSession || m_currentSession->isClosed())
        return false;
    return writeRecovery(m_currentSession->currentRecord());
}

bool AppState::writeRecovery(const Project& record)
{
    for (const QString& folder : ProjectStore::recoveryDirectories()) {
        if (!isPrivateRecoveryFolder(folder, true))
            continue;
        try {
            ProjectStore store(folder);
            store.save(record);
            // The folder already keeps others out; the file does too, wherever it is copied.
            QFile::setPermissions(store.filePath(record.id),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return true;
        } catch (const StoreError&) {
            // The next place, then.
        }
    }
    return false;
}

void AppState::openRecovery(const QUuid& id)
{
    const auto it = std::find_if(m_recoveries.cbegin(), m_recoveries.cend(),
                                 [&](const Project& p) { return p.id == id; });
    if (it == m_recoveries.cend())
        return;
    const Project recovered = *it;
    // The project as last saved, if its file is still there; the recovered record otherwise.
    Project project = recovered;
    try {
        project = m_store.load(id);
    } catch (const StoreError&) {
        project.transcript.clear();
    }
    openProject(project);
    if (!m_currentSession || m_currentSession->project().id != id)
        return; // the project open before could not be saved and stays
    m_currentSession->replaceTranscriptAsEdit(recovered.transcript);
    removeRecoveryFiles(id);
}

void AppState::discardRecovery(const QUuid& id)
{
    removeRecoveryFiles(id);
}

void AppState::removeRecoveryFiles(const QUuid& id)
{
    for (const QString& folder : ProjectStore::recoveryDirectories()) {
        if (!isPrivateRecoveryFolder(folder, false))
            continue;
        const QString path = ProjectStore(folder).filePath(id);
        if (QFileInfo::exists(path))
            QFile::remove(path);
    }
    const qsizetype removed = m_recoveries.removeIf([&](const Project& p) { return p.id == id; });
    if (removed > 0)
        emit recoveriesChanged();
}

void AppState::reloadRecentProjects()
{
    const QList<ProjectSummary> projects = m_store.summaries();
    if (m_recentProjects == projects)
        return;
    m_recentProjects = projects;
    emit recentProjectsChanged();
}

void AppState::setCurrentSession(TranscriptionSession* session)
{
    TranscriptionSession* previous = m_currentSession;
    m_currentSession = session;
    emit currentSessionChanged(session);
    // Views may still be unwinding from a call into the old session.
    if (previous && previous != session)
        previous->deleteLater();
}

void AppState::setOpenError(const std::optional<QString>& error)
{
    if (m_openError == error)
        return;
    m_openError = error;
    emit openErrorChanged(error);
}

} // namespace dictaro
