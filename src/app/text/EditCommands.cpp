#include "EditCommands.h"

#include "FindController.h"
#include "Localization.h"
#include "SpellChecker.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "FindBar.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace dictaro {

EditCommands::EditCommands(SpellChecker& spelling, QObject* parent)
    : QObject(parent), m_spelling(spelling)
{
    m_undo = makeAction(Localization::tr("Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                        &EditCommands::undo);
    m_redo = makeAction(
        Localization::tr("Redo"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        &EditCommands::redo);
    m_cut = makeAction(Localization::tr("Cut"), {QKeySequence::Cut}, &EditCommands::cut);
    m_copy = makeAction(Localization::tr("Copy"), {QKeySequence::Copy}, &EditCommands::copy);
    m_paste = makeAction(Localization::tr("Paste"), {QKeySequence::Paste}, &EditCommands::paste);
    m_delete = makeAction(Localization::tr("Delete"), {QKeySequence::Delete},
                          &EditCommands::deleteSelection);
    m_selectAll = makeAction(Localization::tr("Select All"), {QKeySequence::SelectAll},
                             &EditCommands::selectAll);
    m_find = makeAction(Localization::tr("Find…"), {QKeySequence(Qt::CTRL | Qt::Key_F)},
                        &EditCommands::find);
    m_findNext = makeAction(Localization::tr("Find Next"),
                            {QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::Key_G)},
                            &EditCommands::findNext);
    m_findPrevious = makeAction(
        Localization::tr("Find Previous"),
        {QKeySequence(Qt::SHIFT | Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
        &EditCommands::findPrevious);
    m_replace = makeAction(Localization::tr("Replace…"), {QKeySequence(Qt::CTRL | Qt::Key_H)},
                           &EditCommands::replace);

    m_checkSpelling = new QAction(Localization::tr("Check Spelling While Typing"), this);
    m_checkSpelling->setCheckable(true);
    m_checkSpelling->setChecked(m_spelling.isEnabled());
    connect(m_checkSpelling, &QAction::toggled, &m_spelling, &SpellChecker::setEnabled);
    connect(&m_spelling, &SpellChecker::isEnabledChanged, m_checkSpelling, &QAction::setChecked);

    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &EditCommands::updateActions);
    updateActions();
}

EditCommands::~EditCommands() = default;

QAction* EditCommands::makeAction(const QString& text, const QList<QKeySequence>& keys,
                                  void (EditCommands::*run)())
{
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    return action;
}

void EditCommands::setEditor(TranscriptEditor* editor, FindBar* findBar)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_editorConnections))
        disconnect(connection);
    m_editorConnections.clear();
    m_editor = editor;
    m_findBar = findBar;
    if (m_findBar)
        m_findBar->setEditor(editor);
    if (m_editor) {
        m_editor->highlighter()->setSpellChecker(&m_spelling);
        m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
        const auto update = [this] { updateActions(); };
        m_editorConnections = {
            connect(m_editor, &QPlainTextEdit::undoAvailable, this, update),
            connect(m_editor, &QPlainTextEdit::redoAvailable, this, update),
            connect(m_editor, &QPlainTextEdit::copyAvailable, this, update),
            connect(m_editor, &QPlainTextEdit::textChanged, this, update),
            // Mid-destruction the editor is no editor any more: forget it before looking.
            connect(m_editor, &QObject::destroyed, this,
                    [this] {
                        m_editor.clear();
                        updateActions();
                    }),
            connect(m_editor, &QWidget::customContextMenuRequested, this,
                    [this](const QPoint& position) {
                        if (!m_editor)
                            return;
                        QMenu* menu = createContextMenu(position, m_editor);
                        menu->setAttribute(Qt::WA_DeleteOnClose);
                        menu->popup(m_editor->viewport()->mapToGlobal(position));
                    }),
            connect(m_editor, &QPlainTextEdit::updateRequest, this,
                    [this] { updatePriorityBlocks(); }),
        };
        updatePriorityBlocks();
    }
    if (m_findBar && m_findBar->controller())
        m_editorConnections.append(connect(m_findBar->controller(), &FindController::searchChanged,
                                           this, [this] { updateActions(); }));
    updateActions();
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

void EditCommands::updateActions()
{
    TranscriptEditor* editor = m_editor.data();
    const QTextDocument* document = editor ? editor->document() : nullptr;
    const bool writable = editor && !editor->isReadOnly();
    const bool selection = editor && editor->textCursor().hasSelection();
    m_undo->setEnabled(writable && document->isUndoAvailable());
    m_redo->setEnabled(writable && document->isRedoAvailable());
    m_cut->setEnabled(writable && selection);
    m_copy->setEnabled(selection);
    m_paste->setEnabled(writable && editor->canPaste());
    m_delete->setEnabled(writable && selection);
    m_selectAll->setEnabled(document && !document->isEmpty());
    const bool findBar = editor && m_findBar && m_findBar->controller();
    const bool canFind = findBar && !m_findBar->controller()->pattern().isEmpty();
    m_find->setEnabled(findBar);
    m_findNext->setEnabled(canFind);
    m_findPrevious->setEnabled(canFind);
    m_replace->setEnabled(findBar && writable);
}

QMenu* EditCommands::createMenu(QWidget* parent)
{
    auto* menu = new QMenu(Localization::tr("Edit"), parent);
    menu->addActions({m_undo, m_redo});
    menu->addSeparator();
    menu->addActions({m_cut, m_copy, m_paste, m_delete, m_selectAll});
    menu->addSeparator();
    menu->addActions({m_find, m_findNext, m_findPrevious, m_replace});
    menu->addSeparator();
    QMenu* spelling = menu->addMenu(Localization::tr("Spelling"));
    // Filled each time it opens: the dictionaries and the language in use may have changed.
    connect(spelling, &QMenu::aboutToShow, this, [this, spelling] { fillSpellingMenu(spelling); });
    fillSpellingMenu(spelling);
    return menu;
}

void EditCommands::fillSpellingMenu(QMenu* menu)
{
    menu->clear();
    menu->addAction(m_checkSpelling);
    menu->addSeparator();
    const QStringList languages = m_spelling.availableLanguages();
    if (!m_spelling.hasDictionary()) {
        const QString text = languages.isEmpty()
                                 ? Localization::tr("No Dictionaries Installed")
                                 : Localization::tr("No Dictionary for %1")
                                       .arg(SpellChecker::displayName(m_spelling.language()));
        menu->addAction(text)->setEnabled(false);
    }
    auto* group = new QActionGroup(menu);
    for (const QString& language : languages) {
        QAction* item = menu->addAction(SpellChecker::displayName(language));
        item->setCheckable(true);
        item->setChecked(language == m_spelling.language());
        item->setData(language);
        group->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, language] { m_spelling.setLanguage(language); });
    }
}

