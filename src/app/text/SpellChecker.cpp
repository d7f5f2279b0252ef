#include "SpellChecker.h"

#include "AppSettings.h"

#include <QLocale>
#include <QTextBoundaryFinder>
#include <QtDebug>

#include <enchant.h>

#include <algorithm>

namespace dictaro {

namespace {

constexpr QChar typographicApostrophe = u'\u2019';

// The window of text one boundary finder sees: long enough to be cheap per word, short enough
// that a text without line breaks costs no more per call than one with them.
constexpr qsizetype windowSize = 2048;

bool startsWithCaseless(QStringView text, QLatin1StringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// A whitespace-separated piece of text that is a web or e-mail address as a whole.
bool isAddress(QStringView token)
{
    while (!token.isEmpty() && QStringView(u"(<[\"'").contains(token.front()))
        token = token.mid(1);
    if (token.contains(u"://") || startsWithCaseless(token, QLatin1StringView("www.")) ||
        startsWithCaseless(token, QLatin1StringView("mailto:")))
        return true;
    const qsizetype at = token.indexOf(u'@');
    return at >= 0; // e-mail addresses, and handles such as @name, are no words to check
}

// A word worth checking: has a letter, and no digit or inner dot (numbers, "3rd", "e.g",
// domain names) or underscore.
bool isCheckable(QStringView word)
{
    bool hasLetter = false;
    for (const QChar ch : word) {
        if (ch.isNumber() || ch == u'.' || ch == u'_')
            return false;
        hasLetter = hasLetter || ch.isLetter();
    }
    return hasLetter;
}

bool isApostrophe(QChar ch)
{
    return ch == u'\'' || ch == typographicApostrophe;
}

// The word of a piece of Latin letters with punctuation only around it or apostrophes inside
// ("word,", "(don't", "Ankara'da."): its bounds as the boundary finder would give them, found
// without it. Empty for any other piece.
std::pair<qsizetype, qsizetype> simpleWord(QStringView token)
{
    qsizetype start = 0;
    qsizetype end = token.size();
    // Latin punctuation, and quotes and dashes of the general punctuation block.
    const auto isPunctuation = [](QChar ch) {
        return !ch.isLetterOrNumber() &&
               (ch.unicode() < 0x250 || (ch.unicode() >= 0x2000 && ch.unicode() < 0x2070));
    };
    while (start < end && isPunctuation(token.at(start)))
        ++start;
    while (end > start && isPunctuation(token.at(end - 1)))
        --end;
    for (qsizetype i = start; i < end; ++i) {
        const QChar ch = token.at(i);
        if (ch.unicode() >= 0x250)
            return {};
        if (ch.isLetter())
            continue;
        if (!isApostrophe(ch) || i + 1 >= end || !token.at(i - 1).isLetter() ||
            !token.at(i + 1).isLetter())
            return {};
    }
    return {start, end};
}

// Calls `visit(start, end)` for each checkable word of text[from, to), which starts and ends
// at whitespace (or the ends of the text). When `visit` returns false, stops at the end of that
// whitespace-separated piece and returns where it stopped; otherwise returns `to`.
template <typename Visit>
qsizetype forEachWord(QStringView text, qsizetype from, qsizetype to, Visit&& visit)
{
    bool goOn = true;
    qsizetype tokenStart = from;
    while (tokenStart < to) {
        while (tokenStart < to && text.at(tokenStart).isSpace())
            ++tokenStart;
        qsizetype tokenEnd = tokenStart;
        while (tokenEnd < to && !text.at(tokenEnd).isSpace())
            ++tokenEnd;
        if (tokenEnd == tokenStart)
            break;
        const QStringView token = text.sliced(tokenStart, tokenEnd - tokenStart);
        const auto [simpleStart, simpleEnd] = simpleWord(token);
        if (simpleEnd > simpleStart) {
            if (!visit(tokenStart + simpleStart, tokenStart + simpleEnd))
                goOn = false;
        } else if (!isAddress(token)) {
            QTextBoundaryFinder finder(QTextBoundaryFinder::Word, token.data(), token.size());
            qsizetype wordStart = -1;
            for (qsizetype p = 0; p >= 0; p = finder.toNextBoundary()) {
                const auto reasons = finder.boundaryReasons();
                if (wordStart >= 0 && reasons.testFlag(QTextBoundaryFinder::EndOfItem)) {
                    const QStringView word = token.sliced(wordStart, p - wordStart);
                    if (isCheckable(word) && !visit(tokenStart + wordStart, tokenStart + p))
                        goOn = false;
                    wordStart = -1;
                }
                if (reasons.testFlag(QTextBoundaryFinder::StartOfItem))
                    wordStart = p;
            }
        }
        tokenStart = tokenEnd;
        if (!goOn)
            return tokenEnd;
    }
    return to;
}

// Where a window starting at `from` ends: at whitespace after windowSize units, or at the end.
qsizetype windowEnd(QStringView text, qsizetype from)
{
    qsizetype end = std::min(text.size(), from + windowSize);
    while (end < text.size() && !text.at(end).isSpace())
        ++end;
    return end;
}

QByteArray utf8ForDictionary(QStringView word)
{
    QString normalized = word.toString();
    normalized.replace(typographicApostrophe, u'\'');
    return normalized.toUtf8();
}

} // namespace

struct SpellChecker::Broker
{
    Broker() : broker(enchant_broker_init()) {}
    ~Broker()
    {
        if (broker)
            enchant_broker_free(broker);
    }
    Broker(const Broker&) = delete;
    Broker& operator=(const Broker&) = delete;

