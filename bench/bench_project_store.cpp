// Measures the project file format and the store on this machine: encoding and decoding a project
// with a 1 MB transcript, one durable save of it, and listing 1,000 and 10,000 typical projects.
// Usage: bench_project_store [folder on the disk to measure]   (default: a temporary folder)
#include "ProjectStore.h"
#include "benchutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace dictaro;

namespace {

QString transcriptOf(qsizetype bytes)
{
    // Sentences with a timestamp about every 100 characters and some accented letters.
    QString text;
    text.reserve(bytes + 200);
    int second = 0;
    while (text.size() < bytes) {
        text += QStringLiteral("[%1:%2:%3] ")
                    .arg(second / 3600, 2, 10, QLatin1Char('0'))
                    .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(second % 60, 2, 10, QLatin1Char('0'));
        text += QStringLiteral("So we moved to the coast/the city in '98, çünkü iş vardı. Then ");
        text += QStringLiteral("\"everything\" changed.\n");
        second += 7;
    }
    return text;
}

Project projectWith(const QString& transcript, int index)
{
    const QDateTime when = QDateTime(QDate(2025, 3, 1), QTime(10, 0), Qt::UTC).addSecs(index);
    return Project{QUuid::createUuid(),
                   QStringLiteral("Interview %1").arg(index),
                   QByteArray(180, 'b'),
                   QStringLiteral("Interview %1.m4a").arg(index),
                   transcript,
                   1234.5 + index,
                   1.2000000000000002,
                   when,
                   when,
                   {},
                   {},
                   {}};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-XXXXXX") : QString());
    if (!temporary.isValid())
        qFatal("cannot create a temporary folder");

    const Project big = projectWith(transcriptOf(1024 * 1024), 0);
    const QByteArray encoded = encodeProject(big);
    bench::report("encode, 1 MB transcript", bench::run(20, [&] { (void)encodeProject(big); }), 0);
    bench::report("decode, 1 MB transcript", bench::run(20, [&] { (void)decodeProject(encoded); }),
                  0);

    ProjectStore store(temporary.filePath(QStringLiteral("one")));
    bench::report("save with sync, 1 MB project", bench::run(20, [&] { store.save(big); }), 30);

    const QString typical = transcriptOf(10 * 1024);
    for (const int count : {1000, 10000}) {
        ProjectStore many(temporary.filePath(QStringLiteral("many%1").arg(count)));
        for (int i = 0; i < count; ++i)
            many.save(projectWith(typical, i));
        qsizetype listed = 0;
        const auto times = bench::run(5, [&] { listed = many.loadAll().size(); });
        if (listed != count)
            qFatal("listed %lld of %d projects", qlonglong(listed), count);
        bench::report(qPrintable(QStringLiteral("loadAll, %1 projects of 10 KB").arg(count)), times,
                      count == 1000 ? 150 : 0);
        // What the welcome screen lists: the first listing of a start reads every file once;
        // each return to the screen afterwards only looks at the folder.
        const auto first = bench::run(1, [&] {
            ProjectStore fresh(many.directory());
            listed = fresh.summaries().size();
        });
        bench::report(qPrintable(QStringLiteral("first listing, %1 projects").arg(count)), first,
                      count == 1000 ? 150 : 0);
        const auto again = bench::run(5, [&] { listed = many.summaries().size(); });
        bench::report(qPrintable(QStringLiteral("listing on return, %1 projects").arg(count)),
                      again, count == 1000 ? 20 : 0);
    }
    return 0;
}
