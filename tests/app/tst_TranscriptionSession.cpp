// The session with its real pieces: the libmpv engine on recorded fixtures (silent output), a
// store in a temporary folder, and the editor widget driven by key events.
#include "Localization.h"
#include "MpvBackend.h"
#include "Platform.h"
#include "PlaybackEngine.h"
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

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);

std::unique_ptr<PlaybackEngine> silentEngine()
{
    return std::make_unique<PlaybackEngine>(
        std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
}

Project newProject(const QString& audioPath = {})
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return Project{QUuid::createUuid(),
                   QStringLiteral("Interview"),
                   audioPath.isEmpty() ? std::nullopt : ProjectStore::makeBookmark(audioPath),
                   QStringLiteral("speech.mp3"),
                   QStringLiteral("Hello world"),
                   2.5,
                   1.3,
                   now,
                   now};
}

QString autosaveMessage()
{
    return Localization::tr("Autosave failed. Your text is kept in memory; saving will be retried.");
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

bool waitForStart(TranscriptionSession& session)
{
    QSignalSpy started(&session, &TranscriptionSession::started);
    return started.wait(5000);
}

} // namespace

class tst_TranscriptionSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void typing_burstEndsInOneSaveASecondLater();
    void setTranscript_equalValueStillSchedulesASave();
    void saveNow_withoutMediaKeepsStoredPositionAndRate();
    void start_missingReferenceOrFileReportsMediaMissing();
    void start_loadsAtRememberedPositionAndRate();
    void start_staleReferenceIsRenewedAndSavedBeforeLoading();
    void start_twoStartsRunOneAfterTheOther();
    void close_duringLoadUndoesTheLoad();
    void close_savesLatestTextOnceAndOnlyOnce();
    void close_failedFinalSaveKeepsSessionOpen();
    void saveError_setByFailureClearedBySuccess();
    void insertTimestamp_replacesSelectionAndUndoes();
    void relocateMedia_pointsAtTheNewFile();
    void editorGoingAway_keepsItsText();
    void positionTimer_savesOnlyWhilePlaying();

private:
    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<QTemporaryDir> m_home;
    QString copyFixture(const QString& name, const QString& as);
    Project stored(const Project& project) { return m_store->load(project.id); }
};

void tst_TranscriptionSession::initTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFile::exists(fixtures + QStringLiteral("/speech.mp3")), "fixtures missing");
}

void tst_TranscriptionSession::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

QString tst_TranscriptionSession::copyFixture(const QString& name, const QString& as)
{
    const QString target = m_home->filePath(as);
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(fixtures + u'/' + name, target))
        qFatal("cannot copy fixture %s", qPrintable(name));
    return target;
}

void tst_TranscriptionSession::typing_burstEndsInOneSaveASecondLater()
{
    const Project project = newProject();
    TranscriptionSession session(project, m_store, silentEngine());
    TranscriptEditor editor(session.editorController());
    editor.show();
    QSignalSpy saves(&session, &TranscriptionSession::projectChanged);
    QSignalSpy changes(&session, &TranscriptionSession::transcriptChanged);

    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.setTextCursor(cursor);
    typeText(&editor, QStringLiteral(" again"));
    QCOMPARE(changes.size(), 6);
    QCOMPARE(session.transcript(), QStringLiteral("Hello world again"));

    QTest::qWait(700);
    QCOMPARE(saves.size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 1500);
    QTest::qWait(1200);
    QCOMPARE(saves.size(), 1);
    QCOMPARE(stored(project).transcript, QStringLiteral("Hello world again"));
    session.close();
}

void tst_TranscriptionSession::setTranscript_equalValueStillSchedulesASave()
{
    TranscriptionSession session(newProject(), m_store, silentEngine());
    QSignalSpy changes(&session, &TranscriptionSession::transcriptChanged);
    QSignalSpy saves(&session, &TranscriptionSession::projectChanged);
    session.setTranscript(QStringLiteral("Hello world"));
    QCOMPARE(changes.size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 2000);

    // An outside change reaches an editor that is on screen.
    TranscriptEditor editor(session.editorController());
    QCOMPARE(editor.text(), QStringLiteral("Hello world"));
    session.setTranscript(QStringLiteral("Replaced"));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(editor.text(), QStringLiteral("Replaced"));
    session.close();
}

