#pragma once

#include <QString>

// How long a recording is, read from its container without decoding it.
namespace dictaro::MediaDuration {

// The duration of the audio file at `path` in seconds; 0 when it can't be read.
double of(const QString& path);

} // namespace dictaro::MediaDuration
