#pragma once

// Small timing helpers shared by the benchmarks: run a piece of work several times (after one
// untimed warm-up run) and print
// its minimum, median and maximum in milliseconds beside the target it should meet.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <unistd.h>

namespace bench {

template <typename Work> std::vector<double> run(int repetitions, Work&& work)
{
    std::vector<double> milliseconds;
    milliseconds.reserve(repetitions);
    work(); // warm-up: first-touch allocations and caches are not what is measured
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    return milliseconds;
}

// User and system seconds of another running process, or of its thread `task`, from /proc.
inline double processorSeconds(qint64 pid, qint64 task = 0)
{
    QFile stat(task ? QStringLiteral("/proc/%1/task/%2/stat").arg(pid).arg(task)
                    : QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // utime and stime are fields 14 and 15; the list starts at field 3.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 13
               ? (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK))
               : 0;
}

// How many times a process's thread `task` has gone to sleep and been woken, from /proc.
inline qint64 wakeups(qint64 pid, qint64 task)
{
    QFile status(QStringLiteral("/proc/%1/task/%2/status").arg(pid).arg(task));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("voluntary_ctxt_switches:"))
            return line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return 0;
}

// Prints one line; a target of 0 means none is set.
inline void report(const char* what, const std::vector<double>& ms, double targetMs)
{
    const double median = ms[ms.size() / 2];
    std::printf("%-40s min %9.3f ms  median %9.3f ms  max %9.3f ms", what, ms.front(), median,
                ms.back());
    if (targetMs > 0)
        std::printf("  (target < %g ms: %s)", targetMs, median < targetMs ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace bench
