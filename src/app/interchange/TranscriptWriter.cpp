#include "TranscriptWriter.h"

#include "AtomicFile.h"
#include "CaptionExporter.h"
#include "LineBreaks.h"
#include "TranscriptExporter.h"
#include "WordDocument.h"

namespace dictaro::TranscriptWriter {

namespace {

QStringList paragraphs(const ExportRequest& request)
{
    const QString body =
        TranscriptExporter::exportText(request.transcript, request.projectName,
                                       ExportFormat::PlainText, request.includeTimestamps);
    return LineBreaks::normalized(body).split(u'\n');
}

} // namespace

QByteArray fileContents(const ExportRequest& request)
{
    switch (request.format) {
    case ExportFormat::PlainText:
    case ExportFormat::Markdown:
        return TranscriptExporter::exportText(request.transcript, request.projectName,
                                              request.format, request.includeTimestamps)
            .toUtf8();
    case ExportFormat::SubRip:
        return CaptionExporter::subRip(
                   CaptionExporter::captions(request.transcript, request.duration))
            .toUtf8();
    case ExportFormat::WebVtt:
        return CaptionExporter::webVtt(
                   CaptionExporter::captions(request.transcript, request.duration))
            .toUtf8();
    case ExportFormat::Word: return WordDocument::docx(request.projectName, paragraphs(request));
    case ExportFormat::OpenDocument:
        return WordDocument::odt(request.projectName, paragraphs(request));
    }
    Q_UNREACHABLE();
    return {};
}

void write(const QString& path, const ExportRequest& request)
{
    AtomicFile::write(path, fileContents(request));
}

} // namespace dictaro::TranscriptWriter
