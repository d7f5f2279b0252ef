#include "PlaybackLogic.h"

#include <algorithm>
#include <cmath>

namespace dictaro::PlaybackLogic {

double clampedRate(double rate)
{
    // Written as comparisons rather than std::clamp so that NaN falls to the lower bound.
    const double atLeastMin = rate >= minRate ? rate : minRate;
    return atLeastMin <= maxRate ? atLeastMin : maxRate;
}

double steppedRate(double current, double delta)
{
    // std::round rounds halves away from zero (12.5 -> 13), unlike the current rounding mode.
    const double steps = std::round((current + delta) / rateStep);
    return clampedRate(steps * rateStep);
}

double skipTarget(double position, double delta, double duration)
{
    const double sum = position + delta;
    const double atLeastZero = sum >= 0.0 ? sum : 0.0;
    const double upper = duration >= 0.0 ? duration : 0.0;
    return atLeastZero < upper ? atLeastZero : upper;
}

double autoRewindTarget(double position, double rewindSeconds)
{
    const double difference = position - rewindSeconds;
    return difference >= 0.0 ? difference : 0.0;
}

double rewindAtRate(double rewindSeconds, double rate)
{
    return rewindSeconds * clampedRate(rate);
}

LoopStretch loopStretch(double a, double b, double duration)
{
    const double first = skipTarget(a, 0.0, duration);
    const double second = skipTarget(b, 0.0, duration);
    return first <= second ? LoopStretch{first, second} : LoopStretch{second, first};
}

} // namespace dictaro::PlaybackLogic

std::optional<int> dictaro::PlaybackLogic::percentOf(double position, double duration)
{
    if (!std::isfinite(duration) || !(duration > 0.0) || std::isnan(position))
        return std::nullopt;
    const double share = std::clamp(position / duration, 0.0, 1.0);
    return int(std::floor(share * 100.0));
}
