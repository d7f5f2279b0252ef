// The session with its real pieces: the libmpv engine on recorded fixtures (silent output), a
// store in a temporary folder, and the editor widget driven by key events.
#include "Localization.h"
#include "Platform.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"
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

// One key event per character, at the end of the text.
void typeAtEnd(TranscriptEditor& editor, const QString& text)
{
    editor.moveCursor(QTextCursor::End);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, &editor, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

bool startAndWait(TranscriptionSession& session)
{
    QSignalSpy started(&session, &TranscriptionSession::started);
    session.start();
    return started.wait(5000);
}

} // namespace

class tst_TranscriptionSession : public QObject
{
    Q_OBJECT

    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<QTemporaryDir> m_home;

    // A project remembered at 2.5 s and 1.3x, on a copy of speech.<extension> if one is given
    // (without one, there is no file to refer to).
    Project newProject(const QString& extension = {})
    {
        const QString audio = m_home->filePath(QStringLiteral("a.") + extension);
        test::copyFixture(QStringLiteral("speech.") + extension, audio);
        const auto media = ProjectStore::makeBookmark(audio);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        return {QUuid::createUuid(),
                "Interview",
                media,
                "speech.mp3",
                "Hello world",
                2.5,
                1.3,
                now,
                now};
    }
    std::unique_ptr<TranscriptionSession> session(const Project& project)
    {
        return std::make_unique<TranscriptionSession>(project, m_store, test::silentEngine());
    }
    Project stored(const TranscriptionSession& session) const
    {
        return m_store->load(session.project().id);
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
        m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
        QCOMPARE(Platform::openFileAccessCount(), 0);
    }

    // A burst of typing is saved once, a second after it ends. An editor going away leaves its
    // newest text with the session, which the next editor shows and the close saves.
    void typing_burstEndsInOneSaveASecondLater()
    {
        auto s = session(newProject());
        QSignalSpy saves(s.get(), &TranscriptionSession::projectChanged);
        {
            TranscriptEditor editor(s->editorController());
            editor.show();
            typeAtEnd(editor, QStringLiteral(" again"));
            QTest::qWait(700);
            QCOMPARE(saves.size(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 1500);
            QTest::qWait(1200);
            QCOMPARE(saves.size(), 1);
            QCOMPARE(stored(*s).transcript, QStringLiteral("Hello world again"));
            typeAtEnd(editor, QStringLiteral("!"));
        }
        QCOMPARE(s->transcript(), QStringLiteral("Hello world again!"));
        TranscriptEditor again(s->editorController());
        QCOMPARE(again.text(), QStringLiteral("Hello world again!"));
        QVERIFY(s->close());
        QCOMPARE(stored(*s).transcript, QStringLiteral("Hello world again!"));
    }

    // No reference, or one to a deleted file: typing is still saved, and so are the remembered
    // position and rate (not the empty engine's).
    void start_missingReferenceOrFileReportsMediaMissing()
    {
        const Project deleted = newProject(QStringLiteral("mp3"));
        QVERIFY(QFile::remove(m_home->filePath(QStringLiteral("a.mp3"))));
        for (const Project& project : {newProject(), deleted}) {
            auto s = session(project);
            QVERIFY(startAndWait(*s));
            QVERIFY(s->mediaMissing() && !s->engine()->isLoaded());
            QCOMPARE(Platform::openFileAccessCount(), 0);
            s->setTranscript(QStringLiteral("still typing"));
            QVERIFY(s->close());
            const Project saved = stored(*s);
            QCOMPARE(saved.transcript, QStringLiteral("still typing"));
            QCOMPARE(saved.lastPosition, 2.5);
            QCOMPARE(saved.playbackRate, 1.3);
        }
    }

    // A moved file is found, its reference renewed and saved before the engine has loaded; it
    // loads at the remembered position and rate, and closing gives up the file access.
    void start_staleReferenceIsRenewedAndSavedBeforeLoading()
    {
        const Project project = newProject(QStringLiteral("wav"));
        const QString moved = m_home->filePath(QStringLiteral("renamed.wav"));
        QVERIFY(QFile::rename(m_home->filePath(QStringLiteral("a.wav")), moved));
        auto s = session(project);
        QSignalSpy saves(s.get(), &TranscriptionSession::projectChanged);
        connect(s->engine(), &PlaybackEngine::loadFinished, this,
                [&] { QCOMPARE(saves.size(), 1); });
        QVERIFY(startAndWait(*s));
        QVERIFY(s->engine()->isLoaded());
        QCOMPARE(s->engine()->currentTime(), 2.5);
        QCOMPARE(s->engine()->rate(), 1.3);
        QCOMPARE(Platform::openFileAccessCount(), 1);

        const Project saved = stored(*s);
        const auto access = ProjectStore::resolveBookmark(*saved.mediaBookmark);
        QVERIFY(access && !access->isStale());
        QCOMPARE(access->path(), moved);
        QCOMPARE(saved.mediaFileName, project.mediaFileName); // renewing does not rename
        access->stop();
        QVERIFY(s->close());
        QCOMPARE(Platform::openFileAccessCount(), 0);
    }

    void start_twoStartsRunOneAfterTheOther()
    {
        auto s = session(newProject(QStringLiteral("flac")));
        QStringList events;
        connect(s->engine(), &PlaybackEngine::loadFinished, this,
                [&](bool ready) { events << QStringLiteral("loaded %1").arg(ready); });
        connect(s.get(), &TranscriptionSession::started, this, [&] { events << "started"; });
        int finished = 0;
        s->start([&] { ++finished; });
        s->start([&] { ++finished; });
        QTRY_COMPARE_WITH_TIMEOUT(finished, 2, 10000);
        // Had the second load overtaken the first, the first would never have reported.
        QCOMPARE(events, (QStringList{"loaded 1", "started", "loaded 1", "started"}));
        QCOMPARE(Platform::openFileAccessCount(), 1);
    }

    void close_duringLoadUndoesTheLoad()
    {
        auto s = session(newProject(QStringLiteral("mp3")));
        s->start();
        // Let the start begin its load, then close before the load reports.
        QTRY_VERIFY_WITH_TIMEOUT(Platform::openFileAccessCount() == 1, 2000);
        QVERIFY(s->close());
        QSignalSpy started(s.get(), &TranscriptionSession::started);
        QVERIFY(started.wait(5000) || !s->isStarting());
        QTest::qWait(300);
        QVERIFY(!s->engine()->isLoaded());
        QCOMPARE(Platform::openFileAccessCount(), 0);
    }

    // A store that fails and works again: the autosave reports the failure once, the final
    // save fails too and keeps the session open with everything in it, then succeeds.
    void saveError_failingThenWorkingStore()
    {
        auto s = session(newProject(QStringLiteral("mp3")));
        QVERIFY(startAndWait(*s));
        QSignalSpy errors(s.get(), &TranscriptionSession::saveErrorChanged);
        const QString folder = m_store->directory();
        QVERIFY(QDir(folder).removeRecursively());
        s->setTranscript(QStringLiteral("the last minutes of typing"));
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 2000);
        QCOMPARE(s->saveError(),
                 std::optional<QString>(Localization::tr(
                     "Autosave failed. Your text is kept in memory; saving will be retried.")));
        QVERIFY(!s->close());
        QCOMPARE(errors.size(), 1);
        QVERIFY(!s->isClosed() && s->engine()->isLoaded()); // nothing released

        QVERIFY(QDir().mkpath(folder));
        QVERIFY(s->close());
        QCOMPARE(s->saveError(), std::nullopt);
        QCOMPARE(stored(*s).transcript, QStringLiteral("the last minutes of typing"));
        QCOMPARE(Platform::openFileAccessCount(), 0);
    }

