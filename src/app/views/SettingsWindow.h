#pragma once

#include <QDialog>

namespace dictaro {

class SettingsView;

// The settings window: a non-modal window holding the settings view. The application keeps one
// and shows it again each time it is asked for.
class SettingsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget* parent = nullptr);

    // Shows the one settings window in front, creating it on first use as a window of `parent`
    // (it goes with its parent; the next call then makes a new one).
    static SettingsWindow* present(QWidget* parent = nullptr);

private:
    SettingsView* m_view = nullptr;
};

} // namespace dictaro
