// The application as a whole, made by its composition root over a temporary data folder and the
// libmpv engine (silent output) on recordings: the welcome screen, the working screen of an open
// project, every command, the Escape key, export, and the ways of quitting.
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "ElidedLabel.h"
#include "ExportSheet.h"
#include "MainWindow.h"
#include "PlaybackEngine.h"
#include "SpeakerCompleter.h"
#include "SpeakersSheet.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"
#include "WelcomeView.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <csignal>
#include <sys/resource.h>

using namespace dictaro;
using Command = AppActions::Command;

class tst_MainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<DictaroApp> m_app;
    QString m_saveAnswer; // what the export's save dialog answers
    QString m_locateAnswer;

    AppState& state() { return m_app->appState(); }
    MainWindow& window() { return m_app->mainWindow(); }
    QAction* action(Command command) { return window().actions().action(command); }
    ProjectStore& store() { return state().store(); }
    QWidget* shown() { return window().findChild<QStackedWidget*>()->currentWidget(); }

    TranscriptionSession& openProject(const QString& fileName = QStringLiteral("talk.wav"))
    {
        const QString path = m_home->filePath(fileName);
        test::copyFixture(QStringLiteral("speech.wav"), path);
        state().openAudioFile(path);
        TranscriptionSession* session = state().currentSession();
        if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 5000))
            qFatal("the project did not open");
        return *session;
    }
    TranscriptEditor* editor() { return window().findChild<TranscriptEditor*>(); }
    // Saves fail while a plain file stands where the projects folder should be.
    void breakStore()
    {
        QVERIFY(QDir(store().directory()).removeRecursively());
        QFile blocker(store().directory());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
        ExportSheet::setSaveDialogForTesting(
            [this](QWidget*, const QString&, ExportFormat) { return m_saveAnswer; });
        TranscriptionView::setLocateFileDialogForTesting(
            [this](QWidget*) { return m_locateAnswer; });
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", m_home->filePath(QStringLiteral("state")).toUtf8());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home->path());
        AppSettings::resetSharedForTesting();
        start();
    }

    void cleanup() { m_app.reset(); }

