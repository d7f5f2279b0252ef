// The application state over a real store in a temporary folder, with sessions on the libmpv
// engine (silent output).
#include "AppState.h"
#include "MpvBackend.h"
#include "Platform.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

using namespace dictaro;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);

AppState::EngineFactory silentEngines()
{
    return [] {
        return std::make_unique<PlaybackEngine>(
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    };
}

} // namespace

class tst_AppState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
    }
    void init();

    void construction_listsRecentProjectsAtOnce();
    void openAudioFile_savesANewProjectBeforeTheSessionStarts();
    void openAudioFile_twiceMakesTwoProjects();
    void closeProject_savesAndListsTheProjectFirst();
    void closeProject_failedFinalSaveKeepsTheProjectOpen();
    void notifications_onlyForRealChanges();
    void deleteProject_removesItFromTheList();
    void supportedExtensions_acceptTheNineAudioTypes();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<ProjectStore> m_store;
    QString audioFile(const QString& name);
};

void tst_AppState::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
}

QString tst_AppState::audioFile(const QString& name)
{
    const QString path = m_home->filePath(name);
    if (!QFile::copy(fixtures + QStringLiteral("/speech.mp3"), path))
        qFatal("cannot copy the fixture");
    return path;
}

void tst_AppState::construction_listsRecentProjectsAtOnce()
{
    AppState empty(m_store, silentEngines());
    QVERIFY(empty.recentProjects().isEmpty());
    QVERIFY(empty.currentSession() == nullptr);
    QVERIFY(!empty.isExportPresented());

    const QDateTime when = QDateTime::currentDateTimeUtc();
    m_store->save(Project{QUuid::createUuid(), QStringLiteral("Old"), std::nullopt,
                          QStringLiteral("old.mp3"), QString(), 0, 1, when.addSecs(-60),
                          when.addSecs(-60)});
    m_store->save(Project{QUuid::createUuid(), QStringLiteral("New"), std::nullopt,
                          QStringLiteral("new.mp3"), QString(), 0, 1, when, when});
    AppState state(m_store, silentEngines());
    QCOMPARE(state.recentProjects().size(), 2);
    QCOMPARE(state.recentProjects().first().name, QStringLiteral("New"));
}

void tst_AppState::openAudioFile_savesANewProjectBeforeTheSessionStarts()
{
    AppState state(m_store, silentEngines());
    QSignalSpy sessions(&state, &AppState::currentSessionChanged);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    state.openAudioFile(audioFile(QStringLiteral("Lecture.final.mp3")));

    QCOMPARE(sessions.size(), 1);
    TranscriptionSession* session = state.currentSession();
    QVERIFY(session);
    const Project& project = session->project();
    QCOMPARE(project.name, QStringLiteral("Lecture.final"));
    QCOMPARE(project.mediaFileName, QStringLiteral("Lecture.final.mp3"));
    QVERIFY(project.transcript.isEmpty());
    QCOMPARE(project.lastPosition, 0.0);
    QCOMPARE(project.playbackRate, 1.0);
    QVERIFY(project.createdAt >= before && project.createdAt == project.updatedAt);
    QVERIFY(project.mediaBookmark.has_value());
    QVERIFY(QFile::exists(m_store->filePath(project.id))); // saved before any start
    QVERIFY(state.recentProjects().isEmpty());             // not listed until closed

    session->start();
    QSignalSpy started(session, &TranscriptionSession::started);
    QVERIFY(started.wait(5000));
    QVERIFY(session->engine()->isLoaded());
    QVERIFY(state.closeProject());
}

void tst_AppState::openAudioFile_twiceMakesTwoProjects()
{
    AppState state(m_store, silentEngines());
    const QString path = audioFile(QStringLiteral("talk.mp3"));
    state.openAudioFile(path);
    const QUuid first = state.currentSession()->project().id;
    QVERIFY(state.closeProject());
    state.openAudioFile(path);
    QVERIFY(state.currentSession()->project().id != first);
    QVERIFY(state.closeProject());
    QCOMPARE(state.recentProjects().size(), 2);
}

void tst_AppState::closeProject_savesAndListsTheProjectFirst()
{
    AppState state(m_store, silentEngines());
    // With no session, closing only lists again.
    QVERIFY(state.closeProject());

    state.openAudioFile(audioFile(QStringLiteral("a.mp3")));
    QPointer<TranscriptionSession> session = state.currentSession();
    session->setTranscript(QStringLiteral("typed"));
    QSignalSpy sessions(&state, &AppState::currentSessionChanged);
    QVERIFY(state.closeProject());
    QCOMPARE(sessions.size(), 1);
    QVERIFY(state.currentSession() == nullptr);
    QCOMPARE(state.recentProjects().first().transcript, QStringLiteral("typed"));
    QTRY_VERIFY(session.isNull()); // the closed session is released
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_AppState::closeProject_failedFinalSaveKeepsTheProjectOpen()
{
    AppState state(m_store, silentEngines());
    state.openAudioFile(audioFile(QStringLiteral("a.mp3")));
    TranscriptionSession* session = state.currentSession();
    session->setTranscript(QStringLiteral("must not be lost"));
    QVERIFY(QDir(m_store->directory()).removeRecursively());

    QVERIFY(!state.closeProject());
    QCOMPARE(state.currentSession(), session);
    QVERIFY(session->saveError().has_value());

    QVERIFY(QDir().mkpath(m_store->directory()));
    QVERIFY(state.closeProject());
    QCOMPARE(state.recentProjects().size(), 1);
    QCOMPARE(state.recentProjects().first().transcript, QStringLiteral("must not be lost"));
}

void tst_AppState::notifications_onlyForRealChanges()
{
    AppState state(m_store, silentEngines());
    QSignalSpy exports(&state, &AppState::isExportPresentedChanged);
    state.setExportPresented(true);
    state.setExportPresented(true);
    QCOMPARE(exports.size(), 1);

    QSignalSpy recents(&state, &AppState::recentProjectsChanged);
    state.reloadRecentProjects();
    QCOMPARE(recents.size(), 0);
    const QDateTime when = QDateTime::currentDateTimeUtc();
    m_store->save(Project{QUuid::createUuid(), QStringLiteral("x"), std::nullopt,
                          QStringLiteral("x.mp3"), QString(), 0, 1, when, when});
    state.reloadRecentProjects();
    QCOMPARE(recents.size(), 1);
}

void tst_AppState::deleteProject_removesItFromTheList()
{
    AppState state(m_store, silentEngines());
    state.openAudioFile(audioFile(QStringLiteral("a.mp3")));
    QVERIFY(state.closeProject());
    const QUuid id = state.recentProjects().first().id;
    state.deleteProject(id);
    QVERIFY(state.recentProjects().isEmpty());
    state.deleteProject(id); // already gone: ignored
    QVERIFY(QFile::exists(m_home->filePath(QStringLiteral("a.mp3")))); // audio untouched
}

void tst_AppState::supportedExtensions_acceptTheNineAudioTypes()
{
    QCOMPARE(AppState::supportedExtensions,
             (QStringList{"mp3", "mpga", "m4a", "aac", "wav", "aiff", "aif", "flac", "caf"}));
    QVERIFY(AppState::isSupportedAudioFile(QStringLiteral("/x/Interview.M4A")));
    QVERIFY(!AppState::isSupportedAudioFile(QStringLiteral("/x/notes.txt")));
    QVERIFY(!AppState::isSupportedAudioFile(QStringLiteral("/x/mp3")));
}

QTEST_MAIN(tst_AppState)
#include "tst_AppState.moc"
