#pragma once

#include <QString>

#include <optional>

namespace dictaro {

// Whether a path chosen by the user (open dialog, command line, a second launch) can be opened as
// a project, and the one message that explains why not.
namespace AudioFileCheck {

// Why the file at `path` cannot be opened (missing, a folder or other non-regular file,
// unreadable, not one of the AudioTypes); nothing when it can.
std::optional<QString> problem(const QString& path);

} // namespace AudioFileCheck
} // namespace dictaro
