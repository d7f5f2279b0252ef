#include "PlaybackCommands.h"

#include "AppSettings.h"
#include "PlaybackEngine.h"
#include "PlaybackLogic.h"

namespace dictaro::PlaybackCommands {

void togglePlayPause(PlaybackEngine& engine)
{
    if (engine.isPlaying())
        engine.pause(AppSettings::shared().autoRewindSeconds());
    else
        engine.play();
}

void skip(PlaybackEngine& engine, int direction)
{
    const double delta = direction * AppSettings::shared().skipSeconds();
    engine.seek(PlaybackLogic::skipTarget(engine.currentTime(), delta, engine.duration()));
}

} // namespace dictaro::PlaybackCommands
