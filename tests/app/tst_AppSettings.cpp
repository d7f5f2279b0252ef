// The settings file and what the dialogs remember, over a temporary home for each test.
#include "AppSettings.h"
#include "DialogFolders.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

using namespace dictaro;

class tst_AppSettings : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    QString m_file;
    QString path(const QString& relative) const { return m_home->filePath(relative); }

    void writeSettingsFile(const QByteArray& lines) const
    {
        QVERIFY(test::writeFile(m_file, "[General]\n" + lines + "\n"));
    }
    QByteArray settingsFile() const { return test::readFile(m_file); }

private slots:
    void init()
    {
        m_home.emplace();
        m_file = m_home->settingsFile();
    }

    // The settings file keeps values as text; what is not a finite number in C notation is
    // ignored and left alone. Without a file the defaults are read and nothing is written.
    void storedValue_data()
    {
        QTest::addColumn<QByteArray>("text"); // null: no settings file
        QTest::addColumn<double>("number");   // 0 for "not a number"
        QTest::newRow("no file") << QByteArray() << 0.0;
        QTest::newRow("fraction") << QByteArray("2.5") << 2.5;
        QTest::newRow("word") << QByteArray("abc") << 0.0;
        QTest::newRow("decimal comma") << QByteArray("\"2,5\"") << 0.0;
        QTest::newRow("nan") << QByteArray("nan") << 0.0;
    }

    void storedValue()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, number);
        if (!text.isNull())
            writeSettingsFile("autoRewindSeconds=" + text + "\nskipSeconds=" + text);
        const QByteArray before = settingsFile();
        QCOMPARE(AppSettings::shared().autoRewindSeconds(), number != 0 ? number : 3.0);
        QCOMPARE(AppSettings::shared().skipSeconds(), number != 0 ? number : 5.0);
        QCOMPARE(settingsFile(), before);
        QCOMPARE(QFileInfo::exists(m_file), !text.isNull());
    }

    // The defaults until the user's own list, which may be empty, is stored: usable snippets
    // only, each abbreviation once; restoring forgets the list.
    void snippets_userListOrDefaults()
    {
        AppSettings& settings = AppSettings::shared();
        QCOMPARE(settings.snippets(), AppSettings::defaultSnippets());
        QSignalSpy changed(&settings, &AppSettings::snippetsChanged);
        settings.setSnippets({{"/a", "A"}, {"/a", "B"}, {"/b c", "x"}, {"/d", ""}});
        AppSettings::resetSharedForTesting();
        QCOMPARE(AppSettings::shared().snippets(), (QList<Snippet>{{"/a", "A"}}));
        AppSettings::shared().setSnippets({});
        AppSettings::resetSharedForTesting();
        QVERIFY(AppSettings::shared().snippets().isEmpty());
        AppSettings::shared().restoreDefaultSnippets();
        AppSettings::resetSharedForTesting();
        QCOMPARE(AppSettings::shared().snippets(), AppSettings::defaultSnippets());
        QCOMPARE(changed.count(), 1);
    }

    // Of a longer list of languages written elsewhere, the first is used at the next start (the
    // settings window's choice: tst_SettingsView).
    void startupLanguages_takeTheFirstOfAList()
    {
        writeSettingsFile("AppleLanguages=en-GB, tr");
        QCOMPARE(AppSettings::startupLanguages(), QStringList{"en-GB"});
    }

    // A settings file (the program's or the organisation's) that is a pipe is neither read nor
    // replaced: the defaults apply and changes last until the program quits. (Links to devices
    // and the like are RegularFile's to refuse; see tst_RegularFile.)
    void settingsFileThatIsNoFile_data()
    {
        QTest::addColumn<bool>("organisation");
        QTest::newRow("program's file") << false;
        QTest::newRow("organisation's file") << true;
    }
    void settingsFileThatIsNoFile()
    {
        QFETCH(bool, organisation);
        const QString file =
            organisation ? QFileInfo(m_file).absolutePath() + QStringLiteral(".ini") : m_file;
        QVERIFY(QDir().mkpath(QFileInfo(m_file).path()));
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        AppSettings& settings = AppSettings::shared();
        QVERIFY(!AppSettings::windowPlacement());
        QCOMPARE(AppSettings::startupLanguages(), QLocale::system().uiLanguages());
        const double skip = 7.0 + QTest::currentDataTag()[0];
        settings.setSkipSeconds(skip);
        settings.setLastOpenFolder(QStringLiteral("/music"));
        QCOMPARE(AppSettings::lastOpenFolder(), QStringLiteral("/music"));
        QVERIFY(!AppSettings::chooseLanguage(QStringLiteral("system"))); // not kept for next time
        AppSettings::resetSharedForTesting();
        QCOMPARE(AppSettings::shared().skipSeconds(), skip);
        QVERIFY(!QFileInfo(file).isFile());
    }

    void nearestExistingFolder_data()
    {
        QTest::addColumn<QString>("given"); // relative to the home unless absolute
        QTest::addColumn<QString>("folder");
        for (const auto& [given, folder] : {std::pair{"audio/2024/talk.mp3", "audio/2024"},
                                            {"audio/2023/may/talk.mp3", "audio"},
                                            {"audio/2024", "audio/2024"},
                                            {"=talk.mp3", "~"},
                                            {"=", "~"}})
            QTest::newRow(given) << QString(given) << QString(folder);
    }
    void nearestExistingFolder()
    {
        QFETCH(QString, given);
        QFETCH(QString, folder);
        QVERIFY(QDir().mkpath(path("audio/2024")));
        given = given.startsWith('=') ? given.mid(1) : path(given);
        QCOMPARE(DialogFolders::nearestExistingFolder(given),
                 folder == "~" ? QDir::homePath() : path(folder));
    }

    // Each dialog remembers its own folder; one that went away gives way to the default.
    void dialogFolders_rememberedUntilTheyGo()
    {
        QVERIFY(QDir().mkpath(path("audio/2024")));
        QCOMPARE(DialogFolders::openFolder(), QDir::homePath());
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(documents.startsWith(path("")) && QDir().mkpath(documents));
        QCOMPARE(DialogFolders::exportFolder(), documents);
        DialogFolders::rememberOpenedFile(path("audio/2024/talk.mp3"));
        DialogFolders::rememberExportedFile(path("audio/talk.txt"));
        QCOMPARE(DialogFolders::openFolder(), path("audio/2024"));
        QCOMPARE(DialogFolders::exportFolder(), path("audio"));
        QVERIFY(QDir(path("audio/2024")).removeRecursively());
        QCOMPARE(DialogFolders::openFolder(), QDir::homePath());
        QCOMPARE(DialogFolders::exportFolder(), path("audio"));
    }
};

QTEST_GUILESS_MAIN(tst_AppSettings)
#include "tst_AppSettings.moc"
