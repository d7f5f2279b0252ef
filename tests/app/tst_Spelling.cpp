// Spelling in the real editor over the real Enchant dictionaries, in a temporary home (where
// Enchant keeps the personal word list).
#include "AppSettings.h"
#include "CommandRegistry.h"
#include "EditCommands.h"
#include "SpellChecker.h"
#include "Speller.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

#include <sys/stat.h>

using namespace dictaro;

class tst_Spelling : public QObject
{
    Q_OBJECT

    test::TemporaryHome m_home;
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

    void start(const QString& language, const QString& text = {})
    {
        requireDictionary(language);
        AppSettings::shared().setSpellingLanguage(language);
        m_checker = std::make_unique<SpellChecker>(AppSettings::shared(), QStringLiteral("en"));
        m_registry = std::make_unique<CommandRegistry>();
        m_commands = std::make_unique<EditCommands>(*m_checker, *m_registry);
        m_document = std::make_unique<QTextDocument>(text);
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
        if (!QTest::qWaitFor([this] {
                return !m_checker->isLoading() && m_editor->highlighter()->isSpellingUpToDate();
            }))
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
            if (action->iconText() == text) // without the menu letter
                return action;
        }
        return nullptr;
    }
    // Chooses `item` in the right-click menu over `word`.
    void choose(const QString& word, const QString& item)
    {
        const std::unique_ptr<QMenu> menu(contextMenuAt(word));
        QAction* action = actionNamed(menu.get(), item);
        QVERIFY2(action, qPrintable(item));
        action->trigger();
    }

