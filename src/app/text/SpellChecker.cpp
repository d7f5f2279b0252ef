#include "SpellChecker.h"

#include "AppSettings.h"
#include "Localization.h"

#include <QLocale>
#include <QtDebug>

namespace dictaro {

SpellChecker::SpellChecker(AppSettings& settings, const QString& interfaceLanguage, QObject* parent)
    : QObject(parent), m_settings(settings), m_interfaceLanguage(interfaceLanguage),
      m_background([this](QStringView word) { return m_speller.isMisspelt(word); })
{
    m_available = m_speller.languages();
    m_enabled = m_settings.checkSpellingWhileTyping();
    loadDictionary();
    connect(&m_settings, &AppSettings::spellingLanguageChanged, this,
            &SpellChecker::followSettings);
    connect(&m_settings, &AppSettings::checkSpellingWhileTypingChanged, this,
            &SpellChecker::followSettings);
}

SpellChecker::~SpellChecker() = default;

QStringList SpellChecker::installedLanguages()
{
    return Speller().languages();
}

QString SpellChecker::defaultLanguage(const QString& interfaceLanguage,
                                      const QStringList& available)
{
    // QLocale("en").name() is "en_US", QLocale("tr").name() "tr_TR".
    const QString preferred = QLocale(interfaceLanguage).name();
    if (available.contains(preferred))
        return preferred;
    if (available.contains(interfaceLanguage))
        return interfaceLanguage;
    for (const QString& tag : available) {
        if (tag.startsWith(interfaceLanguage + u'_'))
            return tag;
    }
    return preferred;
}

QString SpellChecker::displayName(const QString& language)
{
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return language;
    QString name = locale.nativeLanguageName();
    if (!name.isEmpty())
        name[0] = name.at(0).toUpper();
    // "English" alone for a dictionary of no region; its locale would say "American English".
    if (!language.contains(u'_'))
        return QLocale::languageToString(locale.language()) == QStringLiteral("English")
                   ? QStringLiteral("English")
                   : name;
    return name;
}

void SpellChecker::followSettings()
{
    const bool enabled = m_settings.checkSpellingWhileTyping();
    const bool enabledChanged = enabled != m_enabled;
    m_enabled = enabled;
    const QString before = m_language;
    loadDictionary();
    if (enabledChanged)
        emit isEnabledChanged(m_enabled);
    if (enabledChanged || before != m_language)
        emit misspellingsChanged();
}

void SpellChecker::loadDictionary()
{
    QString language = m_settings.spellingLanguage();
    if (language.isEmpty())
        language = defaultLanguage(m_interfaceLanguage, m_available);
    if (m_loaded && language == m_language)
        return;
    m_loaded = true;
    const bool changed = language != m_language;
    m_language = language;
    if (!m_speller.load(language))
        qInfo("No spelling dictionary for %s", qPrintable(language));
    if (changed)
        emit languageChanged(m_language);
}

void SpellChecker::setLanguage(const QString& language)
{
    m_settings.setSpellingLanguage(language);
}

void SpellChecker::setEnabled(bool enabled)
{
    m_settings.setCheckSpellingWhileTyping(enabled);
}

QStringList SpellChecker::suggestions(QStringView word) const
{
    return m_speller.suggestions(word, maxSuggestions);
}

void SpellChecker::addToDictionary(QStringView word)
{
    if (!m_speller.hasDictionary() || word.isEmpty())
        return;
    QString reason;
    if (m_speller.add(word, &reason)) {
        setWordListError(std::nullopt);
    } else {
        qWarning("Could not add a word to %s: %s",
                 qPrintable(Speller::personalWordList(m_language)), qPrintable(reason));
        setWordListError(
            Localization::tr("“%1” could not be saved in your dictionary, so it will be marked "
                             "again next time: the word list %2 cannot be written.")
                .arg(word.toString(), Speller::personalWordList(m_language)));
    }
    emit misspellingsChanged();
}

void SpellChecker::ignore(QStringView word)
{
    if (!m_speller.hasDictionary() || word.isEmpty())
        return;
    m_speller.ignore(word);
    emit misspellingsChanged();
}

qsizetype SpellChecker::findMisspellings(QStringView text, qsizetype from, QList<Range>& found,
                                         const QDeadlineTimer& deadline) const
{
    if (!m_speller.hasDictionary())
        return text.size();
    return m_background.check(text, from, found, deadline);
}

void SpellChecker::setWordListError(const std::optional<QString>& error)
{
    if (error == m_wordListError)
        return;
    m_wordListError = error;
    emit wordListErrorChanged(m_wordListError);
}

} // namespace dictaro
