#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <unordered_map>

struct str_enchant_broker;
struct str_enchant_dict;

namespace dictaro {

// One dictionary of the spelling library (Enchant) and the user's personal word list for its
// language: whether a word is misspelt (answers remembered per word), suggestions, words added
// for good or for this run. The personal word list (in Enchant's folder, shared with other
// programs) is read and written here, only as a regular file of bounded size, so that a pipe or
// a device in its place can never hold the program up; Enchant itself is given a private folder.
class Speller
{
public:
    // Largest personal word list (or list of removed words) that is read.
    static constexpr qint64 maxWordListBytes = 4 * 1024 * 1024;

    Speller();
    ~Speller();
    Speller(const Speller&) = delete;
    Speller& operator=(const Speller&) = delete;

    // Every dictionary Enchant finds ("en_US", "tr_TR", ...), sorted.
    QStringList languages() const;
    // Loads the dictionary for `language` and the personal word list; false when none exists.
    bool load(const QString& language);
    bool hasDictionary() const { return m_dict != nullptr; }
    // The personal word list of `language` ("…/enchant/en_US.dic").
    static QString personalWordList(const QString& language);

    // Never for an empty word or without a dictionary.
    bool isMisspelt(QStringView word) const;
    // At most `count` replacements, best first, written with the word's kind of apostrophe.
    QStringList suggestions(QStringView word, int count) const;
    // Accepts `word` from now on and appends it to the personal word list. False when it could
    // not be written there; `error` then says why (the word is still accepted for this run).
    bool add(QStringView word, QString* error);
    // Accepts `word` until the program ends.
    void ignore(QStringView word);

private:
    void loadWordLists(const QString& language);

    str_enchant_broker* m_broker = nullptr;
    str_enchant_dict* m_dict = nullptr;
    QString m_language;
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
