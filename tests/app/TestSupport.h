#pragma once

// Shared by the application tests: engines that play to a silent output with a running clock,
// and the recordings made at build time.
#include "MpvBackend.h"
#include "PlaybackEngine.h"

#include <QFile>
#include <QString>

#include <memory>

namespace dictaro::test {

inline std::unique_ptr<PlaybackEngine> silentEngine()
{
    return std::make_unique<PlaybackEngine>(
        std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
}

// Copies the recorded fixture `name` (such as "speech.wav") to `path`.
inline bool copyFixture(const QString& name, const QString& path)
{
    return QFile::copy(QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/") + name, path);
}

} // namespace dictaro::test
