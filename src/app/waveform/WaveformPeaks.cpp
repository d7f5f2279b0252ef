#include "WaveformPeaks.h"

#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace dictaro {

namespace {

using Batch = WaveformWorker::Batch;

// How long closing for good waits for cancelled workers to end, in all. One stuck in a system
// call is let go after that and ends by itself.
constexpr std::chrono::milliseconds stoppingGrace{250};

} // namespace

QString WaveformPeaks::defaultCacheDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/waveforms");
}

WaveformPeaks::WaveformPeaks(QObject* parent)
    : WaveformPeaks(defaultCacheDirectory(), defaultCacheLimitBytes, parent)
{}

WaveformPeaks::WaveformPeaks(QString cacheDirectory, qint64 cacheLimitBytes, QObject* parent)
    : QObject(parent), m_cacheDirectory(std::move(cacheDirectory)),
      m_cacheLimitBytes(cacheLimitBytes)
{}

WaveformPeaks::~WaveformPeaks()
{
    close();
    // Each of them has been told to stop and does so within a packet, unless it is stuck.
    const auto until = std::chrono::steady_clock::now() + stoppingGrace;
    for (const auto& worker : m_stopping) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        worker->finish(std::max(left, std::chrono::milliseconds(0)));
    }
}

void WaveformPeaks::open(const QString& path, double focusSeconds)
{
    close();
    m_path = path;
    ++m_generation;
    setStatus(Status::Computing);
    // Batches arrive on the worker's thread; they are applied on this one, while this object
    // lives (cancel() keeps any from being sent once it is closed).
    m_worker = WaveformWorker::start(
        path, focusSeconds, WaveformCache(m_cacheDirectory, m_cacheLimitBytes),
        [this, generation = m_generation](Batch batch) {
            QMetaObject::invokeMethod(
                this, [this, generation, batch = std::move(batch)] { apply(generation, batch); },
                Qt::QueuedConnection);
        });
}

void WaveformPeaks::close()
{
    if (m_worker) {
        // The worker is not waited for (at low priority on a busy machine it may not run for a
        // while); it stops at its next packet and delivers nothing more.
        m_worker->cancel();
        m_stopping.push_back(std::move(m_worker));
        m_worker.reset();
    }
    // Workers that have ended are joined (at once).
    std::erase_if(m_stopping, [](const std::shared_ptr<WaveformWorker>& worker) {
        return worker->isDone() && worker->finish(std::chrono::milliseconds(0));
    });
    ++m_generation;
    const bool hadPeaks = !m_peaks.isEmpty();
    m_path.clear();
    m_peaks = {};
    m_fromCache = false;
    setStatus(Status::Empty);
    if (hadPeaks)
        emit peaksArrived(0, 0);
}

void WaveformPeaks::prioritize(double seconds)
{
    if (!m_worker || m_status != Status::Computing || !std::isfinite(seconds))
        return;
    const qint64 half = qint64(priorityHalfSpan * bucketsPerSecond) * 2 / 3;
    const qint64 center = qint64(std::max(0.0, seconds) * bucketsPerSecond);
    const qint64 first = std::max<qint64>(0, center - half);
    const qint64 end = std::min<qint64>(center + half, m_peaks.size());
    if (first < end && std::all_of(m_peaks.cbegin() + first, m_peaks.cbegin() + end,
                                   [](const Peak& peak) { return peak.isComputed(); }))
        return;
    m_worker->focusOn(seconds);
}

void WaveformPeaks::apply(quint64 generation, const Batch& batch)
{
    if (generation != m_generation)
        return;
    m_fromCache = batch.fromCache;
    switch (batch.kind) {
    case Batch::Kind::Peaks: {
        if (batch.fromCache) {
            m_peaks = batch.peaks; // the whole file: shared, not copied
            emit peaksArrived(0, m_peaks.size());
            break;
        }
        resizePeaks(batch.total);
        const qsizetype end = std::min(batch.first + batch.peaks.size(), m_peaks.size());
        for (qsizetype i = batch.first; i < end; ++i) {
            // A bucket the batch skips over keeps what is there.
            if (const Peak peak = batch.peaks[i - batch.first]; peak.isComputed())
                m_peaks[i] = peak;
        }
        if (batch.first < end)
            emit peaksArrived(batch.first, end);
        break;
    }
    case Batch::Kind::Finished: {
        resizePeaks(batch.total);
        // What the decoder skipped is silence.
        qsizetype first = -1;
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_peaks.size(); ++i) {
            if (!m_peaks[i].isComputed()) {
                m_peaks[i] = Peak{0, 0};
                first = first < 0 ? i : first;
                end = i + 1;
            }
        }
        if (first >= 0)
            emit peaksArrived(first, end);
        setStatus(Status::Complete);
        emit finished();
        break;
    }
    case Batch::Kind::Unavailable:
        m_peaks = {};
        setStatus(Status::Unavailable);
        emit unavailable();
        break;
    }
}

void WaveformPeaks::resizePeaks(qsizetype count)
{
    // The count grows by little past what the file declares, or from nothing by steps when it
    // declares nothing: each step takes a little room ahead rather than doubling the list.
    if (count > m_peaks.capacity())
        m_peaks.reserve(count + count / 64 + bucketsPerSecond);
    m_peaks.resize(count, Peak{});
}

void WaveformPeaks::setStatus(Status status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged(m_status);
}

} // namespace dictaro
