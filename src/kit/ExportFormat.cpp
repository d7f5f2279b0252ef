#include "ExportFormat.h"

namespace dictaro {

QList<ExportFormat> allExportFormats()
{
    return {ExportFormat::PlainText, ExportFormat::Markdown, ExportFormat::SubRip,
            ExportFormat::WebVtt,    ExportFormat::Word,     ExportFormat::OpenDocument};
}

QString rawValue(ExportFormat format)
{
    switch (format) {
    case ExportFormat::PlainText: return QStringLiteral("plainText");
    case ExportFormat::Markdown: return QStringLiteral("markdown");
    case ExportFormat::SubRip: return QStringLiteral("subRip");
    case ExportFormat::WebVtt: return QStringLiteral("webVtt");
    case ExportFormat::Word: return QStringLiteral("word");
    case ExportFormat::OpenDocument: return QStringLiteral("openDocument");
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<ExportFormat> exportFormatFromRawValue(const QString& raw)
{
    for (const ExportFormat format : allExportFormats()) {
        if (raw == rawValue(format))
            return format;
    }
    return std::nullopt;
}

QString fileExtension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::PlainText: return QStringLiteral("txt");
    case ExportFormat::Markdown: return QStringLiteral("md");
    case ExportFormat::SubRip: return QStringLiteral("srt");
    case ExportFormat::WebVtt: return QStringLiteral("vtt");
    case ExportFormat::Word: return QStringLiteral("docx");
    case ExportFormat::OpenDocument: return QStringLiteral("odt");
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace dictaro
