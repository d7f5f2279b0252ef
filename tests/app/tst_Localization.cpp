#include "Localization.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTest>

using dictaro::Localization;

class tst_Localization : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Localization::install({"en"}); }

    void lookup_followsInstalledLanguage();
    void install_translatesStandardDialogs();
    void resolveLanguage_data();
    void resolveLanguage();
};

void tst_Localization::lookup_followsInstalledLanguage()
{
    const char* loadError = "This file can't be played. Use MP3, M4A, WAV, AIFF or FLAC.";
    QCOMPARE(Localization::tr(loadError), QString::fromUtf8(loadError));

    QCOMPARE(Localization::install({"tr-TR"}), QStringLiteral("tr"));
    QCOMPARE(Localization::tr(loadError),
             QStringLiteral("Bu dosya oynatılamıyor. MP3, M4A, WAV, AIFF veya FLAC kullanın."));
    QCOMPARE(Localization::tr("Türkçe"), QStringLiteral("Türkçe"));
    QCOMPARE(Localization::tr("No such text"), QStringLiteral("No such text"));
    // The settings window fills this format with printf: the one conversion must survive.
    QCOMPARE(QString::asprintf(Localization::tr("%.0f seconds").toUtf8().constData(), 3.0),
             QStringLiteral("3 saniye"));

    QCOMPARE(Localization::install({"de-DE"}), QStringLiteral("en"));
    QCOMPARE(Localization::tr(loadError), QString::fromUtf8(loadError));
}

void tst_Localization::install_translatesStandardDialogs()
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_tr.qm"))
        QSKIP("Qt's Turkish translations are not installed");

    Localization::install({"tr"});
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("İptal"));
    Localization::install({"en"});
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

void tst_Localization::resolveLanguage_data()
{
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<QString>("expected");

    QTest::newRow("posix form") << QStringList{"TR_tr"} << "tr";
    QTest::newRow("english first") << QStringList{"en-US", "tr"} << "en";
    QTest::newRow("unavailable skipped") << QStringList{"de-DE", "tr-TR", "en"} << "tr";
    QTest::newRow("none available") << QStringList{"de", "C"} << "en";
    QTest::newRow("nothing") << QStringList{} << "en";
    QTest::newRow("path") << QStringList{"../tr"} << "en";
}

void tst_Localization::resolveLanguage()
{
    QFETCH(QStringList, preferred);
    QFETCH(QString, expected);
    QCOMPARE(Localization::resolveLanguage(preferred), expected);
}

QTEST_GUILESS_MAIN(tst_Localization)
#include "tst_Localization.moc"
