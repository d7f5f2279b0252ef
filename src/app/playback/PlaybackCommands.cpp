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
    if (!engine.isPlaying())
        return;
    const AppSettings& settings = AppSettings::shared();
    const double rewind = settings.autoRewindSeconds();
    engine.pause(settings.rewindFollowsSpeed() ? PlaybackLogic::rewindAtRate(rewind, engine.rate())
                                               : rewind);
}

void replay(PlaybackEngine& engine)
{
    engine.seek(PlaybackLogic::autoRewindTarget(engine.currentTime(),
                                                AppSettings::shared().replaySeconds()));
    engine.play();
}

void skip(PlaybackEngine& engine, int direction)
{
    const double delta = direction * AppSettings::shared().skipSeconds();
    engine.seek(PlaybackLogic::skipTarget(engine.currentTime(), delta, engine.duration()));
}

} // namespace dictaro::PlaybackCommands
