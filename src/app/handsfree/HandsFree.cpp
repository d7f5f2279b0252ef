#include "HandsFree.h"

#include "AppState.h"
#include "CommandRegistry.h"
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

HandsFree::HandsFree(AppState& state, CommandRegistry& commands, QWidget* window, QObject* parent)
    : QObject(parent), m_state(state), m_commands(commands),
      m_pedalSettings(std::make_unique<PedalSettings>()),
      m_pedal(std::make_unique<PedalController>(*m_pedalSettings)), m_window(window)
{
    const auto engine = [this]() -> PlaybackEngine* {
        TranscriptionSession* session = m_state.currentSession();
        return session ? session->engine() : nullptr;
    };
    connect(m_pedal.get(), &PedalController::commandTriggered, this, &HandsFree::run);
    connect(m_pedal.get(), &PedalController::playRequested, this, [engine] {
        if (PlaybackEngine* player = engine())
            player->play();
    });
    connect(m_pedal.get(), &PedalController::pauseRequested, this, [engine] {
        if (PlaybackEngine* player = engine())
            PlaybackCommands::pause(*player);
    });

    m_mediaKeys = new MediaKeyFilter(
        window, [this](PlaybackCommand command) { run(command); },
        [engine] { return engine() && engine()->isPlaying(); }, this);
}

HandsFree::~HandsFree() = default;

void HandsFree::startDesktopServices()
{
#ifdef DICTARO_LINUX_DESKTOP
    if (m_pedalMonitor)
        return;
    m_pedalMonitor = std::make_unique<PedalMonitor>(
        [settings = m_pedalSettings.get()] { return settings->chosenDevice(); });
    connect(m_pedalMonitor.get(), &PedalMonitor::buttonChanged, m_pedal.get(),
            &PedalController::setPressed);
    connect(m_pedalMonitor.get(), &PedalMonitor::released, m_pedal.get(),
            &PedalController::releaseAll);
    m_mpris = std::make_unique<MprisService>(
        m_state,
        [window = m_window] {
            window->raise();
            window->activateWindow();
        },
        [window = m_window] { window->close(); });
    m_mpris->registerOn(QDBusConnection::sessionBus());
#endif
}

void HandsFree::run(PlaybackCommand command)
{
    m_commands.action(toCommand(command))->trigger();
}

} // namespace dictaro
