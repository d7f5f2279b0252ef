#pragma once

#include <QMainWindow>

namespace dictaro {

// The application's single main window.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace dictaro
