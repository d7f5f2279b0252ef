#include "PlaybackCommands.h"

#include "AppSettings.h"
#include "PlaybackEngine.h"
#include "PlaybackLogic.h"

namespace dictaro::PlaybackCommands {

void togglePlayPause(PlaybackEngine& engine)
{
    if (engine.isPlaying())
        pause(engine);
    else
        engine.play();
}

void pause(PlaybackEngine& engine)
{
    if (engine.isPlaying())
        engine.pause(AppSettings::shared().autoRewindSeconds());
}

void skip(PlaybackEngine& engine, int direction)
{
    const double delta = direction * AppSettings::shared().skipSeconds();
    engine.seek(PlaybackLogic::skipTarget(engine.currentTime(), delta, engine.duration()));
}

} // namespace dictaro::PlaybackCommands
