#pragma once

#include <QString>

#include <optional>

namespace dictaro {

// Which channels of the recording are heard; a single one is heard on both ears.
enum class Channels { Both, Left, Right };

// How a project's recording is made easier to hear: its volume, its channels and the voice filter
// (a speech-band filter, noise reduction and a loudness leveller).
struct SoundSettings
{
    static constexpr double minVolume = 0.0;
    static constexpr double maxVolume = 200.0;
    static constexpr double defaultVolume = 100.0;
    static constexpr double volumeStep = 10.0;

    double volume = defaultVolume; // percent; above 100 boosts
    Channels channels = Channels::Both;
    bool voiceFilter = false;

    friend bool operator==(const SoundSettings&, const SoundSettings&) = default;

    // The volume limited to [minVolume, maxVolume]; NaN gives defaultVolume.
    static double clampedVolume(double volume);
    // current + delta snapped to the volumeStep grid, then clamped.
    static double steppedVolume(double current, double delta);
    // The channels' name in project files: "both", "left", "right".
    static QString channelsName(Channels channels);
    static std::optional<Channels> channelsFromName(const QString& name);
};

} // namespace dictaro
