#include "DraftBar.h"

#include "Appearance.h"
#include "Drafter.h"
#include "Localization.h"
#include "TimeFormat.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>

namespace dictaro {

DraftBar::DraftBar(Drafter& drafter, QWidget* parent) : QWidget(parent), m_drafter(drafter)
{
    setObjectName(QStringLiteral("draftBar"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("draftProgress"));
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 1000);
    m_progress->setMaximumHeight(6);
    m_progress->setMaximumWidth(160);
    m_progress->setAccessibleName(Localization::tr("Draft progress"));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("draftStatus"));
    m_label->setTextFormat(Qt::PlainText);
    Appearance::setTextStyle(m_label, Appearance::TextStyle::Caption);
    m_cancel = new QPushButton(Localization::tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelDraftButton"));
    m_cancel->setToolTip(Localization::tr("Stop drafting and keep what is drafted so far"));
    m_dismiss = new QPushButton(Localization::tr("OK"), this);
    m_dismiss->setObjectName(QStringLiteral("dismissDraftButton"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 2, 12, 4);
    row->addWidget(m_progress);
    row->addWidget(m_label, 1);
    row->addWidget(m_cancel);
    row->addWidget(m_dismiss);

    connect(m_cancel, &QPushButton::clicked, &m_drafter, &Drafter::cancel);
    connect(m_dismiss, &QPushButton::clicked, this, [this] {
        m_errorDismissed = true;
        update();
    });
    connect(&m_drafter, &Drafter::runningChanged, this, [this](bool running) {
        if (running)
            m_errorDismissed = false;
        update();
    });
    connect(&m_drafter, &Drafter::progressChanged, this, &DraftBar::update);
    connect(&m_drafter, &Drafter::errorChanged, this, [this](const auto& error) {
        if (error)
            m_errorDismissed = false;
        update();
    });
    update();
}

QString DraftBar::progressText(double reached, double end, double remaining)
{
    const QString times = Localization::tr("Drafting… %1 of %2")
                              .arg(TimeFormat::timeString(reached), TimeFormat::timeString(end));
    if (remaining < 0.0)
        return times;
    if (remaining < 60.0)
        return Localization::tr("%1, less than a minute left").arg(times);
    return Localization::tr("%1, about %2 min left")
        .arg(times)
        .arg(int(std::ceil(remaining / 60.0)));
}

void DraftBar::update()
{
    const bool running = m_drafter.isRunning();
    const std::optional<QString> error = m_drafter.error();
    const bool showError = !running && error && !m_errorDismissed;
    setVisible(running || showError);
    m_progress->setVisible(running);
    m_cancel->setVisible(running);
    m_dismiss->setVisible(showError);
    if (running) {
        const Drafter::Stretch stretch = m_drafter.stretch();
        const double done =
            stretch.length() > 0.0 ? (m_drafter.reached() - stretch.start) / stretch.length() : 0.0;
        m_progress->setValue(int(std::lround(std::clamp(done, 0.0, 1.0) * 1000)));
        m_label->setText(progressText(m_drafter.reached(), stretch.end, m_drafter.remaining()));
    } else if (showError) {
        m_label->setText(Localization::tr("Drafting stopped: %1").arg(*error));
    }
}

} // namespace dictaro
