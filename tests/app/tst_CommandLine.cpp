// The command line (`dictaro [FILE]`, --help, --version, usage errors) and the check every chosen
// file goes through before it is opened.
#include "AudioFileCheck.h"
#include "CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;

class tst_CommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the program starts
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("file"); // relative to the working folder
        QTest::newRow("nothing") << QStringList{} << -1 << ""
                                 << "";
        QTest::newRow("relative file") << QStringList{"a/../talk.mp3"} << -1 << ""
                                       << "talk.mp3";
        QTest::newRow("file URL") << QStringList{"file:///tmp/x%20y.wav"} << -1 << ""
                                  << "/tmp/x y.wav";
        QTest::newRow("dash file") << QStringList{"--", "-odd.mp3"} << -1 << ""
                                   << "-odd.mp3";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage:"
                              << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "dictaro " DICTARO_VERSION "\n"
                                 << "";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << "--help"
                                        << "";
        QTest::newRow("two files") << QStringList{"a.mp3", "b.mp3"} << 2 << "one file"
                                   << "";
        QTest::newRow("remote URL") << QStringList{"file://host/a.mp3"} << 2 << "local"
                                    << "";
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, file);
        arguments.prepend(QStringLiteral("dictaro"));
        const CommandLine line = CommandLine::parse(arguments, m_dir.path());
        QCOMPARE(line.exits(), exitCode >= 0);
        if (line.exits())
            QCOMPARE(line.exitCode(), exitCode);
        QVERIFY2(line.output().contains(output), qPrintable(line.output()));
        QCOMPARE(line.file(), file.isEmpty() ? QString() : QDir(m_dir.path()).filePath(file));
    }

    // The same reasons whichever way the file came; nothing for a file that can be opened.
    void fileProblem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("audio") << "talk.MP3"
                               << "";
        QTest::newRow("missing") << "gone.mp3"
                                 << "could not be found";
        QTest::newRow("folder") << "folder.wav"
                                << "is not a file";
        QTest::newRow("other type") << "notes.txt"
                                    << "not an audio file";
        QTest::newRow("no extension") << "talk"
                                      << "not an audio file";
        QTest::newRow("device") << "/dev/null"
                                << "is not a file";
    }
    void fileProblem()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        for (const char* file : {"talk.MP3", "notes.txt", "talk"}) {
            QFile f(m_dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(m_dir.path()).mkpath("folder.wav"));
        const auto found = AudioFileCheck::problem(QDir(m_dir.path()).absoluteFilePath(name));
        QCOMPARE(found.has_value(), !problem.isEmpty());
        if (found)
            QVERIFY2(found->contains(problem), qPrintable(*found));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
