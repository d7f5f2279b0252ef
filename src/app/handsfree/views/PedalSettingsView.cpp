#include "PedalSettingsView.h"

#include "Appearance.h"
#include "Localization.h"
#include "PedalMonitor.h"
#include "PedalSettings.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dictaro {

namespace {

QString buttonTitle(int button)
{
    switch (button) {
    case 0: return Localization::tr("Left");
    case 1: return Localization::tr("Middle");
    default: return Localization::tr("Right");
    }
}

} // namespace

PedalSettingsView::PedalSettingsView(PedalSettings& settings, PedalMonitor* monitor,
                                     QWidget* parent)
    : QWidget(parent), m_settings(settings), m_monitor(monitor)
{
    setObjectName(QStringLiteral("pedalSettingsView"));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("pedalStatus"));
    m_status->setWordWrap(true);
    Appearance::setTextStyle(m_status, Appearance::TextStyle::Headline);
    m_fix = new QLabel(this);
    m_fix->setObjectName(QStringLiteral("pedalFix"));
    m_fix->setWordWrap(true);
    m_fix->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fix->setTextFormat(Qt::RichText);

    auto* buttons = new QGridLayout;
    buttons->setHorizontalSpacing(12);
    buttons->setVerticalSpacing(8);
    buttons->setColumnStretch(2, 1);
    for (int button = 0; button < PedalSettings::buttonCount; ++button) {
        auto* lamp = new QLabel(buttonTitle(button), this);
        lamp->setObjectName(QStringLiteral("pedalLamp%1").arg(button));
        lamp->setAlignment(Qt::AlignCenter);
        lamp->setFrameShape(QFrame::StyledPanel);
        lamp->setAutoFillBackground(true);
        lamp->setMinimumWidth(90);
        lamp->setMinimumHeight(28);
        m_lamps[button] = lamp;

        auto* picker = new QComboBox(this);
        picker->setObjectName(QStringLiteral("pedalCommand%1").arg(button));
        picker->addItem(Localization::tr("Nothing"), QString());
        for (PlaybackCommand command : allPlaybackCommands())
            picker->addItem(playbackCommandTitle(command), playbackCommandId(command));
        const auto current = m_settings.command(button);
        picker->setCurrentIndex(current ? picker->findData(playbackCommandId(*current)) : 0);
        connect(picker, &QComboBox::currentIndexChanged, this, [this, button, picker] {
            m_settings.setCommand(button, playbackCommandFromId(picker->currentData().toString()));
        });
        m_commandPickers[button] = picker;

        buttons->addWidget(lamp, button, 0);
        buttons->addWidget(picker, button, 1);
        showPressed(button, false);
    }

    auto* hold = new QRadioButton(Localization::tr("Hold to play, release to pause"), this);
    hold->setObjectName(QStringLiteral("holdToPlay"));
    auto* toggle = new QRadioButton(Localization::tr("Press to play, press again to pause"), this);
    toggle->setObjectName(QStringLiteral("pressToPlay"));
    m_playMode = new QButtonGroup(this);
    m_playMode->addButton(hold, 1);
    m_playMode->addButton(toggle, 0);
    (m_settings.holdToPlay() ? hold : toggle)->setChecked(true);
    connect(m_playMode, &QButtonGroup::idClicked, this,
            [this](int id) { m_settings.setHoldToPlay(id == 1); });

    m_devicePicker = new QComboBox(this);
    m_devicePicker->setObjectName(QStringLiteral("pedalDevice"));
    fillDevices();
    connect(m_devicePicker, &QComboBox::activated, this, [this] {
        m_settings.setChosenDevice(m_devicePicker->currentData().toString());
        if (m_monitor)
            m_monitor->rescan();
    });
    auto* deviceLabel = new QLabel(Localization::tr("Device"), this);
    deviceLabel->setBuddy(m_devicePicker);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(deviceLabel);
    deviceRow->addWidget(m_devicePicker, 1);

    auto* message = new QLabel(this);
    message->setObjectName(QStringLiteral("pedalMessage"));
    message->setWordWrap(true);
    Appearance::setTextStyle(message, Appearance::TextStyle::Caption);
    message->setText(m_settings.saveError().value_or(QString()));
    connect(&m_settings, &PedalSettings::saveErrorChanged, message,
            [message](const std::optional<QString>& error) {
                message->setText(error.value_or(QString()));
            });

    auto* playLabel = new QLabel(Localization::tr("Play/Pause button"), this);
    Appearance::setTextStyle(playLabel, Appearance::TextStyle::Headline);
    auto* buttonsLabel = new QLabel(Localization::tr("Buttons"), this);
    Appearance::setTextStyle(buttonsLabel, Appearance::TextStyle::Headline);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(10);
    layout->addWidget(m_status);
    layout->addWidget(m_fix);
    layout->addLayout(deviceRow);
    layout->addSpacing(6);
    layout->addWidget(buttonsLabel);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addWidget(playLabel);
    layout->addWidget(hold);
    layout->addWidget(toggle);
    layout->addWidget(message);
    layout->addStretch(1);
    setMinimumWidth(440);

    if (m_monitor) {
        connect(m_monitor, &PedalMonitor::stateChanged, this, &PedalSettingsView::showState);
        connect(m_monitor, &PedalMonitor::buttonChanged, this, &PedalSettingsView::showPressed);
        connect(m_monitor, &PedalMonitor::released, this, [this] {
            for (int button = 0; button < PedalSettings::buttonCount; ++button)
                showPressed(button, false);
        });
    }
    showState();
}

