#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace dictaro {

class CommandRegistry;
class EditActions;
class FindBar;
class SpellChecker;
class SpellingMenu;
class TranscriptEditor;

// Follows the transcript editor on screen for the text's commands and menus: hands it to the
// Edit commands and the find bar, has it mark misspelt words (on-screen ones first), and builds
// the Edit menu and the editor's right-click menu.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    EditCommands(SpellChecker& spelling, CommandRegistry& commands, QObject* parent = nullptr);
    ~EditCommands() override;

    // The editor the commands act on, with its find bar; null for none (the welcome screen).
    void setEditor(TranscriptEditor* editor, FindBar* findBar);
    TranscriptEditor* editor() const;

    QAction* undoAction() const;
    QAction* redoAction() const;
    QAction* cutAction() const;
    QAction* copyAction() const;
    QAction* pasteAction() const;
    QAction* deleteAction() const;
    QAction* selectAllAction() const;
    QAction* findAction() const;
    QAction* findNextAction() const;
    QAction* findPreviousAction() const;
    QAction* replaceAction() const;
    QAction* checkSpellingAction() const;

    // The Edit menu, to be placed in the menu bar (between File and Playback).
    QMenu* createMenu(QWidget* parent);
    // The right-click menu at a point of the editor's viewport: up to five suggestions, "Add to
    // Dictionary" and "Ignore" for a misspelt word there, then the editing commands.
    QMenu* createContextMenu(const QPoint& viewportPosition, QWidget* parent);

private:
    void updatePriorityBlocks();

    SpellChecker& m_spelling;
    CommandRegistry& m_commands;
    EditActions* m_actions = nullptr;
    SpellingMenu* m_spellingMenu = nullptr;
    QPointer<TranscriptEditor> m_editor;
    QList<QMetaObject::Connection> m_editorConnections;
};

} // namespace dictaro
