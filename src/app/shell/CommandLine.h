#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace dictaro {

// What the program was asked to do on its command line: `dictaro [FILE]`, `--help`, `--version`.
class CommandLine
{
public:
    // Reads `arguments` (the program name first, as QCoreApplication::arguments() gives them).
    // A relative FILE is taken from `workingFolder`; a file: URL is accepted too.
    static CommandLine parse(const QStringList& arguments, const QString& workingFolder);

    // Answers --help and --version on standard output before any display is opened (so that
    // they also work without one) and gives the exit code; nothing for every other command line,
    // which is parsed again once the application, which takes its own options, is made.
    static std::optional<int> answerWithoutDisplay(int& argc, char* argv[]);

    // Set when the program should print output() and end with exitCode() instead of starting:
    // after --help or --version (0) or on a usage error (2, text meant for standard error).
    bool exits() const { return m_exits; }
    int exitCode() const { return m_exitCode; }
    QString output() const { return m_output; }

    // The file to open as Ctrl+O would, absolute and clean; empty when none was given. Check it
    // with AudioFileCheck::problem() before opening.
    QString file() const { return m_file; }

private:
    bool m_exits = false;
    int m_exitCode = 0;
    QString m_output;
    QString m_file;
};

} // namespace dictaro
