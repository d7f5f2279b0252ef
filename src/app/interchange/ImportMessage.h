#pragma once

#include <QString>

namespace dictaro {

class ImportError;

// What the user is told when a transcript file can't be imported, with the line at fault.
namespace ImportMessage {

QString describe(const ImportError& error);

} // namespace ImportMessage
} // namespace dictaro
