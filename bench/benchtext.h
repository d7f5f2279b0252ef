#pragma once

// What the benchmarks feed the application: a transcript of a given size, and helper programs.
#include "TimestampFormatter.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace bench {

// Paragraphs of eight timestamps, each followed by prose up to 100 characters, until the
// text has at least the given size. It ends with a whole paragraph and no line break.
inline QString makeTranscript(qsizetype size)
{
    const QString prose = QStringLiteral(
        "so we went through the questions one by one, slowly, with pauses between them and a "
        "bit of laughter ");
    QString text;
    text.reserve(size + 1000);
    for (int i = 0; text.size() < size || i % 8 != 0; ++i) {
        if (i > 0)
            text += (i % 8 == 0) ? u'\n' : u' ';
        const QString stamp = dictaro::TimestampFormatter::stringFromSeconds(i * 7.0) + u' ';
        text += stamp;
        text += QStringView(prose).left(99 - stamp.size()).trimmed();
    }
    return text;
}

// Runs a program to its end; true when it succeeded.
inline bool runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace bench
