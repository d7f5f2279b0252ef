#include "EditCommands.h"

#include "CommandRegistry.h"
#include "EditActions.h"
#include "Localization.h"
#include "SpellChecker.h"
#include "SpellingMenu.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>

namespace dictaro {

EditCommands::EditCommands(SpellChecker& spelling, CommandRegistry& commands, QObject* parent)
    : QObject(parent), m_spelling(spelling), m_commands(commands),
      m_actions(new EditActions(commands, this)), m_spellingMenu(new SpellingMenu(spelling, this))
{}

EditCommands::~EditCommands() = default;

void EditCommands::setEditor(TranscriptEditor* editor, FindBar* findBar)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_editorConnections))
        disconnect(connection);
    m_editorConnections.clear();
    m_editor = editor;
    m_actions->setEditor(editor, findBar);
    if (!m_editor)
        return;
    m_editor->highlighter()->setSpellChecker(&m_spelling);
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    m_editorConnections = {
        connect(m_editor, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& position) {
                    if (!m_editor)
                        return;
                    QMenu* menu = createContextMenu(position, m_editor);
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    menu->popup(m_editor->viewport()->mapToGlobal(position));
                }),
        // The caret's blink and an edit within a line repaint a part of the screen; only a
        // scroll or a change of the layout (a whole repaint) can show other paragraphs.
        connect(m_editor, &QPlainTextEdit::updateRequest, this,
                [this](const QRect& area, int dy) {
                    if (dy != 0 || area.contains(m_editor->viewport()->rect()))
                        updatePriorityBlocks();
                }),
        // A taller or shorter view shows more or fewer paragraphs without either.
        connect(m_editor->verticalScrollBar(), &QScrollBar::rangeChanged, this,
                [this] { updatePriorityBlocks(); }),
    };
    // A dictionary takes megabytes (tens for some languages), so it is loaded once there are
    // words to check: at once for a transcript with text, at the first key for a new one, and
    // never for a recording that is only listened to.
    QTextDocument* document = m_editor->document();
    if (document->isEmpty()) {
        m_editorConnections.append(
            connect(document, &QTextDocument::contentsChanged, this, [this, document] {
                if (!document->isEmpty())
                    m_spelling.prepare();
            }));
    } else {
        m_spelling.prepare();
    }
    updatePriorityBlocks();
}

TranscriptEditor* EditCommands::editor() const
{
    return m_editor.data();
}

void EditCommands::updatePriorityBlocks()
{
    if (!m_editor)
        return;
    const QRect area = m_editor->viewport()->rect();
    m_editor->highlighter()->setPriorityBlocks(
        m_editor->cursorForPosition(area.topLeft()).blockNumber(),
        m_editor->cursorForPosition(area.bottomRight()).blockNumber());
}

QAction* EditCommands::undoAction() const
{
    return m_commands.action(Command::Undo);
}

QAction* EditCommands::redoAction() const
{
    return m_commands.action(Command::Redo);
}

QAction* EditCommands::cutAction() const
{
    return m_commands.action(Command::Cut);
}

QAction* EditCommands::copyAction() const
{
    return m_commands.action(Command::Copy);
}

QAction* EditCommands::pasteAction() const
{
    return m_commands.action(Command::Paste);
}

QAction* EditCommands::deleteAction() const
{
    return m_commands.action(Command::Delete);
}

QAction* EditCommands::selectAllAction() const
{
    return m_commands.action(Command::SelectAll);
}

QAction* EditCommands::findAction() const
{
    return m_commands.action(Command::Find);
}

QAction* EditCommands::findNextAction() const
{
    return m_commands.action(Command::FindNext);
}

QAction* EditCommands::findPreviousAction() const
{
    return m_commands.action(Command::FindPrevious);
}

QAction* EditCommands::replaceAction() const
{
    return m_commands.action(Command::Replace);
}

QAction* EditCommands::checkSpellingAction() const
{
    return m_spellingMenu->checkSpellingAction();
}

QMenu* EditCommands::createMenu(QWidget* parent)
{
    auto* menu = new QMenu(Commands::groupTitle(CommandGroup::Edit), parent);
    for (const Command command : Commands::inGroup(CommandGroup::Edit)) {
        if (Commands::startsSection(command))
            menu->addSeparator();
        menu->addAction(m_commands.action(command));
    }
    menu->addSeparator();
    menu->addMenu(m_spellingMenu->createMenu(menu));
    return menu;
}

QMenu* EditCommands::createContextMenu(const QPoint& viewportPosition, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("editorContextMenu"));
    m_spellingMenu->addSuggestions(menu, m_editor, viewportPosition);
    m_actions->updateActions();
    const auto add = [this, menu](std::initializer_list<Command> commands) {
        for (const Command command : commands)
            menu->addAction(m_commands.action(command));
    };
    add({Command::Undo, Command::Redo});
    menu->addSeparator();
    add({Command::Cut, Command::Copy, Command::Paste, Command::Delete});
    menu->addSeparator();
    add({Command::SelectAll, Command::Find});
    return menu;
}

} // namespace dictaro
