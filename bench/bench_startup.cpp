// Start-up against the floor: Dictaro and a bare Qt window with libmpv (bare_window), started
// one after the other, each in a fresh home, ROUNDS times. For each: the time from starting the
// process to its first frame, the processor time and resident memory once it has settled, their
// medians and Dictaro's ratio to the floor; then where Dictaro's start-up goes, step by step
// (the DICTARO_STARTUP_TRACE lines: time of each step and the memory after it, medians).
//   bench_startup [ROUNDS] [AUDIO]   (10 rounds by default; with AUDIO both open that file)
// Run it on a display (xvfb-run -a bench/bench_startup), on a quiet machine.
#include "benchutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int settleMilliseconds = 2000;

struct Run
{
    double firstFrame = 0;                                      // ms from the start of the process
    double processor = 0;                                       // s used by the time it has settled
    double resident = 0;                                        // MB once settled
    QList<std::pair<QString, std::pair<double, double>>> steps; // name: ms, MB after
};

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Processor seconds (user and system) and resident MB of a running process.
std::pair<double, double> usage(qint64 pid)
{
    const double processor = bench::processorSeconds(pid);
    double resident = 0;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                resident = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return {processor, resident};
}

std::optional<Run> start(const QString& program, const QStringList& arguments)
{
    QTemporaryDir home;
    for (const char* folder : {"config", "data", "cache", "state", "runtime"})
        QDir(home.path()).mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("DICTARO_STARTUP_TRACE"), QStringLiteral("1"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardOutputFile(QProcess::nullDevice());
    // The trace comes on standard error: waiting must wake for it, not for standard output.
    process.setReadChannel(QProcess::StandardError);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted())
        return std::nullopt;
    Run run;
    QByteArray pending;
    bool framed = false;
    while (!framed && clock.elapsed() < 30000 && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        pending += process.readAllStandardError();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            if (!line.startsWith(QStringLiteral("startup ")))
                continue;
            const QStringList words = line.split(u' ');
            const QString step = words.mid(1, words.size() - 3).join(u' ');
            run.steps.append(
                {step, {words.at(words.size() - 2).toDouble(), words.last().toDouble() / 1024.0}});
            if (step == QStringLiteral("first frame")) {
                run.firstFrame = double(clock.nsecsElapsed()) / 1e6;
                framed = true;
            }
        }
    }
    if (framed) {
        QThread::msleep(settleMilliseconds);
        const auto [processor, resident] = usage(process.processId());
        run.processor = processor;
        run.resident = resident;
    }
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
    if (!framed)
        return std::nullopt;
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 10;
    const QStringList audio =
        argc > 2 ? QStringList{QString::fromLocal8Bit(argv[2])} : QStringList{};
    const QString folder = QCoreApplication::applicationDirPath();
    const QString dictaro = QDir(folder).filePath(QStringLiteral("../bin/dictaro"));
    const QString bare = QDir(folder).filePath(QStringLiteral("bare_window"));
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "bench_startup needs a display: xvfb-run -a %s\n", argv[0]);
        return 1;
    }

    QList<Run> ours, floor;
    for (int round = 0; round < rounds; ++round) {
        // Interleaved, the order swapped every round, so that a slow spell hits both.
        const bool dictaroFirst = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool isDictaro = (turn == 0) == dictaroFirst;
            const auto run = start(isDictaro ? dictaro : bare, audio);
            if (!run) {
                std::fprintf(stderr, "%s showed no first frame\n",
                             isDictaro ? "dictaro" : "bare_window");
                return 1;
            }
            (isDictaro ? ours : floor).append(*run);
        }
    }

    double load[3] = {};
    if (std::FILE* loadavg = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(loadavg, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3)
            load[0] = 0;
        std::fclose(loadavg);
    }
    std::printf("Start-up%s, medians of %d interleaved rounds (load average %.2f)\n",
                audio.isEmpty() ? " with no file" : " opening the file", rounds, load[0]);
    std::printf("%-36s %10s %10s %8s\n", "", "Dictaro", "floor", "ratio");
    auto row = [&](const char* what, auto measure, const char* unit) {
        QList<double> a, b;
        for (const Run& run : ours)
            a.append(measure(run));
        for (const Run& run : floor)
            b.append(measure(run));
        const double x = median(a), y = median(b);
        std::printf("%-36s %8.3f %s %8.3f %s %7.2fx\n", what, x, unit, y, unit, y > 0 ? x / y : 0);
    };
    row(
        "start to first frame", [](const Run& r) { return r.firstFrame / 1000.0; }, "s ");
    row(
        "processor time, settled", [](const Run& r) { return r.processor; }, "s ");
    row(
        "resident memory, settled", [](const Run& r) { return r.resident; }, "MB");

    std::printf("\nDictaro step by step (median time of the step, memory after it):\n");
    QList<QString> order;
    QMap<QString, QList<double>> times, memory;
    for (const Run& run : ours) {
        for (const auto& [step, figures] : run.steps) {
            if (!order.contains(step))
                order.append(step);
            times[step].append(figures.first);
            memory[step].append(figures.second);
        }
    }
    for (const QString& step : order)
        std::printf("  %-30s %8.1f ms %8.1f MB\n", qPrintable(step), median(times[step]),
                    median(memory[step]));
    return 0;
}
