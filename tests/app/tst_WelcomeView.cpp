// The welcome view over a real AppState and store in a temporary folder: the recent list, the
// open dialog, the drop target and deleting from the context menu.
#include "AppState.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"
#include "views/ViewEnvironment.h"
#include "views/WelcomeView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <clocale>
#include <functional>
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

// A drag of `urls` as a file manager offers it.
std::unique_ptr<QMimeData> urlData(const QList<QUrl>& urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

// Sends a drag entering the view and then a drop of the same data; returns whether the drag
// was accepted.
bool dragAndDrop(QWidget* view, const QMimeData* data,
                 Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
{
    const QPoint where = view->rect().center();
    QDragEnterEvent enter(where, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    QDropEvent drop(where, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drop);
    const bool accepted = enter.isAccepted() && drop.isAccepted();
    // Whatever was offered, a drop never asks the source to move (and so delete) the file.
    if (accepted && drop.dropAction() == Qt::MoveAction)
        return false;
    return accepted;
}

} // namespace

class tst_WelcomeView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
    }
    void init();
    void cleanup();

    void noProjects_showsOnlyTitleSubtitleAndOpenButton();
    void recentList_newestFirstWithNameAndFileName_followsTheState();
    void clickOrReturnOnARow_opensThatProject();
    void contextMenuDelete_removesTheProject();
    void drop_opensEachSupportedType_data();
    void drop_opensEachSupportedType();
    void drop_refusesWhatIsNotALocalAudioFile_data();
    void drop_refusesWhatIsNotALocalAudioFile();
    void drop_opensOnlyTheFirstOfSeveralFiles();
    void openDialog_chosenFileOpens_cancelDoesNothing();
    void withoutAppState_nothingCanBeOpened();

private:
    Project saveProject(const QString& name, const QString& fileName, int secondsAgo);
    QString audioCopy(const QString& fixtureExtension, const QString& fileName);
    QListWidget* recentList() const { return m_view->findChild<QListWidget*>("recentList"); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<ProjectStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    WelcomeView* m_view = nullptr;

    // Builds the window over the projects saved so far.
    void makeWindow();
};

void tst_WelcomeView::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
}

void tst_WelcomeView::cleanup()
{
    m_window.reset();
    m_view = nullptr;
    if (m_state)
        QVERIFY(m_state->closeProject());
    m_state.reset();
    m_store.reset();
    m_home.reset();
}

void tst_WelcomeView::makeWindow()
{
    m_state = std::make_unique<AppState>(m_store, silentEngines());
    m_window = std::make_unique<QWidget>();
    ViewEnvironment::setAppState(m_window.get(), m_state.get());
    // The view is built below the widget that carries the state, as the main window does it.
    auto* content = new QWidget(m_window.get());
    m_view = new WelcomeView(content);
    m_window->resize(640, 420);
    content->resize(640, 420);
    m_view->resize(640, 420);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

Project tst_WelcomeView::saveProject(const QString& name, const QString& fileName, int secondsAgo)
{
    const QDateTime when = QDateTime::currentDateTimeUtc().addSecs(-secondsAgo);
    const Project project{
        QUuid::createUuid(), name, std::nullopt, fileName, QString(), 0.0, 1.0, when, when};
    m_store->save(project);
    return project;
}

QString tst_WelcomeView::audioCopy(const QString& fixtureExtension, const QString& fileName)
{
    const QString path = m_home->filePath(fileName);
    if (!QFile::copy(fixtures + QStringLiteral("/speech.") + fixtureExtension, path))
        qFatal("cannot copy the fixture speech.%s", qPrintable(fixtureExtension));
    return path;
}

void tst_WelcomeView::noProjects_showsOnlyTitleSubtitleAndOpenButton()
{
    makeWindow();
    QCOMPARE(m_view->findChild<QLabel*>("title")->text(), QStringLiteral("Dictaro"));
    QVERIFY(m_view->findChild<QLabel*>("subtitle")->isVisible());
    auto* open = m_view->findChild<QPushButton*>("openButton");
    QVERIFY(open->isVisible() && open->isEnabled());
    QCOMPARE(open->text(), QStringLiteral("Open Audio File…"));
    QVERIFY(!m_view->findChild<QLabel*>("recentHeading")->isVisible());
    QVERIFY(!recentList()->isVisible());
}

void tst_WelcomeView::recentList_newestFirstWithNameAndFileName_followsTheState()
{
    const Project old = saveProject(QStringLiteral("Old talk"), QStringLiteral("old.mp3"), 300);
    const Project recent =
        saveProject(QStringLiteral("Interview"), QStringLiteral("Interview 2.m4a"), 10);
    makeWindow();

    QListWidget* list = recentList();
    QVERIFY(list->isVisible());
    QVERIFY(m_view->findChild<QLabel*>("recentHeading")->isVisible());
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Interview"));
    QCOMPARE(list->item(0)->data(WelcomeView::MediaFileNameRole).toString(),
             QStringLiteral("Interview 2.m4a"));
    QCOMPARE(list->item(0)->data(WelcomeView::ProjectIdRole).toUuid(), recent.id);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Old talk"));
    QCOMPARE(list->item(1)->data(WelcomeView::ProjectIdRole).toUuid(), old.id);
    QVERIFY(list->visualItemRect(list->item(0)).top() < list->visualItemRect(list->item(1)).top());

    // A change of the state's list shows at once.
    saveProject(QStringLiteral("Newest"), QStringLiteral("n.wav"), 0);
    m_state->reloadRecentProjects();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Newest"));

    // Coming back on screen lists the folder again, e.g. after a file was removed elsewhere.
    QVERIFY(QFile::remove(m_store->filePath(old.id)));
    m_view->hide();
    m_view->show();
    QCOMPARE(list->count(), 2);
}

void tst_WelcomeView::clickOrReturnOnARow_opensThatProject()
{
    saveProject(QStringLiteral("First"), QStringLiteral("a.mp3"), 20);
    const Project second = saveProject(QStringLiteral("Second"), QStringLiteral("b.mp3"), 10);
    makeWindow();
    QListWidget* list = recentList();

    const QPoint row0 = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0);
    QVERIFY(m_state->currentSession());
    QCOMPARE(m_state->currentSession()->project().id, second.id);
    QVERIFY(m_state->closeProject());

    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(m_state->currentSession());
    QCOMPARE(m_state->currentSession()->project().name, QStringLiteral("First"));
}

