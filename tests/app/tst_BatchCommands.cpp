#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include "BatchCommands.h"
#include "ProjectStore.h"
#include "TestFiles.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

const QString speech = QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/speech.wav");

struct Outcome
{
    int exitCode;
    QString out;
    QString err;
};

} // namespace

class tst_BatchCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // The command line over the projects of `base` (the test's folder unless told), run there.
    Outcome run(const QStringList& arguments, QString base = {})
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        base = base.isEmpty() ? m_dir.path() : base;
        const int code = BatchCommands::run(QStringList{u"dictaro"_s} + arguments,
                                            base + u"/projects"_s, base, outStream, errStream);
        return {code, out, err};
    }
    // The words of a command line without quoting.
    static QStringList words(const char* line)
    {
        return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
    }
    Project stored(const Outcome& made)
    {
        return ProjectStore(m_dir.filePath(u"projects"_s))
            .load(QUuid::fromString(made.out.trimmed()));
    }

private slots:
    void import_makesAProjectOrRefuses()
    {
        QVERIFY(test::writeFile(m_dir.filePath(u"in.srt"_s),
                                "1\n00:00:01,000 --> 00:00:02,000\nFirst"));
        const Outcome made = run(words("import in.srt --audio") << speech);
        QCOMPARE(made.exitCode, 0);
        QCOMPARE(made.err, QString());
        const Project project = stored(made);
        QCOMPARE(project.name, u"speech"_s);
        QCOMPARE(project.mediaFileName, u"speech.wav"_s);
        QCOMPARE(project.transcript, u"[00:00:01] First"_s);

        QVERIFY(test::writeFile(m_dir.filePath(u"bad.srt"_s),
                                "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\nnot a time\n"));
        const qsizetype before = ProjectStore(m_dir.filePath(u"projects"_s)).loadAll().size();
        Outcome bad = run(words("import bad.srt --audio") << speech);
        QCOMPARE(bad.exitCode, 1);
        QVERIFY2(bad.err.startsWith(u"dictaro import: "_s) && bad.err.contains(u"Line 6"_s) &&
                     bad.err.count(u'\n') == 1,
                 qPrintable(bad.err));
        QCOMPARE(bad.out, QString());
        // A recording that is not one, a transcript that is a folder, missing arguments.
        QCOMPARE(run(words("import bad.srt --audio") << m_dir.filePath(u"bad.srt"_s)).exitCode, 1);
        QCOMPARE(run(QStringList{u"import"_s, m_dir.path(), u"--audio"_s, speech}).exitCode, 1);
        QCOMPARE(run(words("import bad.srt")).exitCode, 2);
        QCOMPARE(run(words("import --audio") << speech).exitCode, 2);
        QCOMPARE(ProjectStore(m_dir.filePath(u"projects"_s)).loadAll().size(), before);
    }

    void export_writesStoredProjects_refusesBadRequests()
    {
        QTemporaryDir dir;
        ProjectStore store(dir.filePath(u"projects"_s));
        const auto add = [&](const QString& name, const QString& transcript) {
            Project project;
            project.id = QUuid::createUuid();
            project.name = name;
            project.mediaBookmark = ProjectStore::makeBookmark(speech);
            project.mediaFileName = u"speech.wav"_s;
            project.transcript = transcript;
            project.createdAt = project.updatedAt = QDateTime::currentDateTimeUtc();
            store.save(project);
            return project.id;
        };
        const QUuid first = add(u"Talk"_s, u"[00:00:01] Anna: Hello.\n[00:00:04] Ben: Bye."_s);
        add(u"Talk"_s, u"[00:00:02] Other"_s);
        add(u"a/b"_s, u"Text"_s);
        // The last caption runs to the recording's end, read from the file: 6 s.
        const Outcome one =
            run(words("export --format srt -o one.srt --project") << first.toString(), dir.path());
        QCOMPARE(one.exitCode, 0);
        QCOMPARE(test::readFile(dir.filePath(u"one.srt"_s)),
                 "1\n00:00:01,000 --> 00:00:04,000\nAnna: Hello.\n\n"
                 "2\n00:00:04,000 --> 00:00:06,000\nBen: Bye.\n\n");
        QCOMPARE(one.out, dir.filePath(u"one.srt"_s) + u'\n');
        // Two projects of one name: the name alone is not enough.
        QCOMPARE(run(words("export --format txt --project Talk -o x.txt"), dir.path()).exitCode, 1);
        QVERIFY(!QFile::exists(dir.filePath(u"x.txt"_s)));
        const Outcome all =
            run(words("export --format vtt --no-timestamps --all -o all/of/them"), dir.path());
        QCOMPARE(all.exitCode, 0);
        QCOMPARE(QDir(dir.filePath(u"all/of/them"_s)).entryList(QDir::Files, QDir::Name),
                 (QStringList{u"Talk (2).vtt"_s, u"Talk.vtt"_s, u"a-b.vtt"_s}));
        QCOMPARE(all.out.count(u'\n'), 3);
        QVERIFY(test::readFile(dir.filePath(u"all/of/them/a-b.vtt"_s))
                    .startsWith("WEBVTT\n\n00:00:00.000"));

        // Bad requests: a usage error in one line; a project that is not there.
        for (const char* line :
             {"--format pdf --all -o x", "--format srt -o x", "--format srt --all --project a -o x",
              "--format srt --all", "--format srt --all -o x stray"}) {
            const Outcome outcome = run(words("export") + words(line), dir.path());
            QVERIFY2(outcome.exitCode == 2, line);
            QCOMPARE(outcome.err.count(u'\n'), 1);
        }
        QCOMPARE(run(words("export --format srt --project Nobody -o x"), dir.path()).exitCode, 1);
        QVERIFY(!QFile::exists(dir.filePath(u"x"_s)));
    }

    // The program itself, with no display at all, over a home of its own.
    void worksWithoutADisplay()
    {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        environment.insert(u"HOME"_s, home.path());
        environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        QVERIFY(QDir(home.path()).mkdir(u"runtime"_s));
        QFile::setPermissions(home.filePath(u"runtime"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(u"XDG_RUNTIME_DIR"_s, home.filePath(u"runtime"_s));
        QVERIFY(test::writeFile(home.filePath(u"in.vtt"_s),
                                "WEBVTT\n\n00:01.000 --> 00:02.000\n<v Anna>Hi\n"));
        const auto dictaro = [&](const QStringList& arguments) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.setWorkingDirectory(home.path());
            process.start(QStringLiteral(DICTARO_PROGRAM), arguments);
            process.waitForFinished(60000);
            return Outcome{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                           QString::fromUtf8(process.readAllStandardError())};
        };
        const Outcome made = dictaro(words("import in.vtt --audio") << speech);
        QCOMPARE(made.exitCode, 0);
        const Outcome written =
            dictaro(words("export --format odt -o out.odt --project") << made.out.trimmed());
        QVERIFY2(written.exitCode == 0, qPrintable(written.err));
        QVERIFY(test::readFile(home.filePath(u"out.odt"_s)).startsWith("PK"));
        QVERIFY(dictaro({u"--help"_s}).out.contains(u"dictaro import TRANSCRIPT"_s));
    }

    // The draft on a model with random weights: its words are made up, its times and its way
    // out are real. What it cannot use is refused in one line, with nothing written.
    void draft_writesAFileOrAProject_refusesWhatItCannotUse()
    {
#ifndef DICTARO_HAVE_WHISPER
        const Outcome outcome =
            run(QStringList{u"draft"_s, speech} + words("--model m.bin -o a.txt"));
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY(outcome.err.contains(u"no speech recogniser"_s));
#else
        const QString model = QStringLiteral(DICTARO_SPEECH_MODELS "/test.en.bin");
        const QStringList draft{u"draft"_s, speech, u"--model"_s, model};
        const Outcome written = run(draft + words("-o draft.srt"));
        QVERIFY2(written.exitCode == 0, qPrintable(written.err));
        QCOMPARE(written.out, m_dir.filePath(u"draft.srt"_s) + u'\n');
        QVERIFY(written.err.endsWith(u"100% drafted\n"_s));
        QVERIFY(test::readFile(m_dir.filePath(u"draft.srt"_s)).startsWith("1\n00:00:00,000 --> "));
        const Project project = stored(run(draft + words("--project --name Drafted")));
        QCOMPARE(project.name, u"Drafted"_s);
        QVERIFY(project.transcript.startsWith(u"[00:00:0"_s));

        const QString notes = QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/notes.mp3");
        const struct
        {
            QStringList arguments;
            int exitCode;
            QString reason;
        } cases[] = {
            {{speech, u"--model"_s, speech, u"-o"_s, u"a.txt"_s}, 1, u"not a speech model"_s},
            {{notes, u"--model"_s, model, u"-o"_s, u"a.txt"_s}, 1, u"no audio"_s},
            {{speech, u"--model"_s, model, u"-o"_s, u"a.wav"_s}, 2, u".srt"_s},
            {{speech, u"--model"_s, model}, 2, u"--project"_s},
            {{speech, u"-o"_s, u"a.txt"_s}, 2, u"--model"_s},
        };
        for (const auto& each : cases) {
            const Outcome outcome = run(words("draft") + each.arguments);
            QCOMPARE(outcome.exitCode, each.exitCode);
            QVERIFY2(outcome.err.startsWith(u"dictaro draft: "_s) &&
                         outcome.err.count(u'\n') == 1 && outcome.err.contains(each.reason),
                     qPrintable(outcome.err));
            QVERIFY(outcome.out.isEmpty());
        }
        QVERIFY(!QFile::exists(m_dir.filePath(u"a.txt"_s)));
#endif
    }
};

QTEST_GUILESS_MAIN(tst_BatchCommands)
#include "tst_BatchCommands.moc"
