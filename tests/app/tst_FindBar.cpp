// Find and replace as the user drives it: the Edit menu's keys, the find bar under the editor,
// and Escape, which closes the bar rather than toggling playback.
#include "AppSettings.h"
#include "CommandRegistry.h"
#include "EditCommands.h"
#include "FindBar.h"
#include "SpellChecker.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

using namespace dictaro;

class tst_FindBar : public QObject
{
    Q_OBJECT

    test::TemporaryHome m_home;
    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<SpellChecker> m_checker;
    std::unique_ptr<CommandRegistry> m_registry;
    std::unique_ptr<EditCommands> m_commands;
    std::unique_ptr<QWidget> m_window;
    TranscriptEditor* m_editor = nullptr;
    FindBar* m_bar = nullptr;

    QLineEdit* field(const char* name) const { return m_bar->findChild<QLineEdit*>(name); }

    void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(widget, Qt::Key(key), modifiers);
    }
    QPair<int, int> selection() const
    {
        const QTextCursor cursor = m_editor->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
        AppSettings::shared().setCheckSpellingWhileTyping(false);
    }

    // A window like the transcription screen: the editor, the find bar under it, and the
    // Edit menu's actions with their keys.
    void init()
    {
        m_checker = std::make_unique<SpellChecker>(AppSettings::shared(), QStringLiteral("en"));
        m_registry = std::make_unique<CommandRegistry>();
        m_commands = std::make_unique<EditCommands>(*m_checker, *m_registry);
        m_window = std::make_unique<QWidget>();
        auto* column = new QVBoxLayout(m_window.get());
        m_document = std::make_unique<QTextDocument>();
        m_editor = new TranscriptEditor(m_document.get(), m_window.get());
        m_bar = new FindBar(m_window.get());
        column->addWidget(m_editor, 1);
        column->addWidget(m_bar);
        std::unique_ptr<QMenu> menu(m_commands->createMenu(nullptr));
        m_window->addActions(menu->actions());
        m_commands->setEditor(m_editor, m_bar);
        m_window->resize(800, 500);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_editor->setFocus();
    }

    void cleanup()
    {
        m_window.reset();
        m_document.reset();
        m_commands.reset();
        m_checker.reset();
    }

    void enter_movesThroughMatchesAndWraps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QList<int>>("starts"); // in the order Enter visits them
        QTest::addColumn<QString>("box");       // the option ticked, if any
        const QString cats = QStringLiteral("Cat cat.\nCAT category");
        QTest::newRow("any case") << cats << "cat" << QList<int>{0, 4, 9, 13} << "";
        QTest::newRow("match case") << cats << "cat" << QList<int>{4, 13} << "matchCaseBox";
        QTest::newRow("whole words") << cats << "cat" << QList<int>{0, 4, 9} << "wholeWordsBox";
        QTest::newRow("apostrophe") << "Ankara'da Ankara"
                                    << "ankara" << QList<int>{10} << "wholeWordsBox";
        QTest::newRow("Turkish letters") << "ağaç\nAĞAÇ"
                                         << "ağaç" << QList<int>{0, 5} << "";
        QTest::newRow("none") << cats << "dog" << QList<int>{} << "";
    }
    // Ctrl+F, the text typed into the field, then Enter: every match in turn, round the end
    // with a hint, and "n of N" once counted; Shift+Enter goes back. Nothing: "Not found".
    void enter_movesThroughMatchesAndWraps()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(QList<int>, starts);
        QFETCH(QString, box);
        m_document->setPlainText(text);
        press(m_editor, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_bar->isVisible());
        QVERIFY(field("findField")->hasFocus());
        if (!box.isEmpty())
            m_bar->findChild<QAbstractButton*>(box)->click();
        for (const QChar ch : pattern)
            QTest::sendKeyEvent(QTest::KeyAction::Click, field("findField"), Qt::Key_unknown,
                                QString(ch), Qt::NoModifier);

        if (starts.isEmpty()) {
            QVERIFY(m_bar->isNotFound());
            QCOMPARE(m_bar->statusText(), QStringLiteral("Not found"));
            QVERIFY(!m_editor->textCursor().hasSelection());
            return;
        }
        QList<int> visited{selection().first};
        for (int i = 1; i < starts.size(); ++i) {
            press(field("findField"), Qt::Key_Return);
            visited << selection().first;
        }
        QCOMPARE(visited, starts);
        QCOMPARE(selection().second - selection().first, pattern.size());
        const QString count = QStringLiteral("%1 of %2").arg(starts.size()).arg(starts.size());
        QTRY_COMPARE(m_bar->statusText(), count);

        press(field("findField"), Qt::Key_Return);
        QCOMPARE(selection().first, starts.first());
        QVERIFY(m_bar->statusText().startsWith("Continued from the top"));
        press(field("findField"), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(selection().first, starts.last());
    }

    // Escape in the bar closes it and gives the text the focus, without play/pause; in the
    // text, Escape plays and pauses again, and Find Next and Previous still find.
    void escape_closesBarWithoutTogglingPlayback()
    {
        int toggles = 0;
        // Escape plays and pauses as the window's action does.
        QAction playPause(m_window.get());
        playPause.setShortcut(Qt::Key_Escape);
        m_window->addAction(&playPause);
        connect(&playPause, &QAction::triggered, this, [&toggles] { ++toggles; });
        m_document->setPlainText(QStringLiteral("one two one two one"));
        press(m_editor, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(field("findField"), "one");
        press(field("findField"), Qt::Key_Escape);
        QVERIFY(!m_bar->isVisible());
        QVERIFY(m_editor->hasFocus());
        QCOMPARE(toggles, 0);
        QCOMPARE(selection(), qMakePair(0, 3));

        press(m_editor, Qt::Key_F3);
        QCOMPARE(selection(), qMakePair(8, 11));
        press(m_editor, Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selection(), qMakePair(0, 3));
        press(m_editor, Qt::Key_Escape);
        QCOMPARE(toggles, 1);
    }

    // Ctrl+H starts in the find field while there is nothing to find, else in the replace field;
    // Return there replaces the selected match and moves on; Ctrl+Alt+Return replaces every
    // match as one undo step and says how many.
    void replace_byKeyboard_allIsOneUndoStep()
    {
        const QString text = QStringLiteral("a cat, a Cat\nand a cat");
        m_document->setPlainText(text);
        press(m_editor, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(field("replaceField")->isVisible() && field("findField")->hasFocus());
        QTest::keyClicks(field("findField"), "cat");
        press(field("findField"), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(field("replaceField")->hasFocus());
        QTest::keyClicks(field("replaceField"), "dog");
        press(field("replaceField"), Qt::Key_Return);
        QCOMPARE(m_document->toPlainText(), QStringLiteral("a dog, a Cat\nand a cat"));
        QCOMPARE(selection(), qMakePair(9, 12));

        press(field("replaceField"), Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(m_document->toPlainText(), QStringLiteral("a dog, a dog\nand a dog"));
        QVERIFY(m_bar->statusText().startsWith("Replaced: 2"));
        m_commands->undoAction()->trigger();
        QCOMPARE(m_document->toPlainText(), QStringLiteral("a dog, a Cat\nand a cat"));
        m_commands->undoAction()->trigger();
        QCOMPARE(m_document->toPlainText(), text);
    }

    // Each command is enabled exactly when it can act: nothing without an editor, no Undo on a
    // fresh text, Copy with a selection, Find Next with something to find.
    void actions_enabledExactlyWhenTheyCanAct()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        const auto enabled = [this] {
            QStringList names;
            for (QAction* action :
                 {m_commands->undoAction(), m_commands->redoAction(), m_commands->cutAction(),
                  m_commands->copyAction(), m_commands->pasteAction(), m_commands->deleteAction(),
                  m_commands->selectAllAction(), m_commands->findAction(),
                  m_commands->findNextAction(), m_commands->replaceAction()}) {
                if (action->isEnabled())
                    names << action->iconText();
            }
            return names.join(u',');
        };
        m_document->setPlainText(QStringLiteral("fresh text"));
        QCOMPARE(enabled(), QStringLiteral("Paste,Select All,Find…,Replace…"));
        QTest::keyClicks(m_editor, "x");
        press(m_editor, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(enabled(), QStringLiteral("Undo,Cut,Copy,Paste,Delete,Select All,Find…,Replace…"));
        press(m_editor, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(enabled().contains("Find Next"));

        m_commands->setEditor(nullptr, nullptr);
        QCOMPARE(enabled(), QString());
    }
};

QTEST_MAIN(tst_FindBar)
#include "tst_FindBar.moc"
