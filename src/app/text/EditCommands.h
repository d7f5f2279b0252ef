#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace dictaro {

class FindBar;
class SpellChecker;
class TranscriptEditor;

// The Edit menu's commands, one QAction each, acting on the transcript editor on screen and
// its find bar: each is enabled exactly when it can act (all editing ones are disabled while
// there is no editor). Builds the Edit menu and the editor's right-click menu, which adds the
// spelling suggestions for the word under the pointer.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    explicit EditCommands(SpellChecker& spelling, QObject* parent = nullptr);
    ~EditCommands() override;

    // The editor the commands act on, with its find bar; null for none (the welcome screen).
    // Also has the editor mark misspelt words, on-screen ones first, and gives it the
    // right-click menu.
    void setEditor(TranscriptEditor* editor, FindBar* findBar);
    TranscriptEditor* editor() const;

    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    QAction* cutAction() const { return m_cut; }
    QAction* copyAction() const { return m_copy; }
    QAction* pasteAction() const { return m_paste; }
    QAction* deleteAction() const { return m_delete; }
    QAction* selectAllAction() const { return m_selectAll; }
    QAction* findAction() const { return m_find; }
    QAction* findNextAction() const { return m_findNext; }
    QAction* findPreviousAction() const { return m_findPrevious; }
    QAction* replaceAction() const { return m_replace; }
    QAction* checkSpellingAction() const { return m_checkSpelling; }

    // The Edit menu, to be placed in the menu bar (between File and Playback).
    QMenu* createMenu(QWidget* parent);
    // The right-click menu at a point of the editor's viewport: up to five suggestions, "Add to
    // Dictionary" and "Ignore" for a misspelt word there, then the editing commands.
    QMenu* createContextMenu(const QPoint& viewportPosition, QWidget* parent);

private:
    QAction* makeAction(const QString& text, const QList<QKeySequence>& keys,
                        void (EditCommands::*run)());
    void fillSpellingMenu(QMenu* menu);
    void updateActions();
    void updatePriorityBlocks();
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void deleteSelection();
    void selectAll();
    void find();
    void findNext();
    void findPrevious();
    void replace();

    SpellChecker& m_spelling;
    QPointer<TranscriptEditor> m_editor;
    QPointer<FindBar> m_findBar;
    QList<QMetaObject::Connection> m_editorConnections;

    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_cut = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_paste = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_selectAll = nullptr;
    QAction* m_find = nullptr;
    QAction* m_findNext = nullptr;
    QAction* m_findPrevious = nullptr;
    QAction* m_replace = nullptr;
    QAction* m_checkSpelling = nullptr;
};

} // namespace dictaro
