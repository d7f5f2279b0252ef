#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QMenu;
class QTreeWidget;

namespace dictaro {

// The Keyboard Shortcuts window: every command of the given menus that has a key, grouped by
// menu, with its keys. It reads the menus' own actions each time it is shown, so it always
// lists the keys that work.
class ShortcutsWindow : public QDialog
{
    Q_OBJECT

public:
    ShortcutsWindow(const QList<QMenu*>& menus, QWidget* parent = nullptr);

    // The rows shown: for each menu with at least one key, its title followed by one
    // "command<TAB>keys" line per action with keys (several keys joined by ", ").
    QStringList listing() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();

    QList<QPointer<QMenu>> m_menus;
    QTreeWidget* m_tree = nullptr;
};

} // namespace dictaro
