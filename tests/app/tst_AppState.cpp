// The application state over a store in a temporary folder and the libmpv engine on recordings.
#include "AppState.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <clocale>
#include <sys/stat.h>
#include <unistd.h>

using namespace dictaro;

class tst_AppState : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<PlaybackEngine> m_engine;

    QString audio(const QString& name)
    {
        const QString path = m_home->filePath(name);
        if (!QFile::exists(path))
            test::copyFixture(QStringLiteral("speech.mp3"), path);
        return path;
    }

    void breakStore() { QVERIFY(test::blockFolder(m_store->directory())); }
    static int mode(const QString& path)
    {
        struct stat info
        {};
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777)
                                                                        : -1;
    }

private slots:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void init()
    {
        m_home.emplace(); // the state, cache and temporary folders too
        m_store = std::make_unique<ProjectStore>(m_home->filePath(QStringLiteral("data/Projects")));
        m_engine = test::silentEngine();
    }

    // What is not a regular audio file (here a FIFO, which would block a reader) makes no
    // project and says why; the reasons themselves are in tst_CommandLine. A new project is saved
    // before its session starts and listed once closed; opening another file closes the open
    // project first, and not at all when its final save fails; deleting a project leaves its
    // audio alone.
    void projects_openCloseAndDelete_refusingWhatIsNoRegularFile()
    {
        AppState state(*m_store, *m_engine);
        const QString fifo = m_home->filePath(QStringLiteral("pipe.mp3"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        state.openAudioFile(fifo);
        QVERIFY(state.currentSession() == nullptr && state.openError());
        QVERIFY(m_store->summaries().isEmpty());
        const QString path = audio(QStringLiteral("Lecture.final.mp3"));
        state.openAudioFile(path);
        QPointer<TranscriptionSession> first = state.currentSession();
        QVERIFY(first && !state.openError());
        const Project project = first->project();
        QCOMPARE(project.name, QStringLiteral("Lecture.final"));
        QCOMPARE(project.mediaFileName, QStringLiteral("Lecture.final.mp3"));
        QVERIFY(QFile::exists(m_store->filePath(project.id)));

        first->setTranscript(QStringLiteral("must not be lost"));
        breakStore();
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

    // Every way of closing takes one path: the final save, else as asked for: stay open with the
    // error, ask (once, however many ways ask at the same time), or keep the text for the next
    // start. The last chance before the process ends saves or recovers without closing anything.
    void closeProject_savesRecoversOrAsks()
    {
        AppState state(*m_store, *m_engine);
        state.openAudioFile(audio(QStringLiteral("talk.mp3")));
        QPointer<TranscriptionSession> session = state.currentSession();
        const QUuid id = session->project().id;
        session->setTranscript(QStringLiteral("typed and saved at exit"));
        QSignalSpy changed(&state, &AppState::currentSessionChanged);
        QVERIFY(state.keepTextBeforeExit());
        QCOMPARE(m_store->load(id).transcript, QStringLiteral("typed and saved at exit"));
        QVERIFY(!session->isClosed());

        session->setTranscript(QStringLiteral("typed, not saved"));
        breakStore();
        QVERIFY(!state.closeProject());
        int asked = 0;
        bool askedAgain = true;
        QVERIFY(!state.closeProject(AppState::Unsaved::Ask, [&] {
            ++asked;
            askedAgain = state.closeProject(AppState::Unsaved::Ask, [&] { return ++asked > 0; });
            return false;
        }));
        QCOMPARE(asked, 1);
        QVERIFY(!askedAgain);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(state.currentSession(), session.data());
        QVERIFY(!session->isClosed());

        QVERIFY(state.keepTextBeforeExit());
        QCOMPARE(changed.size(), 0);
        QVERIFY(!session->isClosed());
        const ProjectStore recovery(ProjectStore::recoveryDirectories().first());
        QCOMPARE(recovery.load(id).transcript, QStringLiteral("typed, not saved"));
        QVERIFY(QFile::remove(recovery.filePath(id)));

        QVERIFY(state.closeProject(AppState::Unsaved::Recover, [&] { return ++asked > 0; }));
        QCOMPARE(asked, 1);
        QVERIFY(state.currentSession() == nullptr && session->isClosed());
        QCOMPARE(recovery.load(id).transcript, QStringLiteral("typed, not saved"));

        QVERIFY(QFile::remove(m_store->directory()));
        state.openAudioFile(audio(QStringLiteral("next.mp3")));
        state.currentSession()->setTranscript(QStringLiteral("discarded"));
        breakStore();
        QVERIFY(state.closeProject(AppState::Unsaved::Ask, [] { return true; }));
        QVERIFY(state.currentSession() == nullptr);
        QCOMPARE(recovery.load(id).transcript, QStringLiteral("typed, not saved"));
    }

    // Recovered text goes only into a folder that is the user's own and private (mode 0700, no
    // link followed), in a file only the user reads; folders that are not are neither written
    // nor read. With nowhere to write, the text is not given up without asking.
    void recovery_onlyInAPrivateFolder()
    {
        // The state, cache and temporary folders, best first.
        const QStringList folders = ProjectStore::recoveryDirectories();
        QCOMPARE(folders.size(), 3);
        const QString elsewhere = m_home->filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QDir().mkpath(QFileInfo(folders[0]).path()));
        QVERIFY(QFile::link(elsewhere, folders[0]));

        AppState state(*m_store, *m_engine);
        state.openAudioFile(audio(QStringLiteral("talk.mp3")));
        TranscriptionSession* session = state.currentSession();
        const QUuid id = session->project().id;
        session->setTranscript(QStringLiteral("private words"));
        QVERIFY(state.writeRecovery());
        QVERIFY(QDir(elsewhere).isEmpty());
        const QString file = ProjectStore(folders[1]).filePath(id);
        QVERIFY(QFile::exists(file));
        QCOMPARE(mode(folders[1]), 0700);
        QCOMPARE(mode(file), 0600);
        QVERIFY(QFile::remove(file));

        // A folder of the user's own that others could read is closed to them first.
        QVERIFY(QFile::remove(folders[0]));
        QVERIFY(QDir().mkpath(folders[0]));
        QVERIFY(QFile::setPermissions(
            folders[0], QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                            QFileDevice::ReadOther | QFileDevice::ExeOther));
        QVERIFY(state.writeRecovery());
        QCOMPARE(mode(folders[0]), 0700);
        QVERIFY(QFile::remove(ProjectStore(folders[0]).filePath(id)));
        if (::geteuid() == 0) {
            // Another user's folder (in the shared temporary folder, say) is not used.
            QVERIFY(::chown(QFile::encodeName(folders[0]).constData(), 65534, 65534) == 0);
            QVERIFY(state.writeRecovery());
            QVERIFY(QDir(folders[0]).isEmpty());
            QVERIFY(QFile::exists(ProjectStore(folders[1]).filePath(id)));

            // Another user who took "Dictaro" in the shared temporary folder first does not
            // block the last resort there.
            const QString shared = QDir(qEnvironmentVariable("TMPDIR")).filePath("Dictaro");
            QVERIFY(QDir().mkpath(shared + QStringLiteral("/Recovery")));
            QVERIFY(::chown(QFile::encodeName(shared).constData(), 65534, 65534) == 0);
            QVERIFY(QFile::remove(ProjectStore(folders[1]).filePath(id)));
            QVERIFY(QDir(folders[1]).removeRecursively());
            QVERIFY(QFile::link(elsewhere, folders[1]));
            QVERIFY(state.writeRecovery());
            QVERIFY(QFile::exists(ProjectStore(folders[2]).filePath(id)));
            QVERIFY(QFile::remove(folders[1]));
        }

        // Nowhere to write: every place is a link.
        for (const QString& folder : folders) {
            QVERIFY(QDir(folder).removeRecursively());
            QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
            QVERIFY(QFile::link(elsewhere, folder));
        }
        QVERIFY(!state.writeRecovery());
        breakStore();
        QVERIFY(!state.keepTextBeforeExit());
        int asked = 0;
        QVERIFY(!state.closeProject(AppState::Unsaved::Recover, [&] { return ++asked > 1; }));
        QCOMPARE(asked, 1);
        QVERIFY(state.currentSession() && !state.currentSession()->isClosed());
        QVERIFY(QDir(elsewhere).isEmpty());
        // Text someone put behind such a link is not offered.
        ProjectStore(elsewhere).save(session->currentRecord());
        QVERIFY(AppState(*m_store, *m_engine).recoveries().isEmpty());
    }
};

QTEST_MAIN(tst_AppState)
#include "tst_AppState.moc"
