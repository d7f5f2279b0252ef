#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace dictaro {

class Drafter;

// The thin row under the player bar while a draft is made: how far it has got, about how long
// it still takes, and Cancel; afterwards why it stopped, if it failed. Hidden otherwise.
class DraftBar : public QWidget
{
    Q_OBJECT

public:
    explicit DraftBar(Drafter& drafter, QWidget* parent = nullptr);

    // "Drafting… 12:30 of 58:00, about 4 min left" for a drafter's state.
    static QString progressText(double reached, double end, double remaining);

private:
    void update();

    Drafter& m_drafter;
    QProgressBar* m_progress = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_dismiss = nullptr;
    bool m_errorDismissed = true;
};

} // namespace dictaro
