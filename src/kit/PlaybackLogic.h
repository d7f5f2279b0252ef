#pragma once

#include <optional>

// The player's arithmetic: rate limits and steps, skip targets, the rewind after a pause, the
// stretch a loop repeats and how far into the recording a position is.
// Every control computes its new rate or seek target here so that keys, menus and mouse agree.
namespace dictaro::PlaybackLogic {

constexpr double minRate = 0.5;
constexpr double maxRate = 2.0;
constexpr double rateStep = 0.1;

// The rate limited to [minRate, maxRate]; NaN gives minRate, +inf maxRate, -inf minRate.
double clampedRate(double rate);

// current + delta snapped to the rateStep grid (the nearest multiple, halves away from zero), then
// clamped. The result is the floating-point product k * 0.1, e.g. 1.2000000000000002 for k = 12.
// NaN in either argument gives minRate.
double steppedRate(double current, double delta);

// position + delta limited to [0, duration]; a NaN sum gives 0. The lower bound is applied first,
// so a duration of 0 always gives 0. A NaN or negative duration counts as 0, so the result is
// always a usable position.
double skipTarget(double position, double delta, double duration);

// position - rewindSeconds, never below 0 (a NaN difference gives 0). No upper bound.
double autoRewindTarget(double position, double rewindSeconds);

// How far `position` is into a recording of `duration`, in whole percent rounded down (so 100
// only at the very end), within [0, 100]. Nothing when the duration is unknown (not finite or
// not above 0) or the position is NaN.
std::optional<int> percentOf(double position, double duration);

// The recording time a rewind of `rewindSeconds` takes back when it follows the speed:
// rewindSeconds of listening at `rate` (clamped to the rate limits), so 0.8 * 3 s at 0.8x.
double rewindAtRate(double rewindSeconds, double rate);

// A stretch of the recording between two marks, in order and within [0, duration].
struct LoopStretch
{
    double start = 0.0;
    double end = 0.0;
};
// The marks `a` and `b` in either order, each limited as skipTarget(mark, 0, duration) does.
LoopStretch loopStretch(double a, double b, double duration);
// Stretches shorter than this do not repeat (the player would only stutter).
constexpr double minLoopLength = 0.2;

} // namespace dictaro::PlaybackLogic
