#include "CommandRegistry.h"

#include "AppSettings.h"
#include "Localization.h"
#include "ReservedKeys.h"

#include <QAction>

namespace dictaro {

namespace {

QKeySequence firstCombination(const QKeySequence& key)
{
    return key.isEmpty() ? QKeySequence() : QKeySequence(key[0]);
}

// The keys a command answers to: those of its action and the desktop's variants it holds.
QList<QKeySequence> keysHeldBy(const QAction* action, Command command)
{
    return action->shortcuts() + Commands::heldKeys(command);
}

} // namespace

CommandRegistry::CommandRegistry(QObject* parent) : CommandRegistry(QList<Command>(), parent) {}

CommandRegistry::CommandRegistry(const QList<Command>& absent, QObject* parent)
    : QObject(parent), m_absent(absent)
{
    QList<Command> placed;
    for (const Command command : Commands::all()) {
        auto* action = new QAction(Commands::text(command), this);
        action->setObjectName(Commands::id(command) + QStringLiteral("Action"));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(Commands::isCheckable(command));
        m_actions[std::size_t(command)] = action;
        assign(command, Commands::defaultKeys(command));
        if (!Commands::isRebindable(command))
            placed.append(command);
    }
    // One press of a held file or playback key runs it once; the repeats reach the focused
    // widget, which ignores them. Editing and zooming repeat as keys do.
    for (const CommandGroup group : {CommandGroup::File, CommandGroup::Playback,
                                     CommandGroup::Speakers, CommandGroup::Draft}) {
        for (const Command command : Commands::inGroup(group))
            action(command)->setAutoRepeat(false);
    }
    action(Command::Quit)->setMenuRole(QAction::QuitRole);
    action(Command::Settings)->setMenuRole(QAction::PreferencesRole);
    action(Command::About)->setMenuRole(QAction::AboutRole);
    action(Command::AboutQt)->setMenuRole(QAction::AboutQtRole);
    for (const Command command : m_absent) {
        assign(command, {});
        action(command)->setEnabled(false);
        action(command)->setVisible(false);
    }

    // The user's keys, each checked against the fixed ones and the user's keys read before it:
    // a later one gives way.
    for (const Command command : Commands::all()) {
        if (!Commands::isRebindable(command) || !isOffered(command))
            continue;
        const QKeySequence fallback = Commands::defaultKeys(command).value(0);
        QKeySequence key = fallback;
        if (const std::optional<QString> text = AppSettings::commandKey(Commands::id(command))) {
            const QKeySequence stored = QKeySequence::fromString(*text, QKeySequence::PortableText);
            // Unknown key names read as Qt::Key_unknown.
            const bool readable = !stored.isEmpty() && stored[0].key() != Qt::Key_unknown;
            if (text->isEmpty() || readable)
                key = firstCombination(stored);
        }
        if (!conflictAmong(command, key, placed).isEmpty())
            key = conflictAmong(command, fallback, placed).isEmpty() ? fallback : QKeySequence();
        assign(command, key.isEmpty() ? QList<QKeySequence>() : QList<QKeySequence>{key});
        placed.append(command);
    }
}

CommandRegistry::~CommandRegistry() = default;

QKeySequence CommandRegistry::key(Command command) const
{
    return action(command)->shortcut();
}

QString CommandRegistry::conflict(Command command, const QKeySequence& key) const
{
    return conflictAmong(command, firstCombination(key), Commands::all());
}

QString CommandRegistry::conflictAmong(Command command, const QKeySequence& key,
                                       const QList<Command>& others) const
{
    const QKeySequence combination = firstCombination(key);
    if (combination.isEmpty())
        return {};
    const QString text = combination.toString(QKeySequence::NativeText);
    if (const QString reserved = ReservedKeys::reason(combination[0], text); !reserved.isEmpty())
        return reserved;
    for (const Command other : others) {
        if (other != command && keysHeldBy(action(other), other).contains(combination))
            return Localization::tr("%1 is already the key for %2.")
                .arg(text, Commands::title(other));
    }
    return {};
}

bool CommandRegistry::setKey(Command command, const QKeySequence& key)
{
    const QKeySequence combination = firstCombination(key);
    if (!Commands::isRebindable(command) || !isOffered(command) ||
        !conflict(command, combination).isEmpty())
        return false;
    setSaved(AppSettings::setCommandKey(Commands::id(command),
                                        combination.toString(QKeySequence::PortableText)));
    assign(command,
           combination.isEmpty() ? QList<QKeySequence>() : QList<QKeySequence>{combination});
    return true;
}

void CommandRegistry::restoreDefaults()
{
    setSaved(AppSettings::forgetCommandKeys());
    for (const Command command : Commands::all()) {
        if (Commands::isRebindable(command) && isOffered(command))
            assign(command, Commands::defaultKeys(command));
    }
}

void CommandRegistry::setSaved(bool saved)
{
    std::optional<QString> error;
    if (!saved)
        error = Localization::tr("Your keys could not be saved. They work until Dictaro quits.");
    if (error == m_saveError)
        return;
    m_saveError = error;
    emit saveErrorChanged(m_saveError);
}

void CommandRegistry::assign(Command command, const QList<QKeySequence>& keys)
{
    QAction* action = this->action(command);
    const bool changed = action->shortcuts() != keys;
    action->setShortcuts(keys);
    const QString title = Commands::title(command);
    const QKeySequence shown = keys.value(0);
    action->setToolTip(shown.isEmpty() ? title
                                       : QStringLiteral("%1 (%2)").arg(
                                             title, shown.toString(QKeySequence::NativeText)));
    if (changed)
        emit keyChanged(command, shown);
}

} // namespace dictaro
