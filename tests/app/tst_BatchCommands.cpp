#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include "BatchCommands.h"
#include "ProjectStore.h"
#include "TranscriptImport.h"

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

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class tst_BatchCommands : public QObject
{
    Q_OBJECT

private:
    Outcome run(const QStringList& arguments)
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int code =
            BatchCommands::run(QStringList{u"dictaro"_s} + arguments, m_dir.filePath(u"projects"_s),
                               m_dir.path(), outStream, errStream);
        return {code, out, err};
    }

    QTemporaryDir m_dir;

private slots:
    void importMakesAProject();
    void importRefusesWhatItCannotRead();
    void exportWritesStoredProjects();
    void exportRefusesBadRequests();
    void worksWithoutADisplay();
    void draftWritesAFileOrAProject();
    void draftRefusesBadModelsAndRecordings();
};

void tst_BatchCommands::importMakesAProject()
{
    writeFile(m_dir.filePath(u"in.srt"_s), "\xEF\xBB\xBF"
                                           "2\r\n00:00:03,000 --> 00:00:05,000\r\nSecond\r\n\r\n"
                                           "1\r\n00:00:01,000 --> 00:00:02,000\r\nFirst");
    const Outcome made = run({u"import"_s, u"in.srt"_s, u"--audio"_s, speech});
    QCOMPARE(made.exitCode, 0);
    QCOMPARE(made.err, QString());
    const QUuid id = QUuid::fromString(made.out.trimmed());
    QVERIFY(!id.isNull());
    const Project project = ProjectStore(m_dir.filePath(u"projects"_s)).load(id);
    QCOMPARE(project.name, u"speech"_s);
    QCOMPARE(project.mediaFileName, u"speech.wav"_s);
    QCOMPARE(project.transcript, u"[00:00:01] First\n[00:00:03] Second"_s);

    const Outcome named = run({u"import"_s, m_dir.filePath(u"in.srt"_s), u"--audio"_s, speech,
                               u"--name"_s, u"Interview 1"_s});
    QCOMPARE(named.exitCode, 0);
    QCOMPARE(ProjectStore(m_dir.filePath(u"projects"_s))
                 .load(QUuid::fromString(named.out.trimmed()))
                 .name,
             u"Interview 1"_s);
}

void tst_BatchCommands::importRefusesWhatItCannotRead()
{
    writeFile(m_dir.filePath(u"bad.srt"_s),
              "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\nnot a time\n");
    const qsizetype before = ProjectStore(m_dir.filePath(u"projects"_s)).loadAll().size();
    Outcome bad = run({u"import"_s, u"bad.srt"_s, u"--audio"_s, speech});
    QCOMPARE(bad.exitCode, 1);
    QVERIFY2(bad.err.startsWith(u"dictaro import: "_s) && bad.err.contains(u"Line 6"_s) &&
                 bad.err.count(u'\n') == 1,
             qPrintable(bad.err));
    QCOMPARE(bad.out, QString());
    // A recording that is not one, a transcript that is a folder, missing arguments.
    QCOMPARE(run({u"import"_s, u"bad.srt"_s, u"--audio"_s, m_dir.filePath(u"bad.srt"_s)}).exitCode,
             1);
    QCOMPARE(run({u"import"_s, m_dir.path(), u"--audio"_s, speech}).exitCode, 1);
    QCOMPARE(run({u"import"_s, u"bad.srt"_s}).exitCode, 2);
    QCOMPARE(run({u"import"_s, u"--audio"_s, speech}).exitCode, 2);
    QCOMPARE(ProjectStore(m_dir.filePath(u"projects"_s)).loadAll().size(), before);
}

