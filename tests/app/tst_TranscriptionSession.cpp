// The session with its real pieces: the libmpv engine on recorded fixtures (silent output), a
// store in a temporary folder, and an editor on the session's document driven by key events.
#include "Localization.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

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

// One paragraph of at least `size` characters: stamps, accents, emoji.
QString paragraph(qsizetype size)
{
    QString text;
    for (int i = 0; text.size() < size; ++i)
        text += QStringLiteral("[00:%1:%2] Zürich, \U0001F600 dedi ve güldü; ")
                    .arg(i / 60 % 60, 2, 10, QChar(u'0'))
                    .arg(i % 60, 2, 10, QChar(u'0'));
    return text;
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

    std::optional<test::TemporaryHome> m_home;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<PlaybackEngine> m_engine;

    // A project remembered at 2.5 s and 1.3x, on a copy of speech.<extension> if one is given
    // (without one, there is no file to refer to).
    Project newProject(const QString& extension = {})
    {
        const QString audio = m_home->filePath(QStringLiteral("a.") + extension);
        test::copyFixture(QStringLiteral("speech.") + extension, audio);
        Project project;
        project.id = QUuid::createUuid();
        project.name = QStringLiteral("Interview");
        project.mediaBookmark = ProjectStore::makeBookmark(audio);
        project.mediaFileName = QStringLiteral("speech.mp3");
        project.transcript = QStringLiteral("Hello world");
        project.lastPosition = 2.5;
        project.playbackRate = 1.3;
        project.createdAt = project.updatedAt = QDateTime::currentDateTimeUtc();
        return project;
    }
    std::unique_ptr<TranscriptionSession> session(const Project& project)
    {
        return std::make_unique<TranscriptionSession>(project, *m_store, *m_engine);
    }
    Project stored(const TranscriptionSession& session) const
    {
        return m_store->load(session.project().id);
    }

private slots:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void init()
    {
        m_home.emplace();
        m_store = std::make_unique<ProjectStore>(m_home->filePath(QStringLiteral("data/Projects")));
        m_engine = test::silentEngine();
    }

    // A burst of typing is saved once, a second after it ends; typing that never pauses is
    // still saved within five seconds.
    void typing_isSavedAfterAPauseAndWhileItGoesOn()
    {
        auto s = session(newProject());
        TranscriptEditor editor(s->document());
        editor.show();
        QSignalSpy saves(s.get(), &TranscriptionSession::projectChanged);
        typeAtEnd(editor, QStringLiteral(" again"));
        QTest::qWait(700);
        QCOMPARE(saves.size(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 1500);
        QCOMPARE(stored(*s).transcript, QStringLiteral("Hello world again"));

        // A character every 0.4 s for 6 s: never a one-second pause.
        for (int i = 0; i < 15; ++i) {
            typeAtEnd(editor, QStringLiteral("."));
            QTest::qWait(400);
        }
        QVERIFY2(saves.size() >= 2, "continuous typing was never saved");
        QVERIFY(stored(*s).transcript.startsWith(QStringLiteral("Hello world again.")));
        QVERIFY(s->close());
        QCOMPARE(stored(*s).transcript, QStringLiteral("Hello world again") + QString(15, u'.'));
    }

    // No reference, or one to a deleted file: typing is still saved, and so are the remembered
    // position and rate (not the empty engine's).
    void start_missingReferenceOrFileReportsMediaMissing_closeDuringLoadUndoesIt()
    {
        const Project deleted = newProject(QStringLiteral("mp3"));
        QVERIFY(QFile::remove(m_home->filePath(QStringLiteral("a.mp3"))));
        for (const Project& project : {newProject(), deleted}) {
            auto s = session(project);
            QVERIFY(startAndWait(*s));
            QVERIFY(s->mediaMissing() && !s->engine()->isLoaded());
            s->setTranscript(QStringLiteral("still typing"));
            QVERIFY(s->close());
            const Project saved = stored(*s);
            QCOMPARE(saved.transcript, QStringLiteral("still typing"));
            QCOMPARE(saved.lastPosition, 2.5);
            QCOMPARE(saved.playbackRate, 1.3);
        }

        // Closing while the recording loads undoes the load.
        auto s = session(newProject(QStringLiteral("mp3")));
        QSignalSpy started(s.get(), &TranscriptionSession::started);
        s->start();
        QCoreApplication::processEvents(); // the start begins its load
        QVERIFY(s->close());
        QVERIFY(started.wait(5000));
        QTest::qWait(300);
        QVERIFY(!s->engine()->isLoaded());
    }

    // A moved file is found, its reference renewed and saved; it loads at the remembered
    // position and rate. Relocating to a file that does not exist keeps the good reference.
    // A timestamp then replaces the selection as one edit of its own: one undo takes exactly it
    // back, not the typing before it.
    void start_staleReferenceIsRenewed_badRelocationKeepsIt_timestampIsOneEdit()
    {
        const Project project = newProject(QStringLiteral("wav"));
        const QString moved = m_home->filePath(QStringLiteral("renamed.wav"));
        QVERIFY(QFile::rename(m_home->filePath(QStringLiteral("a.wav")), moved));
        auto s = session(project);
        QVERIFY(startAndWait(*s));
        QVERIFY(s->engine()->isLoaded());
        QCOMPARE(s->engine()->currentTime(), 2.5);
        QCOMPARE(s->engine()->rate(), 1.3);
        const Project saved = stored(*s);
        QCOMPARE(ProjectStore::resolveBookmark(*saved.mediaBookmark)->path(), moved);
        QCOMPARE(saved.mediaFileName, project.mediaFileName); // renewing does not rename

        QSignalSpy started(s.get(), &TranscriptionSession::started);
        s->relocateMedia(m_home->filePath(QStringLiteral("nowhere.wav")));
        QVERIFY(started.wait(5000));
        QCOMPARE(stored(*s).mediaBookmark, saved.mediaBookmark);
        QVERIFY(s->engine()->isLoaded() && !s->mediaMissing());

        TranscriptEditor editor(s->document());
        editor.show();
        s->engine()->seek(4.7);
        typeAtEnd(editor, QStringLiteral("!"));
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(6);
        cursor.setPosition(11, QTextCursor::KeepAnchor); // "world"
        s->insertTimestamp(cursor);
        QCOMPARE(s->transcript(), QStringLiteral("Hello [00:00:04] !"));
        QCOMPARE(cursor.position(), 6 + 11);
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s->transcript(), QStringLiteral("Hello world!"));
        QVERIFY(s->close());
    }

    // A failing store: the autosave reports it, the final save fails too and keeps everything;
    // once the folder can be written again the retry saves without another edit, making the
    // deleted projects folder again, and the banner text goes away.
    void saveError_retriesUntilTheFolderWorksAgain()
    {
        auto s = session(newProject(QStringLiteral("mp3")));
        QVERIFY(startAndWait(*s));
        QVERIFY(test::blockFolder(m_store->directory()));
        s->setTranscript(QStringLiteral("the last minutes of typing"));
        QTRY_VERIFY_WITH_TIMEOUT(s->saveError().has_value(), 2000);
        QCOMPARE(*s->saveError(),
                 Localization::tr(
                     "Autosave failed. Your text is kept in memory; saving will be retried."));
        QVERIFY(!s->close());
        QVERIFY(!s->isClosed() && s->engine()->isLoaded()); // nothing released

        QVERIFY(QFile::remove(m_store->directory()));
        QTRY_COMPARE_WITH_TIMEOUT(s->saveError(), std::nullopt, 5000);
        QCOMPARE(stored(*s).transcript, QStringLiteral("the last minutes of typing"));
        QVERIFY(s->close());
    }

    // The speakers are learned from the labels when the project opens and as lines are finished,
    // not while a line is typed; the user's list is saved; a rename changes every label at a
    // line start as one undo step.
    void speakers_learnedFromLabelsAndRenamedAsOneEdit()
    {
        Project project = newProject();
        project.speakers = {QStringLiteral("Cy")};
        project.transcript = QStringLiteral("Bo: hi\nAnna: so Bo: no");
        auto s = session(project);
        QCOMPARE(s->speakers(), (QStringList{"Cy", "Bo", "Anna"}));
        s->setSpeakers({"Cy"});
        TranscriptEditor editor(s->document()); // lays the text out and formats it: no edit
        typeAtEnd(editor, QStringLiteral("."));
        QCOMPARE(s->speakers(), QStringList{"Cy"});
        QTest::keyClick(&editor, Qt::Key_Return);
        typeAtEnd(editor, QStringLiteral("Dee: "));
        QCOMPARE(s->speakers(), (QStringList{"Cy", "Anna"}));
        QTest::keyClick(&editor, Qt::Key_Return);
        QCOMPARE(s->speakers(), (QStringList{"Cy", "Anna", "Dee"}));

        s->renameSpeakers({{"Bo", "Bob"}, {"Dee", "Dee"}}, {"Bob", "Anna", "Dee"});
        QCOMPARE(s->transcript(), QStringLiteral("Bob: hi\nAnna: so Bo: no.\nDee: \n"));
        QVERIFY(s->saveNow());
        QCOMPARE(stored(*s).speakers, (QStringList{"Bob", "Anna", "Dee"}));
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s->transcript(), QStringLiteral("Bo: hi\nAnna: so Bo: no.\nDee: \n"));
    }

    // A big paste (a long paragraph and lines after it) goes in slice by slice with its
    // progress on screen, is saved by the autosave without another edit, and the file is byte
    // for byte the encoding of exactly the text pasted. One undo takes all of it back.
    void bigPaste_reachesTheDiskByteForByte()
    {
        auto s = session(newProject());
        TranscriptEditor editor(s->document());
        editor.show();
        const QString pasted = paragraph(6'000'000) + QStringLiteral("\nline two\r\n\nend");
        QGuiApplication::clipboard()->setText(pasted);
        editor.moveCursor(QTextCursor::End);
        QList<int> shown; // the progress, when the bar showed it
        connect(&editor, &TranscriptEditor::pasteProgress, this, [&](int percent) {
            const auto* bar = editor.findChild<QProgressBar*>(QStringLiteral("pasteProgress"));
            if (bar && bar->isVisible() && bar->value() == percent)
                shown << percent;
        });
        QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(shown.size(), int(pasted.size() / TranscriptEditor::pasteSliceLength) + 2);
        QCOMPARE(shown.first(), 0);
        QCOMPARE(shown.last(), 100);
        QVERIFY(!editor.findChild<QProgressBar*>());
        const QString expected =
            QStringLiteral("Hello world") + QString(pasted).replace(QStringLiteral("\r\n"), "\n");
        QCOMPARE(s->transcript(), expected);

        // Read only once the autosave has written it.
        const auto storedText = [&] {
            try {
                return stored(*s).transcript;
            } catch (const StoreError&) {
                return QString();
            }
        };
        QTRY_COMPARE_WITH_TIMEOUT(storedText(), expected, 20000);
        QFile file(m_store->filePath(s->project().id));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), encodeProject(stored(*s)));
        editor.undo();
        QCOMPARE(s->transcript(), QStringLiteral("Hello world"));
        QVERIFY(s->close());
        QGuiApplication::clipboard()->clear();
    }

    // The project's sound reaches the engine when it opens; a change is saved like an edit, and
    // the next project brings its own sound without the first one taking it.
    void sound_isAppliedOnOpenAndSavedWhenChanged()
    {
        Project project = newProject(QStringLiteral("wav"));
        project.sound = {150.0, Channels::Left, true};
        auto s = session(project);
        QVERIFY(startAndWait(*s));
        QCOMPARE(m_engine->sound(), project.sound);
        QSignalSpy saves(s.get(), &TranscriptionSession::projectChanged);
        m_engine->changeVolume(-SoundSettings::volumeStep);
        m_engine->setChannels(Channels::Right);
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 2500);
        QCOMPARE(stored(*s).sound, (SoundSettings{140.0, Channels::Right, true}));
        QVERIFY(s->close());

        auto next = session(newProject(QStringLiteral("wav")));
        QVERIFY(startAndWait(*next));
        QCOMPARE(m_engine->sound(), SoundSettings());
        QCOMPARE(stored(*s).sound.volume, 140.0);
        QVERIFY(next->close());
        QCOMPARE(stored(*next).sound, SoundSettings());
    }

    // The position is saved every five seconds while playing, not while paused (the one test
    // that waits through real five-second periods).
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
        // Paused, nothing of the session wakes the window; playing again saves again.
        for (const QTimer* timer : s->findChildren<QTimer*>())
            QVERIFY(!timer->isActive());
        s->engine()->seek(0);
        s->engine()->play();
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 2, 6000);
    }
};

QTEST_MAIN(tst_TranscriptionSession)
#include "tst_TranscriptionSession.moc"
