// The Escape handler on real widgets: a main window whose menu also carries Escape, an editor
// with focus, and dialogs over the window.
#include "ShortcutHandler.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace dictaro;

namespace {

// A window with a focused editor and a Playback menu whose Play/Pause carries Escape.
struct Window
{
    QMainWindow window;
    QPlainTextEdit* editor = nullptr;
    QAction* menuPlayPause = nullptr;

    Window()
    {
        editor = new QPlainTextEdit(&window);
        window.setCentralWidget(editor);
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Playback"));
        menuPlayPause = menu->addAction(QStringLiteral("Play/Pause"));
        menuPlayPause->setShortcut(QKeySequence(Qt::Key_Escape));
        window.resize(400, 300);
        window.show();
        window.activateWindow();
    }
};

} // namespace

class tst_ShortcutHandler : public QObject
{
    Q_OBJECT

private slots:
    void plainEscape_runsActionOnceAndNothingElse();
    void capsLock_doesNotMatter();
    void modifiedEscape_passes_data();
    void modifiedEscape_passes();
    void heldEscape_togglesOnce();
    void actionReturningFalse_letsTheKeyThrough();
    void dialogOrOtherWindow_getsItsEscape();
    void installTwiceAndRemove();
    void noActiveWindow_stillRunsTheAction();
};

void tst_ShortcutHandler::plainEscape_runsActionOnceAndNothingElse()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    ShortcutHandler handler(&w.window);
    int calls = 0;
    handler.install([&] {
        ++calls;
        return true;
    });
    QSignalSpy menu(w.menuPlayPause, &QAction::triggered);
    w.editor->setPlainText(QStringLiteral("text"));
    w.editor->moveCursor(QTextCursor::End);
    QTest::keyClick(w.editor, Qt::Key_Escape);
    QCOMPARE(calls, 1);
    QCOMPARE(menu.size(), 0);
    QTest::keyClick(w.editor, Qt::Key_Escape);
    QCOMPARE(calls, 2);
    QCOMPARE(menu.size(), 0);

    // Also a key that the window system delivers to the window rather than to the widget.
    QTest::keyClick(w.window.windowHandle(), Qt::Key_Escape);
    QCOMPARE(calls, 3);
    QCOMPARE(menu.size(), 0);
    QCOMPARE(w.editor->toPlainText(), QStringLiteral("text"));

    // Other keys are not touched.
    QTest::keyClick(w.editor, Qt::Key_A);
    QCOMPARE(w.editor->toPlainText(), QStringLiteral("texta"));
    QCOMPARE(calls, 3);
}

void tst_ShortcutHandler::capsLock_doesNotMatter()
{
    // Caps Lock is no keyboard modifier in Qt: an Escape typed with it on arrives as a plain
    // Escape, possibly with the native modifier state of the lock set.
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    ShortcutHandler handler(&w.window);
    int calls = 0;
    handler.install([&] {
        ++calls;
        return true;
    });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 9, 0xff1b, 0x2 /*Lock*/);
    QApplication::sendEvent(w.editor, &press);
    QCOMPARE(calls, 1);
}

void tst_ShortcutHandler::modifiedEscape_passes_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Alt") << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::newRow("Meta") << Qt::KeyboardModifiers(Qt::MetaModifier);
    QTest::newRow("keypad") << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void tst_ShortcutHandler::modifiedEscape_passes()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    // A modified Escape reaches the window's own shortcuts as usual.
    QAction modified(&w.window);
    modified.setShortcut(QKeySequence(Qt::Key_Escape | modifiers));
    w.window.addAction(&modified);
    QSignalSpy reached(&modified, &QAction::triggered);

    ShortcutHandler handler(&w.window);
    int calls = 0;
    handler.install([&] {
        ++calls;
        return true;
    });
    QTest::keyClick(w.editor, Qt::Key_Escape, modifiers);
    QCOMPARE(calls, 0);
    if (modifiers != Qt::KeypadModifier) // the shortcut map ignores the keypad flag
        QCOMPARE(reached.size(), 1);
}

