// Feeds arbitrary bytes to the transcript and subtitle readers: every input must end in a
// transcript or an ImportError, never a crash, a sanitizer report or a hang. The first byte
// picks the reader. Whatever is read then goes out as captions, which must read back.
#include "CaptionExporter.h"
#include "TranscriptImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const names[] = {"in.srt", "in.vtt", "in.md", "in.txt"};
    const QString name = QString::fromLatin1(names[data[0] % 4]);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1),
                                                     static_cast<qsizetype>(size - 1));
    QString transcript;
    try {
        transcript = dictaro::TranscriptImport::transcriptFromFile(bytes, name);
    } catch (const dictaro::ImportError&) {
        return 0;
    }
    const auto captions = dictaro::CaptionExporter::captions(transcript, 3600.0);
    try {
        const auto cues =
            dictaro::TranscriptImport::parseSubRip(dictaro::TranscriptImport::decodeText(
                dictaro::CaptionExporter::subRip(captions).toUtf8()));
        const auto voices =
            dictaro::TranscriptImport::parseWebVtt(dictaro::TranscriptImport::decodeText(
                dictaro::CaptionExporter::webVtt(captions).toUtf8()));
        if (cues.size() != captions.size() || voices.size() != captions.size())
            std::abort(); // a caption was lost on the way out
    } catch (const dictaro::ImportError&) {
        std::abort(); // our own captions must always read back
    }
    return 0;
}
