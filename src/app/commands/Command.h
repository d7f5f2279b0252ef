#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <optional>

namespace dictaro {

// Every command of the application, in menu order, and the menu each belongs to.
enum class Command {
    Save,
    Export,
    ImportTranscript,
    Settings,
    Quit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Find,
    FindNext,
    FindPrevious,
    Replace,
    PlayPause,
    SkipBack,
    SkipForward,
    GoToTime,
    Replay,
    Slower,
    Faster,
    SetLoopStart,
    SetLoopEnd,
    ClearLoop,
    VolumeUp,
    VolumeDown,
    BothChannels,
    LeftChannelOnly,
    RightChannelOnly,
    VoiceFilter,
    InsertTimestamp,
    PreviousTimestamp,
    NextTimestamp,
    PlayFromTimestamp,
    GoToPlayingLine,
    EditSpeakers,
    SwitchSpeaker,
    Speaker1,
    Speaker2,
    Speaker3,
    Speaker4,
    Speaker5,
    Speaker6,
    Speaker7,
    Speaker8,
    Speaker9,
    MakeDraft,
    FullScreen,
    ShowWaveform,
    ShowVideo,
    DetachVideo,
    ZoomIn,
    ZoomOut,
    ActualSize,
    KeyboardShortcuts,
    About,
    AboutQt,
};

enum class CommandGroup { File, Edit, Playback, Speakers, Draft, View, Help };

// What each command is: the one place its id, text, menu and default keys are written.
namespace Commands {

// Every command, in menu order.
const QList<Command>& all();
// Every menu, in the menu bar's order.
const QList<CommandGroup>& groups();
// The commands of one menu, in menu order.
QList<Command> inGroup(CommandGroup group);
CommandGroup group(Command command);
// The menu's title in the interface language, with its mnemonic ("&File").
QString groupTitle(CommandGroup group);

// A stable name, also the command's name in the settings file ("playPause", "zoomIn", ...).
QString id(Command command);
std::optional<Command> fromId(const QString& id);
// The text of its menu item in the interface language, with its mnemonic ("&Export…").
QString text(Command command);
// Its name in sentences, tooltips and key lists: the text without its mnemonic and trailing
// ellipsis ("Export").
QString title(Command command);
// The letter a menu text marks with "&", in upper case ("&Export…": "E"); empty for none.
QString mnemonic(const QString& text);
// A menu text as read and listed: "&&" becomes "&", any other "&" goes.
QString withoutMnemonic(const QString& text);

// The keys it has until the user chooses another; the first is the one shown.
QList<QKeySequence> defaultKeys(Command command);
// Keys that also belong to the command although its menu item does not show them: the
// desktop's own variants of Undo, Copy, Save, ..., which the text field answers by itself.
QList<QKeySequence> heldKeys(Command command);
// Whether the user may give it a key of their own (on the Keys page, for pedals that type keys).
bool isRebindable(Command command);
// The speaker slot (1 to 9) a "Speaker N" command starts a line for; 0 for other commands.
int speakerSlot(Command command);
// The "Speaker N" command of a slot from 1 to 9.
Command speakerCommand(int slot);
// Whether its menu item is a switch (Full Screen, Show Waveform, Show Video).
bool isCheckable(Command command);
// Whether a separator comes before it in its menu.
bool startsSection(Command command);

} // namespace Commands
} // namespace dictaro
