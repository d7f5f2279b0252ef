#include "StartupTrace.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace dictaro::StartupTrace {

namespace {

// Milliseconds on the monotonic clock.
double now()
{
    timespec time{};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return double(time.tv_sec) * 1000.0 + double(time.tv_nsec) / 1e6;
}

#ifdef Q_OS_LINUX
// When the process started, on the same clock: field 22 of /proc/self/stat, in ticks since boot
// (the monotonic clock counts from boot too, both without the time asleep).
double processStart()
{
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        return now();
    char buffer[1024] = {};
    const std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, stat);
    std::fclose(stat);
    buffer[length] = '\0';
    // The command name in parentheses may hold spaces: count the fields after its end.
    const char* field = nullptr;
    for (const char* c = buffer; *c; ++c) {
        if (*c == ')')
            field = c;
    }
    if (!field)
        return now();
    int index = 2;
    for (const char* c = field + 1; *c; ++c) {
        if (*c == ' ' && ++index == 22)
            return double(std::strtoull(c + 1, nullptr, 10)) * 1000.0 /
                   double(sysconf(_SC_CLK_TCK));
    }
    return now();
}

long residentKilobytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long kilobytes = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %ld", &kilobytes) == 1)
            break;
    }
    std::fclose(status);
    return kilobytes;
}
#else
double processStart()
{
    return now();
}

long residentKilobytes()
{
    return 0;
}
#endif

} // namespace

bool enabled()
{
    static const bool on = std::getenv("DICTARO_STARTUP_TRACE") != nullptr;
    return on;
}

void mark(const char* step)
{
    if (!enabled())
        return;
    static double previous = processStart();
    const double time = now();
    std::fprintf(stderr, "startup %s %.2f %ld\n", step, time - previous, residentKilobytes());
    std::fflush(stderr);
    previous = time;
}

} // namespace dictaro::StartupTrace
