#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// The commands that export and import transcripts without a window, for scripts and batch work:
//   dictaro export --format srt|vtt|docx|odt|txt|md [--no-timestamps]
//                  (--project NAME-or-ID | --all) -o PATH
//   dictaro import TRANSCRIPT --audio AUDIO [--name NAME]
//   dictaro draft AUDIO --model FILE [--language CODE] (-o PATH | --project [--name NAME])
// They only read the projects, or add a new project file, so they may run beside the application.
// A draft reports its progress on the error stream.
namespace dictaro::BatchCommands {

// Whether `arguments` (the program name first) name one of these commands.
bool isBatchCommand(const QStringList& arguments);

// Runs the command that `argv` names, if it names one, on a display of its own that shows
// nothing, over the user's projects, and gives its exit code; nothing for any other command line.
std::optional<int> runIfAsked(int& argc, char* argv[]);

// Runs the command over the projects in `projectsFolder`, relative paths taken from
// `workingFolder`; what it made goes to `out`, a one-line reason for failing to `err`. Returns
// the exit code: 0 when done, 1 when it failed, 2 for a usage error.
int run(const QStringList& arguments, const QString& projectsFolder, const QString& workingFolder,
        QTextStream& out, QTextStream& err);

// The lines that --help prints about these commands.
QString helpText();

} // namespace dictaro::BatchCommands
