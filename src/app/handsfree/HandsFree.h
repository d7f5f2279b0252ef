#pragma once

#include "PlaybackCommand.h"

#include <QObject>

#include <memory>

class QWidget;

namespace dictaro {

class AppState;
class CommandRegistry;
class MediaKeyFilter;
class MprisService;
class PedalController;
class PedalMonitor;
class PedalSettings;

// Every way to drive playback without the text's own keys: the user's keys for the playback
// commands, a foot pedal, the desktop's media controls on the session bus and the keyboard's
// media keys. All of them run the commands' actions, so each command has one definition.
class HandsFree : public QObject
{
    Q_OBJECT

public:
    // Runs the registry's commands; media keys work in `window`, which Raise brings forward.
    HandsFree(AppState& state, CommandRegistry& commands, QWidget* window,
              QObject* parent = nullptr);
    ~HandsFree() override;

    // Opens the pedal's device and puts the media controls on the session bus. Called once the
    // window is on screen: none of it is needed for the first frame, and a slow bus or device
    // must never hold it up. Does nothing the second time.
    void startDesktopServices();

    PedalSettings& pedalSettings() const { return *m_pedalSettings; }
    // The pedal's device, where this system has a way to read it; else null. Starts the
    // desktop services if they have not started yet.
#ifdef DICTARO_LINUX_DESKTOP
    PedalMonitor* pedalMonitor()
    {
        startDesktopServices();
        return m_pedalMonitor.get();
    }
#else
    PedalMonitor* pedalMonitor() const
    {
        return nullptr;
    }
#endif

    // Runs a playback command as its action does.
    void run(PlaybackCommand command);

private:
    AppState& m_state;
    CommandRegistry& m_commands;
    std::unique_ptr<PedalSettings> m_pedalSettings;
#ifdef DICTARO_LINUX_DESKTOP
    std::unique_ptr<PedalMonitor> m_pedalMonitor;
#endif
    std::unique_ptr<PedalController> m_pedal;
#ifdef DICTARO_LINUX_DESKTOP
    std::unique_ptr<MprisService> m_mpris;
#endif
    [[maybe_unused]] QWidget* m_window; // raised and closed by the media controls
    MediaKeyFilter* m_mediaKeys = nullptr;
};

} // namespace dictaro
