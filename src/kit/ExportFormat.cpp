#include "ExportFormat.h"

namespace dictaro {

QList<ExportFormat> allExportFormats()
{
    return {ExportFormat::PlainText, ExportFormat::Markdown};
}

QString rawValue(ExportFormat format)
{
    switch (format) {
    case ExportFormat::PlainText: return QStringLiteral("plainText");
    case ExportFormat::Markdown: return QStringLiteral("markdown");
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
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace dictaro
