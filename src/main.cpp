#include "AppSettings.h"
#include "BatchCommands.h"
#include "CommandLine.h"
#include "DictaroApp.h"
#include "Icons.h"
#include "Localization.h"
#include "MainWindow.h"
#include "MpvBackend.h"
#include "SingleInstance.h"
#include "StartupTrace.h"

#include <QApplication>
#include <QDir>

#include <clocale>
#include <cstdio>
#include <optional>

int main(int argc, char* argv[])
{
    dictaro::StartupTrace::mark("libraries loaded");
    if (const std::optional<int> exitCode = dictaro::BatchCommands::runIfAsked(argc, argv))
        return *exitCode;
    if (const std::optional<int> exitCode = dictaro::CommandLine::answerWithoutDisplay(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    dictaro::StartupTrace::mark("application");
    // QApplication adopts the user's locale for C number formatting; libmpv refuses to start
    // unless numbers use a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Dictaro"));
    QApplication::setOrganizationName(QStringLiteral("Dictaro"));
    QApplication::setWindowIcon(dictaro::Icons::application());
#ifdef DICTARO_APP_ID
    // Lets the desktop match the window with its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(DICTARO_APP_ID));
#endif
    dictaro::Localization::install(dictaro::AppSettings::startupLanguages());
    dictaro::StartupTrace::mark("translations");

    const auto commandLine =
        dictaro::CommandLine::parse(QApplication::arguments(), QDir::currentPath());
    if (commandLine.exits()) {
        std::fputs(qPrintable(commandLine.output()), commandLine.exitCode() ? stderr : stdout);
        return commandLine.exitCode();
    }

    if (dictaro::DictaroApp::dataDirectory().isEmpty()) {
        dictaro::DictaroApp::reportMissingDataDirectory();
        return 1;
    }
    QStringList files;
    if (!commandLine.file().isEmpty())
        files.append(commandLine.file());
    // One process writes a projects folder; a later start hands its files over and ends
    // without writing anything, and so does a start that cannot take or check the lock. The
    // guard outlives the application, whose final save it covers.
    auto instance = dictaro::SingleInstance::acquire(dictaro::DictaroApp::dataDirectory());
    if (instance.status == dictaro::SingleInstance::Status::Failed) {
        dictaro::DictaroApp::reportCannotLock(instance.errorString);
        return 1;
    }
    dictaro::StartupTrace::mark("one-process guard");
    if (instance.status == dictaro::SingleInstance::Status::Secondary) {
        if (instance.instance->sendToPrimary(files))
            return 0;
        dictaro::DictaroApp::reportAlreadyRunning();
        return 1;
    }
    dictaro::DictaroApp dictaro(dictaro::DictaroApp::dataDirectory(),
                                std::make_unique<dictaro::MpvBackend>());
    QObject::connect(instance.instance.get(), &dictaro::SingleInstance::activated, &dictaro,
                     &dictaro::DictaroApp::openFiles);
    dictaro::StartupTrace::mark("application objects");
    dictaro.show();
    dictaro::StartupTrace::mark("shown");
    dictaro.openFiles(files);
    return QApplication::exec();
}
