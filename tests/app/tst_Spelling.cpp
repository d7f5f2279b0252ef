// Spelling in the real editor over the real Enchant dictionaries, in a temporary home (where
// Enchant keeps the personal word list).
#include "AppSettings.h"
#include "CommandRegistry.h"
#include "EditCommands.h"
#include "SpellChecker.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

using namespace dictaro;

class tst_Spelling : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<SpellChecker> m_checker;
    std::unique_ptr<CommandRegistry> m_registry;
    std::unique_ptr<EditCommands> m_commands;
    std::unique_ptr<TranscriptEditor> m_editor;

    void requireDictionary(const QString& language)
    {
        if (!SpellChecker::installedLanguages().contains(language))
            QSKIP(qPrintable(language + " dictionary is not installed (scripts/install-deps)"));
    }

    void start(const QString& language)
    {
        AppSettings::shared().setSpellingLanguage(language);
        m_checker = std::make_unique<SpellChecker>(AppSettings::shared(), QStringLiteral("en"));
        m_registry = std::make_unique<CommandRegistry>();
        m_commands = std::make_unique<EditCommands>(*m_checker, *m_registry);
        m_document = std::make_unique<QTextDocument>();
        m_editor = std::make_unique<TranscriptEditor>(m_document.get());
        m_editor->resize(640, 400);
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
        m_commands->setEditor(m_editor.get(), nullptr);
    }

    // One key event per character, as a keyboard sends them (also for non-ASCII letters).
    void typeText(const QString& text)
    {
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::KeyAction::Click, m_editor.get(), Qt::Key_unknown,
                                QString(ch), Qt::NoModifier);
    }

    // The words drawn with the spell-check underline, once checking has caught up.
    QStringList markedWords() const
    {
        QStringList words;
        if (!QTest::qWaitFor([this] { return m_editor->highlighter()->isSpellingUpToDate(); }))
            return {QStringLiteral("(checking never finished)")};
        for (QTextBlock block = m_editor->document()->begin(); block.isValid();
             block = block.next()) {
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                    words << block.text().mid(range.start, range.length);
            }
        }
        return words;
    }

    // The right-click menu over the first occurrence of `word`.
    QMenu* contextMenuAt(const QString& word)
    {
        QTextCursor cursor(m_editor->document());
        cursor.setPosition(int(m_document->toPlainText().indexOf(word)) + 1);
        const QPoint point = m_editor->cursorRect(cursor).center();
        return m_commands->createContextMenu(point, m_editor.get());
    }

    static QAction* actionNamed(QMenu* menu, const QString& text)
    {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        // Enchant writes the personal word list under the configuration folder of the home.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home.filePath("settings"));
        AppSettings::resetSharedForTesting();
    }

    void cleanup()
    {
        m_editor.reset();
        m_document.reset();
        m_commands.reset();
        m_checker.reset();
        AppSettings::shared().setCheckSpellingWhileTyping(true);
    }

    void typing_marksOnlyMisspeltWords_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("English") << "en_US"
                                 << "Teh recieved wrods" << QStringList{"Teh", "recieved", "wrods"};
        QTest::newRow("apostrophes")
            << "en_US"
            << "don't don\u2019t shouldn't'v" << QStringList{"shouldn't'v"};
        QTest::newRow("never checked")
            << "en_US"
            << "[00:01:23] 1999 3rd h2o xqzt1 www.exmaple.com https://exmaple.org/xyq "
               "nobdy@exmaple.com e.g. done"
            << QStringList{};
        QTest::newRow("Turkish") << "tr_TR"
                                 << "Ankara'da ışık İstanbul’da güzelldi ılık"
                                 << QStringList{"güzelldi"};
    }
    // Typed key by key; only what is misspelt in the chosen dictionary is underlined.
    void typing_marksOnlyMisspeltWords()
    {
        QFETCH(QString, language);
        QFETCH(QString, typed);
        QFETCH(QStringList, marked);
        requireDictionary(language);
        start(language);
        typeText(typed + u' ');
        QCOMPARE(markedWords().join(u"|"), marked.join(u"|"));
    }

    // The word being typed is marked once finished: at a space, or when the caret leaves it.
    void typing_marksWordOnceFinished()
    {
        requireDictionary(QStringLiteral("en_US"));
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("we saw teh"));
        QCOMPARE(markedWords(), QStringList());
        typeText(QStringLiteral(" wrods"));
        QCOMPARE(markedWords(), QStringList{"teh"});
        QTest::keyClick(m_editor.get(), Qt::Key_Left);
        QCOMPARE(markedWords(), QStringList{"teh"});
        QTest::keyClick(m_editor.get(), Qt::Key_Home);
        QCOMPARE(markedWords(), (QStringList{"teh", "wrods"}));
    }

    // A suggestion replaces the word; one undo brings it back, and the typing before it stays.
    void suggestion_replacesWordAsOneUndoStep()
    {
        requireDictionary(QStringLiteral("en_US"));
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("we saw teh cat"));
        QCOMPARE(markedWords(), QStringList{"teh"});
        std::unique_ptr<QMenu> menu(contextMenuAt(QStringLiteral("teh")));
        QAction* the = actionNamed(menu.get(), QStringLiteral("the"));
        QVERIFY(the);
        QVERIFY(menu->actions().indexOf(the) < SpellChecker::maxSuggestions);
        the->trigger();
        QCOMPARE(m_document->toPlainText(), QStringLiteral("we saw the cat"));
        QCOMPARE(markedWords(), QStringList());
        QTest::keyClick(m_editor.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_document->toPlainText(), QStringLiteral("we saw teh cat"));
        QCOMPARE(markedWords(), QStringList{"teh"});
    }

    // "Add to Dictionary" lasts beyond a restart of the checker; "Ignore" only for this run.
    void addToDictionary_survivesRestart_ignoreDoesNot()
    {
        requireDictionary(QStringLiteral("en_US"));
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("Zorblat met Quxfoo. "));
        QCOMPARE(markedWords(), QStringList({"Zorblat", "Quxfoo"}));
        actionNamed(std::unique_ptr<QMenu>(contextMenuAt("Zorblat")).get(), "Add to Dictionary")
            ->trigger();
        actionNamed(std::unique_ptr<QMenu>(contextMenuAt("Quxfoo")).get(), "Ignore")->trigger();
        QCOMPARE(markedWords(), QStringList());

        cleanup();
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("Zorblat met Quxfoo. "));
        QCOMPARE(markedWords(), QStringList{"Quxfoo"});
    }

    // Checking turned off, or a language without a dictionary: nothing is marked, the Spelling
    // menu says why, and the choice is remembered.
    void nothingMarked_whenOffOrWithoutDictionary()
    {
        requireDictionary(QStringLiteral("en_US"));
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("Teh end"));
        QCOMPARE(markedWords(), QStringList{"Teh"});
        m_commands->checkSpellingAction()->trigger();
        QCOMPARE(markedWords(), QStringList());
        m_commands->checkSpellingAction()->trigger();
        QCOMPARE(markedWords(), QStringList{"Teh"});

        m_checker->setLanguage(QStringLiteral("xx_YY"));
        QCOMPARE(markedWords(), QStringList());
        std::unique_ptr<QMenu> menu(m_commands->createMenu(nullptr));
        QMenu* spelling = menu->actions().constLast()->menu();
        QAction* missing = actionNamed(spelling, "No Dictionary for xx_YY");
        QVERIFY(missing && !missing->isEnabled());
        QVERIFY(!actionNamed(spelling, SpellChecker::displayName("en_US"))->isChecked());

        cleanup();
        m_checker.reset(); // nothing may keep the settings object when it is read again
        AppSettings::resetSharedForTesting();
        QCOMPARE(AppSettings::shared().spellingLanguage(), QStringLiteral("xx_YY"));
    }

    void defaultLanguage_followsInterfaceLanguage_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QStringList>("available");
        QTest::addColumn<QString>("expected");
        QTest::newRow("English") << "en" << QStringList{"en_GB", "en_US", "tr_TR"} << "en_US";
        QTest::newRow("Turkish") << "tr" << QStringList{"en_US", "tr_TR"} << "tr_TR";
        QTest::newRow("other region") << "en" << QStringList{"en_GB", "tr_TR"} << "en_GB";
        QTest::newRow("none") << "tr" << QStringList{"en_US"} << "tr_TR";
    }
    void defaultLanguage_followsInterfaceLanguage()
    {
        QFETCH(QString, interface);
        QFETCH(QStringList, available);
        QFETCH(QString, expected);
        QCOMPARE(SpellChecker::defaultLanguage(interface, available), expected);
    }

    // A long text is not checked all at once; idle slices get through all of it, and what
    // comes on screen shows its marks.
    void longText_checkedInBackground()
    {
        requireDictionary(QStringLiteral("en_US"));
        start(QStringLiteral("en_US"));
        QStringList lines;
        for (int i = 0; i < 3000; ++i)
            lines << QStringLiteral("[00:00:%1] some plain words here and there")
                         .arg(i % 60, 2, 10, QChar(u'0'));
        lines[1500] = QStringLiteral("a lsat wrod");
        lines.append(QStringLiteral("the end"));
        m_document->setPlainText(lines.join(u'\n'));
        QVERIFY(!m_editor->highlighter()->isSpellingUpToDate());
        QCOMPARE(markedWords(), QStringList());
        m_editor->setTextCursor(QTextCursor(m_editor->document()->findBlockByNumber(1500)));
        m_editor->ensureCursorVisible();
        QCOMPARE(markedWords(), QStringList({"lsat", "wrod"}));
    }
};

QTEST_MAIN(tst_Spelling)
#include "tst_Spelling.moc"
