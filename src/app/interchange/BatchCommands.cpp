#include "BatchCommands.h"

#include "AppSettings.h"
#include "AudioFileCheck.h"
#include "DraftEngine.h"
#include "DraftPlacement.h"
#include "Localization.h"
#include "MediaDuration.h"
#include "NewProject.h"
#include "Platform.h"
#include "ProjectStore.h"
#include "SpeechAudio.h"
#include "TranscriptFile.h"
#include "TranscriptWriter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTextStream>
#include <QThread>

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

// Saves a new project for `audioPath` holding `transcript`, named `name` unless that is blank,
// and prints its id.
std::optional<Failure> saveNewProject(const QString& audioPath, const QString& transcript,
                                      const QString& name, const QString& projectsFolder,
                                      QTextStream& out)
{
    Project project = newProjectFor(audioPath);
    project.transcript = transcript;
    if (!name.trimmed().isEmpty())
        project.name = name.trimmed();
    try {
        ProjectStore(projectsFolder).save(project);
    } catch (const StoreError& error) {
        return Failure{1, Localization::tr("The project could not be saved: %1")
                              .arg(QString::fromUtf8(error.what()))};
    }
    out << project.id.toString(QUuid::WithoutBraces) << '\n';
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
    return saveNewProject(audioPath, file.transcript, parser.value(name), projectsFolder, out);
}

// Says how far a long task has got on `err`, a line per tenth.
class ProgressLines
{
public:
    explicit ProgressLines(QTextStream& err) : m_err(err) {}
    void operator()(double reached, double total)
    {
        const int tenth = total > 0 ? int(10 * std::min(1.0, reached / total)) : 0;
        if (tenth <= m_tenth)
            return;
        m_tenth = tenth;
        m_err << QStringLiteral("dictaro draft: ")
              << Localization::tr("%1% drafted").arg(tenth * 10) << QStringLiteral("\n");
        m_err.flush();
    }

private:
    QTextStream& m_err;
    int m_tenth = 0;
};

std::optional<Failure> draftRecording(const QStringList& arguments, const QString& projectsFolder,
                                      const QString& workingFolder, QTextStream& out,
                                      QTextStream& err)
{
    QCommandLineParser parser;
    const QCommandLineOption model(QStringLiteral("model"), {}, QStringLiteral("file"));
    const QCommandLineOption language(QStringLiteral("language"), {}, QStringLiteral("code"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("path"));
    const QCommandLineOption project(QStringLiteral("project"));
    const QCommandLineOption name(QStringLiteral("name"), {}, QStringLiteral("name"));
    parser.addOptions({model, language, output, project, name});
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return usage(Localization::tr("Give one recording to draft."));
    if (parser.value(model).isEmpty())
        return usage(Localization::tr("Give the speech model with --model FILE."));
    if (parser.value(output).isEmpty() == !parser.isSet(project))
        return usage(Localization::tr("Give either -o PATH or --project."));
    std::optional<ExportFormat> format;
    QString target;
    if (!parser.value(output).isEmpty()) {
        target = absolute(workingFolder, parser.value(output));
        format = formatNamed(QFileInfo(target).suffix());
        if (!format)
            return usage(Localization::tr("Name the output .srt, .vtt, .txt, .md, .docx or .odt."));
    }
    const DraftEngine engine = builtInDraftEngine();
    if (!engine)
        return Failure{1, Localization::tr("This build of Dictaro has no speech recogniser.")};
    const QString audioPath = absolute(workingFolder, parser.positionalArguments().first());
    if (const std::optional<QString> problem = AudioFileCheck::problem(audioPath))
        return Failure{1, *problem};

    // A batch draft runs below the interface of anything else on the machine.
    Platform::lowerThreadPriority();
    const std::unique_ptr<Recogniser> recogniser = engine.makeRecogniser();
    if (const std::optional<QString> problem =
            recogniser->load(absolute(workingFolder, parser.value(model))))
        return Failure{1, *problem};
    const std::atomic<bool> cancel = false;
    QString problem;
    const std::optional<SpeechAudio> audio =
        SpeechAudioDecoder::decode(audioPath, cancel, {}, &problem);
    if (!audio)
        return Failure{1, problem};

    Recogniser::Request request;
    request.samples = audio->samples;
    request.duration = audio->duration();
    request.language = parser.value(language).trimmed().toLower();
    // One core is left to the rest of the machine.
    request.threads = std::max(1, QThread::idealThreadCount() - 1);
    std::vector<RecognisedSegment> segments;
    ProgressLines progress(err);
    const bool finished = recogniser->recognise(
        request, cancel, [&](const RecognisedSegment& segment) { segments.push_back(segment); },
        [&](double reached) { progress(reached, request.duration); });
    if (!finished) {
        const QString file = QFileInfo(audioPath).fileName();
        if (request.language.isEmpty())
            return Failure{1, Localization::tr("The speech model could not draft “%1”.").arg(file)};
        return Failure{1, Localization::tr("The speech model could not draft “%1” in the "
                                           "language “%2”.")
                              .arg(file, request.language)};
    }
    const QString transcript = DraftPlacement::linesFor(segments);

    if (format) {
        const ExportRequest exported{transcript, QFileInfo(audioPath).completeBaseName(), *format,
                                     true, audio->duration()};
        try {
            TranscriptWriter::write(target, exported);
        } catch (const StoreError& error) {
            return Failure{1, Localization::tr("“%1” could not be written: %2")
                                  .arg(target, QString::fromUtf8(error.what()))};
        }
        out << target << '\n';
        return std::nullopt;
    }
    return saveNewProject(audioPath, transcript, parser.value(name), projectsFolder, out);
}

} // namespace

bool isBatchCommand(const QStringList& arguments)
{
    return arguments.size() > 1 && (arguments.at(1) == u"export" || arguments.at(1) == u"import" ||
                                    arguments.at(1) == u"draft");
}

int run(const QStringList& arguments, const QString& projectsFolder, const QString& workingFolder,
        QTextStream& out, QTextStream& err)
{
    // The command's name stands where the parser expects the program's.
    const QStringList rest = arguments.mid(1);
    std::optional<Failure> failure;
    if (arguments.at(1) == u"export")
        failure = exportProjects(rest, projectsFolder, workingFolder, out);
    else if (arguments.at(1) == u"import")
        failure = importTranscript(rest, projectsFolder, workingFolder, out);
    else
        failure = draftRecording(rest, projectsFolder, workingFolder, out, err);
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
                            "WebVTT, text or Markdown) and prints its id.\n"
                            "  dictaro draft AUDIO --model FILE [--language CODE]\n"
                            "                (-o OUT.srt|.vtt|.txt | --project [--name NAME])\n"
                            "      Drafts a transcript of a recording with a speech model on this "
                            "computer, into a file or a new project (it prints its id).");
}

} // namespace dictaro::BatchCommands
