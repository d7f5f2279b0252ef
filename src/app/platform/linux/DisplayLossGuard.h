#pragma once

#include <functional>

namespace dictaro {

// Runs a last action when the X11 display goes away under the application (the display server
// crashed, the session ended, a remote display was lost). Qt's X11 platform then ends the process
// at once with exit(), from the event loop of the main thread: no quit signal, no aboutToQuit,
// no destructors of what main() holds. The action runs inside that exit(), on the main thread,
// with every object still alive but no event loop and no display: it must not touch widgets or
// wait for events. Once Qt has said that the connection broke (it does before its exit()), the
// action runs first in exit(), before any library is torn down under the threads that still use
// it, and the process then ends at once. Only one guard may exist; elsewhere it does nothing.
class DisplayLossGuard
{
public:
    explicit DisplayLossGuard(std::function<void()> action);
    ~DisplayLossGuard();

    DisplayLossGuard(const DisplayLossGuard&) = delete;
    DisplayLossGuard& operator=(const DisplayLossGuard&) = delete;

    // Whether the action is armed (only on the X11 platform).
    bool isArmed() const;
    // Makes the action run before the clean-up of what the process has made since (exit() undoes
    // in reverse order); call it once saving has been set up.
    void renew();
};

} // namespace dictaro
