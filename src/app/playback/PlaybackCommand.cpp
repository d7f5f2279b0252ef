#include "PlaybackCommand.h"

namespace dictaro {

const QList<PlaybackCommand>& allPlaybackCommands()
{
    static const QList<PlaybackCommand> commands{PlaybackCommand::PlayPause,
                                                 PlaybackCommand::SkipBack,
                                                 PlaybackCommand::SkipForward,
                                                 PlaybackCommand::Slower,
                                                 PlaybackCommand::Faster,
                                                 PlaybackCommand::VolumeUp,
                                                 PlaybackCommand::VolumeDown,
                                                 PlaybackCommand::InsertTimestamp,
                                                 PlaybackCommand::PreviousTimestamp,
                                                 PlaybackCommand::NextTimestamp,
                                                 PlaybackCommand::PlayFromTimestamp};
    return commands;
}

Command toCommand(PlaybackCommand command)
{
    switch (command) {
    case PlaybackCommand::PlayPause: return Command::PlayPause;
    case PlaybackCommand::SkipBack: return Command::SkipBack;
    case PlaybackCommand::SkipForward: return Command::SkipForward;
    case PlaybackCommand::Slower: return Command::Slower;
    case PlaybackCommand::Faster: return Command::Faster;
    case PlaybackCommand::VolumeUp: return Command::VolumeUp;
    case PlaybackCommand::VolumeDown: return Command::VolumeDown;
    case PlaybackCommand::InsertTimestamp: return Command::InsertTimestamp;
    case PlaybackCommand::PreviousTimestamp: return Command::PreviousTimestamp;
    case PlaybackCommand::NextTimestamp: return Command::NextTimestamp;
    case PlaybackCommand::PlayFromTimestamp: return Command::PlayFromTimestamp;
    }
    return Command::PlayPause;
}

QString playbackCommandId(PlaybackCommand command)
{
    return Commands::id(toCommand(command));
}

std::optional<PlaybackCommand> playbackCommandFromId(const QString& id)
{
    for (PlaybackCommand command : allPlaybackCommands()) {
        if (playbackCommandId(command) == id)
            return command;
    }
    return std::nullopt;
}

QString playbackCommandTitle(PlaybackCommand command)
{
    return Commands::title(toCommand(command));
}

} // namespace dictaro
