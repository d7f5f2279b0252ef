#pragma once

#include <stdexcept>
#include <string>

#include <QString>

namespace dictaro {

// A failure of the project store or of the project file format, with a message for developers.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

} // namespace dictaro
