#include "SettingsView.h"

#include "AppSettings.h"
#include "Appearance.h"
#include "Localization.h"
#include "SpellChecker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace dictaro {

namespace {

constexpr int padding = 20;
constexpr int windowWidth = 380;

// A stepper over whole seconds that shows its value as "3 seconds" (in the interface
// language). Its text cannot be typed over: the arrows, the arrow keys and the wheel step it.
class SecondsStepper final : public QSpinBox
{
public:
    SecondsStepper(int minimum, int maximum, QWidget* parent) : QSpinBox(parent)
    {
        setRange(minimum, maximum);
        setSingleStep(1);
        setAccelerated(false);
        setWrapping(false);
        lineEdit()->setReadOnly(true);
    }

protected:
    QString textFromValue(int value) const override { return SettingsView::secondsText(value); }

    // The first whole number in the text, wherever the translation puts it.
    int valueFromText(const QString& text) const override
    {
        static const QRegularExpression number(QStringLiteral("\\d+"));
        const QRegularExpressionMatch match = number.match(text);
        bool ok = false;
        const int value = match.hasMatch() ? match.captured().toInt(&ok) : 0;
        return ok ? value : this->value();
    }

    QValidator::State validate(QString& text, int&) const override
    {
        static const QRegularExpression number(QStringLiteral("\\d+"));
        return number.match(text).hasMatch() ? QValidator::Acceptable : QValidator::Intermediate;
    }
};

// The stepper position for a stored value: whole seconds within the stepper's range (values
// from the settings file are taken as they are, so they may be neither).
int stepperValue(const QSpinBox* stepper, double seconds)
{
    return int(
        std::lround(std::clamp(seconds, double(stepper->minimum()), double(stepper->maximum()))));
}

// Whether `format` holds exactly one "%.0f" and otherwise only "%%".
bool isSecondsFormat(const QString& format)
{
    int conversions = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) != u'%')
            continue;
        if (format.mid(i, 2) == QLatin1String("%%")) {
            ++i;
        } else if (format.mid(i, 4) == QLatin1String("%.0f")) {
            ++conversions;
            i += 3;
        } else {
            return false;
        }
    }
    return conversions == 1;
}

} // namespace

