#include "PlayerBarView.h"

#include "AppSettings.h"

#include "AppActions.h"
#include "Icons.h"
#include "Localization.h"
#include "PlaybackEngine.h"
#include "TimeFormat.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <climits>
#include <cmath>

namespace dictaro {

namespace {

// The slider counts in milliseconds.
constexpr double sliderUnitsPerSecond = 1000.0;

int toSliderUnits(double seconds)
{
    const double units = std::round(seconds * sliderUnitsPerSecond);
    if (!(units > 0.0))
        return 0;
    return units >= double(INT_MAX) ? INT_MAX : int(units);
}

// A click on the slider's groove moves the handle right there, rather than a page towards it.
class JumpingSliderStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A button that runs `action` and shows its tooltip, enabled state and icon or icon text.
QToolButton* makeButton(QWidget* parent, const QString& objectName, QAction* action)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAutoRaise(true);
    button->setDefaultAction(action);
    return button;
}

QLabel* makeTimeLabel(QWidget* parent, const QString& objectName, Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAlignment(alignment | Qt::AlignVCenter);
    // Room for "10:00:00" also in large fonts; the usual interface fonts draw all digits equally
    // wide, so the text does not jitter while playing.
    label->setFixedWidth(
        std::max(70, label->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 6));
    // A fixed size too: a new text then repaints the label alone, not the whole bar's layout;
    // and opaque, so that the bar and the window behind it are not drawn again with it.
    label->setFixedHeight(std::max(label->sizeHint().height(), label->fontMetrics().height()));
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

PlayerBarView::PlayerBarView(PlaybackEngine& engine, AppActions& actions, QWidget* parent)
    : QWidget(parent), m_engine(&engine), m_actions(actions)
{
    using Command = AppActions::Command;
    m_skipBackButton =
        makeButton(this, QStringLiteral("skipBackButton"), actions.action(Command::SkipBack));
    m_skipBackButton->setIconSize(QSize(20, 20));

    m_playPauseButton =
        makeButton(this, QStringLiteral("playPauseButton"), actions.action(Command::PlayPause));
    m_playPauseButton->setIconSize(QSize(26, 26));
    m_playPauseButton->setMinimumWidth(28);

    m_skipForwardButton =
        makeButton(this, QStringLiteral("skipForwardButton"), actions.action(Command::SkipForward));
    // The skip icons show how far they jump.
    const auto showSkipSeconds = [&actions](double seconds) {
        actions.action(Command::SkipBack)->setIcon(Icons::skipBack(seconds));
        actions.action(Command::SkipForward)->setIcon(Icons::skipForward(seconds));
    };
    showSkipSeconds(AppSettings::shared().skipSeconds());
    connect(&AppSettings::shared(), &AppSettings::skipSecondsChanged, this, showSkipSeconds);
    m_skipForwardButton->setIconSize(QSize(20, 20));

    m_currentTimeLabel = makeTimeLabel(this, QStringLiteral("currentTimeLabel"), Qt::AlignRight);

    m_positionSlider = new QSlider(Qt::Horizontal, this);
    m_positionSlider->setObjectName(QStringLiteral("positionSlider"));
    m_positionSlider->setAccessibleName(Localization::tr("Playback position"));
    auto* sliderStyle = new JumpingSliderStyle;
    sliderStyle->setParent(m_positionSlider);
    m_positionSlider->setStyle(sliderStyle);
    m_positionSlider->setSingleStep(1000);
    m_positionSlider->setPageStep(5000);

    m_durationLabel = makeTimeLabel(this, QStringLiteral("durationLabel"), Qt::AlignLeft);

    // Shown while a stretch repeats; a click ends the loop.
    m_loopButton = new QToolButton(this);
    m_loopButton->setObjectName(QStringLiteral("loopButton"));
    m_loopButton->setCheckable(true);
    m_loopButton->setChecked(true);
    m_loopButton->setAutoRaise(true);
    connect(m_loopButton, &QToolButton::clicked, actions.action(Command::ClearLoop),
            &QAction::trigger);

    actions.action(Command::Slower)->setIconText(QStringLiteral("\u2212"));
    m_slowerButton =
        makeButton(this, QStringLiteral("slowerButton"), actions.action(Command::Slower));
    m_rateLabel = new QLabel(this);
    m_rateLabel->setObjectName(QStringLiteral("rateLabel"));
    m_rateLabel->setAlignment(Qt::AlignCenter);
    m_rateLabel->setFixedWidth(
        std::max(40, m_rateLabel->fontMetrics().horizontalAdvance(QStringLiteral("0.0x")) + 6));
    actions.action(Command::Faster)->setIconText(QStringLiteral("+"));
    m_fasterButton =
        makeButton(this, QStringLiteral("fasterButton"), actions.action(Command::Faster));

    auto* rateGroup = new QHBoxLayout;
    rateGroup->setSpacing(4);
    rateGroup->addWidget(m_slowerButton);
    rateGroup->addWidget(m_rateLabel);
    rateGroup->addWidget(m_fasterButton);

    // Steps of the volume commands with the arrow keys, larger ones with Page Up and Down.
    m_volumeSlider = new QSlider(Qt::Horizontal, this);
    m_volumeSlider->setObjectName(QStringLiteral("volumeSlider"));
    m_volumeSlider->setAccessibleName(Localization::tr("Volume"));
    m_volumeSlider->setRange(int(SoundSettings::minVolume), int(SoundSettings::maxVolume));
    m_volumeSlider->setSingleStep(int(SoundSettings::volumeStep));
    m_volumeSlider->setPageStep(50);
    m_volumeSlider->setFixedWidth(80);
    m_volumeSlider->setFocusPolicy(Qt::StrongFocus);
    m_volumeLabel = new QLabel(this);
    m_volumeLabel->setObjectName(QStringLiteral("volumeLabel"));
    m_volumeLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_volumeLabel->setFixedWidth(
        m_volumeLabel->fontMetrics().horizontalAdvance(QStringLiteral("200 %")) + 6);
    auto* volumeGroup = new QHBoxLayout;
    volumeGroup->setSpacing(4);
    volumeGroup->addWidget(m_volumeSlider);
    volumeGroup->addWidget(m_volumeLabel);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 10, 16, 10);
    row->setSpacing(12);
    row->addWidget(m_skipBackButton);
    row->addWidget(m_playPauseButton);
    row->addWidget(m_skipForwardButton);
    row->addWidget(m_currentTimeLabel);
    row->addWidget(m_positionSlider, 1);
    row->addWidget(m_durationLabel);
    row->addWidget(m_loopButton);
    row->addLayout(rateGroup);
    row->addLayout(volumeGroup);

    connect(m_positionSlider, &QSlider::valueChanged, this, &PlayerBarView::seekToSlider);
    // While dragging the slider shows where the user puts it; afterwards the engine again.
    connect(m_positionSlider, &QSlider::sliderReleased, this, &PlayerBarView::updatePosition);

    connect(&engine, &PlaybackEngine::isPlayingChanged, this, &PlayerBarView::updatePlaying);
    connect(&engine, &PlaybackEngine::currentTimeChanged, this, &PlayerBarView::updatePosition);
    connect(&engine, &PlaybackEngine::durationChanged, this, &PlayerBarView::updateDuration);
    connect(&engine, &PlaybackEngine::rateChanged, this, &PlayerBarView::updateRate);
    connect(&engine, &PlaybackEngine::loopChanged, this, &PlayerBarView::updateLoop);
    connect(&engine, &PlaybackEngine::volumeChanged, this, &PlayerBarView::updateVolume);
    connect(m_volumeSlider, &QSlider::valueChanged, this, [this](int value) {
        if (m_engine)
            m_engine->setVolume(value);
    });

    updatePlaying();
    updateDuration();
    updateRate();
    updateLoop();
    updateVolume();
}

void PlayerBarView::seekToSlider(int value)
{
    if (m_followingEngine || !m_engine)
        return;
    m_engine->seek(value / sliderUnitsPerSecond);
}

void PlayerBarView::updatePlaying()
{
    const bool playing = m_engine && m_engine->isPlaying();
    m_actions.action(AppActions::Command::PlayPause)
        ->setIcon(Icons::get(playing ? QStringLiteral("pause") : QStringLiteral("play")));
}

void PlayerBarView::updatePosition()
{
    // Called for every position while playing: only what shows a change is touched.
    const double position = m_engine ? m_engine->currentTime() : 0.0;
    const double second = std::isfinite(position) ? std::trunc(position) : 0.0;
    if (second != m_shownSecond) {
        m_shownSecond = second;
        const QString elapsed = TimeFormat::timeString(position);
        if (elapsed != m_currentTimeLabel->text()) {
            m_currentTimeLabel->setText(elapsed);
            m_currentTimeLabel->setAccessibleName(Localization::tr("Elapsed %1").arg(elapsed));
        }
    }
    if (m_positionSlider->isSliderDown())
        return;
    const int value = toSliderUnits(position);
    const auto handleAt = [this](int units) {
        return QStyle::sliderPositionFromValue(m_positionSlider->minimum(),
                                               m_positionSlider->maximum(), units,
                                               m_positionSlider->width());
    };
    // The handle stays on its pixel: the slider is not redrawn (nor its value announced). A
    // position at either end is always shown exactly.
    if (handleAt(value) == handleAt(m_positionSlider->value()) && value != 0 &&
        value != m_positionSlider->maximum())
        return;
    m_followingEngine = true;
    m_positionSlider->setValue(value);
    m_followingEngine = false;
}

void PlayerBarView::updateDuration()
{
    const double duration = m_engine ? m_engine->duration() : 0.0;
    m_durationLabel->setText(TimeFormat::timeString(duration));
    m_durationLabel->setAccessibleName(
        Localization::tr("Duration %1").arg(m_durationLabel->text()));
    m_followingEngine = true;
    m_positionSlider->setRange(0, toSliderUnits(std::max(duration, 0.01)));
    m_followingEngine = false;
    // Nothing to control while nothing is loaded, after a failed load, or for an empty file.
    setEnabled(duration > 0.0);
    updatePosition();
}

void PlayerBarView::updateLoop()
{
    const bool looping = m_engine && m_engine->isLooping();
    m_loopButton->setVisible(looping);
    if (!looping)
        return;
    m_loopButton->setChecked(true);
    m_loopButton->setText(Localization::tr("Loop %1–%2")
                              .arg(TimeFormat::timeString(*m_engine->loopStart()),
                                   TimeFormat::timeString(*m_engine->loopEnd())));
    m_loopButton->setToolTip(m_actions.action(AppActions::Command::ClearLoop)->toolTip());
}

void PlayerBarView::updateRate()
{
    const double rate = m_engine ? m_engine->rate() : 1.0;
    m_rateLabel->setText(QString::number(rate, 'f', 1) + u'x');
    m_rateLabel->setAccessibleName(
        Localization::tr("Playback speed %1×").arg(QString::number(rate, 'f', 1)));
}

} // namespace dictaro

namespace dictaro {

void PlayerBarView::updateVolume()
{
    const double volume = m_engine ? m_engine->volume() : SoundSettings::defaultVolume;
    const QString percent = Localization::tr("%1 %").arg(std::lround(volume));
    m_volumeLabel->setText(percent);
    m_volumeSlider->setValue(int(std::lround(volume)));
    m_volumeSlider->setToolTip(Localization::tr("Volume %1").arg(percent));
    m_volumeSlider->setAccessibleDescription(percent);
}

} // namespace dictaro
