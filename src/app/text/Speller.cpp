#include "Speller.h"

#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QTemporaryDir>
#include <QtDebug>

#include <enchant.h>

#include <memory>

namespace dictaro {

namespace {

using Links = RegularFile::Links;

constexpr QChar typographicApostrophe = u'\u2019';

// Enchant's folders: the user's, where the personal word lists are kept, and the private one
// Enchant is given instead, holding copies of them that are known to be plain files.
struct EnchantFolders
{
    QString user;
    std::unique_ptr<QTemporaryDir> own;

    bool hasOwn() const { return own && own->isValid(); }
};

// Set up once, before the first broker: Enchant reads the folder's name from the environment.
const EnchantFolders& enchantFolders()
{
    static const EnchantFolders folders = [] {
        EnchantFolders result;
        // Where Enchant would look: $ENCHANT_CONFIG_DIR, else $XDG_CONFIG_HOME/enchant, else
        // ~/.config/enchant.
        result.user = qEnvironmentVariable("ENCHANT_CONFIG_DIR");
        if (result.user.isEmpty()) {
            QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
            if (config.isEmpty() || !QDir::isAbsolutePath(config))
                config = QDir::homePath() + QStringLiteral("/.config");
            result.user = config + QStringLiteral("/enchant");
        }
        result.own = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                     QStringLiteral("/dictaro-enchant-XXXXXX"));
        if (!result.own->isValid()) {
            qWarning("No private folder for the spelling library: %s",
                     qPrintable(result.own->errorString()));
            return result;
        }
        // Dictionaries the user installed there are still found.
        for (const QString& engine :
             {QStringLiteral("hunspell"), QStringLiteral("nuspell"), QStringLiteral("myspell")}) {
            const QFileInfo folder(result.user + u'/' + engine);
            if (folder.isDir())
                QFile::link(folder.absoluteFilePath(), result.own->filePath(engine));
        }
        qputenv("ENCHANT_CONFIG_DIR", QFile::encodeName(result.own->path()));
        return result;
    }();
    return folders;
}

QByteArray utf8ForDictionary(QStringView word)
{
    QString normalized = word.toString();
    normalized.replace(typographicApostrophe, u'\'');
    return normalized.toUtf8();
}

// Copies the user's word list at `from` to `to` for Enchant to read; an unusable one (a pipe, a
// device, too large) is left out and reported.
void copyWordList(const QString& from, const QString& to)
{
    QString reason;
    QByteArray words;
    if (QFileInfo::exists(from) || QFileInfo(from).isSymLink()) {
        const auto read =
            RegularFile::read(from, Speller::maxWordListBytes, Links::Follow, &reason);
        if (read)
            words = *read;
        else
            qWarning("Ignoring the word list %s: %s", qPrintable(from), qPrintable(reason));
    }
    QFile copy(to);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        copy.write(words) != words.size() || !copy.flush())
        qWarning("Could not prepare the word list %s: %s", qPrintable(to),
                 qPrintable(copy.errorString()));
}

// Dictionaries are opened and closed on worker threads, and the spelling engine behind Enchant
// shares tables between its dictionaries that it sets up and frees without a lock: a
// dictionary closing on one thread while another opens crashes. They take turns. The lock is
// never destroyed: a process that ends while a worker still opens a dictionary (the display
// gone) must not free it under that worker.
QMutex& dictionaryTurns()
{
    static auto* mutex = new QMutex;
    return *mutex;
}

} // namespace

Speller::Speller()
{
    enchantFolders();
    m_broker = enchant_broker_init();
}

Speller::~Speller()
{
    const QMutexLocker turn(&dictionaryTurns());
    if (m_dict)
        enchant_broker_free_dict(m_broker, m_dict);
    if (m_broker)
        enchant_broker_free(m_broker);
}

QStringList Speller::languages() const
{
    QStringList tags;
    if (!m_broker)
        return tags;
    enchant_broker_list_dicts(
        m_broker,
        [](const char* tag, const char*, const char*, const char*, void* data) {
            auto* list = static_cast<QStringList*>(data);
            const QString name = QString::fromUtf8(tag);
            if (!list->contains(name))
                list->append(name);
        },
        &tags);
    tags.sort();
    return tags;
}

