#pragma once

#include "DraftPlacement.h"

#include <QDialog>

#include <functional>
#include <optional>

class QRadioButton;

namespace dictaro {

// Asks which stretch of the recording to draft when the transcript does not say or a stretch is
// marked: the marked stretch (chosen at first), the whole recording, or from the playback
// position to the end. The draft goes after the text either way.
class DraftStretchDialog : public QDialog
{
    Q_OBJECT

public:
    using Stretch = DraftPlacement::Stretch;

    DraftStretchDialog(double position, double duration, std::optional<Stretch> marked,
                       QWidget* parent = nullptr);
    Stretch chosen() const;

    // Shows the dialog; the chosen stretch, or none when cancelled.
    static std::optional<Stretch> ask(QWidget* parent, double position, double duration,
                                      std::optional<Stretch> marked = std::nullopt);
    using Ask = std::function<std::optional<Stretch>(double position, double duration,
                                                     std::optional<Stretch> marked)>;
    // FOR TESTS ONLY: answers ask() instead of the dialog (an empty function restores it).
    static void setAskForTesting(Ask ask);

private:
    double m_position = 0.0;
    double m_duration = 0.0;
    std::optional<Stretch> m_marked;
    QRadioButton* m_whole = nullptr;
    QRadioButton* m_markedChoice = nullptr;
};

} // namespace dictaro
