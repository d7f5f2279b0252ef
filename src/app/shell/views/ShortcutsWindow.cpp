#include "ShortcutsWindow.h"

#include "Appearance.h"
#include "CommandRegistry.h"
#include "Localization.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dictaro {

namespace {

QString keysText(const QAction* action)
{
    QStringList keys;
    for (const QKeySequence& key : action->shortcuts())
        keys.append(key.toString(QKeySequence::NativeText));
    return keys.join(QStringLiteral(", "));
}

} // namespace

ShortcutsWindow::ShortcutsWindow(const CommandRegistry& commands, QWidget* parent)
    : QDialog(parent), m_commands(commands)
{
    setObjectName(QStringLiteral("shortcutsWindow"));
    setWindowTitle(Localization::tr("Keyboard Shortcuts"));

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("shortcutsList"));
    m_tree->setAccessibleName(Localization::tr("Keyboard shortcuts"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({Localization::tr("Command"), Localization::tr("Keys")});
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setSelectionMode(QAbstractItemView::NoSelection);
    m_tree->setFocusPolicy(Qt::StrongFocus);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(Localization::tr("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    resize(460, 440);
    rebuild();
}

QStringList ShortcutsWindow::listing() const
{
    QStringList rows;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* section = m_tree->topLevelItem(i);
        rows.append(section->text(0));
        for (int j = 0; j < section->childCount(); ++j)
            rows.append(section->child(j)->text(0) + u'\t' + section->child(j)->text(1));
    }
    return rows;
}

void ShortcutsWindow::showEvent(QShowEvent* event)
{
    rebuild();
    QDialog::showEvent(event);
}

void ShortcutsWindow::rebuild()
{
    m_tree->clear();
    const QFont headline = Appearance::font(Appearance::TextStyle::Headline, m_tree->font());
    for (const CommandGroup group : Commands::groups()) {
        QList<Command> listed;
        for (const Command command : Commands::inGroup(group)) {
            if (m_commands.isOffered(command) && !m_commands.action(command)->shortcuts().isEmpty())
                listed.append(command);
        }
        if (listed.isEmpty())
            continue;
        auto* section =
            new QTreeWidgetItem(m_tree, {Commands::withoutMnemonic(Commands::groupTitle(group))});
        section->setFont(0, headline);
        section->setFirstColumnSpanned(true);
        // By name: a button may show the action by a sign of its own ("+" for Faster).
        for (const Command command : std::as_const(listed))
            new QTreeWidgetItem(section,
                                {Commands::title(command), keysText(m_commands.action(command))});
    }
    m_tree->expandAll();
}

} // namespace dictaro
