#include "SpellChecker.h"

#include "AppSettings.h"
#include "Localization.h"

#include <QFutureWatcher>
#include <QLocale>
#include <QtConcurrentRun>
#include <QtDebug>

namespace dictaro {

SpellChecker::SpellChecker(AppSettings& settings, const QString& interfaceLanguage, QObject* parent)
    : QObject(parent), m_settings(settings), m_interfaceLanguage(interfaceLanguage),
      m_background([this](QStringView word) { return m_speller->isMisspelt(word); })
{
    m_enabled = m_settings.checkSpellingWhileTyping();
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
    // A new language's dictionary says misspellingsChanged() when it has arrived.
    loadDictionary();
    if (enabledChanged) {
        emit isEnabledChanged(m_enabled);
        emit misspellingsChanged();
    }
}

void SpellChecker::prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    loadDictionary();
}

namespace {

struct Loaded
{
    std::shared_ptr<Speller> speller;
    QStringList available;
    QString language;
};

} // namespace

void SpellChecker::loadDictionary()
{
    if (!m_prepared)
        return;
    // Empty: the default for the interface language, which is known once the list is.
    const QString chosen = m_settings.spellingLanguage();
    if (m_generation > 0 && chosen == m_requested)
        return;
    m_requested = chosen;
    const int generation = ++m_generation;
    const QString interfaceLanguage = m_interfaceLanguage;
    auto* watcher = new QFutureWatcher<Loaded>(this);
    connect(watcher, &QFutureWatcher<Loaded>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        Loaded loaded = watcher->result();
        --m_loading;
        if (generation == m_generation) {
            m_speller = std::move(loaded.speller);
            m_available = loaded.available;
            const bool changed = loaded.language != m_language;
            m_language = loaded.language;
            if (changed)
                emit languageChanged(m_language);
            emit misspellingsChanged();
        }
        if (m_loading == 0)
            emit isLoadingChanged(false);
    });
    if (m_loading++ == 0)
        emit isLoadingChanged(true);
    watcher->setFuture(QtConcurrent::run([chosen, interfaceLanguage] {
        Loaded loaded;
        loaded.speller = std::make_shared<Speller>();
        loaded.available = loaded.speller->languages();
        loaded.language =
            chosen.isEmpty() ? defaultLanguage(interfaceLanguage, loaded.available) : chosen;
        if (!loaded.speller->load(loaded.language))
            qInfo("No spelling dictionary for %s", qPrintable(loaded.language));
        return loaded;
    }));
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
    return hasDictionary() ? m_speller->suggestions(word, maxSuggestions) : QStringList();
}

void SpellChecker::addToDictionary(QStringView word)
{
    if (!hasDictionary() || word.isEmpty())
        return;
    QString reason;
    if (m_speller->add(word, &reason)) {
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
    if (!hasDictionary() || word.isEmpty())
        return;
    m_speller->ignore(word);
    emit misspellingsChanged();
}

qsizetype SpellChecker::findMisspellings(QStringView text, qsizetype from, QList<Range>& found,
                                         const QDeadlineTimer& deadline) const
{
    if (!hasDictionary())
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
