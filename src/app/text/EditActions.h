#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

namespace dictaro {

class CommandRegistry;
class FindBar;
class TranscriptEditor;

// The Edit menu's commands (the registry's actions) run on the transcript editor on screen and
// its find bar; each is enabled exactly when it can act, all of them disabled while there is
// no editor.
class EditActions : public QObject
{
    Q_OBJECT

public:
    explicit EditActions(CommandRegistry& commands, QObject* parent = nullptr);
    ~EditActions() override;

    // The editor and find bar the commands act on; null for none (the welcome screen).
    void setEditor(TranscriptEditor* editor, FindBar* findBar);
    TranscriptEditor* editor() const;
    // Brings every command's enabled state up to date (before a menu shows them).
    void updateActions();

private:
    CommandRegistry& m_commands;
    QPointer<TranscriptEditor> m_editor;
    QPointer<FindBar> m_findBar;
    QList<QMetaObject::Connection> m_editorConnections;
};

} // namespace dictaro
