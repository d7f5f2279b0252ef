#pragma once

#include "Command.h"

#include <QObject>

class QAction;

namespace dictaro {

class AppState;
class CommandRegistry;

// The commands that act on the open project (save, export, the player's), run on the
// application state's current session and enabled exactly while one is open. Their actions
// come from the registry; the other commands are served by the window that owns their work.
class AppActions : public QObject
{
    Q_OBJECT

public:
    using Command = dictaro::Command;

    AppActions(AppState& state, CommandRegistry& commands, QObject* parent = nullptr);

    CommandRegistry& commands() const { return m_commands; }
    QAction* action(Command command) const;
    // The commands of the Playback menu, in menu order.
    static QList<Command> playbackCommands();

private:
    void updateEnabled();

    AppState& m_state;
    CommandRegistry& m_commands;
};

} // namespace dictaro