void tst_BatchCommands::exportWritesStoredProjects()
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
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const auto exportRun = [&](const QStringList& arguments) {
        out.clear();
        return BatchCommands::run(QStringList{u"dictaro"_s, u"export"_s} + arguments,
                                  dir.filePath(u"projects"_s), dir.path(), outStream, errStream);
    };
    // The last caption runs to the recording's end, read from the file: 6 s.
    QCOMPARE(exportRun({u"--format"_s, u"srt"_s, u"--project"_s, first.toString(), u"-o"_s,
                        u"one.srt"_s}),
             0);
    QCOMPARE(readAll(dir.filePath(u"one.srt"_s)),
             "1\n00:00:01,000 --> 00:00:04,000\nAnna: Hello.\n\n"
             "2\n00:00:04,000 --> 00:00:06,000\nBen: Bye.\n\n");
    QCOMPARE(out, dir.filePath(u"one.srt"_s) + u'\n');
    // Two projects of one name: the name alone is not enough.
    QCOMPARE(exportRun({u"--format"_s, u"txt"_s, u"--project"_s, u"Talk"_s, u"-o"_s, u"x.txt"_s}),
             1);
    QVERIFY(!QFile::exists(dir.filePath(u"x.txt"_s)));
    QCOMPARE(exportRun({u"--format"_s, u"vtt"_s, u"--no-timestamps"_s, u"--all"_s, u"-o"_s,
                        u"all/of/them"_s}),
             0);
    QStringList written = QDir(dir.filePath(u"all/of/them"_s)).entryList(QDir::Files, QDir::Name);
    QCOMPARE(written, (QStringList{u"Talk (2).vtt"_s, u"Talk.vtt"_s, u"a-b.vtt"_s}));
    QCOMPARE(out.count(u'\n'), 3);
    QVERIFY(readAll(dir.filePath(u"all/of/them/a-b.vtt"_s)).startsWith("WEBVTT\n\n00:00:00.000"));
    QCOMPARE(exportRun({u"--format"_s, u"md"_s, u"--no-timestamps"_s, u"--project"_s, u"a/b"_s,
                        u"-o"_s, u"ab.md"_s}),
             0);
    QCOMPARE(readAll(dir.filePath(u"ab.md"_s)), "# a/b\n\nText");
}

void tst_BatchCommands::exportRefusesBadRequests()
{
    for (const QStringList& arguments :
         {QStringList{u"--format"_s, u"pdf"_s, u"--all"_s, u"-o"_s, u"x"_s},
          QStringList{u"--format"_s, u"srt"_s, u"-o"_s, u"x"_s},
          QStringList{u"--format"_s, u"srt"_s, u"--all"_s, u"--project"_s, u"a"_s, u"-o"_s, u"x"_s},
          QStringList{u"--format"_s, u"srt"_s, u"--all"_s},
          QStringList{u"--format"_s, u"srt"_s, u"--all"_s, u"-o"_s, u"x"_s, u"stray"_s}}) {
        const Outcome outcome = run(QStringList{u"export"_s} + arguments);
        QVERIFY2(outcome.exitCode == 2, qPrintable(arguments.join(u' ')));
        QCOMPARE(outcome.err.count(u'\n'), 1);
    }
    QCOMPARE(
        run({u"export"_s, u"--format"_s, u"srt"_s, u"--project"_s, u"Nobody"_s, u"-o"_s, u"x"_s})
            .exitCode,
        1);
}

// The program itself, with no display at all, over a home of its own.
void tst_BatchCommands::worksWithoutADisplay()
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
    writeFile(home.filePath(u"in.vtt"_s), "WEBVTT\n\n00:01.000 --> 00:02.000\n<v Anna>Hi\n");
    const auto dictaro = [&](const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(DICTARO_PROGRAM), arguments);
        process.waitForFinished(60000);
        return Outcome{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                       QString::fromUtf8(process.readAllStandardError())};
    };
    const Outcome made = dictaro({u"import"_s, u"in.vtt"_s, u"--audio"_s, speech});
    QCOMPARE(made.exitCode, 0);
    const QString id = made.out.trimmed();
    const Outcome written =
        dictaro({u"export"_s, u"--format"_s, u"odt"_s, u"--project"_s, id, u"-o"_s, u"out.odt"_s});
    QVERIFY2(written.exitCode == 0, qPrintable(written.err));
    QVERIFY(readAll(home.filePath(u"out.odt"_s)).startsWith("PK"));
    QVERIFY(dictaro({u"--help"_s}).out.contains(u"dictaro import TRANSCRIPT"_s));
}

