#pragma once

#include "Project.h"

#include <QString>

namespace dictaro {

// A new project for the recording at `audioPath`: a new identity, named after the file without
// its extension (a leading dot starts no extension), a reference to the file, an empty
// transcript, the start of the recording at normal speed, created and updated now.
Project newProjectFor(const QString& audioPath);

} // namespace dictaro
