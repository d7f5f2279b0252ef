#pragma once

#include "Command.h"

#include <QHash>
#include <QWidget>

class QKeySequenceEdit;
class QLabel;

namespace dictaro {

class CommandRegistry;

// The Keys page of the settings: the key of each command the user may rebind (the player's),
// which the user may record anew; a key any other command, typing or the text needs is refused
// with the reason, and Restore Defaults brings back the original keys.
class KeySettingsView : public QWidget
{
    Q_OBJECT

public:
    explicit KeySettingsView(CommandRegistry& commands, QWidget* parent = nullptr);
    ~KeySettingsView() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(Command command, const QKeySequence& key);
    void showKey(Command command, const QKeySequence& key);

    CommandRegistry& m_commands;
    QHash<Command, QKeySequenceEdit*> m_editors;
    QLabel* m_message = nullptr;
};

} // namespace dictaro