QString Speller::personalWordList(const QString& language)
{
    return enchantFolders().user + u'/' + language + QStringLiteral(".dic");
}

void Speller::loadWordLists(const QString& language)
{
    const EnchantFolders& folders = enchantFolders();
    for (const QString& suffix : {QStringLiteral(".dic"), QStringLiteral(".exc")})
        copyWordList(folders.user + u'/' + language + suffix,
                     folders.own->filePath(language + suffix));
}

bool Speller::load(const QString& language)
{
    if (m_dict) {
        enchant_broker_free_dict(m_broker, m_dict);
        m_dict = nullptr;
    }
    m_cache.clear(); // another dictionary answers differently
    m_language = language;
    if (!m_broker || language.isEmpty())
        return false;
    const QByteArray tag = language.toUtf8();
    if (!enchant_broker_dict_exists(m_broker, tag.constData()))
        return false;
    if (enchantFolders().hasOwn()) {
        loadWordLists(language);
    } else {
        // Enchant reads the user's lists itself: only when they cannot hold it up.
        for (const QString& suffix : {QStringLiteral(".dic"), QStringLiteral(".exc")}) {
            const QString list = enchantFolders().user + u'/' + language + suffix;
            if (!RegularFile::isMissingOrRegular(list, maxWordListBytes)) {
                qWarning("No spelling: %s is no word list", qPrintable(list));
                return false;
            }
        }
    }
    const QMutexLocker turn(&dictionaryTurns());
    m_dict = enchant_broker_request_dict(m_broker, tag.constData());
    return m_dict != nullptr;
}

bool Speller::isMisspelt(QStringView word) const
{
    if (!m_dict || word.isEmpty())
        return false;
    const auto cached = m_cache.find(word);
    if (cached != m_cache.cend())
        return cached->second;
    const QByteArray utf8 = utf8ForDictionary(word);
    const bool misspelt = enchant_dict_check(m_dict, utf8.constData(), utf8.size()) > 0;
    m_cache.emplace(word.toString(), misspelt);
    return misspelt;
}

QStringList Speller::suggestions(QStringView word, int count) const
{
    QStringList result;
    if (!m_dict || word.isEmpty())
        return result;
    const QByteArray utf8 = utf8ForDictionary(word);
    size_t found = 0;
    char** list = enchant_dict_suggest(m_dict, utf8.constData(), utf8.size(), &found);
    // Written as the word was: with the typographic apostrophe if it had one.
    const bool typographic = word.contains(typographicApostrophe);
    for (size_t i = 0; i < found && result.size() < count; ++i) {
        QString suggestion = QString::fromUtf8(list[i]);
        if (typographic)
            suggestion.replace(u'\'', typographicApostrophe);
        if (!result.contains(suggestion))
            result.append(suggestion);
    }
    if (list)
        enchant_dict_free_string_list(m_dict, list);
    return result;
}

bool Speller::add(QStringView word, QString* error)
{
    if (!m_dict || word.isEmpty())
        return true;
    const QByteArray utf8 = utf8ForDictionary(word);
    // Into Enchant's copy of the list (or the list itself, without a private folder).
    enchant_dict_add(m_dict, utf8.constData(), utf8.size());
    m_cache.clear(); // the word is misspelt no more
    if (!enchantFolders().hasOwn())
        return true;

    const QString path = personalWordList(m_language);
    QString reason;
    QFile file;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        reason = QStringLiteral("the folder cannot be made");
    } else if (RegularFile::openForAppending(file, path, maxWordListBytes, Links::Follow,
                                             &reason)) {
        // A list that does not end its last line gets the line ended first.
        const QByteArray before = RegularFile::read(path, maxWordListBytes).value_or("\n");
        const QByteArray line =
            (before.isEmpty() || before.endsWith('\n') ? QByteArray() : QByteArray("\n")) + utf8 +
            '\n';
        if (file.write(line) == line.size() && file.flush())
            return true;
        reason = file.errorString();
    }
    if (error)
        *error = reason;
    return false;
}

void Speller::ignore(QStringView word)
{
    if (!m_dict || word.isEmpty())
        return;
    const QByteArray utf8 = utf8ForDictionary(word);
    enchant_dict_add_to_session(m_dict, utf8.constData(), utf8.size());
    m_cache.clear(); // nor is this one, until the program ends
}

} // namespace dictaro
