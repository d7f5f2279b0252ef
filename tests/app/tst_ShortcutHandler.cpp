// The Escape handler on real widgets: a main window whose menu also carries Escape, an editor
// with focus, and dialogs over the window.
#include "ShortcutHandler.h"

#include <QAction>
#include <QDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace dictaro;

namespace {

// A window with a focused editor, a Playback menu whose Play/Pause carries Escape, and a
// handler installed over it that counts its calls.
struct Window
{
    QMainWindow window;
    QPlainTextEdit* editor = new QPlainTextEdit(&window);
    QAction* menuPlayPause = window.menuBar()->addMenu("Playback")->addAction("Play/Pause");
    QSignalSpy menu{menuPlayPause, &QAction::triggered};
    std::unique_ptr<ShortcutHandler> handler = std::make_unique<ShortcutHandler>(&window);
    int calls = 0;
    bool handles = true; // what the action answers

    Window()
    {
        window.setCentralWidget(editor);
        menuPlayPause->setShortcut(QKeySequence(Qt::Key_Escape));
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the window did not become active");
        handler->install([this] {
            ++calls;
            return handles;
        });
    }
};

} // namespace

class tst_ShortcutHandler : public QObject
{
    Q_OBJECT

private slots:
    void plainEscape_runsActionOnceAndNothingElse()
    {
        Window w;
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(w.calls, 1);
        // Also a key that the window system delivers to the window rather than to the widget.
        QTest::keyClick(w.window.windowHandle(), Qt::Key_Escape);
        QCOMPARE(w.calls, 2);
        QCOMPARE(w.menu.size(), 0);

        // Not handled: the key travels on, and the action is still asked once for the one press
        // although the key passes the editor and its parents.
        w.handles = false;
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(w.calls, 3);
        // Caps Lock is no Qt modifier: it arrives as a plain Escape with a native lock state.
        QKeyEvent capsLock(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 9, 0xff1b, 0x2);
        QApplication::sendEvent(w.editor, &capsLock);
        QCOMPARE(w.calls, 4);
    }

    void modifiedEscape_passes_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("keypad") << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }

    void modifiedEscape_passes()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        Window w;
        QAction modified(&w.window);
        modified.setShortcut(QKeySequence(Qt::Key_Escape | modifiers));
        w.window.addAction(&modified);
        QSignalSpy reached(&modified, &QAction::triggered);
        QTest::keyClick(w.editor, Qt::Key_Escape, modifiers);
        QCOMPARE(w.calls, 0);
        if (modifiers != Qt::KeypadModifier) // the shortcut map ignores the keypad flag
            QCOMPARE(reached.size(), 1);
    }

    void heldEscape_togglesOnce()
    {
        Window w;
        QTest::keyPress(w.editor, Qt::Key_Escape);
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents(); // as between the repeats of a held key
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(w.editor, &repeat);
        }
        QTest::keyRelease(w.editor, Qt::Key_Escape);
        QCOMPARE(w.calls, 1);
        QCOMPARE(w.menu.size(), 0);
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(w.calls, 2);
    }

    void modalDialog_getsItsEscape()
    {
        Window w;
        QDialog sheet(&w.window);
        sheet.setWindowModality(Qt::WindowModal);
        sheet.open();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        QTest::keyClick(&sheet, Qt::Key_Escape);
        QCOMPARE(w.calls, 0);
        QVERIFY(!sheet.isVisible());

        // Back in the owner's window the handler takes Escape again.
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(w.calls, 1);
    }

    void removedOrDestroyed_letsTheKeyGoItsUsualWay()
    {
        Window w;
        w.handler->remove();
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(w.menu.size(), 1);

        w.handler->install([] { return true; });
        w.handler.reset(); // destroyed while installed
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(w.calls, 0);
        QCOMPARE(w.menu.size(), 2);
    }
};

QTEST_MAIN(tst_ShortcutHandler)
#include "tst_ShortcutHandler.moc"
