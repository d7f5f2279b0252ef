#include "AppState.h"

#include "AudioFileCheck.h"
#include "AudioTypes.h"
#include "Localization.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace dictaro {

const QStringList AppState::supportedExtensions = AudioTypes::extensions();

namespace {

// Every text kept by an earlier run, from all the places one may have been written.
QList<Project> loadRecoveries()
{
    QList<Project> recoveries;
    for (const QString& folder : ProjectStore::recoveryDirectories()) {
        if (QDir(folder).exists())
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

void AppState::openAudioFile(const QString& path)
{
    // FIFOs and devices would hang or never end; folders are no recordings.
    if (const std::optional<QString> problem = AudioFileCheck::problem(path)) {
        setOpenError(problem);
        return;
    }
    if (m_currentSession && !m_currentSession->close())
        return;
    const QString fileName = QFileInfo(path).fileName();
    // The name is the file name without its extension; a leading dot starts no extension.
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QDateTime now = QDateTime::currentDateTimeUtc();
    Project project;
    project.id = QUuid::createUuid();
    project.name = dot > 0 ? fileName.left(dot) : fileName;
    project.mediaBookmark = ProjectStore::makeBookmark(path);
    project.mediaFileName = fileName;
    project.createdAt = now;
    project.updatedAt = now;
    try {
        m_store.save(project);
    } catch (const StoreError&) {
        // The session saves again after the first edit and shows its own error then.
    }
    openProject(project);
}

void AppState::openProject(const Project& project)
{
    // Only one project is open at a time; the one open now is closed (and saved) first.
    if (m_currentSession && !m_currentSession->close())
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

bool AppState::closeProject()
{
    if (m_currentSession) {
        if (!m_currentSession->close())
            return false;
        setCurrentSession(nullptr);
    }
    reloadRecentProjects();
    return true;
}

void AppState::deleteProject(const QUuid& id)
{
    try {
        m_store.remove(id);
    } catch (const StoreError&) {
        // A file that is already gone or protected: the list below shows what is left.
    }
    reloadRecentProjects();
}

bool AppState::writeRecovery()
{
    if (!m_currentSession || m_currentSession->isClosed())
        return false;
    const Project record = m_currentSession->currentRecord();
    for (const QString& folder : ProjectStore::recoveryDirectories()) {
        try {
            ProjectStore(folder).save(record);
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
