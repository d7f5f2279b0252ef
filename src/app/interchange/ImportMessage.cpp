#include "ImportMessage.h"

#include "Localization.h"
#include "TranscriptImport.h"

namespace dictaro::ImportMessage {

QString describe(const ImportError& error)
{
    const QString line = QString::number(error.line());
    switch (error.kind()) {
    case ImportError::Kind::TooLarge:
        return Localization::tr("The file is larger than 200 MB, too large for a transcript.");
    case ImportError::Kind::Binary:
        return Localization::tr("Line %1 holds bytes that no text file has: this is not a "
                                "transcript.")
            .arg(line);
    case ImportError::Kind::NotText:
        if (error.line() == 0)
            return Localization::tr("The file is neither UTF-8 nor UTF-16 text.");
        return Localization::tr("Line %1 is not UTF-8 text. Save the file as UTF-8 and import "
                                "it again.")
            .arg(line);
    case ImportError::Kind::BadTimeLine:
        return Localization::tr("Line %1 should give the times of a subtitle, as in "
                                "“00:01:02,500 --> 00:01:05,000”.")
            .arg(line);
    case ImportError::Kind::NoHeader:
        return Localization::tr("Line 1 should read “WEBVTT”: this is not a WebVTT file.");
    }
    return {};
}

} // namespace dictaro::ImportMessage
