// The command line (`dictaro [FILE]`, --help, --version, usage errors) and the check every chosen
// file goes through before it is opened.
#include "AudioFileCheck.h"
#include "CommandLine.h"
#include "TestFiles.h"

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
        const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                            const char* output, const char* file = "") {
            QTest::newRow(name) << arguments << exitCode << QString(output) << QString(file);
        };
        row("nothing", {}, -1, "");
        row("relative file", {"a/../talk.mp3"}, -1, "", "talk.mp3");
        row("file URL", {"file:///tmp/x%20y.wav"}, -1, "", "/tmp/x y.wav");
        row("dash file", {"--", "-odd.mp3"}, -1, "", "-odd.mp3");
        row("help", {"--help"}, 0, "Usage:");
        row("version", {"--version"}, 0, "dictaro " DICTARO_VERSION "\n");
        row("unknown option", {"--frobnicate"}, 2, "--help");
        row("two files", {"a.mp3", "b.mp3"}, 2, "one file");
        row("remote URL", {"file://host/a.mp3"}, 2, "local");
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
        for (const auto& [name, problem] : {std::pair{"talk.MP3", ""},
                                            {"gone.mp3", "could not be found"},
                                            {"folder.wav", "is not a file"},
                                            {"notes.txt", "not an audio file"},
                                            {"/dev/null", "is not a file"},
                                            {"zero.mp3", "is not a file"}})
            QTest::newRow(name) << QString(name) << QString(problem);
    }
    void fileProblem()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        for (const char* file : {"talk.MP3", "notes.txt"})
            QVERIFY(test::writeFile(m_dir.filePath(file), {}));
        QVERIFY(QDir(m_dir.path()).mkpath("folder.wav"));
        QFile::link("/dev/zero", m_dir.filePath("zero.mp3")); // a link to a device
        const auto found = AudioFileCheck::problem(QDir(m_dir.path()).absoluteFilePath(name));
        QCOMPARE(found.has_value(), !problem.isEmpty());
        if (found)
            QVERIFY2(found->contains(problem), qPrintable(*found));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
