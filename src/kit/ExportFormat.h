#pragma once

#include <cstddef>
#include <optional>

#include <QHashFunctions>
#include <QList>
#include <QString>

namespace dictaro {

// The file formats a transcript can be exported to: text, captions and word-processor documents.
enum class ExportFormat { PlainText, Markdown, SubRip, WebVtt, Word, OpenDocument };

// Every format, in the order offered to the user (the order of the enumeration).
QList<ExportFormat> allExportFormats();

// The stable identifier of a format ("plainText", "markdown", "subRip", "webVtt", "word",
// "openDocument"), e.g. for stored choices and the command line.
QString rawValue(ExportFormat format);

// The format whose identifier is exactly `raw` (case-sensitive), or empty.
std::optional<ExportFormat> exportFormatFromRawValue(const QString& raw);

// The file name extension without a dot ("txt", "md", "srt", "vtt", "docx", "odt").
QString fileExtension(ExportFormat format);

inline std::size_t qHash(ExportFormat format, std::size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(format), seed);
}

} // namespace dictaro
