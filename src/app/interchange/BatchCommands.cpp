#include "BatchCommands.h"

#include "AppSettings.h"
#include "AudioFileCheck.h"
#include "Localization.h"
#include "MediaDuration.h"
#include "NewProject.h"
#include "ProjectStore.h"
#include "TranscriptFile.h"
#include "TranscriptWriter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <optional>

namespace dictaro::BatchCommands {

namespace {

// A failure, said on one line.
struct Failure
{
    int exitCode;
    QString reason;
};

Failure usage(const QString& reason)
{
    return {2, reason};
}

QString absolute(const QString& workingFolder, const QString& path)
{
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

std::optional<ExportFormat> formatNamed(const QString& name)
{
    for (const ExportFormat format : allExportFormats()) {
        if (fileExtension(format) == name.toLower())
            return format;
    }
    return std::nullopt;
}

// A file name made of a project's name: no folder separators, the format's extension, and not
// one of `taken` (compared without case, as some file systems do).
QString fileNameFor(const QString& projectName, ExportFormat format, QSet<QString>& taken)
{
    QString base = projectName.trimmed();
    base.replace(u'/', u'-');
    base.replace(u'\\', u'-');
    if (base.isEmpty() || base == u"." || base == u"..")
        base = Localization::tr("Transcript");
    QString name = base + u'.' + fileExtension(format);
    for (int n = 2; taken.contains(name.toLower()); ++n)
        name = QStringLiteral("%1 (%2).%3").arg(base).arg(n).arg(fileExtension(format));
    taken.insert(name.toLower());
    return name;
}

double recordingDuration(const Project& project)
{
    if (!project.mediaBookmark)
        return 0.0;
    const auto access = ProjectStore::resolveBookmark(*project.mediaBookmark);
    if (!access)
        return 0.0;
    const double seconds = MediaDuration::of(access->path());
    access->stop();
    return seconds;
}

std::optional<Failure> exportProjects(const QStringList& arguments, const QString& projectsFolder,
                                      const QString& workingFolder, QTextStream& out)
{
    QCommandLineParser parser;
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("format"));
    const QCommandLineOption noTimestamps(QStringLiteral("no-timestamps"));
    const QCommandLineOption project(QStringLiteral("project"), {}, QStringLiteral("project"));
    const QCommandLineOption all(QStringLiteral("all"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("path"));
    parser.addOptions({format, noTimestamps, project, all, output});
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usage(Localization::tr("Unexpected argument “%1”.")
                         .arg(parser.positionalArguments().constFirst()));
    const std::optional<ExportFormat> chosen = formatNamed(parser.value(format));
    if (!chosen)
        return usage(Localization::tr("Give a format: --format srt, vtt, docx, odt, txt or md."));
    if (parser.isSet(project) == parser.isSet(all))
        return usage(Localization::tr("Give either --project NAME-or-ID or --all."));
    if (parser.value(output).isEmpty())
        return usage(Localization::tr("Give where to write with -o PATH."));
    const QString target = absolute(workingFolder, parser.value(output));

    const ProjectStore store(projectsFolder);
    QList<Project> projects = store.loadAll();
    if (parser.isSet(project)) {
        const QString wanted = parser.value(project);
        const QUuid id = QUuid::fromString(wanted);
        QList<Project> matches;
        for (const Project& candidate : std::as_const(projects)) {
            if ((!id.isNull() && candidate.id == id) || candidate.name == wanted)
                matches.append(candidate);
        }
        if (matches.isEmpty())
            return Failure{1, Localization::tr("There is no project named “%1”.").arg(wanted)};
        if (matches.size() > 1)
            return Failure{1, Localization::tr("Several projects are named “%1”: give the id "
                                               "of the one to export.")
                                  .arg(wanted)};
        projects = matches;
    } else if (!QDir().mkpath(target)) {
        return Failure{1, Localization::tr("The folder “%1” can't be made.").arg(target)};
    }

    QSet<QString> taken;
    for (const Project& each : std::as_const(projects)) {
        const QString path = parser.isSet(all)
                                 ? QDir(target).filePath(fileNameFor(each.name, *chosen, taken))
                                 : target;
        const ExportRequest request{each.transcript, each.name, *chosen,
                                    !parser.isSet(noTimestamps), recordingDuration(each)};
        try {
            TranscriptWriter::write(path, request);
        } catch (const StoreError& error) {
            return Failure{1, Localization::tr("“%1” could not be written: %2")
                                  .arg(path, QString::fromUtf8(error.what()))};
        }
        out << path << '\n';
    }
    return std::nullopt;
}

std::optional<Failure> importTranscript(const QStringList& arguments, const QString& projectsFolder,
                                        const QString& workingFolder, QTextStream& out)
{
    QCommandLineParser parser;
    const QCommandLineOption audio(QStringLiteral("audio"), {}, QStringLiteral("audio"));
    const QCommandLineOption name(QStringLiteral("name"), {}, QStringLiteral("name"));
    parser.addOptions({audio, name});
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return usage(Localization::tr("Give one transcript file to import."));
    if (parser.value(audio).isEmpty())
        return usage(Localization::tr("Give its recording with --audio AUDIO."));
    const QString transcriptPath = absolute(workingFolder, parser.positionalArguments().first());
    const QString audioPath = absolute(workingFolder, parser.value(audio));
    if (const std::optional<QString> problem = AudioFileCheck::problem(audioPath))
        return Failure{1, *problem};

    const TranscriptFile file = TranscriptFile::read(transcriptPath);
    if (file.error)
        return Failure{1, transcriptPath + QStringLiteral(": ") + *file.error};
    Project project = newProjectFor(audioPath);
    project.transcript = file.transcript;
    if (parser.isSet(name) && !parser.value(name).trimmed().isEmpty())
        project.name = parser.value(name).trimmed();
    try {
        ProjectStore(projectsFolder).save(project);
    } catch (const StoreError& error) {
        return Failure{1, Localization::tr("The project could not be saved: %1")
                              .arg(QString::fromUtf8(error.what()))};
    }
    out << project.id.toString(QUuid::WithoutBraces) << '\n';
    return std::nullopt;
}

} // namespace

bool isBatchCommand(const QStringList& arguments)
{
    return arguments.size() > 1 && (arguments.at(1) == u"export" || arguments.at(1) == u"import");
}

int run(const QStringList& arguments, const QString& projectsFolder, const QString& workingFolder,
        QTextStream& out, QTextStream& err)
{
    // The command's name stands where the parser expects the program's.
    const QStringList rest = arguments.mid(1);
    const std::optional<Failure> failure =
        arguments.at(1) == u"export" ? exportProjects(rest, projectsFolder, workingFolder, out)
                                     : importTranscript(rest, projectsFolder, workingFolder, out);
    out.flush();
    if (!failure)
        return 0;
    err << QStringLiteral("dictaro %1: %2\n").arg(arguments.at(1), failure->reason);
    err.flush();
    return failure->exitCode;
}

std::optional<int> runIfAsked(int& argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < std::min(argc, 2); ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!isBatchCommand(arguments))
        return std::nullopt;
    // Documents are laid out with fonts, which need a GUI application, but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    Localization::install(AppSettings::startupLanguages());
    QTextStream out(stdout);
    QTextStream err(stderr);
    return run(QCoreApplication::arguments(), ProjectStore::defaultDirectory(), QDir::currentPath(),
               out, err);
}

QString helpText()
{
    return Localization::tr("Commands without a window:\n"
                            "  dictaro export --format srt|vtt|docx|odt|txt|md [--no-timestamps]\n"
                            "                 (--project NAME-or-ID | --all) -o PATH\n"
                            "      Writes the transcript of a stored project, or of every one "
                            "into the folder PATH.\n"
                            "  dictaro import TRANSCRIPT --audio AUDIO [--name NAME]\n"
                            "      Makes a project of a recording and its transcript (SubRip, "
                            "WebVTT, text or Markdown) and prints its id.");
}

} // namespace dictaro::BatchCommands
