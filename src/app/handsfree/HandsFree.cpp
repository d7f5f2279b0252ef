#include "HandsFree.h"

#include "AppActions.h"
#include "AppState.h"
#include "KeyBindings.h"
#include "MediaKeyFilter.h"
#include "PedalController.h"
#include "PedalSettings.h"
#include "PlaybackCommands.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"

#ifdef DICTARO_LINUX_DESKTOP
#include "MprisService.h"
#include "PedalMonitor.h"
#endif

#include <QAction>
#include <QWidget>

#ifdef DICTARO_LINUX_DESKTOP
#include <QDBusConnection>
#endif

namespace dictaro {

namespace {

AppActions::Command actionFor(PlaybackCommand command)
{
    switch (command) {
    case PlaybackCommand::PlayPause: return AppActions::Command::PlayPause;
    case PlaybackCommand::SkipBack: return AppActions::Command::SkipBack;
    case PlaybackCommand::SkipForward: return AppActions::Command::SkipForward;
    case PlaybackCommand::Slower: return AppActions::Command::Slower;
    case PlaybackCommand::Faster: return AppActions::Command::Faster;
    case PlaybackCommand::InsertTimestamp: return AppActions::Command::InsertTimestamp;
    }
    return AppActions::Command::PlayPause;
}

} // namespace

HandsFree::HandsFree(AppState& state, AppActions& actions, QWidget* window, QObject* parent)
    : QObject(parent), m_state(state), m_actions(actions), m_keys(std::make_unique<KeyBindings>()),
      m_pedalSettings(std::make_unique<PedalSettings>()),
      m_pedal(std::make_unique<PedalController>(*m_pedalSettings))
{
    for (const PlaybackCommand command : allPlaybackCommands())
        applyKey(command);
    connect(m_keys.get(), &KeyBindings::keyChanged, this, &HandsFree::applyKey);

    const auto engine = [this]() -> PlaybackEngine* {
        TranscriptionSession* session = m_state.currentSession();
        return session ? session->engine() : nullptr;
    };
#ifdef DICTARO_LINUX_DESKTOP
    m_pedalMonitor = std::make_unique<PedalMonitor>(
        [settings = m_pedalSettings.get()] { return settings->chosenDevice(); });
    connect(m_pedalMonitor.get(), &PedalMonitor::buttonChanged, m_pedal.get(),
            &PedalController::setPressed);
    connect(m_pedalMonitor.get(), &PedalMonitor::released, m_pedal.get(),
            &PedalController::releaseAll);
#endif
    connect(m_pedal.get(), &PedalController::commandTriggered, this, &HandsFree::run);
    connect(m_pedal.get(), &PedalController::playRequested, this, [engine] {
        if (PlaybackEngine* player = engine())
            player->play();
    });
    connect(m_pedal.get(), &PedalController::pauseRequested, this, [engine] {
        if (PlaybackEngine* player = engine())
            PlaybackCommands::pause(*player);
    });

#ifdef DICTARO_LINUX_DESKTOP
    m_mpris = std::make_unique<MprisService>(
        state,
        [window] {
            window->raise();
            window->activateWindow();
        },
        [window] { window->close(); });
    m_mpris->registerOn(QDBusConnection::sessionBus());
#endif

    m_mediaKeys = new MediaKeyFilter(
        window, [this](PlaybackCommand command) { run(command); },
        [engine] { return engine() && engine()->isPlaying(); }, this);
}

HandsFree::~HandsFree() = default;

void HandsFree::run(PlaybackCommand command)
{
    m_actions.action(actionFor(command))->trigger();
}

void HandsFree::applyKey(PlaybackCommand command)
{
    m_actions.setKey(actionFor(command), m_keys->key(command));
}

} // namespace dictaro
