#include "AppSettings.h"
#include "DictaroApp.h"
#include "Localization.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // QApplication adopts the user's locale for C number formatting; libmpv refuses to start
    // unless numbers use a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Dictaro"));
    QApplication::setOrganizationName(QStringLiteral("Dictaro"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/dictaro.svg")));
    dictaro::Localization::install(dictaro::AppSettings::startupLanguages());

    if (dictaro::DictaroApp::dataDirectory().isEmpty()) {
        QMessageBox::critical(nullptr, dictaro::Localization::tr("Dictaro"),
                              dictaro::Localization::tr(
                                  "Dictaro can't find a folder for its projects in your home "
                                  "folder, so it can't keep your work. It will quit now."));
        return 1;
    }
    dictaro::DictaroApp dictaro;
    dictaro.show();
    return QApplication::exec();
}
