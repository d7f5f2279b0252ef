#include "MainWindow.h"

#include <QLabel>

namespace dictaro {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Dictaro"));
    setMinimumSize(640, 420);
    auto* placeholder = new QLabel(QStringLiteral("Dictaro"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
}

} // namespace dictaro
