#pragma once

#include <QString>

#include <optional>

namespace dictaro {

// A transcript file read for import, or why it can't be.
struct TranscriptFile
{
    QString transcript;           // the transcript's text, a line per cue for subtitles
    std::optional<QString> error; // for the user: what is wrong, with the line at fault

    // Reads the regular file at `path` (never a FIFO or a device, at most 200 MB) as subtitles,
    // text or Markdown, by its extension.
    static TranscriptFile read(const QString& path);

    // `existing` with `imported` after it, on a line of its own.
    static QString appended(const QString& existing, const QString& imported);
};

} // namespace dictaro
