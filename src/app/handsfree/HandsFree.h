#pragma once

#include "PlaybackCommand.h"

#include <QObject>

#include <memory>

class QWidget;

namespace dictaro {

class AppActions;
class AppState;
class KeyBindings;
class MediaKeyFilter;
class MprisService;
class PedalController;
class PedalMonitor;
class PedalSettings;

// Every way to drive playback without the text's own keys: the user's keys for the playback
// commands, a foot pedal, the desktop's media controls on the session bus and the keyboard's
// media keys. All of them run the application's actions, so each command has one definition.
class HandsFree : public QObject
{
    Q_OBJECT

public:
    // Over the actions of `window` (for the media keys and for Raise), on the state's session.
    HandsFree(AppState& state, AppActions& actions, QWidget* window, QObject* parent = nullptr);
    ~HandsFree() override;

    KeyBindings& keys() const { return *m_keys; }
    PedalSettings& pedalSettings() const { return *m_pedalSettings; }
    // The pedal's device, where this system has a way to read it; else null.
#ifdef DICTARO_LINUX_DESKTOP
    PedalMonitor* pedalMonitor() const
    {
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
    void applyKey(PlaybackCommand command);

    AppState& m_state;
    AppActions& m_actions;
    std::unique_ptr<KeyBindings> m_keys;
    std::unique_ptr<PedalSettings> m_pedalSettings;
#ifdef DICTARO_LINUX_DESKTOP
    std::unique_ptr<PedalMonitor> m_pedalMonitor;
#endif
    std::unique_ptr<PedalController> m_pedal;
#ifdef DICTARO_LINUX_DESKTOP
    std::unique_ptr<MprisService> m_mpris;
#endif
    MediaKeyFilter* m_mediaKeys = nullptr;
};

} // namespace dictaro
