#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "AppState.h"
#include "ImportFlow.h"
#include "ProjectStore.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

class tst_ImportFlow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<PlaybackEngine> m_engine;
    QString m_srt, m_audio;
    QString m_transcript; // what the dialogs answer
    ImportFlow::Dialogs::Choice m_choice = ImportFlow::Dialogs::Choice::Cancel;
    QStringList m_asked; // the dialogs shown, in order
    QStringList m_errors;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_store = std::make_unique<ProjectStore>(m_dir.filePath(u"projects"_s));
        m_engine = test::silentEngine();
        m_audio = m_dir.filePath(u"talk.wav"_s);
        QVERIFY(test::copyFixture(u"speech.wav"_s, m_audio));
        m_srt = m_dir.filePath(u"talk.srt"_s);
        QVERIFY(test::writeFile(m_srt, "1\r\n00:00:02,000 --> 00:00:03,000\r\nSecond\r\n\r\n"
                                       "2\r\n00:00:01,000 --> 00:00:02,000\r\nFirst\r\n"));
        ImportFlow::setDialogsForTesting({
            [this](QWidget*) {
                m_asked << u"transcript"_s;
                return m_transcript;
            },
            [this](QWidget*) {
                m_asked << u"audio"_s;
                return m_audio;
            },
            [this](QWidget*) {
                m_asked << u"append or replace"_s;
                return m_choice;
            },
            [this](QWidget*, const QString& reason) { m_errors << reason; },
        });
    }
    void cleanupTestCase() { ImportFlow::setDialogsForTesting({}); }
    void init()
    {
        m_transcript = m_srt;
        m_asked.clear();
        m_errors.clear();
    }

    // On the welcome screen: the transcript, then its recording, make a new project on disk.
    void welcome_makesAProjectOfBoth()
    {
        AppState state(*m_store, *m_engine);
        ImportFlow::run(nullptr, state);
        QCOMPARE(m_asked, (QStringList{u"transcript"_s, u"audio"_s}));
        TranscriptionSession* session = state.currentSession();
        QVERIFY(session);
        const QString imported = u"[00:00:01] First\n[00:00:02] Second"_s;
        QCOMPARE(session->transcript(), imported);
        QCOMPARE(m_store->load(session->project().id).transcript, imported);
        QCOMPARE(session->project().name, u"talk"_s);
        state.closeProject();
    }

    // In a project: an empty text is replaced at once; otherwise the user chooses, and one undo
    // brings the text back.
    void project_appendsOrReplacesAsOneEdit()
    {
        AppState state(*m_store, *m_engine);
        state.openAudioFile(m_audio);
        TranscriptionSession* session = state.currentSession();
        QVERIFY(session);
        ImportFlow::run(nullptr, state);
        QCOMPARE(m_asked, QStringList{u"transcript"_s});
        QCOMPARE(session->transcript(), u"[00:00:01] First\n[00:00:02] Second"_s);

        session->replaceTranscriptAsEdit(u"Typed by hand"_s);
        m_choice = ImportFlow::Dialogs::Choice::Append;
        m_asked.clear();
        ImportFlow::run(nullptr, state);
        QCOMPARE(m_asked, (QStringList{u"transcript"_s, u"append or replace"_s}));
        QCOMPARE(session->transcript(), u"Typed by hand\n[00:00:01] First\n[00:00:02] Second"_s);
        session->document()->undo();
        QCOMPARE(session->transcript(), u"Typed by hand"_s);

        m_choice = ImportFlow::Dialogs::Choice::Replace;
        ImportFlow::run(nullptr, state);
        QCOMPARE(session->transcript(), u"[00:00:01] First\n[00:00:02] Second"_s);
        session->document()->undo();
        m_choice = ImportFlow::Dialogs::Choice::Cancel;
        ImportFlow::run(nullptr, state);
        QCOMPARE(session->transcript(), u"Typed by hand"_s);
        state.closeProject();
    }

    // What can't be read is said, with its line, and changes nothing.
    void unreadable_changesNothing()
    {
        const QString bad = m_dir.filePath(u"bad.vtt"_s);
        QVERIFY(
            test::writeFile(bad, "WEBVTT\n\n00:01.000 --> 00:02.000\nOk\n\n00:03 --> 00:04\nNo\n"));
        AppState state(*m_store, *m_engine);
        const qsizetype projects = m_store->loadAll().size();
        m_transcript = bad;
        ImportFlow::run(nullptr, state);
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.first().contains(u"Line 6"_s), qPrintable(m_errors.first()));
        QCOMPARE(m_asked, QStringList{u"transcript"_s});
        QVERIFY(!state.currentSession());
        QCOMPARE(m_store->loadAll().size(), projects);
    }
};

QTEST_MAIN(tst_ImportFlow)
#include "tst_ImportFlow.moc"
