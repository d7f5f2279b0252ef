// The application state over a real store in a temporary folder, with sessions on the libmpv
// engine (silent output).
#include "AppState.h"
#include "Platform.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

using namespace dictaro;

class tst_AppState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
    }

    // Listed at once, newest first. A new project is saved before its session starts and only
    // listed once closed; opening another file closes the open project first, and not at all
    // when its final save fails; deleting a project leaves its audio alone.
    void projects_openCloseAndDelete()
    {
        QTemporaryDir home;
        auto store = std::make_shared<ProjectStore>(home.filePath(QStringLiteral("Projects")));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const QDateTime& at : {now.addSecs(-60), now})
            store->save(
                {QUuid::createUuid(), at.toString(), std::nullopt, "x.mp3", {}, 0, 1, at, at});
        AppState state(store, test::silentEngine);
        QCOMPARE(state.recentProjects().size(), 2);
        QCOMPARE(state.recentProjects().first().name, now.toString());

        const QString path = home.filePath(QStringLiteral("Lecture.final.mp3"));
        QVERIFY(test::copyFixture(QStringLiteral("speech.mp3"), path));
        state.openAudioFile(path);
        QPointer<TranscriptionSession> first = state.currentSession();
        const Project project = first->project();
        QCOMPARE(project.name, QStringLiteral("Lecture.final"));
        QCOMPARE(project.mediaFileName, QStringLiteral("Lecture.final.mp3"));
        QVERIFY(project.mediaBookmark.has_value());
        QVERIFY(QFile::exists(store->filePath(project.id)));
        QCOMPARE(state.recentProjects().size(), 2);

        first->setTranscript(QStringLiteral("must not be lost"));
        QVERIFY(QDir(store->directory()).removeRecursively());
        state.openAudioFile(path);
        QVERIFY(!state.closeProject());
        QCOMPARE(state.currentSession(), first.data());
        QVERIFY(first->saveError().has_value());

        QVERIFY(QDir().mkpath(store->directory()));
        state.openAudioFile(path);
        QVERIFY(state.currentSession()->project().id != project.id);
        QCOMPARE(store->load(project.id).transcript, QStringLiteral("must not be lost"));
        QVERIFY(state.closeProject());
        QVERIFY(state.currentSession() == nullptr);
        QTRY_VERIFY(first.isNull()); // the closed sessions are released
        QCOMPARE(Platform::openFileAccessCount(), 0);
        QCOMPARE(state.recentProjects().size(), 2); // the two made here; the folder went away

        state.deleteProject(project.id);
        QCOMPARE(state.recentProjects().size(), 1);
        QVERIFY(QFile::exists(path));
    }
};

QTEST_MAIN(tst_AppState)
#include "tst_AppState.moc"
