#include "DraftStretchDialog.h"

#include "Localization.h"
#include "TimeFormat.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dictaro {

namespace {

DraftStretchDialog::Ask& askOverride()
{
    static DraftStretchDialog::Ask ask;
    return ask;
}

} // namespace

DraftStretchDialog::DraftStretchDialog(double position, double duration,
                                       std::optional<Stretch> marked, QWidget* parent)
    : QDialog(parent), m_position(position), m_duration(duration), m_marked(marked)
{
    setObjectName(QStringLiteral("draftStretchDialog"));
    setWindowTitle(Localization::tr("Make Draft"));
    auto* question = new QLabel(
        marked ? Localization::tr("Which part of the recording should be drafted? The draft goes "
                                  "after your text.")
               : Localization::tr("Your transcript has no timestamp to start the draft after. "
                                  "Which part of the recording should be drafted? The draft goes "
                                  "after your text."),
        this);
    question->setWordWrap(true);
    question->setTextFormat(Qt::PlainText);
    m_whole = new QRadioButton(Localization::tr("The whole recording"), this);
    m_whole->setObjectName(QStringLiteral("draftWholeRecording"));
    auto* fromHere = new QRadioButton(Localization::tr("From the playback position (%1) to the end")
                                          .arg(TimeFormat::timeString(position)),
                                      this);
    fromHere->setObjectName(QStringLiteral("draftFromPosition"));
    (position > 0.0 ? fromHere : m_whole)->setChecked(true);
    if (marked) {
        m_markedChoice = new QRadioButton(
            Localization::tr("The marked stretch (%1–%2)")
                .arg(TimeFormat::timeString(marked->start), TimeFormat::timeString(marked->end)),
            this);
        m_markedChoice->setObjectName(QStringLiteral("draftMarkedStretch"));
        m_markedChoice->setChecked(true);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Localization::tr("Make Draft"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Localization::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    if (m_markedChoice)
        layout->addWidget(m_markedChoice);
    layout->addWidget(m_whole);
    layout->addWidget(fromHere);
    layout->addWidget(buttons);
}

DraftPlacement::Stretch DraftStretchDialog::chosen() const
{
    if (m_markedChoice && m_markedChoice->isChecked())
        return DraftPlacement::clamped(*m_marked, m_duration);
    return DraftPlacement::clamped({m_whole->isChecked() ? 0.0 : m_position, m_duration},
                                   m_duration);
}

std::optional<DraftPlacement::Stretch> DraftStretchDialog::ask(QWidget* parent, double position,
                                                               double duration,
                                                               std::optional<Stretch> marked)
{
    if (askOverride())
        return askOverride()(position, duration, marked);
    DraftStretchDialog dialog(position, duration, marked, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

void DraftStretchDialog::setAskForTesting(Ask ask)
{
    askOverride() = std::move(ask);
}

} // namespace dictaro