// The draft on a model with random weights: its words are made up, its times and its way out
// are real.
void tst_BatchCommands::draftWritesAFileOrAProject()
{
#ifndef DICTARO_HAVE_WHISPER
    QSKIP("built without the speech recogniser");
#else
    const QString model = QStringLiteral(DICTARO_SPEECH_MODELS "/test.en.bin");
    const Outcome written = run({u"draft"_s, speech, u"--model"_s, model, u"-o"_s, u"draft.srt"_s});
    QVERIFY2(written.exitCode == 0, qPrintable(written.err));
    QCOMPARE(written.out, m_dir.filePath(u"draft.srt"_s) + u'\n');
    QVERIFY(written.err.endsWith(u"100% drafted\n"_s));
    const QByteArray captions = readAll(m_dir.filePath(u"draft.srt"_s));
    QVERIFY(captions.startsWith("1\n00:00:00,000 --> "));

    const Outcome made =
        run({u"draft"_s, speech, u"--model"_s, model, u"--project"_s, u"--name"_s, u"Drafted"_s});
    QVERIFY2(made.exitCode == 0, qPrintable(made.err));
    const Project project =
        ProjectStore(m_dir.filePath(u"projects"_s)).load(QUuid::fromString(made.out.trimmed()));
    QCOMPARE(project.name, u"Drafted"_s);
    QVERIFY(project.transcript.startsWith(u"[00:00:0"_s));
#endif
}

void tst_BatchCommands::draftRefusesBadModelsAndRecordings()
{
#ifdef DICTARO_HAVE_WHISPER
    const QString model = QStringLiteral(DICTARO_SPEECH_MODELS "/test.en.bin");
    writeFile(m_dir.filePath(u"broken.bin"_s), readAll(model).first(5000));
    const QString notes = QStringLiteral(DICTARO_PLAYBACK_FIXTURES "/notes.mp3");
    const struct
    {
        QStringList arguments;
        int exitCode;
        QString reason;
    } cases[] = {
        {{speech, u"--model"_s, m_dir.filePath(u"broken.bin"_s), u"-o"_s, u"a.txt"_s},
         1,
         u"damaged"_s},
        {{speech, u"--model"_s, speech, u"-o"_s, u"a.txt"_s}, 1, u"not a speech model"_s},
        {{notes, u"--model"_s, model, u"-o"_s, u"a.txt"_s}, 1, u"no audio"_s},
        {{speech, u"--model"_s, model, u"-o"_s, u"a.wav"_s}, 2, u".srt"_s},
        {{speech, u"--model"_s, model}, 2, u"--project"_s},
        {{speech, u"-o"_s, u"a.txt"_s}, 2, u"--model"_s},
    };
    for (const auto& each : cases) {
        const Outcome outcome = run(QStringList{u"draft"_s} + each.arguments);
        QCOMPARE(outcome.exitCode, each.exitCode);
        QVERIFY2(outcome.err.startsWith(u"dictaro draft: "_s) && outcome.err.count(u'\n') == 1 &&
                     outcome.err.contains(each.reason),
                 qPrintable(outcome.err));
        QVERIFY(outcome.out.isEmpty());
    }
    QVERIFY(!QFile::exists(m_dir.filePath(u"a.txt"_s)));
#else
    const Outcome outcome =
        run({u"draft"_s, speech, u"--model"_s, u"m.bin"_s, u"-o"_s, u"a.txt"_s});
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY(outcome.err.contains(u"no speech recogniser"_s));
#endif
}

QTEST_GUILESS_MAIN(tst_BatchCommands)
#include "tst_BatchCommands.moc"