void tst_TranscriptionSession::saveNow_withoutMediaKeepsStoredPositionAndRate()
{
    const Project project = newProject();
    TranscriptionSession session(project, m_store, silentEngine());
    session.setTranscript(QStringLiteral("changed"));
    QVERIFY(session.saveNow());
    const Project saved = stored(project);
    QCOMPARE(saved.transcript, QStringLiteral("changed"));
    QCOMPARE(saved.lastPosition, 2.5);
    QCOMPARE(saved.playbackRate, 1.3);
    QVERIFY(saved.updatedAt >= project.updatedAt.addSecs(-1));
    session.close();
}

void tst_TranscriptionSession::start_missingReferenceOrFileReportsMediaMissing()
{
    // No reference at all, and a reference to a file that was deleted.
    const QString gone = copyFixture(QStringLiteral("speech.mp3"), QStringLiteral("gone.mp3"));
    const Project deleted = newProject(gone);
    QVERIFY(QFile::remove(gone));

    for (const Project& project : {newProject(), deleted}) {
        TranscriptionSession session(project, m_store, silentEngine());
        QSignalSpy missing(&session, &TranscriptionSession::mediaMissingChanged);
        session.start();
        QVERIFY(waitForStart(session));
        QVERIFY(session.mediaMissing());
        QCOMPARE(missing.size(), 1);
        QVERIFY(!session.engine()->isLoaded());
        QCOMPARE(Platform::openFileAccessCount(), 0);
        // Typing is still saved.
        session.setTranscript(QStringLiteral("still typing"));
        QVERIFY(session.close());
        QCOMPARE(stored(project).transcript, QStringLiteral("still typing"));
    }
}

