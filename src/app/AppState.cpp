#include "AppState.h"

#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#include <QFileInfo>

namespace dictaro {

const QStringList AppState::supportedExtensions = {
    QStringLiteral("mp3"), QStringLiteral("mpga"), QStringLiteral("m4a"),
    QStringLiteral("aac"), QStringLiteral("wav"),  QStringLiteral("aiff"),
    QStringLiteral("aif"), QStringLiteral("flac"), QStringLiteral("caf"),
};

AppState::AppState(std::shared_ptr<ProjectStore> store, EngineFactory engineFactory,
                   QObject* parent)
    : QObject(parent), m_store(std::move(store)), m_engineFactory(std::move(engineFactory))
{
    m_recentProjects = m_store->loadAll();
}

AppState::~AppState() = default;

void AppState::setExportPresented(bool presented)
{
    if (m_isExportPresented == presented)
        return;
    m_isExportPresented = presented;
    emit isExportPresentedChanged(presented);
}

bool AppState::isSupportedAudioFile(const QString& path)
{
    return supportedExtensions.contains(QFileInfo(path).suffix().toLower());
}

void AppState::openAudioFile(const QString& path)
{
    if (m_currentSession && !m_currentSession->close())
        return;
    const QString fileName = QFileInfo(path).fileName();
    // The name is the file name without its extension; a leading dot starts no extension.
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString name = dot > 0 ? fileName.left(dot) : fileName;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const Project project{QUuid::createUuid(),
                          name,
                          ProjectStore::makeBookmark(path),
                          fileName,
                          QString(),
                          0.0,
                          1.0,
                          now,
                          now};
    try {
        m_store->save(project);
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
    auto* session = new TranscriptionSession(project, m_store,
                                             m_engineFactory ? m_engineFactory() : nullptr, this);
    setCurrentSession(session);
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

void AppState::reloadRecentProjects()
{
    setRecentProjects(m_store->loadAll());
}

void AppState::deleteProject(const QUuid& id)
{
    try {
        m_store->remove(id);
    } catch (const StoreError&) {
        // A file that is already gone or protected: the list below shows what is left.
    }
    reloadRecentProjects();
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

void AppState::setRecentProjects(const QList<Project>& projects)
{
    if (m_recentProjects == projects)
        return;
    m_recentProjects = projects;
    emit recentProjectsChanged();
}

} // namespace dictaro
