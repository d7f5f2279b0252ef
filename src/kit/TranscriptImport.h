#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <stdexcept>

#include "Cue.h"

namespace dictaro {

// Why a transcript file can't be read, and where: the 1-based line, or 0 for the whole file.
class ImportError : public std::runtime_error
{
public:
    enum class Kind {
        TooLarge,    // over TranscriptImport::maxFileSize
        Binary,      // holds bytes that no text file has
        NotText,     // not UTF-8, nor UTF-16 with a byte order mark
        BadTimeLine, // a subtitle block whose time line can't be read
        NoHeader,    // a WebVTT file that does not start with "WEBVTT"
    };

    ImportError(Kind kind, int line);

    Kind kind() const { return m_kind; }
    int line() const { return m_line; }

private:
    Kind m_kind;
    int m_line;
};

// The kinds of file a transcript can be imported from.
enum class TranscriptFileFormat {
    SubRip,    // .srt
    WebVtt,    // .vtt
    Markdown,  // .md: Dictaro's own Markdown export, its title line dropped
    PlainText, // anything else, taken as it is
};

// Reads transcripts and subtitles into the text of a transcript, where each cue becomes a line
// that starts with its start time as a timestamp. Untidy files are accepted: a byte order mark,
// CR LF or CR line ends, a missing final blank line, cue numbers out of step or missing, cues out
// of order (sorted by start, the file's order kept for equal starts), overlapping cues (kept) and
// empty cues (skipped). What can't be read throws ImportError.
namespace TranscriptImport {

// Larger files are refused before they are read.
constexpr qint64 maxFileSize = qint64(200) * 1024 * 1024;

// The format a file name's extension names.
TranscriptFileFormat formatForFileName(const QString& fileName);

// The text held by a file: UTF-8 with or without a byte order mark, or UTF-16 with one. Line
// ends become LF.
QString decodeText(const QByteArray& bytes);

// The cues of a SubRip or a WebVTT text, in the file's order, markup removed (WebVTT voice tags
// become "Name: ").
QList<Cue> parseSubRip(const QString& text);
QList<Cue> parseWebVtt(const QString& text);

// One line per non-empty cue, "[hh:mm:ss] text", in order of start; a cue's own lines are joined
// by spaces.
QString transcriptFromCues(QList<Cue> cues);

// The transcript held by the bytes of a file named `fileName`.
QString transcriptFromFile(const QByteArray& bytes, const QString& fileName);

} // namespace TranscriptImport
} // namespace dictaro
