// The working screen over a real AppState and store in a temporary folder, with sessions on the
// libmpv engine (silent output) and recorded fixtures.
#include "AppSettings.h"
#include "AppState.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"
#include "TranscriptionSession.h"
#include "views/ExportSheet.h"
#include "views/TranscriptionView.h"
#include "views/ViewEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <clocale>
#include <memory>

using namespace dictaro;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);

AppState::EngineFactory silentEngines()
{
    return [] {
        return std::make_unique<PlaybackEngine>(
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    };
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

bool isShown(QWidget* widget)
{
    return widget && widget->isVisible();
}

} // namespace

class tst_TranscriptionView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void show_startsTheSessionAndShowsItsHeader();
    void insertTimestampButton_typesThePosition();
    void missingAudio_locateFileReloadsIt();
    void banners_stackInOrderAndFollowTheSession();
    void timestampClick_seeksWithinTheAudio();
    void escape_togglesPlaybackButLeavesTheSheetItsKey();
    void exportFlag_presentsAFreshSheetEachTime();
    void back_savesAndListsTheProjectFirst();
    void back_failedFinalSaveKeepsTheScreen();
    void closingTheWindow_closesTheProject();
    void switchingProjects_leavesTheNewOneOpen();

private:
    QString audioFile(const QString& name, const QString& fixture = QStringLiteral("speech.wav"));
    Project projectFor(const QString& audioPath, const QString& text = QString());
    void showWindow();
    template <typename T = QWidget> T* find(const char* name)
    {
        return m_window->findChild<T*>(QLatin1String(name));
    }
    TranscriptEditor* editor() { return m_window->findChild<TranscriptEditor*>(); }
    PlaybackEngine* engine() { return m_state->currentSession()->engine(); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    TranscriptionView* m_view = nullptr;
    QString m_locateAnswer;
    int m_locateDialogs = 0;
};

void tst_TranscriptionView::initTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFile::exists(fixtures + QStringLiteral("/speech.wav")), "fixtures missing");
    TranscriptionView::setLocateFileDialogForTesting([this](QWidget*) {
        ++m_locateDialogs;
        return m_locateAnswer;
    });
}

void tst_TranscriptionView::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_home->filePath(QStringLiteral("Settings")));
    AppSettings::resetSharedForTesting();
    m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
    m_state = std::make_unique<AppState>(m_store, silentEngines());
    m_window = std::make_unique<QWidget>();
    ViewEnvironment::setAppState(m_window.get(), m_state.get());
    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new TranscriptionView(m_window.get());
    layout->addWidget(m_view);
    m_window->resize(720, 480);
    m_locateAnswer.clear();
    m_locateDialogs = 0;
}

void tst_TranscriptionView::cleanup()
{
    m_window.reset();
    m_state.reset();
    AppSettings::resetSharedForTesting();
}

QString tst_TranscriptionView::audioFile(const QString& name, const QString& fixture)
{
    const QString path = m_home->filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (!QFile::copy(fixtures + u'/' + fixture, path))
        qFatal("cannot copy the fixture");
    return path;
}

Project tst_TranscriptionView::projectFor(const QString& audioPath, const QString& text)
{
    const QDateTime now = QDateTime::currentDateTimeUtc().addSecs(-3600);
    return Project{QUuid::createUuid(),
                   QStringLiteral("Interview"),
                   ProjectStore::makeBookmark(audioPath),
                   QFileInfo(audioPath).fileName(),
                   text,
                   0.0,
                   1.0,
                   now,
                   now};
}

