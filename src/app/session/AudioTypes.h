#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace dictaro {

// The audio files Dictaro opens, from the one list in AudioTypes.list (which also makes the
// desktop entry's MIME types): their extensions, names and MIME types.
namespace AudioTypes {

struct AudioType
{
    QString extension; // lower case, without the dot
    QString name;      // as messages name it ("MP3"); empty for a second extension of a type
    QStringList mimeTypes;
};

// Every type, in the list's order.
const QList<AudioType>& all();
// Every extension, lower case, in the list's order.
QStringList extensions();
// Every MIME type once, in the list's order.
QStringList mimeTypes();
// The named types' names, in the list's order ("MP3", "M4A", ...).
QStringList names();

} // namespace AudioTypes
} // namespace dictaro