    // The timestamp replaces the selection as one edit of its own: one undo takes exactly it
    // back, not the typing before it.
    void insertTimestamp_replacesSelectionAndUndoes()
    {
        auto s = session(newProject(QStringLiteral("wav")));
        TranscriptEditor editor(s->editorController());
        editor.show();
        QVERIFY(startAndWait(*s));
        s->engine()->seek(4.7);
        typeAtEnd(editor, QStringLiteral("!"));
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(6);
        cursor.setPosition(11, QTextCursor::KeepAnchor); // "world"
        editor.setTextCursor(cursor);
        QSignalSpy saves(s.get(), &TranscriptionSession::projectChanged);
        s->insertTimestamp();
        QCOMPARE(s->transcript(), QStringLiteral("Hello [00:00:04] !"));
        QCOMPARE(editor.textCursor().position(), 6 + 11);
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 2000); // the insertion is autosaved
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s->transcript(), QStringLiteral("Hello world!"));
    }

    // The one test that waits through real five-second periods.
    void positionTimer_savesOnlyWhilePlaying()
    {
        Project project = newProject(QStringLiteral("mp3"));
        project.lastPosition = 0;
        project.playbackRate = 1.0;
        auto s = session(project);
        QVERIFY(startAndWait(*s));
        QSignalSpy saves(s.get(), &TranscriptionSession::projectChanged);
        s->engine()->play();
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 6000);
        const double saved = stored(*s).lastPosition;
        QVERIFY2(saved > 3.5 && saved <= 6.0, qPrintable(QString::number(saved)));
        s->engine()->pause(0);
        QTest::qWait(5500);
        QCOMPARE(saves.size(), 1);
    }
};

QTEST_MAIN(tst_TranscriptionSession)
#include "tst_TranscriptionSession.moc"
