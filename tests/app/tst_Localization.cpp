#include "Localization.h"

#include <QTest>

using dictaro::Localization;

class tst_Localization : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Localization::install({"en"}); }

    // English is the fallback for every text and every unavailable language.
    void lookup_followsInstalledLanguage()
    {
        const char* loadError = "This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC.";
        QCOMPARE(Localization::install({"tr-TR"}), QStringLiteral("tr"));
        QCOMPARE(Localization::tr(loadError),
                 QStringLiteral("Bu dosya oynatılamıyor. MP3, M4A, WAV, AIFF veya FLAC kullanın."));
        QCOMPARE(Localization::tr("No such text"), QStringLiteral("No such text"));
        // The settings window fills this format with printf: the one conversion must survive.
        QCOMPARE(QString::asprintf(Localization::tr("%.0f seconds").toUtf8().constData(), 3.0),
                 QStringLiteral("3 saniye"));

        QCOMPARE(Localization::install({"de-DE"}), QStringLiteral("en"));
        QCOMPARE(Localization::tr(loadError), QString::fromUtf8(loadError));
    }

    // The first preferred language that is available, in any of its spellings.
    void resolveLanguage_picksTheFirstAvailable()
    {
        QCOMPARE(Localization::resolveLanguage({"TR_tr"}), QStringLiteral("tr"));
        QCOMPARE(Localization::resolveLanguage({"en-US", "tr"}), QStringLiteral("en"));
        QCOMPARE(Localization::resolveLanguage({"de-DE", "tr-TR", "en"}), QStringLiteral("tr"));
    }
};

QTEST_GUILESS_MAIN(tst_Localization)
#include "tst_Localization.moc"
