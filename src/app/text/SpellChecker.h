#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <unordered_map>

struct str_enchant_dict;

namespace dictaro {

class AppSettings;

// Spelling over the dictionaries Enchant finds: which words of a text are misspelt, what to
// suggest instead, and the user's own words. Follows the language and the on/off switch kept in
// AppSettings; without a dictionary for the language nothing is misspelt.
class SpellChecker : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString language READ language NOTIFY languageChanged)
    Q_PROPERTY(bool isEnabled READ isEnabled NOTIFY isEnabledChanged)

public:
    static constexpr int maxSuggestions = 5;

    // A misspelt word: UTF-16 positions in the checked text, half-open.
    struct Range
    {
        qsizetype start = 0;
        qsizetype end = 0;
        bool operator==(const Range&) const = default;
    };

    // `interfaceLanguage` ("en", "tr") picks the dictionary until the user chooses one.
    SpellChecker(AppSettings& settings, const QString& interfaceLanguage,
                 QObject* parent = nullptr);
    ~SpellChecker() override;

    // Every dictionary Enchant finds ("en_US", "tr_TR", ...), sorted.
    QStringList availableLanguages() const { return m_available; }
    static QStringList installedLanguages();
    // The dictionary used when the user has chosen none: the interface language's own
    // ("en" → en_US, "tr" → tr_TR), another of the same language, or its name when none exists.
    static QString defaultLanguage(const QString& interfaceLanguage, const QStringList& available);
    // A dictionary's name for menus, in its own language ("American English", "Türkçe").
    static QString displayName(const QString& language);

    // The language in use (also when no dictionary exists for it).
    QString language() const { return m_language; }
    // Chooses a language and remembers it.
    void setLanguage(const QString& language);
    bool hasDictionary() const { return m_dict != nullptr; }
    // Checking while typing, remembered.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Enabled and with a dictionary: words are being marked.
    bool isActive() const { return m_enabled && m_dict; }

    // Whether one word is misspelt. Never for an empty word or without a dictionary.
    bool isMisspelt(QStringView word) const;
    // At most maxSuggestions replacements, best first.
    QStringList suggestions(QStringView word) const;
    // Into the personal word list, which Enchant keeps across starts.
    void addToDictionary(QStringView word);
    // Accepted until the program ends.
    void ignore(QStringView word);

    // Finds the misspelt words of `text` from `from` on, appending them to `found`, until the
    // end or the deadline. Returns where it stopped: text.size(), or a later start that a next
    // call continues from. Timestamps, numbers, words with digits, web and e-mail addresses are
    // skipped.
    qsizetype findMisspellings(QStringView text, qsizetype from, QList<Range>& found,
                               const QDeadlineTimer& deadline = QDeadlineTimer::Forever) const;
    // The word (as findMisspellings() sees words) at or just before a position, if it is one
    // that would be checked; an empty range otherwise.
    static Range checkableWordAt(QStringView text, qsizetype position);

signals:
    void languageChanged(const QString& language);
    void isEnabledChanged(bool isEnabled);
    // What counts as misspelt changed: another dictionary, on/off, a word added or ignored.
    void misspellingsChanged();

private:
    struct Broker;
    void loadDictionary();
    void followSettings();

    AppSettings& m_settings;
    QString m_interfaceLanguage;
    std::unique_ptr<Broker> m_broker;
    str_enchant_dict* m_dict = nullptr;
    QStringList m_available;
    QString m_language;
    bool m_enabled = true;
    // Looked up by a view of the text, without making a string of each word.
    struct WordHash
    {
        using is_transparent = void;
        size_t operator()(QStringView word) const { return qHash(word); }
    };
    struct WordEqual
    {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const { return a == b; }
    };
    // Answers so far, per word as checked. Most words of a transcript recur.
    mutable std::unordered_map<QString, bool, WordHash, WordEqual> m_cache;
};

} // namespace dictaro
