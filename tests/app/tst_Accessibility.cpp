// What assistive technology reads from the welcome view and the player bar, through the same
// accessibility interfaces a screen reader uses, and the order the Tab key walks them in.
#include "AppActions.h"
#include "AppState.h"
#include "CommandRegistry.h"
#include "PlaybackEngine.h"
#include "PlayerBarView.h"
#include "TestSupport.h"
#include "WelcomeView.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

using namespace dictaro;

namespace {

// The names of the widgets the Tab key gives the focus to, one after the other, from `first`.
QStringList tabOrder(QWidget* window, QWidget* first, int count)
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return {"<window not active>"};
    first->setFocus(Qt::TabFocusReason);
    QStringList names{first->objectName()};
    for (int i = 1; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

QString accessibleText(QObject* object, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(text) : QStringLiteral("<no interface>");
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home.path());
    }

    // Each recent project is read as its name with its audio file, which is only painted.
    void recentProjects_nameTheirAudioFile()
    {
        ProjectStore store(m_home.filePath("projects"));
        Project project;
        project.id = QUuid::createUuid();
        project.name = QStringLiteral("Interview");
        project.mediaFileName = QStringLiteral("harbour.m4a");
        project.createdAt = project.updatedAt = QDateTime::currentDateTimeUtc();
        store.save(project);
        auto engine = test::silentEngine();
        AppState state(store, *engine);
        QWidget root;
        auto* view = new WelcomeView(state, &root);
        auto* list = view->findChild<QListWidget*>("recentList");
        QCOMPARE(accessibleText(list), QStringLiteral("Recent Projects"));
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(list)->child(0);
        QVERIFY(row);
        QCOMPARE(row->text(QAccessible::Name), QStringLiteral("Interview"));
        QCOMPARE(row->text(QAccessible::Description), QStringLiteral("Audio file: harbour.m4a"));
    }

    // The times and the speed are read with what they are, and follow the playback; Tab goes
    // through the controls from left to right.
    void playerBar_namesItsValues()
    {
        const QString audio = m_home.filePath("speech.wav");
        QVERIFY(test::copyFixture("speech.wav", audio));
        auto engine = test::silentEngine();
        ProjectStore store(m_home.filePath("projects"));
        AppState state(store, *engine);
        CommandRegistry commands;
        AppActions actions(state, commands);
        PlayerBarView bar(*engine, actions);
        state.openAudioFile(audio); // the playback actions act on an open project
        QTRY_VERIFY(engine->isLoaded());
        const auto child = [&](const char* name) { return bar.findChild<QWidget*>(name); };

        QCOMPARE(accessibleText(child("positionSlider")), QStringLiteral("Playback position"));
        QCOMPARE(accessibleText(child("currentTimeLabel")), QStringLiteral("Elapsed 00:00"));
        QCOMPARE(accessibleText(child("rateLabel")), QStringLiteral("Playback speed 1.0×"));
        engine->seek(1.2);
        QTRY_COMPARE(accessibleText(child("currentTimeLabel")), QStringLiteral("Elapsed 00:01"));
        engine->changeRate(0.5);
        QTRY_COMPARE(accessibleText(child("rateLabel")), QStringLiteral("Playback speed 1.5×"));
        QVERIFY(accessibleText(child("playPauseButton")).startsWith("Play/Pause"));

        QCOMPARE(tabOrder(&bar, child("skipBackButton"), 6),
                 QStringList({"skipBackButton", "playPauseButton", "skipForwardButton",
                              "positionSlider", "slowerButton", "fasterButton"}));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
