// The application state over a store in a temporary folder and the libmpv engine on recordings.
#include "AppState.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <clocale>
#include <sys/stat.h>

using namespace dictaro;

class tst_AppState : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<PlaybackEngine> m_engine;

    QString audio(const QString& name)
    {
        const QString path = m_home->filePath(name);
        if (!QFile::exists(path))
            test::copyFixture(QStringLiteral("speech.mp3"), path);
        return path;
    }

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", m_home->filePath(QStringLiteral("state")).toUtf8());
        m_store = std::make_unique<ProjectStore>(m_home->filePath(QStringLiteral("data/Projects")));
        m_engine = test::silentEngine();
    }

    // A new project is saved before its session starts and listed once closed; opening another
    // file closes the open project first, and not at all when its final save fails; deleting
    // a project leaves its audio alone.
    void projects_openCloseAndDelete()
    {
        AppState state(*m_store, *m_engine);
        QVERIFY(state.recentProjects().isEmpty());
        const QString path = audio(QStringLiteral("Lecture.final.mp3"));
        state.openAudioFile(path);
        QPointer<TranscriptionSession> first = state.currentSession();
        const Project project = first->project();
        QCOMPARE(project.name, QStringLiteral("Lecture.final"));
        QCOMPARE(project.mediaFileName, QStringLiteral("Lecture.final.mp3"));
        QVERIFY(QFile::exists(m_store->filePath(project.id)));

        first->setTranscript(QStringLiteral("must not be lost"));
        QVERIFY(QDir(m_store->directory()).removeRecursively());
        QFile blocker(m_store->directory()); // a file where the folder was: saves fail
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        state.openAudioFile(path);
        QVERIFY(!state.closeProject());
        QCOMPARE(state.currentSession(), first.data());

        QVERIFY(QFile::remove(m_store->directory()));
        state.openAudioFile(path);
        QVERIFY(state.currentSession()->project().id != project.id);
        QCOMPARE(m_store->load(project.id).transcript, QStringLiteral("must not be lost"));
        QSignalSpy listed(&state, &AppState::recentProjectsChanged);
        QVERIFY(state.closeProject());
        QCOMPARE(listed.size(), 1);
        QVERIFY(state.currentSession() == nullptr);
        QTRY_VERIFY(first.isNull()); // the closed sessions are released
        QCOMPARE(state.recentProjects().size(), 2);
        QCOMPARE(state.recentProjects().first().name, QStringLiteral("Lecture.final"));

        state.openProject(project.id);
        QCOMPARE(state.currentSession()->transcript(), QStringLiteral("must not be lost"));
        QVERIFY(state.closeProject());
        state.deleteProject(project.id);
        QCOMPARE(state.recentProjects().size(), 1);
        QVERIFY(QFile::exists(path));
    }

    // What is not a regular audio file (here a FIFO, which would block a reader) makes no
    // project and says why; the reasons themselves are in tst_CommandLine.
    void openAudioFile_refusesWhatIsNoRegularFile()
    {
        const QString fifo = m_home->filePath(QStringLiteral("pipe.mp3"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        AppState state(*m_store, *m_engine);
        state.openAudioFile(fifo);
        QVERIFY(state.currentSession() == nullptr && state.openError());
        QVERIFY(m_store->summaries().isEmpty());
        state.openAudioFile(audio(QStringLiteral("ok.mp3")));
        QVERIFY(state.currentSession() && !state.openError());
    }

    // Text that could not be saved is written elsewhere, offered at the next start, and put back
    // into its project as one edit that undo takes back; discarding forgets it.
    void recovery_isOfferedAndRestoredAsAnUndoableEdit()
    {
        {
            AppState state(*m_store, *m_engine);
            state.openAudioFile(audio(QStringLiteral("talk.mp3")));
            state.currentSession()->setTranscript(QStringLiteral("saved text"));
            QVERIFY(state.currentSession()->saveNow());
            state.currentSession()->setTranscript(QStringLiteral("saved text and more"));
            QVERIFY(state.writeRecovery());
            state.currentSession()->closeWithoutSaving();
        }
        AppState state(*m_store, *m_engine);
        QCOMPARE(state.recoveries().size(), 1);
        const QUuid id = state.recoveries().first().id;
        QCOMPARE(state.recoveries().first().name, QStringLiteral("talk"));
        state.openRecovery(id);
        TranscriptionSession* session = state.currentSession();
        QCOMPARE(session->transcript(), QStringLiteral("saved text and more"));
        QVERIFY(state.recoveries().isEmpty());
        session->document()->undo();
        QCOMPARE(session->transcript(), QStringLiteral("saved text"));
        QVERIFY(state.closeProject());
        QVERIFY(AppState(*m_store, *m_engine).recoveries().isEmpty());

        state.openProject(id);
        QVERIFY(state.writeRecovery());
        state.currentSession()->closeWithoutSaving();
        AppState next(*m_store, *m_engine);
        QCOMPARE(next.recoveries().size(), 1);
        next.discardRecovery(id);
        QVERIFY(AppState(*m_store, *m_engine).recoveries().isEmpty());
    }
};

QTEST_MAIN(tst_AppState)
#include "tst_AppState.moc"
