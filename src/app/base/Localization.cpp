#include "Localization.h"

#include <QFile>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QtDebug>

#include <algorithm>

namespace dictaro {

namespace {

const QString sourceLanguage = QStringLiteral("en");

// Where the build embeds our compiled translations (qt_add_translations in src/app/base).
QString catalogPath(const QString& language)
{
    return QStringLiteral(":/i18n/dictaro_%1.qm").arg(language);
}

// A language code is two or three ASCII letters; anything else (and so any path) is refused.
bool isLanguageCode(const QString& code)
{
    return (code.size() == 2 || code.size() == 3) &&
           std::all_of(code.cbegin(), code.cend(), [](QChar c) { return c >= u'a' && c <= u'z'; });
}

QString& installedLanguage()
{
    static QString language = sourceLanguage;
    return language;
}

// The translators install() put in place; the application owns them.
QList<QPointer<QTranslator>>& installedTranslators()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

bool installTranslator(const QString& fileName, const QString& directory = {})
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(fileName, directory) && QCoreApplication::installTranslator(translator)) {
        installedTranslators().append(translator);
        return true;
    }
    delete translator;
    return false;
}

} // namespace

QString Localization::resolveLanguage(const QStringList& preferredLanguages)
{
    for (const QString& tag : preferredLanguages) {
        // Texts are translated per language, not per region: "tr-TR" asks for "tr".
        const QString language = tag.trimmed().section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (language == sourceLanguage)
            return sourceLanguage;
        if (isLanguageCode(language) && QFile::exists(catalogPath(language)))
            return language;
    }
    return sourceLanguage;
}

// Qt's Turkish texts name the Escape key "Çıkış" (exit) in menus and tooltips; transcribers
// know it by the label on the key. Listed here so that lupdate keeps the correction in the
// catalogue.
[[maybe_unused]] static const char* const qtTextCorrections[] = {
    QT_TRANSLATE_NOOP("QShortcut", "Esc")};

QString Localization::install(const QStringList& preferredLanguages)
{
    for (const QPointer<QTranslator>& translator : std::as_const(installedTranslators())) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    installedTranslators().clear();
    installedLanguage() = sourceLanguage;

    const QString language = resolveLanguage(preferredLanguages);
    if (language == sourceLanguage)
        return sourceLanguage;
    // The standard dialogs (file dialogs, message boxes) in the same language. Missing Qt
    // translations are not fatal: those few texts stay English.
    if (!installTranslator(QStringLiteral("qtbase_") + language,
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qWarning("Qt's own translations for %s were not found", qPrintable(language));
    // Ours last, so that it is asked first and can correct a few of Qt's texts.
    if (!installTranslator(catalogPath(language))) {
        qWarning("Could not load the interface texts for %s", qPrintable(language));
        return sourceLanguage;
    }
    installedLanguage() = language;
    return language;
}

QString Localization::currentLanguage()
{
    return installedLanguage();
}

} // namespace dictaro