SettingsView::SettingsView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("settingsView"));
    AppSettings& settings = AppSettings::shared();

    m_autoRewindStepper = new SecondsStepper(minAutoRewindSeconds, maxAutoRewindSeconds, this);
    m_autoRewindStepper->setObjectName(QStringLiteral("autoRewindStepper"));
    m_skipStepper = new SecondsStepper(minSkipSeconds, maxSkipSeconds, this);
    m_skipStepper->setObjectName(QStringLiteral("skipStepper"));
    m_replayStepper = new SecondsStepper(minReplaySeconds, maxReplaySeconds, this);
    m_replayStepper->setObjectName(QStringLiteral("replayStepper"));
    showAutoRewindSeconds(settings.autoRewindSeconds());
    showSkipSeconds(settings.skipSeconds());
    showReplaySeconds(settings.replaySeconds());

    m_rewindFollowsSpeed =
        new QCheckBox(Localization::tr("Rewind more or less with the playback speed"), this);
    m_rewindFollowsSpeed->setObjectName(QStringLiteral("rewindFollowsSpeedBox"));
    m_rewindFollowsSpeed->setChecked(settings.rewindFollowsSpeed());
    m_stampWherePaused =
        new QCheckBox(Localization::tr("Timestamps after a pause: where playback stopped"), this);
    m_stampWherePaused->setObjectName(QStringLiteral("stampWherePausedBox"));
    m_stampWherePaused->setChecked(settings.stampWherePaused());

    // Language names are shown in their own language; only "System" is translated.
    m_languagePicker = new QComboBox(this);
    m_languagePicker->setObjectName(QStringLiteral("languagePicker"));
    m_languagePicker->addItem(Localization::tr("System"), QStringLiteral("system"));
    m_languagePicker->addItem(QStringLiteral("English"), QStringLiteral("en"));
    m_languagePicker->addItem(QStringLiteral("Türkçe"), QStringLiteral("tr"));
    m_languagePicker->setCurrentIndex(
        std::max(0, m_languagePicker->findData(AppSettings::languageOverride())));

    // Every dictionary found, and the one in use also when none exists for it.
    m_spellingPicker = new QComboBox(this);
    m_spellingPicker->setObjectName(QStringLiteral("spellingPicker"));
    const QStringList dictionaries = SpellChecker::installedLanguages();
    QString spelling = settings.spellingLanguage();
    if (spelling.isEmpty())
        spelling = SpellChecker::defaultLanguage(Localization::currentLanguage(), dictionaries);
    for (const QString& language : dictionaries)
        m_spellingPicker->addItem(SpellChecker::displayName(language), language);
    if (m_spellingPicker->findData(spelling) < 0)
        m_spellingPicker->addItem(
            Localization::tr("%1 (no dictionary)").arg(SpellChecker::displayName(spelling)),
            spelling);
    m_spellingPicker->setCurrentIndex(m_spellingPicker->findData(spelling));

    // The controls share one width, wide enough for the longest of them.
    const QList<QWidget*> controls{m_autoRewindStepper, m_skipStepper, m_replayStepper,
                                   m_spellingPicker, m_languagePicker};
    int controlWidth = 0;
    for (QWidget* control : controls)
        controlWidth = std::max(controlWidth, control->sizeHint().width());
    for (QWidget* control : controls)
        control->setMinimumWidth(controlWidth);

    auto* autoRewindLabel = new QLabel(Localization::tr("Auto-rewind on pause"), this);
    autoRewindLabel->setBuddy(m_autoRewindStepper);
    auto* skipLabel = new QLabel(Localization::tr("Skip amount"), this);
    skipLabel->setBuddy(m_skipStepper);
    auto* replayLabel = new QLabel(Localization::tr("Replay amount"), this);
    replayLabel->setBuddy(m_replayStepper);
    auto* spellingLabel = new QLabel(Localization::tr("Spelling"), this);
    spellingLabel->setBuddy(m_spellingPicker);
    auto* languageLabel = new QLabel(Localization::tr("Language"), this);
    languageLabel->setBuddy(m_languagePicker);
    auto* note = new QLabel(
        Localization::tr("Language changes take effect after restarting the app."), this);
    note->setObjectName(QStringLiteral("languageNote"));
    note->setWordWrap(true);
    Appearance::setTextStyle(note, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(note);

    auto* form = new QGridLayout;
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(10);
    form->setColumnStretch(1, 1);
    form->addWidget(autoRewindLabel, 0, 0);
    form->addWidget(m_autoRewindStepper, 0, 2);
    form->addWidget(skipLabel, 1, 0);
    form->addWidget(m_skipStepper, 1, 2);
    form->addWidget(replayLabel, 2, 0);
    form->addWidget(m_replayStepper, 2, 2);
    form->addWidget(m_rewindFollowsSpeed, 3, 0, 1, 3);
    form->addWidget(m_stampWherePaused, 4, 0, 1, 3);
    form->addWidget(spellingLabel, 5, 0);
    form->addWidget(m_spellingPicker, 5, 2);
    form->addWidget(languageLabel, 6, 0);
    form->addWidget(m_languagePicker, 6, 2);
    form->addWidget(note, 7, 0, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->addLayout(form);
    layout->addStretch(1);
    setMinimumWidth(windowWidth);

    // Connected only now, so that filling in the controls writes nothing.
    connect(m_autoRewindStepper, &QSpinBox::valueChanged, this,
            [](int seconds) { AppSettings::shared().setAutoRewindSeconds(seconds); });
    connect(m_skipStepper, &QSpinBox::valueChanged, this,
            [](int seconds) { AppSettings::shared().setSkipSeconds(seconds); });
    connect(&settings, &AppSettings::autoRewindSecondsChanged, this,
            &SettingsView::showAutoRewindSeconds);
    connect(&settings, &AppSettings::skipSecondsChanged, this, &SettingsView::showSkipSeconds);
    connect(m_replayStepper, &QSpinBox::valueChanged, this,
            [](int seconds) { AppSettings::shared().setReplaySeconds(seconds); });
    connect(&settings, &AppSettings::replaySecondsChanged, this, &SettingsView::showReplaySeconds);
    connect(m_rewindFollowsSpeed, &QCheckBox::toggled, &settings,
            &AppSettings::setRewindFollowsSpeed);
    connect(&settings, &AppSettings::rewindFollowsSpeedChanged, m_rewindFollowsSpeed,
            &QCheckBox::setChecked);
    connect(m_stampWherePaused, &QCheckBox::toggled, &settings, &AppSettings::setStampWherePaused);
    connect(&settings, &AppSettings::stampWherePausedChanged, m_stampWherePaused,
            &QCheckBox::setChecked);
    connect(m_spellingPicker, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            AppSettings::shared().setSpellingLanguage(m_spellingPicker->itemData(index).toString());
    });
    // Only a different entry is a choice: the picker reports no change for the same one.
    connect(m_languagePicker, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            AppSettings::chooseLanguage(m_languagePicker->itemData(index).toString());
    });
}

QString SettingsView::secondsText(double seconds)
{
    const QString english = QStringLiteral("%.0f seconds");
    const QString localized = Localization::tr("%.0f seconds");
    // The localized text is used as a printf format: one with anything but a single "%.0f"
    // (and literal "%%") would read arguments that are not there, so it is not used.
    const QString format = isSecondsFormat(localized) ? localized : english;
    return QString::asprintf(qPrintable(format), seconds);
}

void SettingsView::showAutoRewindSeconds(double seconds)
{
    // Showing a value is not a change by the user: nothing is written back.
    const QSignalBlocker blocker(m_autoRewindStepper);
    m_autoRewindStepper->setValue(stepperValue(m_autoRewindStepper, seconds));
}

void SettingsView::showReplaySeconds(double seconds)
{
    const QSignalBlocker blocker(m_replayStepper);
    m_replayStepper->setValue(stepperValue(m_replayStepper, seconds));
}

void SettingsView::showSkipSeconds(double seconds)
{
    const QSignalBlocker blocker(m_skipStepper);
    m_skipStepper->setValue(stepperValue(m_skipStepper, seconds));
}

} // namespace dictaro
