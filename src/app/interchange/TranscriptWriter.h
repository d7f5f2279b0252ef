#pragma once

#include "ExportFormat.h"

#include <QByteArray>
#include <QString>

namespace dictaro {

// What an exported transcript is, whatever its format.
struct ExportRequest
{
    QString transcript;
    QString projectName; // the title of Markdown, Word and OpenDocument files
    ExportFormat format = ExportFormat::PlainText;
    bool includeTimestamps = true; // captions take their times from the stamps and never show them
    double duration = 0.0;         // of the recording, where the last caption ends; 0 when unknown
};

// Turns a transcript into the bytes of an export file in any format, and writes them.
namespace TranscriptWriter {

// The file's bytes: UTF-8 text for plain text, Markdown and captions; a Word (.docx) or an
// OpenDocument Text (.odt) document with the project name as its title and a paragraph per line.
// Throws StoreError when a document can't be made.
QByteArray fileContents(const ExportRequest& request);

// Writes the export to `path` in one checked, atomic write: on failure (a StoreError) any earlier
// file there is left as it was.
void write(const QString& path, const ExportRequest& request);

} // namespace TranscriptWriter
} // namespace dictaro
