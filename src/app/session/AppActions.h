#pragma once

#include <QList>
#include <QObject>

#include <array>

class QAction;
class QKeySequence;

namespace dictaro {

class AppState;

// Every command of the application as one action, made once with its text, keys and tooltip,
// and shared by the menus, the player bar, the shortcuts list and other ways of control. The
// commands that act on the open project run here, on the application state's current session;
// the others (insert timestamp, settings, quit) are connected by the window that serves them.
class AppActions : public QObject
{
    Q_OBJECT

public:
    enum class Command {
        Save,
        Export,
        Settings,
        Quit,
        PlayPause,
        SkipBack,
        SkipForward,
        Slower,
        Faster,
        InsertTimestamp,
    };
    static constexpr int commandCount = int(Command::InsertTimestamp) + 1;

    explicit AppActions(AppState& state, QObject* parent = nullptr);

    QAction* action(Command command) const { return m_actions.at(std::size_t(command)); }
    // Gives `command` the key `key` (none when empty), in its shortcut and its tooltip.
    void setKey(Command command, const QKeySequence& key);
    // The commands of the Playback menu, in menu order.
    static QList<Command> playbackCommands();

private:
    void updateEnabled();

    AppState& m_state;
    std::array<QAction*, commandCount> m_actions{};
};

} // namespace dictaro
