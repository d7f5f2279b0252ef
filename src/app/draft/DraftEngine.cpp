#include "DraftEngine.h"

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