void tst_TranscriptionView::showWindow()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_TranscriptionView::show_startsTheSessionAndShowsItsHeader()
{
    // Opened while the window is hidden: nothing starts until the screen is shown.
    m_state->openAudioFile(audioFile(QStringLiteral("Lecture.wav")));
    TranscriptionSession* session = m_state->currentSession();
    QTest::qWait(50);
    QVERIFY(!session->isStarting());
    QVERIFY(!engine()->isLoaded());

    QSignalSpy starting(session, &TranscriptionSession::isStartingChanged);
    showWindow();
    QVERIFY(!starting.isEmpty() && starting.first().first().toBool());
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    QCOMPARE(find<QLabel>("projectNameLabel")->toolTip(), QStringLiteral("Lecture"));
    QVERIFY(find<QLabel>("projectNameLabel")->font().bold());
    QCOMPARE(find<QToolButton>("backButton")->text(), QStringLiteral("Back"));
    QCOMPARE(find<QToolButton>("insertTimestampButton")->toolTip(),
             QStringLiteral("Insert Timestamp (%1)")
                 .arg(QKeySequence(Qt::CTRL | Qt::Key_J).toString(QKeySequence::NativeText)));
    for (const char* banner : {"mediaMissingBanner", "loadErrorBanner", "saveErrorBanner"})
        QVERIFY2(!isShown(find(banner)), banner);
    QVERIFY(editor()->hasFocus());
}

void tst_TranscriptionView::insertTimestampButton_typesThePosition()
{
    m_state->openProject(projectFor(audioFile(QStringLiteral("a.wav")), QStringLiteral("Hi")));
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    engine()->seek(4.7);
    QTextCursor cursor = editor()->textCursor();
    cursor.movePosition(QTextCursor::End);
    editor()->setTextCursor(cursor);
    QTest::mouseClick(find<QToolButton>("insertTimestampButton"), Qt::LeftButton);
    QCOMPARE(m_state->currentSession()->transcript(), QStringLiteral("Hi[00:00:04] "));
    QVERIFY(editor()->hasFocus()); // typing goes on where it was
}

void tst_TranscriptionView::missingAudio_locateFileReloadsIt()
{
    const QString gone = audioFile(QStringLiteral("gone.wav"));
    const Project project = projectFor(gone);
    QVERIFY(QFile::remove(gone));
    m_state->openProject(project);
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(isShown(find("mediaMissingBanner")), 5000);
    QVERIFY(find("mediaMissingBanner")
                ->findChild<QLabel*>()
                ->text()
                .startsWith(QStringLiteral("Audio file not found.")));
    auto* locate = find<QPushButton>("locateFileButton");
    QCOMPARE(locate->text(), QStringLiteral("Locate File\u2026"));

    // Cancelled: nothing changes.
    locate->click();
    QCOMPARE(m_locateDialogs, 1);
    QTest::qWait(100);
    QVERIFY(isShown(find("mediaMissingBanner")));
    QVERIFY(!engine()->isLoaded());

    // A file chosen: loaded, banner gone, the new place remembered.
    m_locateAnswer =
        audioFile(QStringLiteral("found/Found It.flac"), QStringLiteral("speech.flac"));
    locate->click();
    QCOMPARE(m_locateDialogs, 2);
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    QVERIFY(!isShown(find("mediaMissingBanner")));
    QCOMPARE(m_store->load(project.id).mediaFileName, QStringLiteral("Found It.flac"));
}

