#include "PlaybackCommand.h"

namespace dictaro {

const QList<PlaybackCommand>& allPlaybackCommands()
{
    using P = PlaybackCommand;
    static const QList<PlaybackCommand> commands{P::PlayPause,
                                                 P::SkipBack,
                                                 P::SkipForward,
                                                 P::Replay,
                                                 P::Slower,
                                                 P::Faster,
                                                 P::SetLoopStart,
                                                 P::SetLoopEnd,
                                                 P::ClearLoop,
                                                 P::VolumeUp,
                                                 P::VolumeDown,
                                                 P::InsertTimestamp,
                                                 P::PreviousTimestamp,
                                                 P::NextTimestamp,
                                                 P::PlayFromTimestamp,
                                                 P::GoToPlayingLine};
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
    case PlaybackCommand::Replay: return Command::Replay;
    case PlaybackCommand::SetLoopStart: return Command::SetLoopStart;
    case PlaybackCommand::SetLoopEnd: return Command::SetLoopEnd;
    case PlaybackCommand::ClearLoop: return Command::ClearLoop;
    case PlaybackCommand::VolumeUp: return Command::VolumeUp;
    case PlaybackCommand::VolumeDown: return Command::VolumeDown;
    case PlaybackCommand::InsertTimestamp: return Command::InsertTimestamp;
    case PlaybackCommand::PreviousTimestamp: return Command::PreviousTimestamp;
    case PlaybackCommand::NextTimestamp: return Command::NextTimestamp;
    case PlaybackCommand::PlayFromTimestamp: return Command::PlayFromTimestamp;
    case PlaybackCommand::GoToPlayingLine: return Command::GoToPlayingLine;
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