void tst_TranscriptionSession::start_loadsAtRememberedPositionAndRate()
{
    const QString audio = copyFixture(QStringLiteral("speech.m4a"), QStringLiteral("a.m4a"));
    TranscriptionSession session(newProject(audio), m_store, silentEngine());
    session.start();
    QVERIFY(session.isStarting());
    QVERIFY(waitForStart(session));
    QVERIFY(!session.isStarting());
    QVERIFY(!session.mediaMissing());
    QVERIFY(session.engine()->isLoaded());
    QCOMPARE(session.engine()->currentTime(), 2.5);
    QCOMPARE(session.engine()->rate(), 1.3);
    QCOMPARE(Platform::openFileAccessCount(), 1);
    QVERIFY(session.close());
    QVERIFY(!session.engine()->isLoaded());
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_TranscriptionSession::start_staleReferenceIsRenewedAndSavedBeforeLoading()
{
    const QString original = copyFixture(QStringLiteral("speech.wav"), QStringLiteral("old.wav"));
    const Project project = newProject(original);
    const QString moved = m_home->filePath(QStringLiteral("renamed.wav"));
    QVERIFY(QFile::rename(original, moved));

    TranscriptionSession session(project, m_store, silentEngine());
    QSignalSpy saves(&session, &TranscriptionSession::projectChanged);
    // The renewal is saved before the engine has loaded.
    connect(session.engine(), &PlaybackEngine::loadFinished, this,
            [&] { QCOMPARE(saves.size(), 1); });
    session.start();
    QVERIFY(waitForStart(session));
    QVERIFY(session.engine()->isLoaded());

    const Project saved = stored(project);
    QVERIFY(saved.mediaBookmark != project.mediaBookmark);
    const auto access = ProjectStore::resolveBookmark(*saved.mediaBookmark);
    QVERIFY(access);
    QCOMPARE(access->path(), moved);
    QVERIFY(!access->isStale());
    QCOMPARE(saved.mediaFileName, project.mediaFileName); // renewing does not rename
    access->stop();
    session.close();
}

void tst_TranscriptionSession::start_twoStartsRunOneAfterTheOther()
{
    const QString audio = copyFixture(QStringLiteral("speech.flac"), QStringLiteral("a.flac"));
    TranscriptionSession session(newProject(audio), m_store, silentEngine());
    QStringList events;
    connect(session.engine(), &PlaybackEngine::loadFinished, this,
            [&](bool ready) { events << QStringLiteral("loaded %1").arg(ready); });
    connect(&session, &TranscriptionSession::started, this, [&] { events << "started"; });

    int finished = 0;
    session.start([&] { ++finished; });
    session.start([&] { ++finished; });
    QTRY_COMPARE_WITH_TIMEOUT(finished, 2, 10000);
    // Had the second load overtaken the first, the first would never have reported.
    QCOMPARE(events, (QStringList{"loaded 1", "started", "loaded 1", "started"}));
    QVERIFY(!session.isStarting());
    QCOMPARE(Platform::openFileAccessCount(), 1);
    session.close();
}

void tst_TranscriptionSession::close_duringLoadUndoesTheLoad()
{
    const QString audio = copyFixture(QStringLiteral("speech.mp3"), QStringLiteral("a.mp3"));
    TranscriptionSession session(newProject(audio), m_store, silentEngine());
    session.start();
    // Let the start begin its load, then close before the load reports.
    QTRY_VERIFY_WITH_TIMEOUT(Platform::openFileAccessCount() == 1, 2000);
    QVERIFY(session.close());
    QVERIFY(waitForStart(session) || !session.isStarting());
    QTest::qWait(300);
    QVERIFY(!session.engine()->isLoaded());
    QCOMPARE(session.engine()->duration(), 0.0);
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_TranscriptionSession::close_savesLatestTextOnceAndOnlyOnce()
{
    const Project project = newProject();
    TranscriptionSession session(project, m_store, silentEngine());
    QSignalSpy saves(&session, &TranscriptionSession::projectChanged);
    session.setTranscript(QStringLiteral("typed just now"));
    QVERIFY(session.close());
    QCOMPARE(saves.size(), 1);
    QCOMPARE(stored(project).transcript, QStringLiteral("typed just now"));
    QVERIFY(session.close()); // does nothing more
    QTest::qWait(1300);       // the cancelled autosave never runs
    QCOMPARE(saves.size(), 1);
    session.setTranscript(QStringLiteral("after close"));
    QTest::qWait(1300);
    QCOMPARE(saves.size(), 1);
}

void tst_TranscriptionSession::close_failedFinalSaveKeepsSessionOpen()
{
    const QString audio = copyFixture(QStringLiteral("speech.mp3"), QStringLiteral("a.mp3"));
    const Project project = newProject(audio);
    TranscriptionSession session(project, m_store, silentEngine());
    session.start();
    QVERIFY(waitForStart(session));

    const QString folder = m_store->directory();
    QVERIFY(QDir(folder).removeRecursively());
    session.setTranscript(QStringLiteral("the last minutes of typing"));
    QVERIFY(!session.close());
    QCOMPARE(session.saveError(), std::optional<QString>(autosaveMessage()));
    QVERIFY(!session.isClosed());
    QVERIFY(session.engine()->isLoaded()); // still open, nothing released
    QCOMPARE(session.transcript(), QStringLiteral("the last minutes of typing"));

    QVERIFY(QDir().mkpath(folder));
    QVERIFY(session.close());
    QVERIFY(session.isClosed());
    QCOMPARE(session.saveError(), std::nullopt);
    QCOMPARE(stored(project).transcript, QStringLiteral("the last minutes of typing"));
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_TranscriptionSession::saveError_setByFailureClearedBySuccess()
{
    TranscriptionSession session(newProject(), m_store, silentEngine());
    QSignalSpy errors(&session, &TranscriptionSession::saveErrorChanged);
    const QString folder = m_store->directory();
    QVERIFY(QDir(folder).removeRecursively());
    session.setTranscript(QStringLiteral("one"));
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 2000);
    QCOMPARE(session.saveError(), std::optional<QString>(autosaveMessage()));
    QVERIFY(!session.saveNow()); // a second failure changes nothing visible
    QCOMPARE(errors.size(), 1);

    QVERIFY(QDir().mkpath(folder));
    session.setTranscript(QStringLiteral("two"));
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 2, 2000);
    QCOMPARE(session.saveError(), std::nullopt);
    session.close();
}

void tst_TranscriptionSession::insertTimestamp_replacesSelectionAndUndoes()
{
    const QString audio = copyFixture(QStringLiteral("speech.wav"), QStringLiteral("a.wav"));
    TranscriptionSession session(newProject(audio), m_store, silentEngine());

    // Without an editor nothing happens; without media the position is 0.
    session.insertTimestamp();
    QCOMPARE(session.transcript(), QStringLiteral("Hello world"));
    TranscriptEditor editor(session.editorController());
    editor.show();
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(5);
    editor.setTextCursor(cursor);
    session.insertTimestamp();
    QCOMPARE(session.transcript(), QStringLiteral("Hello[00:00:00]  world"));
    QCOMPARE(editor.textCursor().position(), 5 + 11);
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(session.transcript(), QStringLiteral("Hello world"));

    session.start();
    QVERIFY(waitForStart(session));
    session.engine()->seek(4.7);
    cursor = editor.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(11, QTextCursor::KeepAnchor); // "world"
    editor.setTextCursor(cursor);
    QSignalSpy saves(&session, &TranscriptionSession::projectChanged);
    session.insertTimestamp();
    QCOMPARE(session.transcript(), QStringLiteral("Hello [00:00:04] "));
    QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 2000); // the insertion is autosaved
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(session.transcript(), QStringLiteral("Hello world"));
    session.close();
}

