#include "AppSettings.h"
#include "DictaroApp.h"
#include "Localization.h"
#include "MpvBackend.h"
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
    dictaro::DictaroApp dictaro(dictaro::DictaroApp::dataDirectory(),
                                std::make_unique<dictaro::MpvBackend>());
    dictaro.show();
    return QApplication::exec();
}
