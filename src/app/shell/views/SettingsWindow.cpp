#include "SettingsWindow.h"

#include "Localization.h"
#include "SettingsView.h"

#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
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
    } else {
        auto* tabs = new QTabWidget(this);
        tabs->setDocumentMode(true);
        tabs->addTab(m_view, Localization::tr("General"));
        for (const auto& [title, page] : pages)
            tabs->addTab(page, title);
        layout->addWidget(tabs);
    }

    // Every choice takes effect at once: there is nothing to confirm, only to close.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("closeSettingsButton"));
    close->setText(Localization::tr("Close"));
    // Return stays with the page's own fields and buttons.
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* buttonRow = new QVBoxLayout;
    buttonRow->setContentsMargins(20, 0, 20, 16);
    buttonRow->addWidget(buttons);
    layout->addLayout(buttonRow);
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
