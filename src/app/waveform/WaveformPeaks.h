#pragma once

#include "WaveformBucketer.h"
#include "WaveformWorker.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace dictaro {

// The waveform of one audio file as the lowest and highest sample of every 10 ms, computed by
// decoding the file on a low-priority worker thread (never on the calling thread). The region
// around a requested position comes first, then the whole file from the start. Finished
// results are kept in a bounded cache folder, keyed by the file's size, modification time and
// its first and last megabyte, so a file opened again is ready at once. A file without
// decodable audio is reported as unavailable, nothing more. Lives on the main thread.
class WaveformPeaks : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)

public:
    // One bucket: the extremes of its samples over all channels, in 1/127 of full scale. A
    // bucket not computed yet has min > max.
    using Peak = WaveformBucketer::Peak;

    enum class Status {
        Empty,      // nothing open
        Computing,  // peaks arrive
        Complete,   // every bucket of the file is computed
        Unavailable // the file has no audio the decoder can read
    };
    Q_ENUM(Status)

    static constexpr int bucketsPerSecond = int(WaveformBucketer::bucketsPerSecond);
    static constexpr qint64 defaultCacheLimitBytes = 200 * 1024 * 1024;
    // Half the length of the region computed first around a requested position, in seconds.
    static constexpr double priorityHalfSpan = WaveformWorker::priorityHalfSpan;

    // "waveforms" in the user's cache folder.
    static QString defaultCacheDirectory();

    explicit WaveformPeaks(QObject* parent = nullptr);
    // Keeps finished results in `cacheDirectory`, dropping the least recently used entries
    // while the folder holds more than `cacheLimitBytes`.
    WaveformPeaks(QString cacheDirectory, qint64 cacheLimitBytes, QObject* parent = nullptr);
    ~WaveformPeaks() override;

    WaveformPeaks(const WaveformPeaks&) = delete;
    WaveformPeaks& operator=(const WaveformPeaks&) = delete;

    // Closes the current file and starts on `path`, with the region around `focusSeconds`
    // first. Returns at once; the outcome arrives through the signals.
    void open(const QString& path, double focusSeconds = 0.0);
    // Stops the work on the current file at once, without waiting for the worker, and forgets
    // its peaks (a partial result is not cached). No signal about that file arrives afterwards.
    // A worker stuck in a system call (a file that never answers) is let go, never waited for.
    void close();
    // Computes the region around `seconds` next, unless it is computed already.
    void prioritize(double seconds);

    QString path() const { return m_path; }
    Status status() const { return m_status; }
    // One entry per bucket from the start of the audio. Before the work is complete the count
    // follows the length the file declares; it is exact once complete.
    const QList<Peak>& peaks() const { return m_peaks; }
    // True when the open file's peaks were read from the cache rather than decoded.
    bool isFromCache() const { return m_fromCache; }

signals:
    void statusChanged(dictaro::WaveformPeaks::Status status);
    // Buckets [first, end) of peaks() have been computed (the count may have changed too).
    void peaksArrived(qsizetype first, qsizetype end);
    void finished();
    void unavailable();

private:
    void apply(quint64 generation, const WaveformWorker::Batch& batch);
    void resizePeaks(qsizetype count);
    void setStatus(Status status);

    QString m_cacheDirectory;
    qint64 m_cacheLimitBytes = defaultCacheLimitBytes;
    QString m_path;
    Status m_status = Status::Empty;
    QList<Peak> m_peaks;
    bool m_fromCache = false;
    std::shared_ptr<WaveformWorker> m_worker;
    // Cancelled workers that may still be finishing their last packet.
    std::vector<std::shared_ptr<WaveformWorker>> m_stopping;
    // Changes with every open() and close(); results of an earlier one are dropped.
    quint64 m_generation = 0;
};

} // namespace dictaro