void tst_ShortcutHandler::heldEscape_togglesOnce()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    ShortcutHandler handler(&w.window);
    int calls = 0;
    handler.install([&] {
        ++calls;
        return true;
    });
    QSignalSpy menu(w.menuPlayPause, &QAction::triggered);
    QTest::keyPress(w.editor, Qt::Key_Escape);
    for (int i = 0; i < 5; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(w.editor, &repeat);
    }
    QTest::keyRelease(w.editor, Qt::Key_Escape);
    QCOMPARE(calls, 1);
    QCOMPARE(menu.size(), 0); // the repeats do not reach the menu either
    QTest::keyClick(w.editor, Qt::Key_Escape);
    QCOMPARE(calls, 2);
}

void tst_ShortcutHandler::actionReturningFalse_letsTheKeyThrough()
{
    // The key then travels on (the editor ignores Escape and hands it to its parents); the
    // action is still asked only once for the one press.
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    ShortcutHandler handler(&w.window);
    int calls = 0;
    handler.install([&] {
        ++calls;
        return false;
    });
    QTest::keyClick(w.editor, Qt::Key_Escape);
    QTest::keyClick(w.window.windowHandle(), Qt::Key_Escape);
    QCOMPARE(calls, 2);
}

void tst_ShortcutHandler::dialogOrOtherWindow_getsItsEscape()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    ShortcutHandler handler(&w.window);
    int calls = 0;
    handler.install([&] {
        ++calls;
        return true;
    });

    // A window-modal sheet over the window: Escape closes the sheet.
    QDialog sheet(&w.window);
    sheet.setWindowModality(Qt::WindowModal);
    QSignalSpy rejected(&sheet, &QDialog::rejected);
    sheet.open();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    QTest::keyClick(&sheet, Qt::Key_Escape);
    QCOMPARE(calls, 0);
    QCOMPARE(rejected.size(), 1);
    QVERIFY(!sheet.isVisible());

    // Another top-level window that is active, not modal.
    QPlainTextEdit other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTest::keyClick(&other, Qt::Key_Escape);
    QCOMPARE(calls, 0);

    // Back in the owner's window the handler takes Escape again.
    other.close();
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(w.editor, Qt::Key_Escape);
    QCOMPARE(calls, 1);
}

void tst_ShortcutHandler::installTwiceAndRemove()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QSignalSpy menu(w.menuPlayPause, &QAction::triggered);
    int first = 0;
    int second = 0;
    {
        ShortcutHandler handler(&w.window);
        handler.remove(); // nothing installed: nothing happens
        QVERIFY(!handler.isInstalled());
        handler.install([&] { return ++first > 0; });
        handler.install([&] { return ++second > 0; });
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(first, 0);
        QCOMPARE(second, 1); // one filter, the second action
        QCOMPARE(menu.size(), 0);

        handler.remove();
        QVERIFY(!handler.isInstalled());
        QTest::keyClick(w.editor, Qt::Key_Escape);
        QCOMPARE(second, 1);
        QCOMPARE(menu.size(), 1); // the key goes its usual way again

        handler.install([&] { return ++second > 0; });
    } // destroyed while installed
    QTest::keyClick(w.editor, Qt::Key_Escape);
    QCOMPARE(second, 1);
    QCOMPARE(menu.size(), 2);
}

void tst_ShortcutHandler::noActiveWindow_stillRunsTheAction()
{
    QPlainTextEdit lone; // never shown: no window of the application is active
    QVERIFY(!QApplication::activeWindow());
    ShortcutHandler handler(&lone);
    int calls = 0;
    handler.install([&] { return ++calls > 0; });
    QTest::keyClick(&lone, Qt::Key_Escape);
    QCOMPARE(calls, 1);
}

QTEST_MAIN(tst_ShortcutHandler)
#include "tst_ShortcutHandler.moc"
