// The application as a whole, made by its composition root over a temporary data folder and the
// libmpv engine (silent output) on recordings: the welcome screen, the working screen of an open
// project, every command, the Escape key, export, and the ways of quitting.
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "Command.h"
#include "DictaroApp.h"
#include "ElidedLabel.h"
#include "ExportSheet.h"
#include "GoToTimeDialog.h"
#include "MainWindow.h"
#include "PlaybackEngine.h"
#include "SettingsWindow.h"
#include "ShortcutsWindow.h"
#include "SpeakerCompleter.h"
#include "SpeakersSheet.h"
#include "SpellChecker.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"
#include "WelcomeView.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <clocale>
#include <csignal>
#include <sys/resource.h>

using namespace dictaro;
using Command = AppActions::Command;

class tst_MainWindow : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    std::unique_ptr<DictaroApp> m_app;
    QString m_saveAnswer; // what the export's save dialog answers
    QString m_locateAnswer;

    AppState& state() { return m_app->appState(); }
    MainWindow& window() { return m_app->mainWindow(); }
    QAction* action(Command command) { return window().actions().action(command); }
    ProjectStore& store() { return state().store(); }
    QWidget* shown() { return window().findChild<QStackedWidget*>()->currentWidget(); }

    TranscriptionSession& openProject(const QString& fileName = QStringLiteral("talk.wav"),
                                      const QString& fixture = QStringLiteral("speech.wav"))
    {
        const QString path = m_home->filePath(fileName);
        test::copyFixture(fixture, path);
        state().openAudioFile(path);
        TranscriptionSession* session = state().currentSession();
        if (!session || !QTest::qWaitFor([&] { return session->engine()->isLoaded(); }, 5000))
            qFatal("the project did not open");
        return *session;
    }
    TranscriptEditor* editor() { return window().findChild<TranscriptEditor*>(); }
    // What a screen reader reads of `object`.
    static QString readAloud(QObject* object, QAccessible::Text text = QAccessible::Name)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(text) : QStringLiteral("<no interface>");
    }
    // Closes the open project, lets its screen go, and opens the project `id`.
    void reopen(const QUuid& id)
    {
        state().closeProject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state().openProject(id);
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
    }
    void breakStore() { QVERIFY(test::blockFolder(store().directory())); }

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        ExportSheet::setSaveDialogForTesting(
            [this](QWidget*, const QString&, ExportFormat) { return m_saveAnswer; });
        TranscriptionView::setLocateFileDialogForTesting(
            [this](QWidget*) { return m_locateAnswer; });
    }

    void init()
    {
        m_home.emplace();
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
        // Neither the welcome screen nor a transcript with no words loads a dictionary; the
        // first words do, in the background.
        QVERIFY(!m_app->spelling().isLoading() && !m_app->spelling().hasDictionary());
        const QString name = QStringLiteral("<h1>Big<h1> & <i>x");
        TranscriptionSession& session = openProject(name + QStringLiteral(".wav"));
        QVERIFY(!m_app->spelling().isLoading() && !m_app->spelling().hasDictionary());
        QVERIFY(qobject_cast<TranscriptionView*>(shown()));
        QCOMPARE(window().windowTitle(), name + QStringLiteral(" — Dictaro"));
        auto* label = shown()->findChild<ElidedLabel*>("projectNameLabel");
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->toolTip(), name.toHtmlEscaped());
        const QUuid id = session.project().id;
        session.setTranscript(QStringLiteral("kept"));
        QVERIFY(m_app->spelling().isLoading() || m_app->spelling().hasDictionary());

        QTest::mouseClick(shown()->findChild<QAbstractButton*>("backButton"), Qt::LeftButton);
        QVERIFY(qobject_cast<WelcomeView*>(shown()));
        QCOMPARE(window().windowTitle(), QStringLiteral("Dictaro"));
        auto* list = shown()->findChild<QListWidget*>("recentList");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), name);
        QCOMPARE(list->item(0)->toolTip(), (name + QStringLiteral(".wav")).toHtmlEscaped());
        // Read aloud as the name with its audio file, which is only painted.
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(list)->child(0);
        QCOMPARE(row->text(QAccessible::Name), name);
        QCOMPARE(row->text(QAccessible::Description), "Audio file: " + name + ".wav");
        // When it was edited, and how far into the six seconds it had got once that is read.
        QTRY_VERIFY(list->item(0)->data(WelcomeView::ProgressRole).toString().endsWith(" · 0 %"));
        QVERIFY(list->item(0)->data(WelcomeView::ProgressRole).toString().startsWith("Edited "));
        QCOMPARE(store().load(id).transcript, QStringLiteral("kept"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(state().currentSession()->project().id, id);
        QCOMPARE(state().currentSession()->transcript(), QStringLiteral("kept"));
    }

    // Every command runs on the open session with the settings as they are (Play/Pause: below);
    // without one, the project commands are disabled.
    void commands_driveTheOpenSession_playerBarAndStatusAreaFollow()
    {
        for (Command command : AppActions::playbackCommands())
            QVERIFY(!action(command)->isEnabled());
        QVERIFY(!action(Command::Save)->isEnabled() && action(Command::Settings)->isEnabled());
        TranscriptionSession& session = openProject();
        PlaybackEngine& engine = *session.engine();
        AppSettings::shared().setSkipSeconds(2);
        engine.seek(3);
        action(Command::SkipBack)->trigger();
        QCOMPARE(engine.currentTime(), 1.0);
        action(Command::SkipForward)->trigger();
        QCOMPARE(engine.currentTime(), 3.0);
        action(Command::Slower)->trigger();
        QCOMPARE(engine.rate(), 0.9);
        action(Command::Faster)->trigger();
        QCOMPARE(engine.rate(), 1.0);
        engine.seek(4.2);
        action(Command::InsertTimestamp)->trigger();
        QCOMPARE(session.transcript(), QStringLiteral("[00:00:04] "));
        action(Command::Save)->trigger();
        QCOMPARE(store().load(session.project().id).transcript, QStringLiteral("[00:00:04] "));

        // The player bar reads its times and speed with what they are, as they change; Tab
        // walks it from left to right.
        const auto read = [this](const char* name) {
            return readAloud(window().findChild<QWidget*>(name));
        };
        engine.seek(1.2);
        QTRY_COMPARE(read("currentTimeLabel"), QStringLiteral("Elapsed 00:01"));
        engine.changeRate(0.5);
        QTRY_COMPARE(read("rateLabel"), QStringLiteral("Playback speed 1.5×"));

        window().findChild<QWidget*>("skipBackButton")->setFocus(Qt::TabFocusReason);
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"skipBackButton", "playPauseButton", "skipForwardButton",
                                     "positionSlider", "slowerButton", "fasterButton"}));

        // The timestamp commands move the caret and playback from stamp to stamp; Go to Time
        // takes a typed time, refuses what is none and stops at the end; the status area counts
        // the words and shows how far into the recording playback is.
        const QString text = QStringLiteral("Hello [00:00:01] one two\n[00:00:03] three");
        session.setTranscript(text);
        auto* words = shown()->findChild<QLabel*>("wordCountLabel");
        auto* share = shown()->findChild<QLabel*>("progressLabel");
        QTRY_COMPARE(words->text(), QStringLiteral("4 words"));
        const auto caret = [this] { return editor()->textCursor().position(); };
        const auto putCaret = [this](int position) {
            QTextCursor cursor = editor()->textCursor();
            cursor.setPosition(position);
            editor()->setTextCursor(cursor);
        };
        const int first = int(text.indexOf("[00:00:01]")) + 10;
        const int second = int(text.indexOf("[00:00:03]")) + 10;
        putCaret(0);
        action(Command::NextTimestamp)->trigger();
        QCOMPARE(caret(), first);
        QCOMPARE(engine.currentTime(), 1.0);
        action(Command::NextTimestamp)->trigger();
        QCOMPARE(caret(), second);
        QCOMPARE(engine.currentTime(), 3.0);
        QCOMPARE(share->text(), QStringLiteral("50 %"));
        action(Command::NextTimestamp)->trigger(); // none further: nothing moves
        QCOMPARE(caret(), second);
        action(Command::PreviousTimestamp)->trigger();
        QCOMPARE(caret(), first);
        QCOMPARE(engine.currentTime(), 1.0);
        putCaret(int(text.size()) - 2); // in "three": the stamp before it on its line
        action(Command::PlayFromTimestamp)->trigger();
        QVERIFY(engine.isPlaying());
        QVERIFY(engine.currentTime() >= 3.0 && engine.currentTime() < 3.5);
        engine.pause(0);

        const auto goTo = [this](const QString& entry) {
            action(Command::GoToTime)->trigger();
            GoToTimeDialog* dialog = nullptr; // the one open; closed ones may not be gone yet
            for (GoToTimeDialog* each : window().findChildren<GoToTimeDialog*>())
                dialog = each->isVisible() ? each : dialog;
            dialog->findChild<QLineEdit*>("timeEntry")->setText(entry);
            dialog->accept();
            return dialog;
        };
        GoToTimeDialog* refused = goTo(QStringLiteral("1:75"));
        QVERIFY(refused->isVisible() && refused->findChild<QWidget*>("timeError")->isVisible());
        refused->reject();
        QTRY_VERIFY(!window().findChild<GoToTimeDialog*>());
        goTo(QStringLiteral("0:04.5"));
        QCOMPARE(engine.currentTime(), 4.5);
        goTo(QStringLiteral("01:12:30"));
        QCOMPARE(engine.currentTime(), engine.duration());
        QCOMPARE(share->text(), QStringLiteral("100 %"));
    }

    // The proofreading commands: a pause that rewinds by the speed, a timestamp where playback
    // stopped, a replay, a loop marked and shown on the player bar until its button clears it,
    // and the line being played shaded and gone to.
    void proofreading_replayLoopStampAndPlayingLine()
    {
        TranscriptionSession& session = openProject();
        PlaybackEngine& engine = *session.engine();
        AppSettings& settings = AppSettings::shared();
        settings.setAutoRewindSeconds(2);
        settings.setRewindFollowsSpeed(true);
        settings.setStampWherePaused(true);
        session.setTranscript(QStringLiteral("[00:00:01] one\n[00:00:03] three\n"));
        action(Command::Slower)->trigger();
        engine.seek(3.9);
        action(Command::PlayPause)->trigger();
        QTRY_VERIFY(engine.currentTime() >= 4.0);
        QVERIFY(!editor()->extraSelections().isEmpty());
        QCOMPARE(editor()->extraSelections().first().cursor.selectionStart(), 15);
        action(Command::PlayPause)->trigger();
        QVERIFY(editor()->extraSelections().isEmpty());
        QCOMPARE(engine.currentTime(), *engine.pausedAt() - 2 * engine.rate());
        action(Command::GoToPlayingLine)->trigger();
        QCOMPARE(editor()->textCursor().position(), 0);
        editor()->moveCursor(QTextCursor::End);
        action(Command::InsertTimestamp)->trigger();
        QVERIFY(session.transcript().endsWith(QStringLiteral("[00:00:04] ")));

        settings.setReplaySeconds(3);
        engine.seek(5.0);
        action(Command::Replay)->trigger();
        QCOMPARE(engine.currentTime(), 2.0);
        QVERIFY(engine.isPlaying());
        action(Command::PlayPause)->trigger();

        auto* loopButton = window().findChild<QAbstractButton*>("loopButton");
        engine.seek(1.0);
        action(Command::SetLoopStart)->trigger();
        QVERIFY(!loopButton->isVisible());
        engine.seek(2.5);
        action(Command::SetLoopEnd)->trigger();
        QVERIFY(engine.isLooping() && loopButton->isVisible());
        QVERIFY(loopButton->text().contains(QStringLiteral("00:01")));
        loopButton->click();
        QVERIFY(!engine.isLooping() && !loopButton->isVisible());
    }

    // Escape toggles playback once and never reaches the text, also after a Back that could not
    // save. Escape that closes a menu, the text's context menu or any other popup (a completion
    // list) only closes it, and while the export sheet is up it is the sheet's. Alt and a menu's
    // letter open that menu rather than typing. The shortcuts list names each command by its
    // title, not by its button's sign ("+" for Faster).
    void escape_togglesPlaybackOnce_popupsAndWindowsTakeTheirOwn_shortcutsNameCommands()
    {
        QSignalSpy playing(openProject().engine(), &PlaybackEngine::isPlayingChanged);
        QCompleter completer(QStringList{"Interviewer", "Guest"});
        completer.setWidget(editor());
        for (int popup = 0; popup < 3; ++popup) {
            if (popup == 0)
                QTest::keyClick(editor(), Qt::Key_P, Qt::AltModifier);
            else if (popup == 1)
                emit editor()->customContextMenuRequested(QPoint(4, 4));
            else
                completer.complete();
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }
        QCOMPARE(playing.size(), 0);
        QCOMPARE(editor()->toPlainText(), QString());
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(playing.size(), 1);
        breakStore();
        QTest::mouseClick(shown()->findChild<QAbstractButton*>("backButton"), Qt::LeftButton);
        QVERIFY(qobject_cast<TranscriptionView*>(shown()));
        QVERIFY(state().currentSession()->saveError().has_value());
        QTest::keyClick(editor(), Qt::Key_Escape);
        QCOMPARE(playing.size(), 2);
        action(Command::Export)->trigger();
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!state().isExportPresented());
        QCOMPARE(playing.size(), 2);

        action(Command::KeyboardShortcuts)->trigger();
        const QStringList listing = window().findChild<ShortcutsWindow*>()->listing();
        for (const Command command : {Command::Slower, Command::Faster, Command::Export})
            QVERIFY(listing.contains(Commands::title(command) + u'\t' +
                                     action(command)->shortcut().toString()));

        // The settings close with their Close button, and with Escape also from a field of the
        // Keys page, which does not take Escape as a key.
        action(Command::Settings)->trigger();
        auto* settings = window().findChild<SettingsWindow*>();
        settings->findChild<QAbstractButton*>("closeSettingsButton")->click();
        QVERIFY(!settings->isVisible());
        action(Command::Settings)->trigger();
        auto* key = settings->findChild<QKeySequenceEdit*>("skipBackKey");
        key->setFocus();
        QTest::keyClick(key, Qt::Key_Escape);
        QVERIFY(!settings->isVisible());
        QCOMPARE(action(Command::SkipBack)->shortcut(), QKeySequence("Ctrl+["));
    }

    // Minimised, the window's position stands still; restored, it moves at every tick.
    // Meanwhile the engine's position is where playback is.
    void minimised_positionStandsStill()
    {
        PlaybackEngine& engine = *openProject().engine();
        window().showMinimized();
        QVERIFY(!window().isOnScreen());
        QSignalSpy times(&engine, &PlaybackEngine::currentTimeChanged);
        engine.play();
        QTest::qWait(1600);
        QVERIFY2(times.isEmpty(), qPrintable(QString::number(times.count())));
        // What acts on the position (here a pause without rewind) acts on where playback is.
        engine.pause(0.0);
        QVERIFY2(engine.currentTime() > 1.3, qPrintable(QString::number(engine.currentTime())));
        engine.play();
        window().showNormal();
        QVERIFY(window().isOnScreen());
        times.clear();
        QTRY_VERIFY(times.count() >= 4);
    }

    // A project continues where its caret and scroll bar were left (kept in the settings, not
    // the project); the first time at the end of the text. A place beyond a text shortened
    // elsewhere goes to its end; a deleted project's place is forgotten.
    void reopening_continuesAtTheCaretAndScrollLeft()
    {
        TranscriptionSession& session = openProject();
        const QUuid id = session.project().id;
        session.setTranscript(QStringLiteral("[00:00:01] a line\n").repeated(300));
        state().closeProject();
        AppSettings::forgetTextPlace(id); // as for a project never opened here
        reopen(id);
        QCOMPARE(editor()->textCursor().position(), 300 * 18);
        QTextCursor caret(editor()->document());
        caret.setPosition(150 * 18);
        editor()->setTextCursor(caret);
        editor()->verticalScrollBar()->setValue(20); // the caret out of sight
        const int top = editor()->verticalScrollBar()->value();
        reopen(id);
        QCOMPARE(editor()->textCursor().position(), 150 * 18);
        QCOMPARE(editor()->verticalScrollBar()->value(), top);

        state().currentSession()->setTranscript(QStringLiteral("short"));
        state().closeProject();
        AppSettings::setTextPlace(id, {1000, 1000});
        reopen(id);
        QCOMPARE(editor()->textCursor().position(), 5);
        state().closeProject();
        state().deleteProject(id);
        QVERIFY(!AppSettings::textPlace(id));
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
    // size limit) is reported and leaves the earlier export as it was. The sheet starts with a
    // visible focus on its first control. A missing folder is created when the user agrees; else
    // the save dialog asks again, and nothing fails later.
    void export_writesTheChosenFormat_reportsFailure_makesAMissingFolderOnlyWhenAsked()
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

        const QString deeper = m_home->filePath(QStringLiteral("new/deeper/talk.txt"));
        QStringList answers{"Choose Another Place", "Create Folder"};
        QTimer answering; // answers the questions in turn, and closes any other message
        connect(&answering, &QTimer::timeout, this, [&answers] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            for (QAbstractButton* button : box ? box->buttons() : QList<QAbstractButton*>())
                if (!answers.isEmpty() && button->text() == answers.first())
                    return answers.removeFirst(), button->click();
            if (box)
                box->close();
        });
        answering.start(10);
        int asked = 0;
        ExportSheet::setSaveDialogForTesting([&](QWidget*, const QString& name, ExportFormat) {
            return ++asked == 2 ? QString() : QFileInfo(deeper).path() + u'/' + name;
        });
        for (int round = 0; round < 2; ++round) {
            action(Command::Export)->trigger();
            QTRY_VERIFY(qobject_cast<ExportSheet*>(QApplication::activeModalWidget()));
            QWidget* sheet = QApplication::activeModalWidget();
            QTRY_VERIFY(qobject_cast<QRadioButton*>(QApplication::focusWidget()));
            QVERIFY(sheet->testAttribute(Qt::WA_KeyboardFocusChange));
            sheet->findChild<QAbstractButton*>("plainTextButton")->click();
            QTest::keyClick(sheet->findChild<QAbstractButton*>("exportButton"), Qt::Key_Space);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(QFileInfo::exists(deeper), round == 1);
        }
        QCOMPARE(asked, 3);
        ExportSheet::setSaveDialogForTesting(
            [this](QWidget*, const QString&, ExportFormat) { return m_saveAnswer; });
    }

    // A missing recording is reported and can be located. Sound that stops well before the
    // length the file states (a cut-off copy) is reported rather than passed over in silence.
    void missingAudioIsLocated_earlyEndOfSoundIsReported()
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

        QVERIFY(state().closeProject());
        PlaybackEngine* engine = openProject("cut.mp3", "truncated.mp3").engine();
        auto* banner = shown()->findChild<QWidget*>("playbackErrorBanner");
        QVERIFY(banner && !banner->isVisible());
        engine->seek(engine->duration() / 2 - 0.5); // shortly before the cut
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(banner->isVisible(), 5000);
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
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