QMenu* EditCommands::createContextMenu(const QPoint& viewportPosition, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("editorContextMenu"));
    if (m_editor && m_spelling.isActive()) {
        const QTextCursor at = m_editor->cursorForPosition(viewportPosition);
        const QTextBlock block = at.block();
        const QString text = block.text();
        const SpellChecker::Range word =
            SpellChecker::checkableWordAt(text, at.position() - block.position());
        const QString misspelt = text.mid(word.start, word.end - word.start);
        if (!misspelt.isEmpty() && m_spelling.isMisspelt(misspelt)) {
            const int start = block.position() + int(word.start);
            const int end = block.position() + int(word.end);
            const QStringList suggestions = m_spelling.suggestions(misspelt);
            for (const QString& suggestion : suggestions) {
                QAction* item = menu->addAction(suggestion);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                QPointer<TranscriptEditor> editor = m_editor;
                connect(item, &QAction::triggered, this, [editor, start, end, suggestion] {
                    if (!editor)
                        return;
                    // One undo step, never merged with the typing before it.
                    QTextCursor cursor(editor->document());
                    cursor.setPosition(start);
                    cursor.setPosition(end, QTextCursor::KeepAnchor);
                    cursor.beginEditBlock();
                    cursor.insertText(suggestion);
                    cursor.endEditBlock();
                    editor->setTextCursor(cursor);
                });
            }
            if (suggestions.isEmpty())
                menu->addAction(Localization::tr("No Suggestions"))->setEnabled(false);
            menu->addSeparator();
            connect(menu->addAction(Localization::tr("Add to Dictionary")), &QAction::triggered,
                    this, [this, misspelt] { m_spelling.addToDictionary(misspelt); });
            connect(menu->addAction(Localization::tr("Ignore")), &QAction::triggered, this,
                    [this, misspelt] { m_spelling.ignore(misspelt); });
            menu->addSeparator();
        }
    }
    updateActions();
    menu->addActions({m_undo, m_redo});
    menu->addSeparator();
    menu->addActions({m_cut, m_copy, m_paste, m_delete});
    menu->addSeparator();
    menu->addActions({m_selectAll, m_find});
    return menu;
}

void EditCommands::undo()
{
    if (m_editor)
        m_editor->undo();
}

void EditCommands::redo()
{
    if (m_editor)
        m_editor->redo();
}

void EditCommands::cut()
{
    if (m_editor)
        m_editor->cut();
}

void EditCommands::copy()
{
    if (m_editor)
        m_editor->copy();
}

void EditCommands::paste()
{
    if (m_editor)
        m_editor->paste();
}

void EditCommands::deleteSelection()
{
    if (m_editor)
        m_editor->textCursor().removeSelectedText();
}

void EditCommands::selectAll()
{
    if (m_editor)
        m_editor->selectAll();
}

void EditCommands::find()
{
    if (m_findBar)
        m_findBar->openFind();
}

void EditCommands::findNext()
{
    if (m_findBar)
        m_findBar->findNext();
}

void EditCommands::findPrevious()
{
    if (m_findBar)
        m_findBar->findPrevious();
}

void EditCommands::replace()
{
    if (m_findBar)
        m_findBar->openReplace();
}

} // namespace dictaro
