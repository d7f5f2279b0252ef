// The View and Help menus of the main window: the remembered transcript zoom, their keys, and
// the keyboard shortcuts list made from the registry.
#include "AppActions.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "DictaroApp.h"
#include "Localization.h"
#include "MainWindow.h"
#include "MpvBackend.h"
#include "ShortcutsWindow.h"
#include "SpellChecker.h"
#include "TestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

using namespace dictaro;

class tst_ViewAndHelpMenus : public QObject
{
    Q_OBJECT

    test::TemporaryHome m_home;
    std::unique_ptr<DictaroApp> m_app;
    MainWindow* m_window = nullptr;
    AppActions* m_actions = nullptr;

    void trigger(Command command) { m_actions->action(command)->trigger(); }

private slots:
    void init()
    {
        AppSettings::resetSharedForTesting();
        m_app = std::make_unique<DictaroApp>(
            m_home.path(), std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        m_window = &m_app->mainWindow();
        m_actions = &m_window->actions();
        m_window->show();
    }
    void cleanup() { m_app.reset(); }

    // F11 toggles full screen and F1 opens the shortcuts in the window (the Keys page refuses
    // them to the playback commands: tst_HandsFreeViews). The shortcuts list the menus' actions
    // with all their keys (two for Zoom In), and a key changed afterwards shows up the next time
    // the list is opened.
    void viewAndHelpKeys_fullScreenAndShortcuts()
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QTest::keyClick(m_window, Qt::Key_F11);
        QTRY_VERIFY(m_window->windowState() & Qt::WindowFullScreen);
        QTest::keyClick(m_window, Qt::Key_F11);
        QTRY_VERIFY(!(m_window->windowState() & Qt::WindowFullScreen));
        QTest::keyClick(m_window, Qt::Key_F1);
        QTRY_VERIFY(m_window->findChild<ShortcutsWindow*>());
        auto* window = m_window->findChild<ShortcutsWindow*>();
        QVERIFY(window->isVisible() && window->listing().contains("Zoom In\tCtrl++, Ctrl+="));

        window->close();
        m_actions->action(AppActions::Command::PlayPause)->setShortcut(QKeySequence(Qt::Key_F5));
        trigger(Command::KeyboardShortcuts);
        QVERIFY(window->listing().contains("Play/Pause\tF5"));
    }

    // Every menu and every item in it has a letter of its own within its menu, in English and
    // in Turkish; the names in sentences and lists do not show it.
    void menus_haveMnemonicsUniqueInTheirMenu()
    {
        for (const char* language : {"tr", "en"}) {
            m_app.reset();
            QCOMPARE(Localization::install({language}), language);
            init();
            // Opened as the user opens them, with the dictionaries known (listed once one loaded).
            m_app->spelling().prepare();
            QTRY_VERIFY(!m_app->spelling().isLoading());
            QList<QAction*> menus{m_window->menuBar()->actions()};
            QList<QList<QAction*>> lists{menus};
            for (int i = 0; i < menus.size(); ++i) { // submenus are added as they are found
                emit menus.at(i)->menu()->aboutToShow();
                lists << menus.at(i)->menu()->actions();
                for (QAction* item : lists.last())
                    if (item->menu())
                        menus << item;
            }
            for (const QList<QAction*>& items : lists) {
                QStringList letters;
                for (const QAction* item : items) {
                    const QString letter = Commands::mnemonic(item->text());
                    if (item->isSeparator() || !item->isVisible())
                        continue;
                    QVERIFY2(!letter.isEmpty() && !letters.contains(letter),
                             qPrintable(item->text()));
                    letters << letter;
                }
            }
            QCOMPARE(Commands::title(Command::Export),
                     language == QLatin1String("en") ? "Export" : "Dışa Aktar");
        }
    }

    // The zoom steps apply to a following editor at once and are read back at the next start;
    // Actual Size returns to the interface font.
    void zoom_isAppliedAndRemembered()
    {
        QPlainTextEdit editor;
        const qreal base = editor.font().pointSizeF();
        Appearance::followTranscriptZoom(&editor);
        trigger(Command::ZoomIn);
        trigger(Command::ZoomIn);
        trigger(Command::ZoomOut);
        QCOMPARE(editor.font().pointSizeF(), base * 1.1);
        AppSettings::resetSharedForTesting();
        QCOMPARE(AppSettings::shared().transcriptZoom(), 1);
        trigger(Command::ActualSize);
        QCOMPARE(AppSettings::shared().transcriptZoom(), 0);
    }
};

QTEST_MAIN(tst_ViewAndHelpMenus)
#include "tst_ViewAndHelpMenus.moc"
