// Where the open, export and Locate File dialogs start, across runs and vanished folders.
#include "DialogFolders.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;

class tst_DialogFolders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("config"));
        QVERIFY(QDir().mkpath(path("audio/2024")));
    }

    void nearestExistingFolder_data()
    {
        QTest::addColumn<QString>("given"); // relative to the temporary folder unless absolute
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
        given = given.startsWith('=') ? given.mid(1) : path(given);
        QCOMPARE(DialogFolders::nearestExistingFolder(given),
                 folder == "~" ? QDir::homePath() : path(folder));
    }

    // Each dialog remembers its own folder; one that went away gives way to the default.
    void rememberedFolders()
    {
        QCOMPARE(DialogFolders::openFolder(), QDir::homePath());
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(DialogFolders::exportFolder(),
                 QDir(documents).exists() ? documents : QDir::homePath());

        DialogFolders::rememberOpenedFile(path("audio/2024/talk.mp3"));
        DialogFolders::rememberExportedFile(path("audio/talk.txt"));
        QCOMPARE(DialogFolders::openFolder(), path("audio/2024"));
        QCOMPARE(DialogFolders::exportFolder(), path("audio"));

        QVERIFY(QDir(path("audio/2024")).removeRecursively());
        QCOMPARE(DialogFolders::openFolder(), QDir::homePath());
        QCOMPARE(DialogFolders::exportFolder(), path("audio"));
    }
};

QTEST_GUILESS_MAIN(tst_DialogFolders)
#include "tst_DialogFolders.moc"
