#include "SettingsWindow.h"

#include "Localization.h"
#include "SettingsView.h"

#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace dictaro {

namespace {
QPointer<SettingsWindow> sharedWindow;
}

SettingsWindow::SettingsWindow(QWidget* parent, const Pages& pages) : QDialog(parent)
{
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(Localization::tr("Settings"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_view = new SettingsView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (pages.isEmpty()) {
        layout->addWidget(m_view);
        return;
    }
    auto* tabs = new QTabWidget(this);
    tabs->setDocumentMode(true);
    tabs->addTab(m_view, Localization::tr("General"));
    for (const auto& [title, page] : pages)
        tabs->addTab(page, title);
    layout->addWidget(tabs);
}

SettingsWindow* SettingsWindow::present(QWidget* parent, const std::function<Pages()>& makePages)
{
    if (!sharedWindow)
        sharedWindow = new SettingsWindow(parent, makePages ? makePages() : Pages());
    sharedWindow->show();
    sharedWindow->raise();
    sharedWindow->activateWindow();
    return sharedWindow;
}

} // namespace dictaro
