#pragma once

#include <QString>

#include "ExportFormat.h"

// Builds the text of an exported transcript.
namespace dictaro::TranscriptExporter {

// The export text. The body is the transcript unchanged, or, when `includeTimestamps` is false,
// the transcript with every timestamp removed: each run of touching timestamps goes together
// with at most one neighbouring space, the following one if there is one, otherwise the
// preceding one when the run ends the text or a line. Markdown puts "# <projectName>" and an
// empty line before the body; nothing is escaped, trimmed or appended.
QString exportText(const QString& transcript, const QString& projectName, ExportFormat format,
                   bool includeTimestamps);

} // namespace dictaro::TranscriptExporter
