#include "views/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dictaro"));
    QApplication::setOrganizationName(QStringLiteral("Dictaro"));

    dictaro::MainWindow window;
    window.resize(900, 640);
    window.show();
    return QApplication::exec();
}
