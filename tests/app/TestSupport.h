#pragma once

// Shared by the application tests: a home folder of their own, engines that play to a silent
// output with a running clock, and the recordings made at build time.
#include "AppSettings.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace dictaro::test {

// Everything a test may write lives in one temporary folder: the standard folders (test mode),
// the settings files, HOME, the state folder and the temporary folder; the shared settings start
// afresh. The environment is put back when the home goes.
class TemporaryHome
{
public:
    TemporaryHome()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path());
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, filePath("system"));
        QDir().mkpath(filePath("tmp"));
        for (const auto& [name, value] : {std::pair{"HOME", path()},
                                          {"TMPDIR", filePath("tmp")},
                                          {"XDG_STATE_HOME", filePath("state")}}) {
            m_saved.emplace_back(name, qEnvironmentVariableIsSet(name)
                                           ? std::optional(qgetenv(name))
                                           : std::nullopt);
            qputenv(name, QFile::encodeName(value));
        }
        AppSettings::resetSharedForTesting();
    }
    ~TemporaryHome()
    {
        for (const auto& [name, value] : m_saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // The program's settings file, which need not exist.
    static QString settingsFile()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, "Dictaro", "Dictaro")
            .fileName();
    }

private:
    QTemporaryDir m_dir;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

// Makes saves into `folder` fail: a plain file stands where it should be.
inline bool blockFolder(const QString& folder)
{
    QFile blocker(folder);
    return QDir(folder).removeRecursively() && blocker.open(QIODevice::WriteOnly);
}

inline std::unique_ptr<PlaybackEngine> silentEngine()
{
    return std::make_unique<PlaybackEngine>(
        std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
}

#ifdef DICTARO_PLAYBACK_FIXTURES
// Copies the recorded fixture `name` (such as "speech.wav") to `path`.
inline bool copyFixture(const QString& name, const QString& path)
{
    return QFile::copy(QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/") + name, path);
}
#endif

} // namespace dictaro::test
