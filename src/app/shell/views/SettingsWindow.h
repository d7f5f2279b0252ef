#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace dictaro {

class SettingsView;

// The settings window: a non-modal window holding the settings view. The application keeps one
// and shows it again each time it is asked for.
class SettingsWindow : public QDialog
{
    Q_OBJECT

public:
    // Pages shown beside the general settings, each with its title; the window owns them.
    using Pages = QList<std::pair<QString, QWidget*>>;
    explicit SettingsWindow(QWidget* parent = nullptr, const Pages& pages = {});

    // Shows the one settings window in front, creating it on first use as a window of `parent`
    // with the pages `makePages` makes (it goes with its parent; the next call then makes a new
    // one).
    static SettingsWindow* present(QWidget* parent = nullptr,
                                   const std::function<Pages()>& makePages = {});

private:
    SettingsView* m_view = nullptr;
};

} // namespace dictaro