private slots:
    void initTestCase()
    {
        // Enchant writes the personal word list under the configuration folder of the home.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
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
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QString>("typed");
        QTest::newRow("apostrophes")
            << "en_US" << QStringList{"shouldn't'v"} << "don't don\u2019t shouldn't'v";
        QTest::newRow("Turkish") << "tr_TR" << QStringList{"güzelldi"}
                                 << "Ankara'da ışık İstanbul’da güzelldi ılık";
    }
    // Typed key by key; only what is misspelt in the chosen dictionary is underlined.
    void typing_marksOnlyMisspeltWords()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, marked);
        QFETCH(QString, typed);
        start(language);
        typeText(typed + u' ');
        QCOMPARE(markedWords().join(u"|"), marked.join(u"|"));
    }

    // A dictionary takes megabytes: a transcript with no words loads none until the first key,
    // one with words loads it at once.
    void dictionary_loadedOnceThereAreWords()
    {
        start(QStringLiteral("en_US"));
        QTest::qWait(50);
        QVERIFY(!m_checker->isLoading() && !m_checker->hasDictionary());
        typeText(QStringLiteral("Hlelo"));
        QVERIFY(m_checker->isLoading());
        QTest::keyClick(m_editor.get(), Qt::Key_Home);
        QCOMPARE(markedWords(), QStringList{"Hlelo"});

        cleanup();
        start(QStringLiteral("en_US"), QStringLiteral("wrods"));
        QVERIFY(m_checker->isLoading());
        QCOMPARE(markedWords(), QStringList{"wrods"});
    }

    // The word being typed is marked once finished: at a space, or when the caret leaves it.
    // A suggestion replaces the word; one undo brings it back, and the typing before it stays.
    void typing_marksWordOnceFinished_suggestionIsOneUndoStep()
    {
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("we saw teh"));
        QCOMPARE(markedWords(), QStringList());
        typeText(QStringLiteral(" wrods"));
        QCOMPARE(markedWords(), QStringList{"teh"});
        QTest::keyClick(m_editor.get(), Qt::Key_Left);
        QCOMPARE(markedWords(), QStringList{"teh"});
        QTest::keyClick(m_editor.get(), Qt::Key_Home);
        QCOMPARE(markedWords(), (QStringList{"teh", "wrods"}));

        choose("teh", "the");
        QCOMPARE(m_document->toPlainText(), QStringLiteral("we saw the wrods"));
        QCOMPARE(markedWords(), QStringList{"wrods"});
        QTest::keyClick(m_editor.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_document->toPlainText(), QStringLiteral("we saw teh wrods"));
        QCOMPARE(markedWords(), (QStringList{"teh", "wrods"}));
    }

    // "Add to Dictionary" lasts beyond a restart of the checker; "Ignore" only for this run.
    void addToDictionary_survivesRestart_ignoreDoesNot()
    {
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("Zorblat met Quxfoo. "));
        QCOMPARE(markedWords(), QStringList({"Zorblat", "Quxfoo"}));
        choose("Zorblat", "Add to Dictionary");
        choose("Quxfoo", "Ignore");
        QCOMPARE(markedWords(), QStringList());

        cleanup();
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("Zorblat met Quxfoo. "));
        QCOMPARE(markedWords(), QStringList{"Quxfoo"});
    }

    // Another dictionary marks other words (none kept from the one before). Checking turned
    // off, or a language without a dictionary: nothing is marked, the Spelling menu says why,
    // and the choice is remembered.
    void marks_followDictionaryAndSwitch()
    {
        requireDictionary(QStringLiteral("tr_TR"));
        start(QStringLiteral("en_US"));
        typeText(QStringLiteral("merhaba house "));
        QCOMPARE(markedWords(), QStringList{"merhaba"});
        m_checker->setLanguage(QStringLiteral("tr_TR"));
        QCOMPARE(markedWords(), QStringList{"house"});
        m_commands->checkSpellingAction()->trigger();
        QCOMPARE(markedWords(), QStringList());
        m_commands->checkSpellingAction()->trigger();
        QCOMPARE(markedWords(), QStringList{"house"});

        m_checker->setLanguage(QStringLiteral("xx_YY"));
        QCOMPARE(markedWords(), QStringList());
        std::unique_ptr<QMenu> menu(m_commands->createMenu(nullptr));
        QMenu* spelling = menu->actions().constLast()->menu();
        emit spelling->aboutToShow(); // filled as it opens
        QAction* missing = actionNamed(spelling, "No Dictionary for xx_YY");
        QVERIFY(missing && !missing->isEnabled());
        QVERIFY(!actionNamed(spelling, SpellChecker::displayName("tr_TR"))->isChecked());

        cleanup();
        m_checker.reset(); // nothing may keep the settings object when it is read again
        AppSettings::resetSharedForTesting();
        QCOMPARE(AppSettings::shared().spellingLanguage(), QStringLiteral("xx_YY"));
    }

    // The interface's language in its main region, else another region, else that of the
    // interface even without its dictionary.
    void defaultLanguage_followsInterfaceLanguage()
    {
        QCOMPARE(SpellChecker::defaultLanguage("en", {"en_GB", "en_US", "tr_TR"}), "en_US");
        QCOMPARE(SpellChecker::defaultLanguage("tr", {"en_US", "tr_TR"}), "tr_TR");
        QCOMPARE(SpellChecker::defaultLanguage("en", {"en_GB", "tr_TR"}), "en_GB");
        QCOMPARE(SpellChecker::defaultLanguage("tr", {"en_US"}), "tr_TR");
    }

    // The personal word list and the list of removed words, as other programs leave them:
    // their words count from the start.
    void wordLists_readAtStart()
    {
        requireDictionary(QStringLiteral("en_US"));
        const QString list = Speller::personalWordList(QStringLiteral("en_US"));
        // The last line not ended.
        QVERIFY(test::writeFile(list, "Quelvorn\nTrazzik", QIODevice::Append));
        const QString removed = QFileInfo(list).path() + QStringLiteral("/en_US.exc");
        QVERIFY(test::writeFile(removed, "house\n"));
        AppSettings::shared().setSpellingLanguage(QStringLiteral("en_US"));
        SpellChecker checker(AppSettings::shared(), QStringLiteral("en"));
        // Nothing is loaded before it is needed, and then in the background.
        QVERIFY(!checker.isLoading() && !checker.hasDictionary());
        checker.prepare();
        QVERIFY(checker.isLoading());
        QTRY_VERIFY(checker.hasDictionary());
        QVERIFY(!checker.isMisspelt(u"Quelvorn") && !checker.isMisspelt(u"Trazzik"));
        QVERIFY(checker.isMisspelt(u"house"));
        QVERIFY(QFile::remove(removed));
    }

    // A word list that is a pipe, a device, a folder or too large neither holds up the start
    // nor is written to; adding a word then says that it was not kept, in words the screen
    // shows, and the word is still accepted until the program ends.
    void wordListThatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("link to /dev/zero") << "zero";
        QTest::newRow("folder") << "folder";
        QTest::newRow("too large") << "large";
    }
    void wordListThatIsNoFile()
    {
        QFETCH(QString, kind);
        const QString list = Speller::personalWordList(QStringLiteral("en_US"));
        const auto removeList = [&] {
            return QFileInfo(list).isDir() ? QDir(list).removeRecursively() : QFile::remove(list);
        };
        removeList(); // also what a failed row left
        QVERIFY(QDir().mkpath(QFileInfo(list).path()));
        if (kind == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
        } else if (kind == "zero") {
            QVERIFY(QFile::link("/dev/zero", list));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(list));
        } else {
            QFile large(list);
            QVERIFY(large.open(QIODevice::WriteOnly));
            const QByteArray line("Gorbantle\n");
            for (qint64 written = 0; written <= Speller::maxWordListBytes; written += line.size())
                large.write(line);
        }
        start(QStringLiteral("en_US"));
        QSignalSpy errors(m_checker.get(), &SpellChecker::wordListErrorChanged);
        typeText(QStringLiteral("Teh Gorbantle house "));
        QCOMPARE(markedWords(), QStringList({"Teh", "Gorbantle"}));
        choose("Gorbantle", "Add to Dictionary");
        QCOMPARE(markedWords(), QStringList{"Teh"});
        QCOMPARE(errors.count(), 1);
        const QString error = m_checker->wordListError().value_or(QString());
        QVERIFY(error.contains(u"Gorbantle") && error.contains(list));
        const QFileInfo info(list);
        QCOMPARE(info.isFile(), kind == "large");
        QCOMPARE(info.isSymLink(), kind == "zero");
        if (kind == "large")
            QCOMPARE(info.size() % 10, 0);
        // A word that is kept takes the message away.
        QVERIFY(removeList());
        choose("Teh", "Add to Dictionary");
        QVERIFY(!m_checker->wordListError());
    }

    // A long text is not checked all at once; idle slices get through all of it, and what
    // comes on screen shows its marks.
    void longText_checkedInBackground()
    {
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
