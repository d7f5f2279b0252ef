#include "AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using dictaro::AppSettings;

class tst_AppSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaults_areReadWithoutWriting();
    void storedValue_data();
    void storedValue();
    void assignment_writesAtOnceAndNotifiesOnlyOnChange();
    void assignment_refusesNonFinite_data();
    void assignment_refusesNonFinite();
    void chooseLanguage_writesOrRemovesList();
    void startupLanguages_data();
    void startupLanguages();

private:
    void writeSettingsFile(const QByteArray& lines) const;
    QByteArray settingsFileContents() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_settingsFile;
};

// Every test starts from its own empty settings folder and a fresh shared instance.
void tst_AppSettings::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_dir->filePath("system"));
    m_settingsFile =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Dictaro", "Dictaro").fileName();
    QVERIFY(m_settingsFile.startsWith(m_dir->path()));
    AppSettings::resetSharedForTesting();
}

void tst_AppSettings::cleanup()
{
    AppSettings::resetSharedForTesting();
    m_dir.reset();
}

void tst_AppSettings::writeSettingsFile(const QByteArray& lines) const
{
    QVERIFY(QDir().mkpath(QFileInfo(m_settingsFile).path()));
    QFile file(m_settingsFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\n" + lines + "\n");
}

QByteArray tst_AppSettings::settingsFileContents() const
{
    QFile file(m_settingsFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_AppSettings::defaults_areReadWithoutWriting()
{
    QCOMPARE(AppSettings::shared().autoRewindSeconds(), 3.0);
    QCOMPARE(AppSettings::shared().skipSeconds(), 5.0);
    QCOMPARE(AppSettings::languageOverride(), QStringLiteral("system"));
    QCOMPARE(AppSettings::startupLanguages(), QLocale::system().uiLanguages());
    QVERIFY(!QFileInfo::exists(m_settingsFile));
}

// The settings file on disk keeps every value as text.
void tst_AppSettings::storedValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("number"); // 0 for "not a number"

    QTest::newRow("integer") << QByteArray("7") << 7.0;
    QTest::newRow("fraction") << QByteArray("2.5") << 2.5;
    QTest::newRow("word") << QByteArray("abc") << 0.0;
    QTest::newRow("decimal comma") << QByteArray("\"2,5\"") << 0.0;
    QTest::newRow("bool") << QByteArray("true") << 0.0;
    QTest::newRow("list") << QByteArray("1, 2") << 0.0;
    QTest::newRow("nan") << QByteArray("nan") << 0.0;
}

void tst_AppSettings::storedValue()
{
    QFETCH(QByteArray, text);
    QFETCH(double, number);
    writeSettingsFile("autoRewindSeconds=" + text + "\nskipSeconds=" + text);
    const QByteArray before = settingsFileContents();

    QCOMPARE(AppSettings::shared().autoRewindSeconds(), number != 0 ? number : 3.0);
    QCOMPARE(AppSettings::shared().skipSeconds(), number != 0 ? number : 5.0);
    QCOMPARE(settingsFileContents(), before);
}

void tst_AppSettings::assignment_writesAtOnceAndNotifiesOnlyOnChange()
{
    AppSettings& settings = AppSettings::shared();
    QSignalSpy skipSpy(&settings, &AppSettings::skipSecondsChanged);
    QSignalSpy rewindSpy(&settings, &AppSettings::autoRewindSecondsChanged);

    settings.setSkipSeconds(5.0);
    QCOMPARE(skipSpy.count(), 0);
    QVERIFY(settingsFileContents().contains("skipSeconds=5\n"));

    settings.setSkipSeconds(7.5);
    settings.setSkipSeconds(7.5);
    QCOMPARE(skipSpy.count(), 1);
    QCOMPARE(skipSpy.at(0).at(0).toDouble(), 7.5);
    QVERIFY(settingsFileContents().contains("skipSeconds=7.5\n"));

    settings.setAutoRewindSeconds(0.0);
    QCOMPARE(rewindSpy.count(), 1);
    QCOMPARE(skipSpy.count(), 1);

    AppSettings::resetSharedForTesting();
    QCOMPARE(AppSettings::shared().skipSeconds(), 7.5);
    QCOMPARE(AppSettings::shared().autoRewindSeconds(), 0.0);
}

void tst_AppSettings::assignment_refusesNonFinite_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
}

void tst_AppSettings::assignment_refusesNonFinite()
{
    QFETCH(double, value);
    AppSettings& settings = AppSettings::shared();
    QSignalSpy skipSpy(&settings, &AppSettings::skipSecondsChanged);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("non-finite"));
    settings.setSkipSeconds(value);
    QCOMPARE(settings.skipSeconds(), 5.0);
    QCOMPARE(skipSpy.count(), 0);
    QVERIFY(!QFileInfo::exists(m_settingsFile));
}

void tst_AppSettings::chooseLanguage_writesOrRemovesList()
{
    QSettings stored(m_settingsFile, QSettings::IniFormat);

    QVERIFY(AppSettings::chooseLanguage("tr"));
    QCOMPARE(AppSettings::languageOverride(), QStringLiteral("tr"));
    QCOMPARE(stored.value("AppleLanguages").toStringList(), QStringList{"tr"});
    QVERIFY(settingsFileContents().contains("AppleLanguages=tr\n"));
    QCOMPARE(AppSettings::startupLanguages(), QStringList{"tr"});

    QVERIFY(AppSettings::chooseLanguage("system"));
    QCOMPARE(stored.value("languageOverride").toString(), QStringLiteral("system"));
    QVERIFY(!stored.contains("AppleLanguages"));
    QVERIFY(!settingsFileContents().contains("AppleLanguages"));

    const QByteArray before = settingsFileContents();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unknown"));
    QVERIFY(!AppSettings::chooseLanguage("de"));
    QCOMPARE(settingsFileContents(), before);
}

void tst_AppSettings::startupLanguages_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("one") << QByteArray("AppleLanguages=tr") << QStringList{"tr"};
    QTest::newRow("first wins") << QByteArray("AppleLanguages=en-GB, tr") << QStringList{"en-GB"};
    QTest::newRow("empty") << QByteArray("AppleLanguages=") << QLocale::system().uiLanguages();
}

void tst_AppSettings::startupLanguages()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, expected);
    writeSettingsFile(line);
    QCOMPARE(AppSettings::startupLanguages(), expected);
}

QTEST_GUILESS_MAIN(tst_AppSettings)
#include "tst_AppSettings.moc"
