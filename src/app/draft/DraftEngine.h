#pragma once

#include "Recogniser.h"

#include <memory>

namespace dictaro {

// The speech recogniser this build has, and how it should run.
namespace DraftEngine {

// Whether this build has a speech recogniser (the draft's menu and settings only exist then).
bool isAvailable();

// A new recogniser with no model loaded; nullptr when the build has none.
std::unique_ptr<Recogniser> makeRecogniser();

// How many threads a draft should use: one less than the machine's cores, so that typing and
// playback keep one, and at least one.
int recommendedThreads();

// Lowers the priority of the calling thread, and of the threads it starts from then on, below
// the interface's: call it first thing on a drafting worker.
void lowerCurrentThreadPriority();

} // namespace DraftEngine
} // namespace dictaro
