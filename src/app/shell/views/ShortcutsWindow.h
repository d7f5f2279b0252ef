#pragma once

#include <QDialog>

class QTreeWidget;

namespace dictaro {

class CommandRegistry;

// The Keyboard Shortcuts window: every command of the registry that has a key, grouped by
// menu, with its keys. It reads the commands' actions each time it is shown, so it always lists
// the keys that work.
class ShortcutsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ShortcutsWindow(const CommandRegistry& commands, QWidget* parent = nullptr);

    // The rows shown: for each menu with at least one key, its title followed by one
    // "command<TAB>keys" line per action with keys (several keys joined by ", ").
    QStringList listing() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();

    const CommandRegistry& m_commands;
    QTreeWidget* m_tree = nullptr;
};

} // namespace dictaro
