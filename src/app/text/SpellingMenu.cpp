#include "SpellingMenu.h"

#include "Command.h"
#include "Localization.h"
#include "SpellChecker.h"
#include "TranscriptEditor.h"

#include <QAction>
#include <QActionGroup>
#include <QFont>
#include <QMenu>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

namespace dictaro {

SpellingMenu::SpellingMenu(SpellChecker& spelling, QObject* parent)
    : QObject(parent), m_spelling(spelling)
{
    m_checkSpelling = new QAction(Localization::tr("&Check Spelling While Typing"), this);
    m_checkSpelling->setCheckable(true);
    m_checkSpelling->setChecked(m_spelling.isEnabled());
    connect(m_checkSpelling, &QAction::toggled, &m_spelling, &SpellChecker::setEnabled);
    connect(&m_spelling, &SpellChecker::isEnabledChanged, m_checkSpelling, &QAction::setChecked);
}

QMenu* SpellingMenu::createMenu(QWidget* parent)
{
    auto* menu = new QMenu(Localization::tr("&Spelling"), parent);
    // Filled each time it opens: the dictionaries and the language in use may have changed.
    // Until then it holds only the switch, so that building the menus loads no dictionary.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fill(menu); });
    menu->addAction(m_checkSpelling);
    return menu;
}

void SpellingMenu::fill(QMenu* menu)
{
    // The list of dictionaries is known once one has been loaded.
    m_spelling.prepare();
    menu->clear();
    menu->addAction(m_checkSpelling);
    menu->addSeparator();
    // Each item of the list gets the first letter of its name that the menu has not used yet.
    QString used = Commands::mnemonic(m_checkSpelling->text());
    const auto marked = [&used](const QString& name) {
        QString text = name;
        text.replace(u'&', QLatin1String("&&"));
        for (qsizetype i = 0; i < name.size(); ++i) {
            const QChar letter = name.at(i).toUpper();
            if (letter.isLetterOrNumber() && !used.contains(letter)) {
                used.append(letter);
                // Counted in the escaped text: each "&" before it became two.
                text.insert(i + name.left(i).count(u'&'), u'&');
                break;
            }
        }
        return text;
    };
    const QStringList languages = m_spelling.availableLanguages();
    if (!m_spelling.hasDictionary()) {
        const QString text = m_spelling.isLoading() ? Localization::tr("Loading the Dictionary…")
                             : languages.isEmpty()
                                 ? Localization::tr("No Dictionaries Installed")
                                 : Localization::tr("No Dictionary for %1")
                                       .arg(SpellChecker::displayName(m_spelling.language()));
        menu->addAction(marked(text))->setEnabled(false);
    }
    auto* group = new QActionGroup(menu);
    for (const QString& language : languages) {
        QAction* item = menu->addAction(marked(SpellChecker::displayName(language)));
        item->setCheckable(true);
        item->setChecked(language == m_spelling.language());
        item->setData(language);
        group->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, language] { m_spelling.setLanguage(language); });
    }
}

void SpellingMenu::addSuggestions(QMenu* menu, TranscriptEditor* editor,
                                  const QPoint& viewportPosition)
{
    if (!editor || !m_spelling.isActive())
        return;
    const QTextCursor at = editor->cursorForPosition(viewportPosition);
    const QTextBlock block = at.block();
    const QString text = block.text();
    const SpellChecker::Range word =
        SpellChecker::checkableWordAt(text, at.position() - block.position());
    const QString misspelt = text.mid(word.start, word.end - word.start);
    if (misspelt.isEmpty() || !m_spelling.isMisspelt(misspelt))
        return;
    const int start = block.position() + int(word.start);
    const int end = block.position() + int(word.end);
    const QStringList suggestions = m_spelling.suggestions(misspelt);
    for (const QString& suggestion : suggestions) {
        QAction* item = menu->addAction(suggestion);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        QPointer<TranscriptEditor> target = editor;
        connect(item, &QAction::triggered, this, [target, start, end, suggestion] {
            if (!target)
                return;
            // One undo step, never merged with the typing before it.
            QTextCursor cursor(target->document());
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            cursor.beginEditBlock();
            cursor.insertText(suggestion);
            cursor.endEditBlock();
            target->setTextCursor(cursor);
        });
    }
    if (suggestions.isEmpty())
        menu->addAction(Localization::tr("No Suggestions"))->setEnabled(false);
    menu->addSeparator();
    connect(menu->addAction(Localization::tr("Add to Dictionary")), &QAction::triggered, this,
            [this, misspelt] { m_spelling.addToDictionary(misspelt); });
    connect(menu->addAction(Localization::tr("Ignore")), &QAction::triggered, this,
            [this, misspelt] { m_spelling.ignore(misspelt); });
    menu->addSeparator();
}

} // namespace dictaro
