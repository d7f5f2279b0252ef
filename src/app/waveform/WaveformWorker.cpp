#include "WaveformWorker.h"

#include "Platform.h"
#include "RegularFile.h"
#include "WaveformDecoder.h"

#include <QElapsedTimer>
#include <QFileInfo>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace dictaro {

namespace {

constexpr qint64 bucketsPerSecond = WaveformBucketer::bucketsPerSecond;
constexpr qint64 maxBuckets = WaveformBucketer::maxBuckets;
constexpr double priorityHalfSpan = WaveformWorker::priorityHalfSpan;
// How often the worker hands over what it has computed.
constexpr qint64 postIntervalMs = 50;

} // namespace

// Buckets computed since the last hand-over: one run of them from `first`. The main thread
// holds the only copy of the whole file's peaks.
struct WaveformWorker::Pending
{
    qint64 first = -1;
    QList<Peak> peaks;
    qint64 end() const { return first + peaks.size(); }
};

WaveformWorker::WaveformWorker(const QString& path, double focusSeconds, const WaveformCache& cache,
                               Deliver deliver)
    : m_path(path), m_cache(cache), m_deliver(std::move(deliver)),
      m_focus(std::isfinite(focusSeconds) ? focusSeconds : 0.0)
{}

std::shared_ptr<WaveformWorker> WaveformWorker::start(const QString& path, double focusSeconds,
                                                      const WaveformCache& cache, Deliver deliver)
{
    std::shared_ptr<WaveformWorker> worker(
        new WaveformWorker(path, focusSeconds, cache, std::move(deliver)));
    // The thread keeps the worker alive for as long as it runs.
    worker->m_thread = std::thread([worker] {
        worker->run();
        worker->m_done = true;
    });
    return worker;
}

WaveformWorker::~WaveformWorker()
{
    // The last owner may be the thread itself, once it has been let go.
    if (m_thread.joinable()) {
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach();
        else
            m_thread.join();
    }
}

void WaveformWorker::focusOn(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    m_focus = seconds;
    ++m_focusSerial;
}

void WaveformWorker::cancel()
{
    m_cancelled = true;
    const std::lock_guard lock(m_deliverMutex);
    m_deliver = nullptr;
}

bool WaveformWorker::finish(std::chrono::milliseconds timeout)
{
    if (!m_thread.joinable())
        return true;
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!m_done.load() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (m_done.load()) {
        m_thread.join();
        return true;
    }
    m_thread.detach();
    return false;
}

void WaveformWorker::post(Batch batch)
{
    const std::lock_guard lock(m_deliverMutex);
    if (m_deliver)
        m_deliver(std::move(batch));
}

void WaveformWorker::write(Pending& pending, qint64 bucket, Peak peak)
{
    if (bucket < 0 || bucket >= maxBuckets)
        return;
    // A bucket outside the run (or far past it) goes in the next batch.
    if (pending.first >= 0 && (bucket < pending.first || bucket > pending.end() + bucketsPerSecond))
        hand(pending);
    if (pending.first < 0)
        pending.first = bucket;
    if (bucket >= pending.end())
        pending.peaks.resize(bucket + 1 - pending.first, Peak{});
    pending.peaks[bucket - pending.first] = peak;
    m_total = std::max(m_total, bucket + 1);
}

void WaveformWorker::hand(Pending& pending)
{
    if (pending.first < 0)
        return;
    Batch batch;
    batch.first = pending.first;
    batch.peaks = std::move(pending.peaks);
    batch.total = m_total;
    post(std::move(batch));
    pending = {};
    m_posted = true;
}

