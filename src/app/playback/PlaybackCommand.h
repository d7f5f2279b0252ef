#pragma once

#include "Command.h"

#include <QList>
#include <QString>

#include <optional>

namespace dictaro {

// The player's commands that pedals and media keys can trigger (a part of Command).
enum class PlaybackCommand {
    PlayPause,
    SkipBack,
    SkipForward,
    Replay,
    Slower,
    Faster,
    SetLoopStart,
    SetLoopEnd,
    ClearLoop,
    VolumeUp,
    VolumeDown,
    InsertTimestamp,
    PreviousTimestamp,
    NextTimestamp,
    PlayFromTimestamp,
    GoToPlayingLine,
};

// Each as the application's command, whose action runs it.
Command toCommand(PlaybackCommand command);
// Every command, in menu order.
const QList<PlaybackCommand>& allPlaybackCommands();
// A stable name for the settings file ("playPause", "skipBack", ...).
QString playbackCommandId(PlaybackCommand command);
std::optional<PlaybackCommand> playbackCommandFromId(const QString& id);
// The command's name as the menus show it, in the interface language.
QString playbackCommandTitle(PlaybackCommand command);

} // namespace dictaro