void tst_TranscriptionView::banners_stackInOrderAndFollowTheSession()
{
    const QString gone = audioFile(QStringLiteral("gone.wav"));
    const Project project = projectFor(gone);
    QVERIFY(QFile::remove(gone));
    m_state->openProject(project);
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(isShown(find("mediaMissingBanner")), 5000);

    // The store's folder disappears: the next autosave fails.
    QVERIFY(QDir(m_store->directory()).removeRecursively());
    typeText(editor(), QStringLiteral("x"));
    QTRY_VERIFY_WITH_TIMEOUT(isShown(find("saveErrorBanner")), 3000);
    QVERIFY(isShown(find("mediaMissingBanner")));
    QVERIFY(!isShown(find("loadErrorBanner")));
    QVERIFY(find("mediaMissingBanner")->y() < find("saveErrorBanner")->y());
    QVERIFY(find("saveErrorBanner")->y() < editor()->y());
    QCOMPARE(find("saveErrorBanner")->findChild<QLabel*>()->text(),
             *m_state->currentSession()->saveError());
    QVERIFY(find("mediaMissingBanner")->width() >= m_view->width() - 1); // full width

    // A file that cannot be played: the red banner, between the other two.
    m_locateAnswer = audioFile(QStringLiteral("notes.mp3"), QStringLiteral("notes.mp3"));
    find<QPushButton>("locateFileButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(isShown(find("loadErrorBanner")), 5000);
    QCOMPARE(find("loadErrorBanner")->findChild<QLabel*>()->text(), *engine()->loadError());
    QVERIFY(!isShown(find("mediaMissingBanner")));
    QVERIFY(find("loadErrorBanner")->y() < find("saveErrorBanner")->y());

    // Saving works again: the save error goes away.
    QVERIFY(QDir().mkpath(m_store->directory()));
    typeText(editor(), QStringLiteral("y"));
    QTRY_VERIFY_WITH_TIMEOUT(!isShown(find("saveErrorBanner")), 3000);
}

void tst_TranscriptionView::timestampClick_seeksWithinTheAudio()
{
    m_state->openProject(projectFor(audioFile(QStringLiteral("a.wav")),
                                    QStringLiteral("[00:00:04] hello [00:01:00] end")));
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    auto clickAt = [this](int position) {
        QTextCursor cursor(editor()->document());
        cursor.setPosition(position);
        const QPoint where = editor()->cursorRect(cursor).center() + QPoint(2, 0);
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, where);
    };
    clickAt(3);
    QCOMPARE(engine()->currentTime(), 4.0);
    clickAt(20); // a minute: beyond the end of the six seconds
    QCOMPARE(engine()->currentTime(), engine()->duration());
}

void tst_TranscriptionView::escape_togglesPlaybackButLeavesTheSheetItsKey()
{
    AppSettings::shared().setAutoRewindSeconds(1.0);
    m_state->openProject(projectFor(audioFile(QStringLiteral("a.wav")), QStringLiteral("text")));
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);

    QTest::keyClick(editor(), Qt::Key_Escape);
    QVERIFY(engine()->isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(engine()->currentTime() >= 2.0, 5000);
    const double before = engine()->currentTime();
    QTest::keyClick(editor(), Qt::Key_Escape);
    QVERIFY(!engine()->isPlaying());
    QVERIFY2(engine()->currentTime() < before - 0.5,
             qPrintable(QString::number(engine()->currentTime())));
    QCOMPARE(m_state->currentSession()->transcript(), QStringLiteral("text"));

    // With the export sheet up, Escape closes the sheet and playback stays as it was.
    m_state->setExportPresented(true);
    auto* sheet = m_view->findChild<ExportSheet*>();
    QVERIFY(sheet && sheet->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QTest::keyClick(sheet, Qt::Key_Escape);
    QVERIFY(!sheet->isVisible());
    QVERIFY(!m_state->isExportPresented());
    QVERIFY(!engine()->isPlaying());
}

void tst_TranscriptionView::exportFlag_presentsAFreshSheetEachTime()
{
    m_state->openProject(projectFor(audioFile(QStringLiteral("a.wav"))));
    showWindow();
    m_state->setExportPresented(true);
    auto visibleSheet = [this]() -> ExportSheet* {
        for (ExportSheet* sheet : m_view->findChildren<ExportSheet*>())
            if (sheet->isVisible())
                return sheet;
        return nullptr;
    };
    ExportSheet* sheet = visibleSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    sheet->findChild<QRadioButton*>(QStringLiteral("markdownButton"))->click();
    sheet->findChild<QCheckBox*>(QStringLiteral("includeTimestampsBox"))->click();

    // Turning the flag off closes it; on again shows a new sheet in its default state.
    m_state->setExportPresented(false);
    QVERIFY(!visibleSheet());
    m_state->setExportPresented(true);
    sheet = visibleSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->format(), ExportFormat::PlainText);
    QVERIFY(sheet->includesTimestamps());
    m_state->setExportPresented(true); // already showing: still one sheet
    QCOMPARE(visibleSheet(), sheet);
    sheet->reject();
    QVERIFY(!m_state->isExportPresented());
    QTRY_COMPARE(m_view->findChildren<ExportSheet*>().size(), 0); // released
}

