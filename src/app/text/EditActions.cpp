#include "EditActions.h"

#include "CommandRegistry.h"
#include "FindBar.h"
#include "FindController.h"
#include "TranscriptEditor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTextCursor>
#include <QTextDocument>

namespace dictaro {

EditActions::EditActions(CommandRegistry& commands, QObject* parent)
    : QObject(parent), m_commands(commands)
{
    const auto onEditor = [this](Command command, void (QPlainTextEdit::*run)()) {
        connect(m_commands.action(command), &QAction::triggered, this, [this, run] {
            if (m_editor)
                (m_editor->*run)();
        });
    };
    onEditor(Command::Undo, &QPlainTextEdit::undo);
    onEditor(Command::Redo, &QPlainTextEdit::redo);
    onEditor(Command::Cut, &QPlainTextEdit::cut);
    onEditor(Command::Copy, &QPlainTextEdit::copy);
    onEditor(Command::Paste, &QPlainTextEdit::paste);
    onEditor(Command::SelectAll, &QPlainTextEdit::selectAll);
    connect(m_commands.action(Command::Delete), &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->textCursor().removeSelectedText();
    });
    const auto onFindBar = [this](Command command, void (FindBar::*run)()) {
        connect(m_commands.action(command), &QAction::triggered, this, [this, run] {
            if (m_findBar)
                (m_findBar->*run)();
        });
    };
    onFindBar(Command::Find, &FindBar::openFind);
    onFindBar(Command::FindNext, &FindBar::findNext);
    onFindBar(Command::FindPrevious, &FindBar::findPrevious);
    onFindBar(Command::Replace, &FindBar::openReplace);

    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &EditActions::updateActions);
    updateActions();
}

EditActions::~EditActions() = default;

void EditActions::setEditor(TranscriptEditor* editor, FindBar* findBar)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_editorConnections))
        disconnect(connection);
    m_editorConnections.clear();
    m_editor = editor;
    m_findBar = findBar;
    if (m_findBar)
        m_findBar->setEditor(editor);
    if (m_editor) {
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
        };
    }
    if (m_findBar && m_findBar->controller())
        m_editorConnections.append(connect(m_findBar->controller(), &FindController::searchChanged,
                                           this, [this] { updateActions(); }));
    updateActions();
}

TranscriptEditor* EditActions::editor() const
{
    return m_editor.data();
}

void EditActions::updateActions()
{
    TranscriptEditor* editor = m_editor.data();
    const QTextDocument* document = editor ? editor->document() : nullptr;
    const bool writable = editor && !editor->isReadOnly();
    const bool selection = editor && editor->textCursor().hasSelection();
    const auto enable = [this](Command command, bool enabled) {
        m_commands.action(command)->setEnabled(enabled);
    };
    enable(Command::Undo, writable && document->isUndoAvailable());
    enable(Command::Redo, writable && document->isRedoAvailable());
    enable(Command::Cut, writable && selection);
    enable(Command::Copy, selection);
    enable(Command::Paste, writable && editor->canPaste());
    enable(Command::Delete, writable && selection);
    enable(Command::SelectAll, document && !document->isEmpty());
    const bool findBar = editor && m_findBar && m_findBar->controller();
    const bool canFind = findBar && !m_findBar->controller()->pattern().isEmpty();
    enable(Command::Find, findBar);
    enable(Command::FindNext, canFind);
    enable(Command::FindPrevious, canFind);
    enable(Command::Replace, findBar && writable);
}

} // namespace dictaro