void PedalSettingsView::showState()
{
    const PedalMonitor::State state =
        m_monitor ? m_monitor->state() : PedalMonitor::State::Unavailable;
    const QString name = m_monitor && !m_monitor->device().name.isEmpty()
                             ? m_monitor->device().name
                             : Localization::tr("A foot pedal");
    QString fix;
    switch (state) {
    case PedalMonitor::State::Connected:
        m_status->setText(Localization::tr("%1 is connected.").arg(name));
        break;
    case PedalMonitor::State::NotConnected:
        m_status->setText(Localization::tr("No foot pedal is connected."));
        fix = Localization::tr("Plug it in: Dictaro finds it at once. If your pedal is not found, "
                               "pick it from the list below.")
                  .toHtmlEscaped();
        break;
    case PedalMonitor::State::NoPermission:
        m_status->setText(
            Localization::tr("%1 is connected, but Dictaro may not read it.").arg(name));
        fix = Localization::tr("To allow it, run these commands once in a terminal, then unplug "
                               "the pedal and plug it in again:")
                  .toHtmlEscaped() +
              QStringLiteral("<pre>%1</pre>")
                  .arg(PedalMonitor::permissionFix(m_monitor->device()).toHtmlEscaped());
        break;
    case PedalMonitor::State::Unavailable:
        m_status->setText(Localization::tr("Dictaro cannot list the devices of this computer."));
        break;
    }
    m_fix->setText(fix);
    m_fix->setVisible(!fix.isEmpty());
}

void PedalSettingsView::showPressed(int button, bool pressed)
{
    if (button < 0 || button >= PedalSettings::buttonCount)
        return;
    QLabel* lamp = m_lamps[button];
    lamp->setProperty("pressed", pressed);
    lamp->setBackgroundRole(pressed ? QPalette::Highlight : QPalette::Base);
    lamp->setForegroundRole(pressed ? QPalette::HighlightedText : QPalette::Text);
}

void PedalSettingsView::fillDevices()
{
    m_devicePicker->clear();
    m_devicePicker->addItem(Localization::tr("Known pedals"), QString());
    const QString chosen = m_settings.chosenDevice();
    bool chosenListed = chosen.isEmpty();
    for (const PedalMonitor::Device& device : PedalMonitor::candidates()) {
        if (PedalMonitor::isKnownPedal(device.vendor, device.product))
            continue;
        m_devicePicker->addItem(QStringLiteral("%1 (%2)").arg(device.name, device.id()),
                                device.id());
        chosenListed = chosenListed || device.id() == chosen;
    }
    // The device picked earlier stays listed while it is unplugged.
    if (!chosenListed)
        m_devicePicker->addItem(chosen, chosen);
    m_devicePicker->setCurrentIndex(std::max(0, m_devicePicker->findData(chosen)));
}

} // namespace dictaro
