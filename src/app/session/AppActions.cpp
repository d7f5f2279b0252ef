#include "AppActions.h"

#include "AppState.h"
#include "CommandRegistry.h"
#include "PlaybackCommands.h"
#include "PlaybackEngine.h"
#include "PlaybackLogic.h"
#include "TranscriptionSession.h"

#include <QAction>

namespace dictaro {

namespace {

// The commands that need an open project.
QList<Command> sessionCommands()
{
    return QList<Command>{Command::Save, Command::Export, Command::MakeDraft} +
           AppActions::playbackCommands() + Commands::inGroup(CommandGroup::Speakers);
}

} // namespace

AppActions::AppActions(AppState& state, CommandRegistry& commands, QObject* parent)
    : QObject(parent), m_state(state), m_commands(commands)
{
    // Each command takes the open session when it runs.
    const auto onEngine = [this](Command command, auto&& work) {
        connect(action(command), &QAction::triggered, this, [this, work] {
            if (TranscriptionSession* session = m_state.currentSession())
                work(*session->engine());
        });
    };
    onEngine(Command::PlayPause, [](PlaybackEngine& e) { PlaybackCommands::togglePlayPause(e); });
    onEngine(Command::SkipBack, [](PlaybackEngine& e) { PlaybackCommands::skip(e, -1); });
    onEngine(Command::SkipForward, [](PlaybackEngine& e) { PlaybackCommands::skip(e, +1); });
    onEngine(Command::Replay, [](PlaybackEngine& e) { PlaybackCommands::replay(e); });
    onEngine(Command::SetLoopStart, [](PlaybackEngine& e) { e.setLoopStart(e.currentTime()); });
    onEngine(Command::SetLoopEnd, [](PlaybackEngine& e) { e.setLoopEnd(e.currentTime()); });
    onEngine(Command::ClearLoop, [](PlaybackEngine& e) { e.clearLoop(); });
    onEngine(Command::Slower, [](PlaybackEngine& e) { e.changeRate(-PlaybackLogic::rateStep); });
    onEngine(Command::Faster, [](PlaybackEngine& e) { e.changeRate(PlaybackLogic::rateStep); });
    onEngine(Command::VolumeUp,
             [](PlaybackEngine& e) { e.changeVolume(SoundSettings::volumeStep); });
    onEngine(Command::VolumeDown,
             [](PlaybackEngine& e) { e.changeVolume(-SoundSettings::volumeStep); });
    // The switches show the engine's sound, also when it changes from elsewhere (a project
    // opening, the player bar, the desktop's media controls). A triggered switch has toggled
    // itself; it is set back to what the engine then has.
    PlaybackEngine& engine = m_state.engine();
    const auto showSound = [this] {
        const PlaybackEngine& engine = m_state.engine();
        action(Command::BothChannels)->setChecked(engine.channels() == Channels::Both);
        action(Command::LeftChannelOnly)->setChecked(engine.channels() == Channels::Left);
        action(Command::RightChannelOnly)->setChecked(engine.channels() == Channels::Right);
        action(Command::VoiceFilter)->setChecked(engine.voiceFilter());
    };
    const auto onSound = [&](Command command, auto&& work) {
        onEngine(command, [work, showSound](PlaybackEngine& e) {
            work(e);
            showSound();
        });
    };
    onSound(Command::BothChannels, [](PlaybackEngine& e) { e.setChannels(Channels::Both); });
    onSound(Command::LeftChannelOnly, [](PlaybackEngine& e) { e.setChannels(Channels::Left); });
    onSound(Command::RightChannelOnly, [](PlaybackEngine& e) { e.setChannels(Channels::Right); });
    onSound(Command::VoiceFilter, [](PlaybackEngine& e) { e.setVoiceFilter(!e.voiceFilter()); });
    showSound();
    connect(&engine, &PlaybackEngine::channelsChanged, this, showSound);
    connect(&engine, &PlaybackEngine::voiceFilterChanged, this, showSound);
    connect(action(Command::Save), &QAction::triggered, this, [this] {
        if (TranscriptionSession* session = m_state.currentSession())
            session->saveNow();
    });
    connect(action(Command::Export), &QAction::triggered, this,
            [this] { m_state.setExportPresented(m_state.currentSession() != nullptr); });

    connect(&m_state, &AppState::currentSessionChanged, this, &AppActions::updateEnabled);
    updateEnabled();
}

QAction* AppActions::action(Command command) const
{
    return m_commands.action(command);
}

QList<Command> AppActions::playbackCommands()
{
    return Commands::inGroup(CommandGroup::Playback);
}

void AppActions::updateEnabled()
{
    const bool open = m_state.currentSession() != nullptr;
    for (const Command command : sessionCommands())
        action(command)->setEnabled(open && m_commands.isOffered(command));
}

} // namespace dictaro
