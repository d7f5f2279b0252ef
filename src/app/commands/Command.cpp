#include "Command.h"

#include "Localization.h"

namespace dictaro::Commands {

namespace {

struct Definition
{
    const char* id;
    CommandGroup group;
    // Looked up when shown; lupdate finds the texts here.
    const char* text;
    QList<QKeySequence> keys;
    QKeySequence::StandardKey held = QKeySequence::UnknownKey;
    bool rebindable = false;
    bool checkable = false;
    bool startsSection = false;
};

QKeySequence key(QKeyCombination combination)
{
    return QKeySequence(combination);
}

Definition definition(Command command)
{
    using C = Command;
    using G = CommandGroup;
    using S = QKeySequence::StandardKey;
    constexpr auto ctrl = Qt::CTRL;
    constexpr auto shift = Qt::SHIFT;
    switch (command) {
    case C::Save:
        return {"save",
                G::File,
                QT_TRANSLATE_NOOP("Dictaro", "Save"),
                {key(ctrl | Qt::Key_S)},
                S::Save};
    case C::Export:
        return {
            "export", G::File, QT_TRANSLATE_NOOP("Dictaro", "Export…"), {key(ctrl | Qt::Key_E)}};
    case C::Settings:
        return {"settings",
                G::File,
                QT_TRANSLATE_NOOP("Dictaro", "Settings…"),
                {key(ctrl | Qt::Key_Comma)},
                S::Preferences,
                false,
                false,
                true};
    case C::Quit:
        return {"quit",
                G::File,
                QT_TRANSLATE_NOOP("Dictaro", "Quit"),
                {key(ctrl | Qt::Key_Q)},
                S::Quit,
                false,
                false,
                true};
    case C::Undo:
        return {"undo",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Undo"),
                {key(ctrl | Qt::Key_Z)},
                S::Undo};
    case C::Redo:
        return {"redo",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Redo"),
                {key(ctrl | shift | Qt::Key_Z), key(ctrl | Qt::Key_Y)},
                S::Redo};
    case C::Cut:
        return {"cut",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Cut"),
                {QKeySequence(S::Cut)},
                S::Cut,
                false,
                false,
                true};
    case C::Copy:
        return {"copy",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Copy"),
                {QKeySequence(S::Copy)},
                S::Copy};
    case C::Paste:
        return {"paste",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Paste"),
                {QKeySequence(S::Paste)},
                S::Paste};
    case C::Delete:
        return {"delete",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Delete"),
                {QKeySequence(S::Delete)},
                S::Delete};
    case C::SelectAll:
        return {"selectAll",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Select All"),
                {QKeySequence(S::SelectAll)},
                S::SelectAll};
    case C::Find:
        return {"find",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Find…"),
                {key(ctrl | Qt::Key_F)},
                S::Find,
                false,
                false,
                true};
    case C::FindNext:
        return {"findNext",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Find Next"),
                {key(Qt::Key_F3), key(ctrl | Qt::Key_G)},
                S::FindNext};
    case C::FindPrevious:
        return {"findPrevious",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Find Previous"),
                {key(shift | Qt::Key_F3), key(ctrl | shift | Qt::Key_G)},
                S::FindPrevious};
    case C::Replace:
        return {"replace",
                G::Edit,
                QT_TRANSLATE_NOOP("Dictaro", "Replace…"),
                {key(ctrl | Qt::Key_H)},
                S::Replace};
    case C::PlayPause:
        return {"playPause",           G::Playback,   QT_TRANSLATE_NOOP("Dictaro", "Play/Pause"),
                {key(Qt::Key_Escape)}, S::UnknownKey, true};
    case C::SkipBack:
        return {"skipBack",
                G::Playback,
                QT_TRANSLATE_NOOP("Dictaro", "Skip Back"),
                {key(ctrl | Qt::Key_BracketLeft)},
                S::UnknownKey,
                true};
    case C::SkipForward:
        return {"skipForward",
                G::Playback,
                QT_TRANSLATE_NOOP("Dictaro", "Skip Forward"),
                {key(ctrl | Qt::Key_BracketRight)},
                S::UnknownKey,
                true};
    // The window system matches Ctrl+Shift+[ also when the layout turns Shift+[ into "{" (US
    // layouts); a second sequence for the brace would make it ambiguous.
    case C::Slower:
        return {"slower",
                G::Playback,
                QT_TRANSLATE_NOOP("Dictaro", "Slower"),
                {key(ctrl | shift | Qt::Key_BracketLeft)},
                S::UnknownKey,
                true,
                false,
                true};
    case C::Faster:
        return {"faster",
                G::Playback,
                QT_TRANSLATE_NOOP("Dictaro", "Faster"),
                {key(ctrl | shift | Qt::Key_BracketRight)},
                S::UnknownKey,
                true};
    case C::InsertTimestamp:
        return {"insertTimestamp",
                G::Playback,
                QT_TRANSLATE_NOOP("Dictaro", "Insert Timestamp"),
                {key(ctrl | Qt::Key_J)},
                S::UnknownKey,
                true,
                false,
                true};
    case C::FullScreen:
        return {"fullScreen",
                G::View,
                QT_TRANSLATE_NOOP("Dictaro", "Full Screen"),
                {key(Qt::Key_F11)},
                S::UnknownKey,
                false,
                true};
    case C::ShowWaveform:
        return {"showWaveform",
                G::View,
                QT_TRANSLATE_NOOP("Dictaro", "Show Waveform"),
                {},
                S::UnknownKey,
                false,
                true};
    case C::ZoomIn:
        return {"zoomIn",
                G::View,
                QT_TRANSLATE_NOOP("Dictaro", "Zoom In"),
                {key(ctrl | Qt::Key_Plus), key(ctrl | Qt::Key_Equal)},
                S::UnknownKey,
                false,
                false,
                true};
    case C::ZoomOut:
        return {"zoomOut",
                G::View,
                QT_TRANSLATE_NOOP("Dictaro", "Zoom Out"),
                {key(ctrl | Qt::Key_Minus)}};
    case C::ActualSize:
        return {"actualSize",
                G::View,
                QT_TRANSLATE_NOOP("Dictaro", "Actual Size"),
                {key(ctrl | Qt::Key_0)}};
    case C::KeyboardShortcuts:
        return {"shortcuts",
                G::Help,
                QT_TRANSLATE_NOOP("Dictaro", "Keyboard Shortcuts"),
                {key(Qt::Key_F1)}};
    case C::About:
        return {"about", G::Help,       QT_TRANSLATE_NOOP("Dictaro", "About Dictaro"),
                {},      S::UnknownKey, false,
                false,   true};
    case C::AboutQt: return {"aboutQt", G::Help, QT_TRANSLATE_NOOP("Dictaro", "About Qt"), {}};
    }
    return {"", G::File, "", {}};
}

} // namespace

const QList<Command>& all()
{
    static const QList<Command> commands = [] {
        QList<Command> list;
        for (int i = 0; i <= int(Command::AboutQt); ++i)
            list.append(Command(i));
        return list;
    }();
    return commands;
}

const QList<CommandGroup>& groups()
{
    static const QList<CommandGroup> groups{CommandGroup::File, CommandGroup::Edit,
                                            CommandGroup::Playback, CommandGroup::View,
                                            CommandGroup::Help};
    return groups;
}

QList<Command> inGroup(CommandGroup group)
{
    QList<Command> commands;
    for (const Command command : all()) {
        if (Commands::group(command) == group)
            commands.append(command);
    }
    return commands;
}

CommandGroup group(Command command)
{
    return definition(command).group;
}

QString groupTitle(CommandGroup group)
{
    switch (group) {
    case CommandGroup::File: return Localization::tr("File");
    case CommandGroup::Edit: return Localization::tr("Edit");
    case CommandGroup::Playback: return Localization::tr("Playback");
    case CommandGroup::View: return Localization::tr("View");
    case CommandGroup::Help: return Localization::tr("Help");
    }
    return {};
}

QString id(Command command)
{
    return QLatin1String(definition(command).id);
}

std::optional<Command> fromId(const QString& id)
{
    for (const Command command : all()) {
        if (Commands::id(command) == id)
            return command;
    }
    return std::nullopt;
}

QString text(Command command)
{
    return Localization::tr(definition(command).text);
}

QString title(Command command)
{
    QString name = text(command);
    if (name.endsWith(u'…'))
        name.chop(1);
    return name;
}

QList<QKeySequence> defaultKeys(Command command)
{
    return definition(command).keys;
}

QList<QKeySequence> heldKeys(Command command)
{
    const QKeySequence::StandardKey held = definition(command).held;
    return held == QKeySequence::UnknownKey ? QList<QKeySequence>()
                                            : QKeySequence::keyBindings(held);
}

bool isRebindable(Command command)
{
    return definition(command).rebindable;
}

bool isCheckable(Command command)
{
    return definition(command).checkable;
}

bool startsSection(Command command)
{
    return definition(command).startsSection;
}

} // namespace dictaro::Commands
