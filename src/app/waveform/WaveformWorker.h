#pragma once

#include "WaveformBucketer.h"
#include "WaveformCache.h"

#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace dictaro {

// Computes one audio file's peaks on a thread of its own at low priority: the cache entry if
// there is a valid one; else the region around the focus first, then the whole file from the
// start, writing the cache entry as it goes. Results are handed over in batches. Once
// cancelled it hands over nothing more, and it is never waited for: a worker stuck in a system
// call ends on its own, holding only what it owns.
class WaveformWorker
{
public:
    using Peak = WaveformBucketer::Peak;

    // What the worker hands over: buckets [first, first + peaks.size()) with the length of the
    // file as far as known, or the end of the work.
    struct Batch
    {
        enum class Kind { Peaks, Finished, Unavailable };
        Kind kind = Kind::Peaks;
        qsizetype first = 0;
        QList<Peak> peaks;
        qsizetype total = 0;
        bool fromCache = false;
    };
    // Called on the worker's thread.
    using Deliver = std::function<void(Batch)>;

    // Half the length of the region computed first around a focus, in seconds.
    static constexpr double priorityHalfSpan = 15.0;

    // Starts on `path` at once, with the region around `focusSeconds` first.
    static std::shared_ptr<WaveformWorker> start(const QString& path, double focusSeconds,
                                                 const WaveformCache& cache, Deliver deliver);
    ~WaveformWorker();
    WaveformWorker(const WaveformWorker&) = delete;
    WaveformWorker& operator=(const WaveformWorker&) = delete;

    // Computes the region around `seconds` next.
    void focusOn(double seconds);
    // Stops at the next packet; nothing is delivered once this returns.
    void cancel();
    bool isDone() const { return m_done.load(); }
    // Waits at most `timeout` for the thread to end; true when it has (it is then joined).
    // A thread still running is let go and ends by itself.
    bool finish(std::chrono::milliseconds timeout);

private:
    struct Pending;

    WaveformWorker(const QString& path, double focusSeconds, const WaveformCache& cache,
                   Deliver deliver);
    void run();
    void compute(const QString& entryFile);
    bool cancelledNow() const { return m_cancelled.load(std::memory_order_relaxed); }
    void post(Batch batch);
    void write(Pending& pending, qint64 bucket, Peak peak);
    void hand(Pending& pending);

    const QString m_path;
    const WaveformCache m_cache;
    std::mutex m_deliverMutex;
    Deliver m_deliver; // null once cancelled
    std::atomic<bool> m_cancelled{false};
    std::atomic<double> m_focus{0.0};
    std::atomic<quint64> m_focusSerial{1};
    std::atomic<bool> m_done{false};
    std::thread m_thread;

    // The length of the file in buckets as far as known: declared, or as far as computed.
    qint64 m_total = 0;
    bool m_posted = false;
};

} // namespace dictaro