    QStringList languages() const
    {
        QStringList tags;
        if (!broker)
            return tags;
        enchant_broker_list_dicts(
            broker,
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

    EnchantBroker* broker;
};

SpellChecker::SpellChecker(AppSettings& settings, const QString& interfaceLanguage, QObject* parent)
    : QObject(parent), m_settings(settings), m_interfaceLanguage(interfaceLanguage),
      m_broker(std::make_unique<Broker>())
{
    m_available = m_broker->languages();
    m_enabled = m_settings.checkSpellingWhileTyping();
    loadDictionary();
    connect(&m_settings, &AppSettings::spellingLanguageChanged, this,
            &SpellChecker::followSettings);
    connect(&m_settings, &AppSettings::checkSpellingWhileTypingChanged, this,
            &SpellChecker::followSettings);
}

SpellChecker::~SpellChecker()
{
    if (m_dict)
        enchant_broker_free_dict(m_broker->broker, m_dict);
}

QStringList SpellChecker::installedLanguages()
{
    return Broker().languages();
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
    if (language == m_language && (m_dict || !m_broker->broker))
        return;
    if (m_dict) {
        enchant_broker_free_dict(m_broker->broker, m_dict);
        m_dict = nullptr;
    }
    m_cache.clear();
    const bool changed = language != m_language;
    m_language = language;
    if (m_broker->broker && !language.isEmpty() &&
        enchant_broker_dict_exists(m_broker->broker, language.toUtf8().constData()))
        m_dict = enchant_broker_request_dict(m_broker->broker, language.toUtf8().constData());
    if (!m_dict)
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

bool SpellChecker::isMisspelt(QStringView word) const
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

QStringList SpellChecker::suggestions(QStringView word) const
{
    QStringList result;
    if (!m_dict || word.isEmpty())
        return result;
    const QByteArray utf8 = utf8ForDictionary(word);
    size_t count = 0;
    char** list = enchant_dict_suggest(m_dict, utf8.constData(), utf8.size(), &count);
    // Written as the word was: with the typographic apostrophe if it had one.
    const bool typographic = word.contains(typographicApostrophe);
    for (size_t i = 0; i < count && result.size() < maxSuggestions; ++i) {
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

void SpellChecker::addToDictionary(QStringView word)
{
    if (!m_dict || word.isEmpty())
        return;
    const QByteArray utf8 = utf8ForDictionary(word);
    enchant_dict_add(m_dict, utf8.constData(), utf8.size());
    m_cache.clear();
    emit misspellingsChanged();
}

void SpellChecker::ignore(QStringView word)
{
    if (!m_dict || word.isEmpty())
        return;
    const QByteArray utf8 = utf8ForDictionary(word);
    enchant_dict_add_to_session(m_dict, utf8.constData(), utf8.size());
    m_cache.clear();
    emit misspellingsChanged();
}

qsizetype SpellChecker::findMisspellings(QStringView text, qsizetype from, QList<Range>& found,
                                         const QDeadlineTimer& deadline) const
{
    if (!m_dict)
        return text.size();
    qsizetype position = std::clamp(from, qsizetype(0), text.size());
    while (position < text.size()) {
        position = forEachWord(text, position, windowEnd(text, position),
                               [&](qsizetype start, qsizetype stop) {
                                   if (isMisspelt(text.sliced(start, stop - start)))
                                       found.append({start, stop});
                                   return !deadline.hasExpired();
                               });
        if (deadline.hasExpired())
            break;
    }
    return position;
}

SpellChecker::Range SpellChecker::checkableWordAt(QStringView text, qsizetype position)
{
    // The whitespace-separated piece around the position decides (an address is one piece).
    qsizetype from = std::clamp(position, qsizetype(0), text.size());
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    qsizetype to = std::clamp(position, qsizetype(0), text.size());
    while (to < text.size() && !text.at(to).isSpace())
        ++to;
    Range result;
    forEachWord(text, from, to, [&](qsizetype start, qsizetype end) {
        if (position >= start && position <= end && result.start == result.end)
            result = {start, end};
        return true;
    });
    return result;
}

} // namespace dictaro
