// Times timestamp search, timestamp stripping and the word count on a large transcript (the
// count runs on a thread of its own once typing pauses; five times this for 5 MB).
// Run on demand from a Release or RelWithDebInfo build: bench/bench_transcript [runs]

#include <algorithm>
#include <cstdio>

#include <QString>
#include <QStringList>

#include "ExportFormat.h"
#include "TimestampFormatter.h"
#include "TranscriptExporter.h"
#include "WordTokenizer.h"
#include "benchutil.h"

using namespace dictaro;

namespace {

constexpr double targetMs = 20.0;
constexpr int timestampCount = 10'000;

// About 1 MB (UTF-16 code units) with 10,000 timestamps; some lines are Turkish, Arabic or
// carry emoji, so that non-ASCII neighbours of brackets take the slower path.
QString makeTranscript()
{
    const QStringList sentences = {
        QStringLiteral("So we started the recording in the morning and went through the "
                       "questions one by one, slowly, with a lot of pauses in between them. "),
        QStringLiteral("Bugün çok güzel bir gün, ağaçların altında oturup konuştuk; "
                       "ışıklar söndükten sonra eve döndük ve çay içtik. "),
        QStringLiteral("قال إنه سيعود غدًا في الصباح الباكر لمواصلة المقابلة مع الجميع. "),
        QStringLiteral("Then someone laughed 😀 and the dog barked 🐕‍🦺 twice near the "
                       "microphone, which made everyone stop for a second or two. "),
    };
    QString text;
    text.reserve(1'050'000);
    int sentence = 0;
    int stamps = 0;
    for (int i = 0; stamps < timestampCount; ++i) {
        const QString stamp = TimestampFormatter::stringFromSeconds(i * 7.0);
        ++stamps;
        switch (i % 5) {
        case 0: // at the start of a line
            text += stamp + QLatin1Char(' ');
            break;
        case 1: // directly after non-ASCII text, at the end of a line
            text += QStringLiteral("تم") + stamp + QLatin1Char('\n');
            break;
        case 2: // a touching pair
            ++stamps;
            text +=
                stamp + TimestampFormatter::stringFromSeconds(i * 7.0 + 1) + QStringLiteral("\r\n");
            break;
        case 3: // after an emoji
            text += QStringLiteral("👍🏽 ") + stamp + QLatin1Char(' ');
            break;
        default: // after two that are not timestamps: three-digit hours, other digits
            text += QStringLiteral("[100:00:00] [٠٠:٠١:٠٢] ") + stamp + QLatin1Char(' ');
            break;
        }
        // Fill to about 100 code units per timestamp.
        const qsizetype goal = qsizetype(stamps) * 104;
        while (text.size() < goal) {
            text += sentences[sentence];
            sentence = (sentence + 1) % int(sentences.size());
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;
    const QString transcript = makeTranscript();
    const auto matches = TimestampFormatter::timestampMatches(transcript);
    const QString strippedText =
        TranscriptExporter::exportText(transcript, QString(), ExportFormat::PlainText, false);
    std::printf("transcript: %lld UTF-16 units, %lld timestamps found, %lld units after "
                "stripping; %d runs each\n",
                qlonglong(transcript.size()), qlonglong(matches.size()),
                qlonglong(strippedText.size()), runs);

    qsizetype sink = 0;
    const auto search = [&] { sink += TimestampFormatter::timestampMatches(transcript).size(); };
    const auto strip = [&] {
        sink += TranscriptExporter::exportText(transcript, QStringLiteral("Bench"),
                                               ExportFormat::Markdown, false)
                    .size();
    };
    bench::report("timestampMatches", bench::run(runs, search), targetMs);
    bench::report("exportText (timestamps stripped)", bench::run(runs, strip), targetMs);
    const auto count = [&] { sink += WordTokenizer::countWords(transcript); };
    bench::report("countWords", bench::run(runs, count), targetMs);
    return sink > 0 ? 0 : 1;
}
