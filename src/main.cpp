#include "AppSettings.h"
#include "DictaroApp.h"
#include "Localization.h"
#include "MpvBackend.h"
#include "SingleInstance.h"
#include "views/Icons.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // QApplication adopts the user's locale for C number formatting; libmpv refuses to start
    // unless numbers use a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Dictaro"));
    QApplication::setOrganizationName(QStringLiteral("Dictaro"));
    QApplication::setWindowIcon(dictaro::Icons::application());
    dictaro::Localization::install(dictaro::AppSettings::startupLanguages());

    if (dictaro::DictaroApp::dataDirectory().isEmpty()) {
        dictaro::DictaroApp::reportMissingDataDirectory();
        return 1;
    }
    const QStringList files = QApplication::arguments().mid(1);
    // One process writes a projects folder; a later start hands its files over and ends
    // without writing anything. The guard outlives the application, whose final save it covers.
    auto instance = dictaro::SingleInstance::acquire(dictaro::DictaroApp::dataDirectory());
    if (instance.status == dictaro::SingleInstance::Status::Secondary) {
        if (instance.instance->sendToPrimary(files))
            return 0;
        dictaro::DictaroApp::reportAlreadyRunning();
        return 1;
    }
    dictaro::DictaroApp dictaro(dictaro::DictaroApp::dataDirectory(),
                                std::make_unique<dictaro::MpvBackend>());
    if (instance.instance) {
        QObject::connect(instance.instance.get(), &dictaro::SingleInstance::activated, &dictaro,
                         &dictaro::DictaroApp::openFiles);
    }
    dictaro.show();
    dictaro.openFiles(files);
    return QApplication::exec();
}
