#include "AppSettings.h"

#include <QLocale>
#include <QSettings>
#include <QVariant>
#include <QtDebug>

#include <cmath>
#include <memory>
#include <mutex>
#include <optional>

namespace dictaro {

namespace {

const QString autoRewindKey = QStringLiteral("autoRewindSeconds");
const QString skipKey = QStringLiteral("skipSeconds");
const QString spellingLanguageKey = QStringLiteral("spellingLanguage");
const QString checkSpellingKey = QStringLiteral("checkSpellingWhileTyping");
const QString languageOverrideKey = QStringLiteral("languageOverride");
// The list of preferred interface languages read at start-up.
const QString languageListKey = QStringLiteral("AppleLanguages");
const QString systemLanguage = QStringLiteral("system");

std::mutex sharedMutex;
std::unique_ptr<AppSettings> sharedInstance;

// One INI file per user on every platform (~/.config/Dictaro/Dictaro.ini on Linux), so that
// the file is the same everywhere and tests can point QSettings::setPath at a temporary folder.
std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Dictaro"), QStringLiteral("Dictaro"));
}

// Writes pending changes to disk now rather than whenever QSettings gets round to it.
bool commit(QSettings& settings)
{
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qWarning("Could not write the settings file %s", qPrintable(settings.fileName()));
        return false;
    }
    return true;
}

// A stored value as a finite number, if it is one. The settings file keeps numbers as text, so
// text is parsed (locale-independently); a bool or a list is not a number.
std::optional<double> storedNumber(const QVariant& value)
{
    bool ok = false;
    double number = 0.0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: number = value.toDouble(&ok); break;
    case QMetaType::QString: number = value.toString().toDouble(&ok); break;
    case QMetaType::QByteArray: number = value.toByteArray().toDouble(&ok); break;
    default: break;
    }
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

double readNumber(const QSettings& settings, const QString& key, double fallback)
{
    return storedNumber(settings.value(key)).value_or(fallback);
}

const QStringList& languageChoices()
{
    static const QStringList choices{systemLanguage, QStringLiteral("en"), QStringLiteral("tr")};
    return choices;
}

} // namespace

AppSettings::AppSettings()
{
    const auto settings = openSettings();
    m_autoRewindSeconds = readNumber(*settings, autoRewindKey, defaultAutoRewindSeconds);
    m_skipSeconds = readNumber(*settings, skipKey, defaultSkipSeconds);
    m_spellingLanguage = settings->value(spellingLanguageKey).toString();
    m_checkSpellingWhileTyping = settings->value(checkSpellingKey, true).toBool();
}

AppSettings& AppSettings::shared()
{
    const std::lock_guard lock(sharedMutex);
    if (!sharedInstance)
        sharedInstance.reset(new AppSettings);
    return *sharedInstance;
}

void AppSettings::resetSharedForTesting()
{
    const std::lock_guard lock(sharedMutex);
    sharedInstance.reset();
}

bool AppSettings::assign(double& member, double value, const QString& key)
{
    if (!std::isfinite(value)) {
        qWarning("Ignoring a non-finite value for the setting %s", qPrintable(key));
        return false;
    }
    const bool changed = member != value;
    member = value;
    const auto settings = openSettings();
    settings->setValue(key, value);
    commit(*settings);
    return changed;
}

void AppSettings::setAutoRewindSeconds(double seconds)
{
    if (assign(m_autoRewindSeconds, seconds, autoRewindKey))
        emit autoRewindSecondsChanged(m_autoRewindSeconds);
}

void AppSettings::setSkipSeconds(double seconds)
{
    if (assign(m_skipSeconds, seconds, skipKey))
        emit skipSecondsChanged(m_skipSeconds);
}

void AppSettings::setSpellingLanguage(const QString& language)
{
    if (language == m_spellingLanguage)
        return;
    m_spellingLanguage = language;
    const auto settings = openSettings();
    settings->setValue(spellingLanguageKey, language);
    commit(*settings);
    emit spellingLanguageChanged(m_spellingLanguage);
}

void AppSettings::setCheckSpellingWhileTyping(bool check)
{
    if (check == m_checkSpellingWhileTyping)
        return;
    m_checkSpellingWhileTyping = check;
    const auto settings = openSettings();
    settings->setValue(checkSpellingKey, check);
    commit(*settings);
    emit checkSpellingWhileTypingChanged(m_checkSpellingWhileTyping);
}

QString AppSettings::languageOverride()
{
    const QString stored = openSettings()->value(languageOverrideKey).toString();
    return languageChoices().contains(stored) ? stored : systemLanguage;
}

bool AppSettings::chooseLanguage(const QString& choice)
{
    if (!languageChoices().contains(choice)) {
        qWarning("Ignoring the unknown interface language %s", qPrintable(choice));
        return false;
    }
    const auto settings = openSettings();
    settings->setValue(languageOverrideKey, choice);
    if (choice == systemLanguage)
        settings->remove(languageListKey);
    else
        settings->setValue(languageListKey, QStringList{choice});
    return commit(*settings);
}

QStringList AppSettings::startupLanguages()
{
    const QVariant stored = openSettings()->value(languageListKey);
    // The settings file gives a one-element list back as plain text.
    const QStringList list = stored.typeId() == QMetaType::QString ? QStringList{stored.toString()}
                                                                   : stored.toStringList();
    if (!list.isEmpty() && !list.first().trimmed().isEmpty())
        return {list.first().trimmed()};
    return QLocale::system().uiLanguages();
}

} // namespace dictaro