void tst_TranscriptionSession::relocateMedia_pointsAtTheNewFile()
{
    const Project project = newProject();
    TranscriptionSession session(project, m_store, silentEngine());
    session.start();
    QVERIFY(waitForStart(session));
    QVERIFY(session.mediaMissing());

    const QString found =
        copyFixture(QStringLiteral("speech.aiff"), QStringLiteral("elsewhere/Found It.aiff"));
    bool done = false;
    session.relocateMedia(found, [&] { done = true; });
    QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
    QVERIFY(!session.mediaMissing());
    QVERIFY(session.engine()->isLoaded());
    const Project saved = stored(project);
    QCOMPARE(saved.mediaFileName, QStringLiteral("Found It.aiff"));
    QVERIFY(saved.mediaBookmark.has_value());
    session.close();
}

void tst_TranscriptionSession::editorGoingAway_keepsItsText()
{
    const Project project = newProject();
    TranscriptionSession session(project, m_store, silentEngine());
    {
        TranscriptEditor editor(session.editorController());
        editor.show();
        QTextCursor cursor = editor.textCursor();
        cursor.movePosition(QTextCursor::End);
        editor.setTextCursor(cursor);
        typeText(&editor, QStringLiteral("!"));
    }
    QCOMPARE(session.transcript(), QStringLiteral("Hello world!"));
    TranscriptEditor again(session.editorController());
    QCOMPARE(again.text(), QStringLiteral("Hello world!"));
    QVERIFY(session.close());
    QCOMPARE(stored(project).transcript, QStringLiteral("Hello world!"));
}

void tst_TranscriptionSession::positionTimer_savesOnlyWhilePlaying()
{
    // The one test that waits through real five-second periods.
    const QString audio = copyFixture(QStringLiteral("speech.mp3"), QStringLiteral("a.mp3"));
    Project project = newProject(audio);
    project.lastPosition = 0;
    project.playbackRate = 1.0;
    TranscriptionSession session(project, m_store, silentEngine());
    session.start();
    QVERIFY(waitForStart(session));
    QSignalSpy saves(&session, &TranscriptionSession::projectChanged);

    session.engine()->play();
    QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 6000);
    const Project saved = stored(project);
    QVERIFY2(saved.lastPosition > 3.5 && saved.lastPosition <= 6.0,
             qPrintable(QString::number(saved.lastPosition)));
    session.engine()->pause(0);
    QTest::qWait(5500);
    QCOMPARE(saves.size(), 1);
    session.close();
}

QTEST_MAIN(tst_TranscriptionSession)
#include "tst_TranscriptionSession.moc"
