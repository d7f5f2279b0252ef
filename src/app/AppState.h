#pragma once

#include "Project.h"
#include "ProjectStore.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

Q_MOC_INCLUDE("TranscriptionSession.h")

namespace dictaro {

class PlaybackEngine;
class TranscriptionSession;

// The application-wide state behind the main window: the project store, the recent projects,
// the open transcription session, and whether the export sheet is shown.
class AppState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(dictaro::TranscriptionSession* currentSession READ currentSession NOTIFY
                   currentSessionChanged)
    Q_PROPERTY(bool isExportPresented READ isExportPresented WRITE setExportPresented NOTIFY
                   isExportPresentedChanged)

public:
    // The file name extensions accepted by a drop, lower case.
    static const QStringList supportedExtensions;

    using EngineFactory = std::function<std::unique_ptr<PlaybackEngine>()>;

    // Lists the recent projects at once. Sessions play through the system's sound output
    // unless `engineFactory` makes their engines.
    explicit AppState(std::shared_ptr<ProjectStore> store, EngineFactory engineFactory = {},
                      QObject* parent = nullptr);
    ~AppState() override;

    ProjectStore& store() const { return *m_store; }
    TranscriptionSession* currentSession() const { return m_currentSession; }
    const QList<Project>& recentProjects() const { return m_recentProjects; }
    bool isExportPresented() const { return m_isExportPresented; }
    void setExportPresented(bool presented);

    // Whether a file name's extension is one of supportedExtensions (in any letter case).
    static bool isSupportedAudioFile(const QString& path);

    // Makes, saves and opens a new project for the audio file at `path`.
    void openAudioFile(const QString& path);
    // Opens a session on a copy of `project`.
    void openProject(const Project& project);
    // Closes the open session with its final save and lists the projects again. If the final
    // save fails the session stays open (showing its save error) and false is returned.
    bool closeProject();
    // Lists the projects again from the store.
    void reloadRecentProjects();
    // Deletes a project's file (failures are ignored) and lists the projects again.
    void deleteProject(const QUuid& id);

signals:
    void currentSessionChanged(dictaro::TranscriptionSession* session);
    void recentProjectsChanged();
    void isExportPresentedChanged(bool presented);

private:
    void setCurrentSession(TranscriptionSession* session);
    void setRecentProjects(const QList<Project>& projects);

    std::shared_ptr<ProjectStore> m_store;
    EngineFactory m_engineFactory;
    TranscriptionSession* m_currentSession = nullptr;
    QList<Project> m_recentProjects;
    bool m_isExportPresented = false;
};

} // namespace dictaro
