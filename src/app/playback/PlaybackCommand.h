#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace dictaro {

// The player's commands that keys, pedals, media keys and the session bus can trigger.
enum class PlaybackCommand { PlayPause, SkipBack, SkipForward, Slower, Faster, InsertTimestamp };

// Every command, in menu order.
const QList<PlaybackCommand>& allPlaybackCommands();
// A stable name for the settings file ("playPause", "skipBack", ...).
QString playbackCommandId(PlaybackCommand command);
std::optional<PlaybackCommand> playbackCommandFromId(const QString& id);
// The command's name as the menus show it, in the interface language.
QString playbackCommandTitle(PlaybackCommand command);

} // namespace dictaro
