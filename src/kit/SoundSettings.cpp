#include "SoundSettings.h"

#include <algorithm>
#include <cmath>

namespace dictaro {

double SoundSettings::clampedVolume(double volume)
{
    if (std::isnan(volume))
        return defaultVolume;
    return std::clamp(volume, minVolume, maxVolume);
}

double SoundSettings::steppedVolume(double current, double delta)
{
    return clampedVolume(std::round((clampedVolume(current) + delta) / volumeStep) * volumeStep);
}

QString SoundSettings::channelsName(Channels channels)
{
    switch (channels) {
    case Channels::Left: return QStringLiteral("left");
    case Channels::Right: return QStringLiteral("right");
    case Channels::Both: break;
    }
    return QStringLiteral("both");
}

std::optional<Channels> SoundSettings::channelsFromName(const QString& name)
{
    for (const Channels channels : {Channels::Both, Channels::Left, Channels::Right}) {
        if (name == channelsName(channels))
            return channels;
    }
    return std::nullopt;
}

} // namespace dictaro