void tst_TranscriptionView::back_savesAndListsTheProjectFirst()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    m_store->save(Project{QUuid::createUuid(), QStringLiteral("Newer before"), std::nullopt,
                          QStringLiteral("x.mp3"), QString(), 0, 1, now.addSecs(-60),
                          now.addSecs(-60)});
    const Project project = projectFor(audioFile(QStringLiteral("a.wav")));
    m_state->openProject(project);
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    QTest::keyClick(editor(), Qt::Key_Escape); // playing while leaving
    typeText(editor(), QStringLiteral("typed just now"));

    QTest::mouseClick(find<QToolButton>("backButton"), Qt::LeftButton);
    QVERIFY(m_state->currentSession() == nullptr);
    QCOMPARE(m_state->recentProjects().size(), 2);
    QCOMPARE(m_state->recentProjects().first().id, project.id);
    QCOMPARE(m_state->recentProjects().first().transcript, QStringLiteral("typed just now"));
    QTRY_VERIFY(!editor()); // the screen is gone

    // Escape is no longer taken by the screen that went away.
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
}

void tst_TranscriptionView::back_failedFinalSaveKeepsTheScreen()
{
    m_state->openProject(projectFor(audioFile(QStringLiteral("a.wav"))));
    showWindow();
    typeText(editor(), QStringLiteral("must not be lost"));
    QVERIFY(QDir(m_store->directory()).removeRecursively());
    QTest::mouseClick(find<QToolButton>("backButton"), Qt::LeftButton);
    QVERIFY(m_state->currentSession() != nullptr);
    QVERIFY(isShown(find("saveErrorBanner")));
    QVERIFY(isShown(editor()));

    // Closing the window fails the same way; shown again, the screen works as before.
    m_window->close();
    QVERIFY(m_state->currentSession() != nullptr);
    showWindow();
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    QTest::keyClick(editor(), Qt::Key_Escape);
    QVERIFY(engine()->isPlaying());

    QVERIFY(QDir().mkpath(m_store->directory()));
    QTest::mouseClick(find<QToolButton>("backButton"), Qt::LeftButton);
    QVERIFY(m_state->currentSession() == nullptr);
    QCOMPARE(m_state->recentProjects().first().transcript, QStringLiteral("must not be lost"));
}

void tst_TranscriptionView::closingTheWindow_closesTheProject()
{
    const Project project = projectFor(audioFile(QStringLiteral("a.wav")));
    m_state->openProject(project);
    showWindow();
    typeText(editor(), QStringLiteral("last words"));
    m_window->close();
    QVERIFY(m_state->currentSession() == nullptr);
    QCOMPARE(m_store->load(project.id).transcript, QStringLiteral("last words"));
}

void tst_TranscriptionView::switchingProjects_leavesTheNewOneOpen()
{
    const Project first = projectFor(audioFile(QStringLiteral("a.wav")), QStringLiteral("one"));
    const Project second = projectFor(audioFile(QStringLiteral("b.wav")), QStringLiteral("two"));
    m_state->openProject(first);
    showWindow();
    m_state->openProject(second);
    TranscriptionSession* session = m_state->currentSession();
    QVERIFY(session);
    QCOMPARE(session->project().id, second.id);
    QVERIFY(!session->isClosed());
    QTRY_VERIFY_WITH_TIMEOUT(engine()->isLoaded(), 5000);
    QCOMPARE(editor()->text(), QStringLiteral("two"));
}

QTEST_MAIN(tst_TranscriptionView)
#include "tst_TranscriptionView.moc"
