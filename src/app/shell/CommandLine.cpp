#include "CommandLine.h"

#include "AppSettings.h"
#include "BatchCommands.h"
#include "Localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#include <cstdio>

namespace dictaro {

CommandLine CommandLine::parse(const QStringList& arguments, const QString& workingFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Localization::tr("Transcribe recorded speech by hand.") +
                                     QStringLiteral("\n\n") + BatchCommands::helpText());
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 Localization::tr("An audio file to open as a project."),
                                 QStringLiteral("[file]"));

    CommandLine result;
    const auto fail = [&](const QString& message) {
        result.m_exits = true;
        result.m_exitCode = 2;
        result.m_output = QStringLiteral("dictaro: %1\n%2\n")
                              .arg(message, Localization::tr("Try “dictaro --help”."));
        return result;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        result.m_exits = true;
        result.m_output = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.m_exits = true;
        result.m_output = QStringLiteral("dictaro %1\n").arg(QStringLiteral(DICTARO_VERSION));
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return fail(Localization::tr("Only one file can be opened at a time."));
    if (files.isEmpty())
        return result;

    QString path = files.first();
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(path);
        const bool local =
            url.isLocalFile() && (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
        if (!local)
            return fail(Localization::tr("“%1” is not a local file.").arg(path));
        path = url.toLocalFile();
    }
    result.m_file = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
    return result;
}

std::optional<int> CommandLine::answerWithoutDisplay(int& argc, char* argv[])
{
    const QCoreApplication probe(argc, argv);
    Localization::install(AppSettings::startupLanguages());
    const CommandLine line = parse(QCoreApplication::arguments(), QDir::currentPath());
    if (!line.exits() || line.exitCode() != 0)
        return std::nullopt;
    std::fputs(qPrintable(line.output()), stdout);
    return 0;
}

} // namespace dictaro
