#pragma once

#include <QDialog>

class QLineEdit;

namespace dictaro {

class Banner;
class PlaybackEngine;

// The small prompt of Go to Time: the user types a time (72, 1:12, 01:12:30, 1:12.5) and
// playback moves there, a time past the end to the end. An entry that is no time is refused in
// the prompt, which stays open. Modal to its window only; deletes itself when closed.
class GoToTimeDialog final : public QDialog
{
    Q_OBJECT

public:
    // Opens the prompt over `parent`'s window for `engine`, which outlives it.
    static GoToTimeDialog* open(QWidget* parent, PlaybackEngine& engine);

    void accept() override;

private:
    GoToTimeDialog(QWidget* parent, PlaybackEngine& engine);

    PlaybackEngine& m_engine;
    QLineEdit* m_entry = nullptr;
    Banner* m_error = nullptr;
};

} // namespace dictaro