void tst_WelcomeView::contextMenuDelete_removesTheProject()
{
    const Project only = saveProject(QStringLiteral("Only"), QStringLiteral("only.mp3"), 0);
    makeWindow();
    QListWidget* list = recentList();
    QVERIFY(list->isVisible());

    // A menu asked for below the rows has nothing to delete.
    const QPoint below(10, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(below).isValid());
    QContextMenuEvent outside(QContextMenuEvent::Mouse, below,
                              list->viewport()->mapToGlobal(below));
    QApplication::sendEvent(list->viewport(), &outside);
    QVERIFY(!m_view->findChild<QMenu*>());

    const QPoint row = list->visualItemRect(list->item(0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, row, list->viewport()->mapToGlobal(row));
    QApplication::sendEvent(list->viewport(), &event);
    QMenu* menu = m_view->findChild<QMenu*>();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    auto* remove = menu->findChild<QAction*>("deleteProjectAction");
    QVERIFY(remove);
    QCOMPARE(remove->text(), QStringLiteral("Delete Project"));
    remove->trigger();
    menu->close();

    QVERIFY(m_state->recentProjects().isEmpty());
    QVERIFY(!QFile::exists(m_store->filePath(only.id)));
    QCOMPARE(list->count(), 0);
    // The last one gone: divider, heading and list go too.
    QVERIFY(!list->isVisible());
    QVERIFY(!m_view->findChild<QLabel*>("recentHeading")->isVisible());
    QVERIFY(m_state->currentSession() == nullptr);
}

void tst_WelcomeView::drop_opensEachSupportedType_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("fileName");
    for (const QString& extension : AppState::supportedExtensions)
        QTest::newRow(qPrintable(extension))
            << extension << QStringLiteral("Talk %1.%2").arg(extension, extension);
    QTest::newRow("upper case") << "wav"
                                << "LOUD.WAV";
    QTest::newRow("mixed case") << "mp3"
                                << "Talk.Mp3";
}

void tst_WelcomeView::drop_opensEachSupportedType()
{
    QFETCH(QString, fixture);
    QFETCH(QString, fileName);
    makeWindow();
    const QString path = audioCopy(fixture, fileName);
    const auto data = urlData({QUrl::fromLocalFile(path)});
    QVERIFY(dragAndDrop(m_view, data.get()));
    QVERIFY(m_state->currentSession());
    QCOMPARE(m_state->currentSession()->project().mediaFileName, fileName);

    // Offered only as a move, the drop is refused rather than letting the source delete it.
    QVERIFY(m_state->closeProject());
    QVERIFY(!dragAndDrop(m_view, data.get(), Qt::MoveAction));
    QVERIFY(m_state->currentSession() == nullptr);
    QVERIFY(QFile::exists(path));
}

