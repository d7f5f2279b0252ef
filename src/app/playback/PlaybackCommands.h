#pragma once

namespace dictaro {

class PlaybackEngine;

// The player's user commands, shared by the keyboard, the menus and the player bar so that
// every control lands on the same values. Settings are read at the moment a command runs.
namespace PlaybackCommands {

// Pauses with the auto-rewind setting while playing; plays otherwise.
void togglePlayPause(PlaybackEngine& engine);
// Pauses with the auto-rewind setting, times the speed when the rewind follows it; nothing
// while paused.
void pause(PlaybackEngine& engine);
// Goes back by the replay setting and plays on from there.
void replay(PlaybackEngine& engine);
// Seeks by the skip setting: direction -1 goes back, +1 goes forward, within [0, duration].
void skip(PlaybackEngine& engine, int direction);

} // namespace PlaybackCommands
} // namespace dictaro
