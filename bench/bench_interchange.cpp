// Exports a 5 MB transcript to every format and imports a 20,000-cue SubRip file.
#include "ExportFormat.h"
#include "TranscriptImport.h"
#include "TranscriptWriter.h"
#include "benchtext.h"
#include "benchutil.h"

#include <QGuiApplication>

#include <cstdio>

using namespace dictaro;

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the OpenDocument writer needs fonts
    constexpr double target = 300.0;

    const QString transcript = bench::makeTranscript(5 * 1024 * 1024);
    std::printf("transcript: %lld characters, %lld lines\n", qlonglong(transcript.size()),
                qlonglong(transcript.count(u'\n') + 1));
    for (const ExportFormat format : allExportFormats()) {
        const ExportRequest request{transcript, QStringLiteral("Benchmark"), format, true, 36000};
        qsizetype bytes = 0;
        const auto ms =
            bench::run(5, [&] { bytes = TranscriptWriter::fileContents(request).size(); });
        const QByteArray label = "export 5 MB to ." + fileExtension(format).toUtf8();
        bench::report(label.constData(), ms, target);
        std::printf("    %lld bytes\n", qlonglong(bytes));
    }

    QByteArray srt;
    for (int i = 0; i < 20000; ++i) {
        const int ms = i * 2500;
        const auto time = [](int t) {
            return QByteArray::number(t / 3600000).rightJustified(2, '0') + ':' +
                   QByteArray::number(t / 60000 % 60).rightJustified(2, '0') + ':' +
                   QByteArray::number(t / 1000 % 60).rightJustified(2, '0') + ',' +
                   QByteArray::number(t % 1000).rightJustified(3, '0');
        };
        srt += QByteArray::number(i + 1) + "\r\n" + time(ms) + " --> " + time(ms + 2000) +
               "\r\n<i>A line of subtitle text</i> number " + QByteArray::number(i) +
               ",\r\nand its second line.\r\n\r\n";
    }
    qsizetype length = 0;
    const auto ms = bench::run(5, [&] {
        length = TranscriptImport::transcriptFromFile(srt, QStringLiteral("big.srt")).size();
    });
    bench::report("import 20,000-cue .srt", ms, target);
    std::printf("    %lld bytes in, %lld characters out\n", qlonglong(srt.size()),
                qlonglong(length));
    return 0;
}