void tst_WelcomeView::drop_refusesWhatIsNotALocalAudioFile_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("makeFile"); // made before the drop, relative to the home

    QTest::newRow("text file") << QList<QUrl>{QUrl("file:notes.txt")} << "notes.txt";
    QTest::newRow("ogg") << QList<QUrl>{QUrl("file:talk.ogg")} << "talk.ogg";
    QTest::newRow("no extension") << QList<QUrl>{QUrl("file:mp3")} << "mp3";
    QTest::newRow("folder named like audio") << QList<QUrl>{QUrl("file:album.mp3")} << "album.mp3/";
    QTest::newRow("web address") << QList<QUrl>{QUrl("https://example.com/talk.mp3")} << "";
    QTest::newRow("no urls") << QList<QUrl>{} << "";
    QTest::newRow("text first, audio second")
        << QList<QUrl>{QUrl("file:notes.txt"), QUrl("file:talk.mp3")} << "notes.txt";
}

void tst_WelcomeView::drop_refusesWhatIsNotALocalAudioFile()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, makeFile);
    makeWindow();
    // Relative "file:" URLs stand for files in the temporary home.
    for (QUrl& url : urls) {
        if (url.scheme() == QLatin1String("file"))
            url = QUrl::fromLocalFile(m_home->filePath(url.path()));
    }
    if (makeFile.endsWith(u'/')) {
        QVERIFY(QDir(m_home->path()).mkpath(makeFile));
    } else if (!makeFile.isEmpty()) {
        QFile file(m_home->filePath(makeFile));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    audioCopy(QStringLiteral("mp3"), QStringLiteral("talk.mp3"));

    const auto data = urlData(urls);
    QVERIFY(!dragAndDrop(m_view, data.get()));
    QVERIFY(m_state->currentSession() == nullptr);
    QVERIFY(m_store->loadAll().isEmpty());
}

void tst_WelcomeView::drop_opensOnlyTheFirstOfSeveralFiles()
{
    makeWindow();
    const QString first = audioCopy(QStringLiteral("flac"), QStringLiteral("one.flac"));
    const QString second = audioCopy(QStringLiteral("mp3"), QStringLiteral("two.mp3"));
    const auto data = urlData({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QVERIFY(dragAndDrop(m_view, data.get()));
    QCOMPARE(m_state->currentSession()->project().mediaFileName, QStringLiteral("one.flac"));
    QVERIFY(m_state->closeProject());
    QCOMPARE(m_state->recentProjects().size(), 1);
}

void tst_WelcomeView::openDialog_chosenFileOpens_cancelDoesNothing()
{
    makeWindow();
    const QString path = audioCopy(QStringLiteral("m4a"), QStringLiteral("Lecture.m4a"));
    auto* open = m_view->findChild<QPushButton*>("openButton");

    // Answers the next open dialog: chooses `file`, or cancels when it is empty.
    QStringList filtersSeen;
    auto answerDialog = [&](const QString& file) {
        QTimer::singleShot(0, this, [&filtersSeen, file] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            filtersSeen = dialog->nameFilters();
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            if (file.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(file);
                static_cast<QDialog*>(dialog)->accept();
            }
        });
    };

    answerDialog(QString());
    QTest::mouseClick(open, Qt::LeftButton);
    QVERIFY(m_state->currentSession() == nullptr);
    QVERIFY(m_store->loadAll().isEmpty());
    QCOMPARE(filtersSeen.size(), 1);
    for (const QString& extension : AppState::supportedExtensions)
        QVERIFY2(filtersSeen.first().contains(QStringLiteral("*.%1 ").arg(extension)) ||
                     filtersSeen.first().contains(QStringLiteral("*.%1)").arg(extension)),
                 qPrintable(extension));

    // The keyboard shortcut opens the same dialog.
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    answerDialog(path);
    QTest::keySequence(m_window.get(), QKeySequence::Open);
    QTRY_VERIFY(m_state->currentSession());
    QCOMPARE(m_state->currentSession()->project().mediaFileName, QStringLiteral("Lecture.m4a"));
    QCOMPARE(m_store->loadAll().size(), 1);
}

void tst_WelcomeView::withoutAppState_nothingCanBeOpened()
{
    QWidget window;
    auto* view = new WelcomeView(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!view->findChild<QPushButton*>("openButton")->isEnabled());
    QVERIFY(!view->findChild<QListWidget*>("recentList")->isVisible());
    view->chooseAudioFile(); // no dialog, no crash
    const auto data = urlData({QUrl::fromLocalFile(audioCopy("mp3", "a.mp3"))});
    QVERIFY(!dragAndDrop(view, data.get()));
}

QTEST_MAIN(tst_WelcomeView)
#include "tst_WelcomeView.moc"
