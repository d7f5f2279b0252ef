#include "SettingsWindow.h"

#include "Localization.h"
#include "SettingsView.h"

#include <QPointer>
#include <QVBoxLayout>

namespace dictaro {

namespace {
QPointer<SettingsWindow> sharedWindow;
}

SettingsWindow::SettingsWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(Localization::tr("Settings"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_view = new SettingsView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_view);
}

SettingsWindow* SettingsWindow::present(QWidget* parent)
{
    if (!sharedWindow)
        sharedWindow = new SettingsWindow(parent);
    sharedWindow->show();
    sharedWindow->raise();
    sharedWindow->activateWindow();
    return sharedWindow;
}

} // namespace dictaro
