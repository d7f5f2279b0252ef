#include "DraftEngine.h"

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace dictaro {

namespace {

std::optional<DraftEngine>& testingEngine()
{
    static std::optional<DraftEngine> engine;
    return engine;
}

} // namespace

DraftEngine currentDraftEngine()
{
    return testingEngine() ? *testingEngine() : builtInDraftEngine();
}

bool draftAvailable()
{
    return bool(currentDraftEngine());
}

void lowerThreadPriority()
{
#ifdef Q_OS_LINUX
    // Niceness applies per thread on Linux, and the threads a recogniser starts inherit it.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
#endif
}

void setDraftEngineForTesting(std::optional<DraftEngine> engine)
{
    testingEngine() = std::move(engine);
}

#ifndef DICTARO_HAVE_WHISPER
DraftEngine builtInDraftEngine()
{
    return {};
}
#endif

} // namespace dictaro
