#include "GoToTimeDialog.h"

#include "Banner.h"
#include "Localization.h"
#include "PlaybackEngine.h"
#include "TimeFormat.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dictaro {

GoToTimeDialog* GoToTimeDialog::open(QWidget* parent, PlaybackEngine& engine)
{
    auto* dialog = new GoToTimeDialog(parent, engine);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->QDialog::open();
    return dialog;
}

GoToTimeDialog::GoToTimeDialog(QWidget* parent, PlaybackEngine& engine)
    : QDialog(parent), m_engine(engine)
{
    setObjectName(QStringLiteral("goToTime"));
    setWindowTitle(Localization::tr("Go to Time"));
    setWindowModality(Qt::WindowModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* prompt =
        new QLabel(Localization::tr("Time in the recording, such as 1:12 or 01:12:30:"), this);
    m_entry = new QLineEdit(this);
    m_entry->setObjectName(QStringLiteral("timeEntry"));
    m_entry->setText(TimeFormat::timeString(engine.currentTime()));
    m_entry->selectAll();
    prompt->setBuddy(m_entry);
    m_error = new Banner(QStringLiteral("timeError"), Banner::red, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Localization::tr("Go"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Localization::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToTimeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToTimeDialog::reject);
    connect(m_entry, &QLineEdit::textEdited, m_error, [this] { m_error->showMessage({}); });

    auto* column = new QVBoxLayout(this);
    column->addWidget(prompt);
    column->addWidget(m_entry);
    column->addWidget(m_error);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void GoToTimeDialog::accept()
{
    const std::optional<double> seconds = TimeFormat::secondsFromEntry(m_entry->text());
    if (!seconds) {
        m_error->showMessage(Localization::tr("“%1” is not a time. Type seconds (72), minutes and "
                                              "seconds (1:12) or hours, minutes and seconds "
                                              "(01:12:30).")
                                 .arg(m_entry->text().trimmed()));
        m_entry->setFocus();
        m_entry->selectAll();
        return;
    }
    // The engine keeps the position within the recording: past the end is the end.
    m_engine.seek(*seconds);
    QDialog::accept();
}

} // namespace dictaro
