#pragma once

#include <functional>
#include <limits>

#include <QElapsedTimer>

namespace dictaro {

// Collapses a burst of requests into one run of the latest action, a fixed delay after the last
// request, on the main thread's event loop. With a maximum wait, a burst that never pauses still
// runs its latest action at the latest that long after the burst's first request.
//
// Main thread only; needs a running QCoreApplication. Destroying the debouncer does not cancel a
// pending run: the action still runs at its deadline. Call cancel() first to prevent that.
class Debouncer
{
public:
    // A negative or non-finite delay counts as zero; the delay is rounded up to whole milliseconds.
    // The maximum wait is treated the same way; an infinite one (the default) means none.
    explicit Debouncer(double delaySeconds,
                       double maxWaitSeconds = std::numeric_limits<double>::infinity());
    ~Debouncer();
    Debouncer(const Debouncer&) = delete;
    Debouncer& operator=(const Debouncer&) = delete;

    double delaySeconds() const { return m_delaySeconds; }

    // Makes `action` the pending one and runs it `delaySeconds()` from now, unless it is replaced,
    // cancelled or flushed first. The action it replaces never runs.
    void schedule(std::function<void()> action);
    // Runs the pending action now, synchronously, if there is one. It does not run again later.
    void flush();
    // Drops the pending action without running it.
    void cancel();
    // An action is waiting for its deadline.
    bool isPending() const { return m_pending != nullptr; }

private:
    class Task;
    friend class Task;

    // Stops the pending task without running it and hands back its action.
    std::function<void()> takePending();

    double m_delaySeconds = 0.0;
    int m_delayMSecs = 0;
    // Negative without a maximum wait.
    qint64 m_maxWaitMSecs = -1;
    // Runs from the first request of the pending burst.
    QElapsedTimer m_burst;
    // The queued run, if any. Not owned: a task lives until it runs or is dropped, and detaches
    // itself from this debouncer (and this debouncer from it) on either side's destruction.
    Task* m_pending = nullptr;
};

} // namespace dictaro