void WaveformWorker::run()
{
    // Only a regular file is decoded: a pipe or a device would hold the worker in open().
    if (!RegularFile::isMissingOrRegular(m_path, std::numeric_limits<qint64>::max())) {
        post({Batch::Kind::Unavailable, 0, {}, 0, false});
        return;
    }
    const QString entryFile = m_cache.entryFile(m_path);
    if (cancelledNow())
        return;
    if (!entryFile.isEmpty()) {
        if (auto cached = WaveformCache::read(entryFile, QFileInfo(m_path).size())) {
            Batch batch;
            batch.total = cached->size();
            batch.peaks = std::move(*cached);
            batch.fromCache = true;
            post(batch);
            post({Batch::Kind::Finished, 0, {}, batch.total, true});
            return;
        }
    }
    compute(entryFile);
#ifdef __GLIBC__
    // The demuxer's index of a long AAC file takes megabytes in many small blocks, which the
    // allocator would otherwise keep for this process after they are freed.
    malloc_trim(0);
#endif
}

void WaveformWorker::compute(const QString& entryFile)
{
    // One decoder serves both the region around the focus and the pass from the start, so the
    // file's index (megabytes for hours of AAC) is held once.
    WaveformDecoder decoder;
    if (!decoder.open(m_path, &m_cancelled)) {
        if (!cancelledNow())
            post({Batch::Kind::Unavailable, 0, {}, 0, false});
        return;
    }
    const qint64 rate = decoder.rate();
    // The length the file declares, within what its size makes plausible (4 kb/s).
    m_total = std::min(qint64(std::ceil(decoder.declaredDuration() * bucketsPerSecond)),
                       WaveformBucketer::plausibleBuckets(QFileInfo(m_path).size(), 4000.0));
    // The pass from the start writes the cache entry as it goes.
    WaveformCache::Writer entry(entryFile);

    // Decoding after a seek starts a little earlier: the first frames after it may come out
    // incomplete (overlapping transforms, the MP3 bit reservoir).
    const auto seekBefore = [&](qint64 sample, bool quick) {
        return decoder.seek(std::max(0.0, double(sample) / double(rate) - 0.5), quick);
    };

    WaveformBucketer linear(rate);
    linear.startAt(0);
    bool linearMoved = false; // the decoder is elsewhere: the pass resumes with a seek
    qint64 linearResume = 0;
    WaveformBucketer region(rate);
    bool inRegion = false;
    qint64 regionFirst = 0; // the region in progress, in buckets
    qint64 regionEnd = 0;
    // The buckets each region has computed, the one in progress last.
    std::vector<std::pair<qint64, qint64>> regionSpans;
    bool lowered = false;
    Pending linearPending;
    Pending regionPending;
    quint64 seenFocus = 0;
    bool failed = false;
    QElapsedTimer sincePost;
    sincePost.start();

    // Every bucket before this one is computed.
    const auto linearAt = [&] {
        return linearMoved ? linear.bucketOf(linearResume) : linear.bucketOf(linear.nextSample());
    };
    const auto linearWrite = [&](qint64 bucket, Peak peak) {
        write(linearPending, bucket, peak);
        entry.add(bucket, peak);
    };
    const auto regionWrite = [&](qint64 bucket, Peak peak) {
        // What the pass from the start has written is exact; a seek may not be.
        if (bucket < linearAt())
            return;
        write(regionPending, bucket, peak);
        auto& [first, end] = regionSpans.back();
        first = first < 0 ? bucket : std::min(first, bucket);
        end = std::max(end, bucket + 1);
    };
    const auto startRegion = [&](double seconds) {
        const qint64 focusBucket = qint64(std::max(0.0, seconds) * bucketsPerSecond);
        const qint64 half = qint64(priorityHalfSpan * bucketsPerSecond);
        const qint64 first = std::max<qint64>(0, focusBucket - half);
        const qint64 end = std::min(focusBucket + half, maxBuckets);
        // The region in progress already covers what is around the focus.
        if (inRegion && regionFirst <= focusBucket - half / 2 &&
            regionEnd >= focusBucket + half / 2)
            return;
        // The pass from the start gets there soon enough.
        if (first <= linearAt() + half)
            return;
        // What an earlier region computed is not decoded again.
        qint64 missing = first;
        for (bool moved = true; moved;) {
            moved = false;
            for (const auto& [spanFirst, spanEnd] : regionSpans) {
                if (spanFirst <= missing && missing < spanEnd) {
                    missing = spanEnd;
                    moved = true;
                }
            }
        }
        if (missing >= end)
            return;
        if (!linearMoved) {
            // The pass from the start resumes at the bucket it is in; that bucket is redone.
            linearMoved = true;
            linearResume = linear.bucketStart(linear.bucketOf(linear.nextSample()));
        }
        hand(regionPending);
        region.seekTo(region.bucketStart(missing));
        // Quick: the pass from the start overwrites the region with exact peaks later.
        if (!seekBefore(region.bucketStart(missing), true))
            return;
        inRegion = true;
        regionFirst = first;
        regionEnd = end;
        regionSpans.emplace_back(-1, -1);
    };

    const WaveformDecoder::Sink regionSink = [&](const WaveformDecoder::Frame& frame) {
        region.add(frame, regionWrite);
    };
    const WaveformDecoder::Sink linearSink = [&](const WaveformDecoder::Frame& frame) {
        linear.add(frame, linearWrite);
    };

    for (;;) {
        if (cancelledNow())
            return;
        const quint64 serial = m_focusSerial.load();
        if (serial != seenFocus) {
            seenFocus = serial;
            startRegion(m_focus.load());
        }
        if (inRegion) {
            const WaveformDecoder::Step step = decoder.step(regionSink);
            if (step == WaveformDecoder::Step::End)
                region.finish(regionWrite);
            const bool past =
                region.isPositioned() && region.bucketOf(region.nextSample()) >= regionEnd;
            if (step != WaveformDecoder::Step::More || past) {
                inRegion = false;
                hand(regionPending);
            }
            continue;
        }
        if (!lowered) {
            // What the user is looking at is there; the rest yields to everything else.
            Platform::lowerThreadPriority();
            lowered = true;
        }
        if (linearMoved) {
            // Where the pass has been, the demuxer knows exactly where it is; the very start
            // needs no such knowledge. Should that fail, the pass starts over.
            linearMoved = false;
            linear.seekTo(linearResume);
            if (!seekBefore(linearResume, linearResume == 0)) {
                if (!seekBefore(0, true)) {
                    failed = true;
                    break;
                }
                linear.startAt(0);
            }
        }
        const WaveformDecoder::Step step = decoder.step(linearSink);
        const bool tooLong = linear.bucketOf(linear.nextSample()) >= maxBuckets;
        if (step != WaveformDecoder::Step::More || tooLong) {
            failed = step == WaveformDecoder::Step::Failed || linear.landedLate();
            if (step == WaveformDecoder::Step::End)
                linear.finish(linearWrite);
            break;
        }
        const bool firstView = !m_posted && linearPending.peaks.size() >=
                                                qsizetype(2 * priorityHalfSpan * bucketsPerSecond);
        if (firstView || sincePost.elapsed() >= postIntervalMs) {
            hand(linearPending);
            sincePost.restart();
        }
    }
    if (cancelledNow())
        return;

    // The audio ends where the pass from the start ended; the main thread fills what the
    // decoder skipped with silence.
    const qint64 decoded = linear.nextSample();
    const qint64 total = decoded > 0 ? std::min(linear.bucketOf(decoded - 1) + 1, maxBuckets) : 0;
    if (total <= 0) {
        post({Batch::Kind::Unavailable, 0, {}, 0, false});
        return;
    }
    m_total = total;
    hand(regionPending);
    hand(linearPending);
    if (!failed && entry.commit(total))
        m_cache.trim(entryFile);
    if (cancelledNow())
        return;
    post({Batch::Kind::Finished, 0, {}, total, false});
}

} // namespace dictaro
