#include "PlaybackCommand.h"

#include "Localization.h"

namespace dictaro {

const QList<PlaybackCommand>& allPlaybackCommands()
{
    static const QList<PlaybackCommand> commands{
        PlaybackCommand::PlayPause, PlaybackCommand::SkipBack, PlaybackCommand::SkipForward,
        PlaybackCommand::Slower,    PlaybackCommand::Faster,   PlaybackCommand::InsertTimestamp};
    return commands;
}

QString playbackCommandId(PlaybackCommand command)
{
    switch (command) {
    case PlaybackCommand::PlayPause: return QStringLiteral("playPause");
    case PlaybackCommand::SkipBack: return QStringLiteral("skipBack");
    case PlaybackCommand::SkipForward: return QStringLiteral("skipForward");
    case PlaybackCommand::Slower: return QStringLiteral("slower");
    case PlaybackCommand::Faster: return QStringLiteral("faster");
    case PlaybackCommand::InsertTimestamp: return QStringLiteral("insertTimestamp");
    }
    return {};
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
    switch (command) {
    case PlaybackCommand::PlayPause: return Localization::tr("Play/Pause");
    case PlaybackCommand::SkipBack: return Localization::tr("Skip Back");
    case PlaybackCommand::SkipForward: return Localization::tr("Skip Forward");
    case PlaybackCommand::Slower: return Localization::tr("Slower");
    case PlaybackCommand::Faster: return Localization::tr("Faster");
    case PlaybackCommand::InsertTimestamp: return Localization::tr("Insert Timestamp");
    }
    return {};
}

} // namespace dictaro
