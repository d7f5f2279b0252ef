#pragma once

namespace dictaro {

// Where start-up spends its time and memory: with DICTARO_STARTUP_TRACE set in the environment,
// each step marked prints one line to standard error, "startup STEP MS RSS_KB", the time since
// the previous mark (since the process started, for the first) and the resident memory after
// it. Without the variable a mark costs one test of a flag. The start-up benchmark reads these
// lines; "first frame" is the last.
namespace StartupTrace {

bool enabled();
void mark(const char* step);

} // namespace StartupTrace
} // namespace dictaro
