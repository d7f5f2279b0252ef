#include "Command.h"

#include "Localization.h"

namespace dictaro::Commands {

namespace {

struct Definition
{
    const char* id;
    CommandGroup group;
    // Looked up when shown; lupdate finds the texts here. The "&" marks the letter that picks
    // the item in its open menu; each translation marks its own.
    const char* text;
    QList<QKeySequence> keys = {};
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
    constexpr auto alt = Qt::ALT;
    // Alt and the slot's digit; the ids are "speaker1" ... "speaker9".
    const auto speaker = [alt](int slot, const char* text) -> Definition {
        static constexpr const char* ids[] = {"speaker1", "speaker2", "speaker3",
                                              "speaker4", "speaker5", "speaker6",
                                              "speaker7", "speaker8", "speaker9"};
        return {.id = ids[slot - 1],
                .group = G::Speakers,
                .text = text,
                .keys = {key(alt | Qt::Key(Qt::Key_0 + slot))},
                .rebindable = true,
                .startsSection = slot == 1};
    };
    switch (command) {
    case C::Save:
        return {.id = "save",
                .group = G::File,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Save"),
                .keys = {key(ctrl | Qt::Key_S)},
                .held = S::Save};
    case C::Export:
        return {.id = "export",
                .group = G::File,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Export…"),
                .keys = {key(ctrl | Qt::Key_E)}};
    case C::ImportTranscript:
        return {.id = "importTranscript",
                .group = G::File,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Import Transcript…")};
    case C::Settings:
        return {.id = "settings",
                .group = G::File,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Se&ttings…"),
                .keys = {key(ctrl | Qt::Key_Comma)},
                .held = S::Preferences,
                .startsSection = true};
    case C::Quit:
        return {.id = "quit",
                .group = G::File,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Quit"),
                .keys = {key(ctrl | Qt::Key_Q)},
                .held = S::Quit,
                .startsSection = true};
    case C::Undo:
        return {.id = "undo",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Undo"),
                .keys = {key(ctrl | Qt::Key_Z)},
                .held = S::Undo};
    case C::Redo:
        return {.id = "redo",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Redo"),
                .keys = {key(ctrl | shift | Qt::Key_Z), key(ctrl | Qt::Key_Y)},
                .held = S::Redo};
    case C::Cut:
        return {.id = "cut",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Cu&t"),
                .keys = {QKeySequence(S::Cut)},
                .held = S::Cut,
                .startsSection = true};
    case C::Copy:
        return {.id = "copy",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Copy"),
                .keys = {QKeySequence(S::Copy)},
                .held = S::Copy};
    case C::Paste:
        return {.id = "paste",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Paste"),
                .keys = {QKeySequence(S::Paste)},
                .held = S::Paste};
    case C::Delete:
        return {.id = "delete",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Delete"),
                .keys = {QKeySequence(S::Delete)},
                .held = S::Delete};
    case C::SelectAll:
        return {.id = "selectAll",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Select &All"),
                .keys = {QKeySequence(S::SelectAll)},
                .held = S::SelectAll};
    case C::Find:
        return {.id = "find",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Find…"),
                .keys = {key(ctrl | Qt::Key_F)},
                .held = S::Find,
                .startsSection = true};
    case C::FindNext:
        return {.id = "findNext",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Find &Next"),
                .keys = {key(Qt::Key_F3), key(ctrl | Qt::Key_G)},
                .held = S::FindNext};
    case C::FindPrevious:
        return {.id = "findPrevious",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Find Pre&vious"),
                .keys = {key(shift | Qt::Key_F3), key(ctrl | shift | Qt::Key_G)},
                .held = S::FindPrevious};
    case C::Replace:
        return {.id = "replace",
                .group = G::Edit,
                .text = QT_TRANSLATE_NOOP("Dictaro", "R&eplace…"),
                .keys = {key(ctrl | Qt::Key_H)},
                .held = S::Replace};
    case C::PlayPause:
        return {.id = "playPause",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Play/Pause"),
                .keys = {key(Qt::Key_Escape)},
                .rebindable = true};
    case C::SkipBack:
        return {.id = "skipBack",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Skip &Back"),
                .keys = {key(ctrl | Qt::Key_BracketLeft)},
                .rebindable = true};
    case C::SkipForward:
        return {.id = "skipForward",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Skip &Forward"),
                .keys = {key(ctrl | Qt::Key_BracketRight)},
                .rebindable = true};
    // Ctrl+G is the desktop's Find Next.
    case C::GoToTime:
        return {.id = "goToTime",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Go to Time…"),
                .keys = {key(ctrl | Qt::Key_T)},
                .rebindable = true};
    case C::Replay:
        return {.id = "replay",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Replay Last Seconds"),
                .keys = {key(ctrl | Qt::Key_R)},
                .rebindable = true};
    // The window system matches Ctrl+Shift+[ also when the layout turns Shift+[ into "{" (US
    // layouts); a second sequence for the brace would make it ambiguous.
    case C::Slower:
        return {.id = "slower",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Slower"),
                .keys = {key(ctrl | shift | Qt::Key_BracketLeft)},
                .rebindable = true,
                .startsSection = true};
    case C::Faster:
        return {.id = "faster",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "F&aster"),
                .keys = {key(ctrl | shift | Qt::Key_BracketRight)},
                .rebindable = true};
    case C::SetLoopStart:
        return {.id = "setLoopStart",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Set &Loop Start"),
                .keys = {key(Qt::ALT | Qt::Key_BracketLeft)},
                .rebindable = true,
                .startsSection = true};
    case C::SetLoopEnd:
        return {.id = "setLoopEnd",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Set Loop &End"),
                .keys = {key(Qt::ALT | Qt::Key_BracketRight)},
                .rebindable = true};
    case C::ClearLoop:
        return {.id = "clearLoop",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Clear Loop"),
                .keys = {key(Qt::ALT | Qt::Key_Backslash)},
                .rebindable = true};
    case C::VolumeUp:
        return {.id = "volumeUp",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Volume &Up"),
                .keys = {key(ctrl | Qt::Key_Up)},
                .rebindable = true,
                .startsSection = true};
    case C::VolumeDown:
        return {.id = "volumeDown",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Volume &Down"),
                .keys = {key(ctrl | Qt::Key_Down)},
                .rebindable = true};
    case C::BothChannels:
        return {.id = "bothChannels",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Both Channels"),
                .rebindable = true,
                .checkable = true,
                .startsSection = true};
    case C::LeftChannelOnly:
        return {.id = "leftChannelOnly",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Left Channel Only"),
                .rebindable = true,
                .checkable = true};
    case C::RightChannelOnly:
        return {.id = "rightChannelOnly",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Right Channel Only"),
                .rebindable = true,
                .checkable = true};
    case C::VoiceFilter:
        return {.id = "voiceFilter",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Voice Filter"),
                .rebindable = true,
                .checkable = true};
    case C::InsertTimestamp:
        return {.id = "insertTimestamp",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Insert &Timestamp"),
                .keys = {key(ctrl | Qt::Key_J)},
                .rebindable = true,
                .startsSection = true};
    case C::PreviousTimestamp:
        return {.id = "previousTimestamp",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Pre&vious Timestamp"),
                .keys = {key(Qt::ALT | Qt::Key_Up)},
                .rebindable = true};
    case C::NextTimestamp:
        return {.id = "nextTimestamp",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Next Timestamp"),
                .keys = {key(Qt::ALT | Qt::Key_Down)},
                .rebindable = true};
    case C::PlayFromTimestamp:
        return {.id = "playFromTimestamp",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Play fr&om the stamp at the caret"),
                .keys = {key(ctrl | shift | Qt::Key_J)},
                .rebindable = true};
    case C::GoToPlayingLine:
        return {.id = "goToPlayingLine",
                .group = G::Playback,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Go to Playing L&ine"),
                .keys = {key(ctrl | Qt::Key_L)},
                .rebindable = true};
    case C::EditSpeakers:
        return {.id = "editSpeakers",
                .group = G::Speakers,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Edit Speakers…")};
    case C::SwitchSpeaker:
        return {.id = "switchSpeaker",
                .group = G::Speakers,
                .text = QT_TRANSLATE_NOOP("Dictaro", "S&witch Speaker"),
                .keys = {key(alt | Qt::Key_0)},
                .rebindable = true,
                .startsSection = true};
    case C::Speaker1: return speaker(1, QT_TRANSLATE_NOOP("Dictaro", "Speaker &1"));
    case C::Speaker2: return speaker(2, QT_TRANSLATE_NOOP("Dictaro", "Speaker &2"));
    case C::Speaker3: return speaker(3, QT_TRANSLATE_NOOP("Dictaro", "Speaker &3"));
    case C::Speaker4: return speaker(4, QT_TRANSLATE_NOOP("Dictaro", "Speaker &4"));
    case C::Speaker5: return speaker(5, QT_TRANSLATE_NOOP("Dictaro", "Speaker &5"));
    case C::Speaker6: return speaker(6, QT_TRANSLATE_NOOP("Dictaro", "Speaker &6"));
    case C::Speaker7: return speaker(7, QT_TRANSLATE_NOOP("Dictaro", "Speaker &7"));
    case C::Speaker8: return speaker(8, QT_TRANSLATE_NOOP("Dictaro", "Speaker &8"));
    case C::Speaker9: return speaker(9, QT_TRANSLATE_NOOP("Dictaro", "Speaker &9"));
    case C::MakeDraft:
        return {.id = "makeDraft",
                .group = G::Draft,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Make Draft"),
                .rebindable = true};
    case C::FullScreen:
        return {.id = "fullScreen",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Full Screen"),
                .keys = {key(Qt::Key_F11)},
                .checkable = true};
    case C::ShowWaveform:
        return {.id = "showWaveform",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Show &Waveform"),
                .checkable = true};
    // A video's picture: above the text, or in a window of its own.
    case C::ShowVideo:
        return {.id = "showVideo",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Show &Video"),
                .rebindable = true,
                .checkable = true};
    case C::DetachVideo:
        return {.id = "detachVideo",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Video in Its Own Wi&ndow"),
                .rebindable = true,
                .checkable = true};
    case C::ZoomIn:
        return {.id = "zoomIn",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Zoom &In"),
                .keys = {key(ctrl | Qt::Key_Plus), key(ctrl | Qt::Key_Equal)},
                .startsSection = true};
    case C::ZoomOut:
        return {.id = "zoomOut",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "Zoom &Out"),
                .keys = {key(ctrl | Qt::Key_Minus)}};
    case C::ActualSize:
        return {.id = "actualSize",
                .group = G::View,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Actual Size"),
                .keys = {key(ctrl | Qt::Key_0)}};
    case C::KeyboardShortcuts:
        return {.id = "shortcuts",
                .group = G::Help,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&Keyboard Shortcuts"),
                .keys = {key(Qt::Key_F1)}};
    case C::About:
        return {.id = "about",
                .group = G::Help,
                .text = QT_TRANSLATE_NOOP("Dictaro", "&About Dictaro"),
                .startsSection = true};
    case C::AboutQt:
        return {
            .id = "aboutQt", .group = G::Help, .text = QT_TRANSLATE_NOOP("Dictaro", "About &Qt")};
    }
    return {.id = "", .group = G::File, .text = ""};
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
    static const QList<CommandGroup> groups{
        CommandGroup::File,  CommandGroup::Edit, CommandGroup::Playback, CommandGroup::Speakers,
        CommandGroup::Draft, CommandGroup::View, CommandGroup::Help};
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
    case CommandGroup::File: return Localization::tr("&File");
    case CommandGroup::Edit: return Localization::tr("&Edit");
    case CommandGroup::Playback: return Localization::tr("&Playback");
    case CommandGroup::Speakers: return Localization::tr("&Speakers");
    case CommandGroup::Draft: return Localization::tr("&Draft");
    case CommandGroup::View: return Localization::tr("&View");
    case CommandGroup::Help: return Localization::tr("&Help");
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
    QString name = withoutMnemonic(text(command));
    if (name.endsWith(u'…'))
        name.chop(1);
    return name;
}

QString mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == u'&') {
            if (text.at(i + 1) != u'&')
                return text.at(i + 1).toUpper();
            ++i;
        }
    }
    return {};
}

QString withoutMnemonic(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "&&" is a literal ampersand.
        if (text.at(i) == u'&' && ++i == text.size())
            break;
        plain.append(text.at(i));
    }
    return plain;
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

int speakerSlot(Command command)
{
    const int slot = int(command) - int(Command::Speaker1) + 1;
    return slot >= 1 && slot <= 9 ? slot : 0;
}

Command speakerCommand(int slot)
{
    Q_ASSERT(slot >= 1 && slot <= 9);
    return Command(int(Command::Speaker1) + slot - 1);
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
