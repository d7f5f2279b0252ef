#pragma once

#include "BackgroundChecker.h"
#include "Speller.h"
#include "WordTokenizer.h"

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>

namespace dictaro {

class AppSettings;

// Spelling as the application uses it: follows the language and the on/off switch kept in
// AppSettings, answers for words and texts, and takes the user's words. Without a dictionary for
// the language nothing is misspelt. A word that could not be written to the personal word list
// is reported through wordListError.
//
// Dictionaries take a while to load, so nothing is loaded until prepare() (when a transcript has
// words, or the spelling menu is opened), and then on a worker thread: until it is there
// (isLoading), nothing is misspelt, and misspellingsChanged() says when it is.
class SpellChecker : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString language READ language NOTIFY languageChanged)
    Q_PROPERTY(bool isEnabled READ isEnabled NOTIFY isEnabledChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(std::optional<QString> wordListError READ wordListError NOTIFY wordListErrorChanged)

public:
    static constexpr int maxSuggestions = 5;

    // A misspelt word: UTF-16 positions in the checked text, half-open.
    using Range = WordTokenizer::WordRange;

    // `interfaceLanguage` ("en", "tr") picks the dictionary until the user chooses one.
    SpellChecker(AppSettings& settings, const QString& interfaceLanguage,
                 QObject* parent = nullptr);
    ~SpellChecker() override;

    // Loads the dictionary the settings choose, in the background, unless that has begun.
    void prepare();
    // A dictionary is being loaded.
    bool isLoading() const { return m_loading > 0; }

    // Every dictionary Enchant finds ("en_US", "tr_TR", ...), sorted; known once prepared.
    QStringList availableLanguages() const { return m_available; }
    static QStringList installedLanguages();
    // The dictionary used when the user has chosen none: the interface language's own
    // ("en" → en_US, "tr" → tr_TR), another of the same language, or its name when none exists.
    static QString defaultLanguage(const QString& interfaceLanguage, const QStringList& available);
    // A dictionary's name for menus, in its own language ("American English", "Türkçe").
    static QString displayName(const QString& language);

    // The language in use (also when no dictionary exists for it); known once prepared.
    QString language() const { return m_language; }
    // Chooses a language and remembers it.
    void setLanguage(const QString& language);
    bool hasDictionary() const { return m_speller && m_speller->hasDictionary(); }
    // Checking while typing, remembered.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Enabled and with a dictionary: words are being marked.
    bool isActive() const { return m_enabled && hasDictionary(); }

    // Whether one word is misspelt. Never for an empty word or without a dictionary.
    bool isMisspelt(QStringView word) const
    {
        return hasDictionary() && m_speller->isMisspelt(word);
    }
    // At most maxSuggestions replacements, best first.
    QStringList suggestions(QStringView word) const;
    // Into the personal word list, kept across starts. The word is accepted at once; when the
    // list cannot be written, wordListError says so.
    void addToDictionary(QStringView word);
    // Accepted until the program ends.
    void ignore(QStringView word);
    // Why the last word could not be added to the personal word list; absent once one was.
    std::optional<QString> wordListError() const { return m_wordListError; }
    void dismissWordListError() { setWordListError(std::nullopt); }

    // Finds the misspelt words of `text` from `from` on, appending them to `found`, until the
    // end or the deadline. Returns where it stopped: text.size(), or a later start that a next
    // call continues from. Timestamps, numbers, words with digits, web and e-mail addresses are
    // skipped.
    qsizetype findMisspellings(QStringView text, qsizetype from, QList<Range>& found,
                               const QDeadlineTimer& deadline = QDeadlineTimer::Forever) const;
    // The word (as findMisspellings() sees words) at or just before a position, if it is one
    // that would be checked; an empty range otherwise.
    static Range checkableWordAt(QStringView text, qsizetype position)
    {
        return WordTokenizer::checkableWordAt(text, position);
    }

signals:
    void languageChanged(const QString& language);
    void isEnabledChanged(bool isEnabled);
    void isLoadingChanged(bool isLoading);
    // What counts as misspelt changed: another dictionary, on/off, a word added or ignored.
    void misspellingsChanged();
    void wordListErrorChanged(const std::optional<QString>& wordListError);

private:
    void loadDictionary();
    void followSettings();
    void setWordListError(const std::optional<QString>& error);

    AppSettings& m_settings;
    QString m_interfaceLanguage;
    std::shared_ptr<Speller> m_speller;
    BackgroundChecker m_background;
    QStringList m_available;
    QString m_language;
    bool m_prepared = false;
    QString m_requested;
    // Loads begun and not yet arrived; only the latest one's dictionary is taken.
    int m_loading = 0;
    int m_generation = 0;
    bool m_enabled = true;
    std::optional<QString> m_wordListError;
};

} // namespace dictaro