private:
    void start()
    {
        m_app = std::make_unique<DictaroApp>(
            m_home->filePath(QStringLiteral("data/Projects")),
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        m_app->show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

private slots:
    // Names from the user's files are shown as typed, never as markup. The screen follows the
    // session: open shows the project, Back saves and lists it first, a click reopens it.
    void screens_followTheSession_namesArePlainText()
    {
        const QString name = QStringLiteral("<h1>Big<h1> & <i>x");
        TranscriptionSession& session = openProject(name + QStringLiteral(".wav"));
        QVERIFY(qobject_cast<TranscriptionView*>(shown()));
        auto* label = shown()->findChild<ElidedLabel*>("projectNameLabel");
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->toolTip(), name.toHtmlEscaped());
        const QUuid id = session.project().id;
        session.setTranscript(QStringLiteral("kept"));

        QTest::mouseClick(shown()->findChild<QAbstractButton*>("backButton"), Qt::LeftButton);
        QVERIFY(qobject_cast<WelcomeView*>(shown()));
        auto* list = shown()->findChild<QListWidget*>("recentList");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), name);
        QCOMPARE(list->item(0)->toolTip(), (name + QStringLiteral(".wav")).toHtmlEscaped());
        QCOMPARE(store().load(id).transcript, QStringLiteral("kept"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(state().currentSession()->project().id, id);
        QCOMPARE(state().currentSession()->transcript(), QStringLiteral("kept"));
    }

    // Every command runs on the open session with the settings as they are; without one, the
    // project commands are disabled.
    void commands_driveTheOpenSession()
    {
        for (Command command : AppActions::playbackCommands())
            QVERIFY(!action(command)->isEnabled());
        QVERIFY(!action(Command::Save)->isEnabled() && action(Command::Settings)->isEnabled());
        TranscriptionSession& session = openProject();
        PlaybackEngine& engine = *session.engine();
        AppSettings::shared().setSkipSeconds(2);
        AppSettings::shared().setAutoRewindSeconds(0.5);
        engine.seek(3);
        action(Command::SkipBack)->trigger();
        QCOMPARE(engine.currentTime(), 1.0);
        action(Command::SkipForward)->trigger();
        QCOMPARE(engine.currentTime(), 3.0);
        action(Command::Slower)->trigger();
        QCOMPARE(engine.rate(), 0.9);
        action(Command::Faster)->trigger();
        QCOMPARE(engine.rate(), 1.0);
        action(Command::PlayPause)->trigger();
        QVERIFY(engine.isPlaying());
        action(Command::PlayPause)->trigger();
        QVERIFY(!engine.isPlaying());
        QVERIFY(engine.currentTime() >= 2.5 && engine.currentTime() < 3.0); // the rewind setting

        engine.seek(4.2);
        action(Command::InsertTimestamp)->trigger();
        QCOMPARE(session.transcript(), QStringLiteral("[00:00:04] "));
        action(Command::Save)->trigger();
        QCOMPARE(store().load(session.project().id).transcript, QStringLiteral("[00:00:04] "));
    }

    // Escape toggles playback once and never reaches the text, also after a Back that could not
    // save; while the export sheet is up, Escape is the sheet's.
    void escape_togglesPlayback_evenAfterAFailedBack()
    {
        PlaybackEngine& engine = *openProject().engine();
        QSignalSpy playing(&engine, &PlaybackEngine::isPlayingChanged);
        editor()->setFocus();
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(playing.size(), 2);
        QCOMPARE(editor()->toPlainText(), QString());

        breakStore();
        QTest::mouseClick(shown()->findChild<QAbstractButton*>("backButton"), Qt::LeftButton);
        QVERIFY(qobject_cast<TranscriptionView*>(shown()));
        QVERIFY(state().currentSession()->saveError().has_value());
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(playing.size(), 3);

        action(Command::Export)->trigger();
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!state().isExportPresented());
        QCOMPARE(playing.size(), 3);
    }

    // Alt and a digit start a line for a speaker of the list (on the caret's line when it is
    // empty), with the timestamp while the setting asks for it; Alt+0 switches to the other
    // speaker. Escape in the list of names closes it and leaves playback alone. The speakers
    // sheet renames the labels.
    void speakers_linesSwitchingCompletionAndSheet()
    {
        TranscriptionSession& session = openProject();
        PlaybackEngine& engine = *session.engine();
        session.setTranscript(QStringLiteral("Bo: hey\nAnna: hi\n\nBo: yes"));
        engine.seek(4.2);
        editor()->setFocus();
        editor()->moveCursor(QTextCursor::Start);
        editor()->moveCursor(QTextCursor::Down);
        QTest::keyClick(editor(), Qt::Key_2, Qt::AltModifier);
        QTest::keyClick(editor(), Qt::Key_0, Qt::AltModifier);
        AppSettings::shared().setStampSpeakerLines(false);
        QTest::keyClick(editor(), Qt::Key_0, Qt::AltModifier);
        QTest::keyClick(editor(), Qt::Key_Down);
        QTest::keyClick(editor(), Qt::Key_1, Qt::AltModifier);
        QCOMPARE(session.transcript(), QStringLiteral("Bo: hey\nAnna: hi\n[00:00:04] Anna: \n"
                                                      "[00:00:04] Bo: \nAnna: \nBo: \nBo: yes"));

        QSignalSpy playing(&engine, &PlaybackEngine::isPlayingChanged);
        QTest::keyClick(editor(), Qt::Key_Return);
        QTest::keyClick(editor(), Qt::Key_A);
        QAbstractItemView* names = editor()->speakerCompleter()->completer()->popup();
        QTRY_VERIFY(names->isVisible());
        QTest::keyClick(names, Qt::Key_Escape);
        QVERIFY(!names->isVisible());
        QCOMPARE(playing.size(), 0);

        action(Command::EditSpeakers)->trigger();
        auto* sheet = window().findChild<SpeakersSheet*>();
        QTRY_VERIFY(sheet && sheet->isVisible());
        sheet->list()->item(0)->setText(QStringLiteral("Bob"));
        sheet->accept();
        QCOMPARE(session.speakers(), (QStringList{"Bob", "Anna"}));
        QCOMPARE(session.transcript(),
                 QStringLiteral("Bob: hey\nAnna: hi\n[00:00:04] Anna: \n"
                                "[00:00:04] Bob: \nAnna: \nBob: \na\nBob: yes"));
    }

    // The live text is exported in the chosen format; a write that fails halfway (under a file
    // size limit) is reported and leaves the earlier export as it was.
    void export_writesTheChosenFormatOrReportsFailure()
    {
        TranscriptionSession& session = openProject();
        session.setTranscript(QStringLiteral("[00:00:05] Grüße"));
        const QString path = m_home->filePath(QStringLiteral("talk.md"));
        m_saveAnswer = path;
        const auto exportIt = [this] {
            action(Command::Export)->trigger();
            auto* sheet = window().findChild<ExportSheet*>();
            sheet->findChild<QAbstractButton*>("markdownButton")->click();
            sheet->findChild<QAbstractButton*>("includeTimestampsBox")->click();
            sheet->findChild<QAbstractButton*>("exportButton")->click();
        };
        const auto written = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        exportIt();
        QCOMPARE(written(), QStringLiteral("# talk\n\nGrüße").toUtf8());
        // The next export starts with the last choice.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed sheet
        action(Command::Export)->trigger();
        QTRY_VERIFY(qobject_cast<ExportSheet*>(QApplication::activeModalWidget()));
        auto* again = qobject_cast<ExportSheet*>(QApplication::activeModalWidget());
        QCOMPARE(again->format(), ExportFormat::Markdown);
        QVERIFY(!again->includesTimestamps());
        again->reject();

        session.setTranscript(QString(20000, u'x'));
        QString alert;
        QTimer::singleShot(0, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                alert = box->text();
                box->accept();
            }
        });
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, old.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        exportIt();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(alert, QStringLiteral("Export failed"));
        QCOMPARE(written(), QStringLiteral("# talk\n\nGrüße").toUtf8());
    }

    void locateFile_reloadsTheMissingAudio()
    {
        TranscriptionSession& session = openProject();
        QVERIFY(QFile::remove(m_home->filePath(QStringLiteral("talk.wav"))));
        QSignalSpy started(&session, &TranscriptionSession::started);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.mediaMissing(), 5000);
        QVERIFY(shown()->findChild<QWidget*>("mediaMissingBanner")->isVisible());
        m_locateAnswer = m_home->filePath(QStringLiteral("found.wav"));
        test::copyFixture(QStringLiteral("speech.wav"), m_locateAnswer);
        QTest::mouseClick(shown()->findChild<QAbstractButton*>("locateFileButton"), Qt::LeftButton);
        QVERIFY(started.wait(5000));
        QVERIFY(!shown()->findChild<QWidget*>("mediaMissingBanner")->isVisible());
        QVERIFY(session.engine()->isLoaded());
        QCOMPARE(session.project().mediaFileName, QStringLiteral("found.wav"));
    }

    // Quitting saves; when it cannot, the user is asked. A quit signal repeated while the text
    // cannot be saved ends the application but keeps the text for the next start.
    void quit_savesOrAsks_repeatedSignalKeepsTheText()
    {
        TranscriptionSession& session = openProject();
        const QUuid id = session.project().id;
        session.setTranscript(QStringLiteral("typed before quitting"));
        breakStore();
        int asked = 0;
        window().setQuitWithoutSavingQuestion([&] { return ++asked > 1; });
        m_app->quitRequested();
        QCOMPARE(asked, 1);
        QVERIFY(window().isVisible() && !session.isClosed());
        m_app->quitRequested();
        QCOMPARE(asked, 1);
        QVERIFY(session.isClosed());
        m_app.reset();

        QVERIFY(QFile::remove(m_home->filePath(QStringLiteral("data/Projects"))));
        start();
        QCOMPARE(state().recoveries().size(), 1);
        QCOMPARE(state().recoveries().first().id, id);
        QCOMPARE(state().recoveries().first().transcript, QStringLiteral("typed before quitting"));

        state().discardRecovery(id);
        TranscriptionSession& next = openProject();
        next.setTranscript(QStringLiteral("saved on quit"));
        QVERIFY(window().close());
        QCOMPARE(store().load(next.project().id).transcript, QStringLiteral("saved on quit"));
    }

    // Sound that stops well before the length the file states (a cut-off copy) is reported on
    // the screen rather than passed over in silence.
    void earlyEndOfSound_showsABanner()
    {
        const QString path = m_home->filePath(QStringLiteral("cut.mp3"));
        QVERIFY(test::copyFixture(QStringLiteral("truncated.mp3"), path));
        state().openAudioFile(path);
        QVERIFY(state().currentSession());
        PlaybackEngine* engine = state().currentSession()->engine();
        QTRY_VERIFY_WITH_TIMEOUT(engine->isLoaded(), 5000);
        auto* banner = shown()->findChild<QWidget*>("playbackErrorBanner");
        QVERIFY(banner && !banner->isVisible());
        engine->seek(engine->duration() / 2 - 0.5); // shortly before the cut
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(banner->isVisible(), 5000);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
