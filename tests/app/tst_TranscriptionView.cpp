// The working screen of an open project (transcription view, its player bar and export sheet)
// over a real AppState and store in a temporary folder, with sessions on the libmpv engine
// (silent output) and recorded fixtures.
#include "AppSettings.h"
#include "AppState.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"
#include "TranscriptionSession.h"
#include "views/ExportSheet.h"
#include "views/TranscriptionView.h"
#include "views/ViewEnvironment.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <clocale>

using namespace dictaro;

class tst_TranscriptionView : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    QString m_locateAnswer; // what the Locate File… dialog answers
    QString m_saveAnswer;   // what the export's save dialog answers, and what it was asked
    QString m_suggestedName;
    int m_saveDialogs = 0;
    bool m_sheetGoneWhenAsked = false;
    QStringList m_alerts; // the message boxes answered

    QString audioFile(const QString& name, const QString& fixture = "speech.wav")
    {
        const QString path = m_home->filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        test::copyFixture(fixture, path);
        return path;
    }
    // Opens a project on a copy of the recording (removed again when `missing`) and shows it.
    Project open(const QString& text = {}, bool missing = false)
    {
        const QString audio =
            audioFile(QUuid::createUuid().toString(QUuid::Id128) + "/Interview.wav");
        m_state->openAudioFile(audio);
        if (missing)
            QFile::remove(audio);
        m_state->currentSession()->setTranscript(text);
        showWindow();
        return m_state->currentSession()->project();
    }
    void showWindow()
    {
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    QWidget* find(const char* name) { return m_window->findChild<QWidget*>(name); }
    bool isShown(const char* name) { return find(name) && find(name)->isVisible(); }
    void click(const char* button, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(find(button), Qt::LeftButton);
    }
    TranscriptEditor* editor() { return m_window->findChild<TranscriptEditor*>(); }
    PlaybackEngine* engine() { return m_state->currentSession()->engine(); }
    bool loaded()
    {
        return QTest::qWaitFor([this] { return engine()->isLoaded(); }, 5000);
    }
    void type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, editor(), Qt::Key_unknown, ch, Qt::NoModifier);
    }
    // Raises the application state's flag and returns the sheet the screen then shows.
    ExportSheet* presentExport()
    {
        m_state->setExportPresented(true);
        for (ExportSheet* sheet : m_window->findChildren<ExportSheet*>())
            if (sheet->isVisible())
                return sheet;
        qFatal("no export sheet shown");
        return nullptr;
    }
    // Answers the message box that a failed export shows, and notes what it said.
    void answerAlerts()
    {
        QTimer::singleShot(0, m_window.get(), [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_alerts << box->text();
                box->accept();
            }
        });
    }
    // Exports go to the folder "out", apart from the store.
    QString out(const QString& name = {}) const { return m_home->filePath("out/" + name); }
    QStringList outEntries() const
    {
        return QDir(out()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
        TranscriptionView::setLocateFileDialogForTesting(
            [this](QWidget*) { return m_locateAnswer; });
        ExportSheet::setSaveDialogForTesting(
            [this](QWidget* parent, const QString& name, ExportFormat) {
                ++m_saveDialogs;
                m_suggestedName = name;
                m_sheetGoneWhenAsked = parent == m_window.get() && !m_state->isExportPresented();
                return m_saveAnswer;
            });
    }
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QDir(m_home->path()).mkdir("out");
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           m_home->filePath("Settings"));
        AppSettings::resetSharedForTesting();
        m_store = std::make_shared<ProjectStore>(m_home->filePath("Projects"));
        m_state = std::make_unique<AppState>(m_store, test::silentEngine);
        m_window = std::make_unique<QWidget>();
        ViewEnvironment::setAppState(m_window.get(), m_state.get());
        (new QVBoxLayout(m_window.get()))->addWidget(new TranscriptionView(m_window.get()));
        m_window->resize(720, 480);
        m_locateAnswer.clear();
        m_saveAnswer.clear();
        m_saveDialogs = 0;
        m_alerts.clear();
    }
    void cleanup()
    {
        m_window.reset();
        m_state.reset();
    }

    void show_startsTheSession()
    {
        // Opened while the window is hidden: nothing starts until the screen is shown.
        m_state->openAudioFile(audioFile("Lecture.wav"));
        QTest::qWait(50);
        QVERIFY(!m_state->currentSession()->isStarting());
        QVERIFY(!engine()->isLoaded());
        showWindow();
        QVERIFY(loaded());
        for (const char* banner : {"mediaMissingBanner", "loadErrorBanner", "saveErrorBanner"})
            QVERIFY2(!isShown(banner), banner);
        QVERIFY(editor()->hasFocus());
    }

    void missingAudio_locateFileReloadsIt()
    {
        const Project project = open({}, true);
        QTRY_VERIFY_WITH_TIMEOUT(isShown("mediaMissingBanner"), 5000);
        // Nothing loaded: the player bar is disabled and ignores clicks.
        QVERIFY(!find("playPauseButton")->isEnabled());
        QVERIFY(!find("positionSlider")->isEnabled());
        click("fasterButton");
        QCOMPARE(engine()->rate(), 1.0);

        click("locateFileButton"); // cancelled: nothing changes
        QTest::qWait(100);
        QVERIFY(isShown("mediaMissingBanner"));
        QVERIFY(!engine()->isLoaded());

        // A file chosen: loaded, banner gone, the new place remembered.
        m_locateAnswer = audioFile("found/Found It.flac", "speech.flac");
        click("locateFileButton");
        QVERIFY(loaded());
        QVERIFY(!isShown("mediaMissingBanner"));
        QVERIFY(find("playPauseButton")->isEnabled());
        QCOMPARE(m_store->load(project.id).mediaFileName, QStringLiteral("Found It.flac"));
    }

    void banners_stackInOrder()
    {
        open({}, true);
        QTRY_VERIFY_WITH_TIMEOUT(isShown("mediaMissingBanner"), 5000);
        QVERIFY(QDir(m_store->directory()).removeRecursively()); // the next autosave fails
        type("x");
        QTRY_VERIFY_WITH_TIMEOUT(isShown("saveErrorBanner"), 3000);
        QVERIFY(find("mediaMissingBanner")->y() < find("saveErrorBanner")->y());
        QVERIFY(find("saveErrorBanner")->y() < editor()->y());

        // A file that cannot be played replaces the missing-file banner, above the save error.
        m_locateAnswer = audioFile("notes.mp3", "notes.mp3");
        click("locateFileButton");
        QTRY_VERIFY_WITH_TIMEOUT(isShown("loadErrorBanner"), 5000);
        QVERIFY(!isShown("mediaMissingBanner"));
        QVERIFY(find("loadErrorBanner")->y() < find("saveErrorBanner")->y());
        QVERIFY(!find("playPauseButton")->isEnabled()); // a failed load leaves the bar disabled

        QVERIFY(QDir().mkpath(m_store->directory())); // saving works again
        type("y");
        QTRY_VERIFY_WITH_TIMEOUT(!isShown("saveErrorBanner"), 3000);
    }

    void timestampClick_seeksWithinTheAudio()
    {
        open("[00:00:04] hello [00:01:00] end");
        QVERIFY(loaded());
        auto clickAt = [this](int position) {
            QTextCursor cursor(editor()->document());
            cursor.setPosition(position);
            const QPoint at = editor()->cursorRect(cursor).center() + QPoint(2, 0);
            QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, at);
        };
        clickAt(3);
        QCOMPARE(engine()->currentTime(), 4.0);
        clickAt(20); // a minute: beyond the end of the six seconds
        QCOMPARE(engine()->currentTime(), engine()->duration());
    }

    void back_savesAndListsTheProjectFirst()
    {
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
        m_store->save(Project{QUuid::createUuid(), "Newer", {}, "x.mp3", {}, 0, 1, before, before});
        const Project project = open();
        QVERIFY(loaded());
        QTest::keyClick(editor(), Qt::Key_Escape); // playing while leaving
        type("typed just now");
        click("backButton");
        QVERIFY(m_state->currentSession() == nullptr);
        QCOMPARE(m_state->recentProjects().size(), 2);
        QCOMPARE(m_state->recentProjects().first().id, project.id);
        QCOMPARE(m_state->recentProjects().first().transcript, QStringLiteral("typed just now"));
        QTRY_VERIFY(!editor()); // the screen is gone
    }

    void back_failedFinalSaveKeepsTheScreen()
    {
        open();
        type("must not be lost");
        QVERIFY(QDir(m_store->directory()).removeRecursively());
        click("backButton");
        QVERIFY(m_state->currentSession() != nullptr);
        QVERIFY(isShown("saveErrorBanner"));

        QVERIFY(QDir().mkpath(m_store->directory()));
        click("backButton");
        QVERIFY(m_state->currentSession() == nullptr);
        QCOMPARE(m_state->recentProjects().first().transcript, QStringLiteral("must not be lost"));
    }

    void switchingProjects_leavesTheNewOneOpen()
    {
        open("one");
        const Project second = open("two");
        QCOMPARE(m_state->currentSession()->project().id, second.id);
        QVERIFY(!m_state->currentSession()->isClosed());
        QVERIFY(loaded());
        QCOMPARE(editor()->text(), QStringLiteral("two"));
    }

    void playerBar_skipAndRateStayWithinTheirLimits()
    {
        open();
        QVERIFY(loaded());
        AppSettings::shared().setSkipSeconds(5.0);
        engine()->seek(3.0);
        click("skipBackButton");
        QCOMPARE(engine()->currentTime(), 0.0);
        click("skipForwardButton", 2);
        QCOMPARE(engine()->currentTime(), engine()->duration());
        AppSettings::shared().setSkipSeconds(1.5); // read when the button is clicked
        click("skipBackButton");
        QCOMPARE(engine()->currentTime(), engine()->duration() - 1.5);

        click("slowerButton", 6);
        QCOMPARE(engine()->rate(), 0.5);
        QCOMPARE(find("rateLabel")->property("text").toString(), QStringLiteral("0.5x"));
        click("fasterButton", 16);
        QCOMPARE(engine()->rate(), 2.0);
        QCOMPARE(find("rateLabel")->property("text").toString(), QStringLiteral("2.0x"));
    }

    void playerBar_heldSliderIsNotMovedByTicks()
    {
        open();
        QVERIFY(loaded());
        auto* slider = m_window->findChild<QSlider*>("positionSlider");
        slider->setSliderDown(true);
        slider->setSliderPosition(3000);
        QCOMPARE(engine()->currentTime(), 3.0);
        engine()->seek(1.0);
        QCOMPARE(slider->value(), 3000);
        slider->setSliderDown(false);
        QCOMPARE(slider->value(), 1000);
    }

    void export_writesTheChosenFormat_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("markdown");
        QTest::addColumn<bool>("timestamps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text, timestamps") << "Interview.txt" << false << true
                                          << "[00:00:05] Grüße aus İzmir\nSecond [00:01:00] line";
        QTest::newRow("text") << "Interview.txt" << false << false
                              << "Grüße aus İzmir\nSecond line";
        QTest::newRow("Markdown, timestamps")
            << "Interview.md" << true << true
            << "# Interview\n\n[00:00:05] Grüße aus İzmir\nSecond [00:01:00] line";
        QTest::newRow("Markdown") << "Interview.md" << true << false
                                  << "# Interview\n\nGrüße aus İzmir\nSecond line";
    }
    void export_writesTheChosenFormat()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        QFETCH(bool, markdown);
        QFETCH(bool, timestamps);
        // The live text (not autosaved yet) is exported, and a longer existing file replaced.
        open("[00:00:05] Grüße aus İzmir\nSecond [00:01:00] line", true);
        m_saveAnswer = out(fileName);
        QFile written(m_saveAnswer);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(QByteArray(500, 'x'));
        written.close();

        ExportSheet* sheet = presentExport();
        if (markdown)
            sheet->findChild<QAbstractButton*>("markdownButton")->click();
        if (!timestamps)
            sheet->findChild<QAbstractButton*>("includeTimestampsBox")->click();
        answerAlerts();
        sheet->findChild<QAbstractButton*>("exportButton")->click();
        QCOMPARE(m_suggestedName, fileName);
        QVERIFY(m_sheetGoneWhenAsked); // the sheet had closed before the dialog came up
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected.toUtf8());
        QCOMPARE(outEntries(), QStringList{fileName}); // no temporary file left behind
        QVERIFY(m_alerts.isEmpty());
    }

    void exportSheet_closingByAnyMeansResetsTheFlag()
    {
        open({}, true);
        // Cancel, Escape, closing the window and lowering the flag cancel; Return exports (to a
        // cancelled dialog). Each time a new sheet in its default state comes up.
        const std::function<void(ExportSheet*)> ways[] = {
            [](ExportSheet* sheet) { sheet->findChild<QAbstractButton*>("cancelButton")->click(); },
            [](ExportSheet* sheet) { QTest::keyClick(sheet, Qt::Key_Escape); },
            [](ExportSheet* sheet) { sheet->close(); },
            [this](ExportSheet*) { m_state->setExportPresented(false); },
            [](ExportSheet* sheet) { QTest::keyClick(sheet, Qt::Key_Return); },
        };
        for (const auto& close : ways) {
            ExportSheet* sheet = presentExport();
            QCOMPARE(sheet->format(), ExportFormat::PlainText);
            sheet->findChild<QAbstractButton*>("markdownButton")->click();
            close(sheet);
            QVERIFY(!sheet->isVisible());
            QVERIFY(!m_state->isExportPresented());
        }
        QCOMPARE(m_saveDialogs, 1);
        QVERIFY(outEntries().isEmpty());
    }

    void export_failedWriteReportsAndWritesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("inside a missing folder") << "missing/Interview.txt";
        QTest::newRow("a folder") << "Folder.txt";
    }
    void export_failedWriteReportsAndWritesNothing()
    {
        QFETCH(QString, target);
        open({}, true);
        QVERIFY(QDir(out()).mkdir("Folder.txt"));
        m_saveAnswer = out(target);
        answerAlerts();
        presentExport()->findChild<QAbstractButton*>("exportButton")->click();
        QCOMPARE(m_alerts, QStringList{"Export failed"});
        QCOMPARE(outEntries(), QStringList{"Folder.txt"});
        QVERIFY(QDir(out("Folder.txt")).isEmpty());
        QCOMPARE(m_state->currentSession()->saveError(), std::nullopt); // the session not blamed
    }

    void export_suggestedFileNameIsSanitised()
    {
        QCOMPARE(ExportSheet::suggestedFileName("Lecture.final", ExportFormat::Markdown),
                 QStringLiteral("Lecture.final.md"));
        QCOMPARE(ExportSheet::suggestedFileName("a/b\\c", ExportFormat::PlainText),
                 QStringLiteral("a-b-c.txt"));
    }
};

QTEST_MAIN(tst_TranscriptionView)
#include "tst_TranscriptionView.moc"
