#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace dictaro {

// Every fixed interface text is looked up here by its English wording, in the one context
// "Dictaro": Localization::tr("Back"). Without a translation the English text is returned.
//
// Write every lookup as Localization::tr("literal") (or dictaro::Localization::tr) in a file that
// includes this header, never a bare tr(): lupdate files the text under the context declared
// below only when it sees this class; a QObject's own tr() files it under that class instead.
class Localization
{
    Q_DECLARE_TR_FUNCTIONS(Dictaro)

public:
    // The interface language, among English (the texts as written) and the shipped
    // translations, that best serves the preferred languages (most preferred first, as
    // "tr-TR", "tr_TR" or "tr"); English when none of them is available.
    static QString resolveLanguage(const QStringList& preferredLanguages);

    // Installs on the running application the translators for resolveLanguage(): our own texts
    // and Qt's texts of the standard dialogs. Replaces what an earlier call installed; English
    // installs none. Returns the language in use. Call before any window is created.
    static QString install(const QStringList& preferredLanguages);
    // The language the last install() put in place ("en" before any).
    static QString currentLanguage();
};

} // namespace dictaro
