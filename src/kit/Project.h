#pragma once

#include "SoundSettings.h"

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace dictaro {

// Everything remembered about one transcribed audio file; one record per project file.
struct Project
{
    QUuid id;
    QString name;
    std::optional<QByteArray> mediaBookmark;
    QString mediaFileName;
    QString transcript;
    double lastPosition = 0.0;
    double playbackRate = 1.0;
    QDateTime createdAt;
    QDateTime updatedAt;
    // The speakers named in the transcript's labels, in the user's order (SpeakerLabels).
    QStringList speakers;
    // Members of the file that this version does not know (written by a newer one), kept as they
    // were so that saving never erases them. A number that neither a double nor a 64-bit integer
    // holds exactly is kept as its literal, in a string that starts with the unpaired surrogate
    // U+DC00.
    QJsonObject unknownMembers;
    // How the recording sounds; written only where it differs from the defaults, so that other
    // files stay as they were.
    SoundSettings sound;

    // Equal when every field is equal; doubles compare numerically, so NaN never equals itself.
    friend bool operator==(const Project&, const Project&) = default;
};

// The project file form: a pretty-printed JSON object with sorted keys, "/" escaped, other text as
// UTF-8, dates in whole UTC seconds; unknown members are written back among the others. The
// speakers are written only when there are some. Throws StoreError for a non-finite number or an
// invalid date.
QByteArray encodeProject(const Project& project);

// Reads a project file. Throws StoreError for anything that is not a complete, well-typed record.
// The optional speakers are the usable names among the strings of their array (see
// SpeakerLabels::cleanList); a value that is no array is kept as an unknown member, written back
// while the project has no speakers.
Project decodeProject(const QByteArray& bytes);

} // namespace dictaro
