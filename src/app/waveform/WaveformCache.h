#pragma once

#include "WaveformBucketer.h"

#include <QCryptographicHash>
#include <QList>
#include <QString>
#include <QTemporaryFile>

#include <optional>

namespace dictaro {

// The folder of finished waveforms, one entry per audio file, keyed by the file's size,
// modification time and its first and last megabyte, and kept under a size limit by dropping
// the least recently used entries. An entry that is damaged, foreign, a link or a special file,
// or longer than its audio file could be, is no entry.
class WaveformCache
{
public:
    using Peak = WaveformBucketer::Peak;

    // Writes an entry as the pass from the start computes it, so that the whole file's peaks
    // are never held for it. Buckets come in order; those the decoder skipped are written as
    // silence. Nothing is left behind unless it is committed whole, and the entry's name is
    // replaced, never what a link there points to.
    class Writer
    {
    public:
        // Writes nothing for an empty `entryFile`.
        explicit Writer(const QString& entryFile);
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;

        void add(qint64 bucket, Peak peak);
        // Ends the entry at `total` buckets. False if it could not be written whole.
        bool commit(qint64 total);

    private:
        void fillTo(qint64 bucket);
        void flush();

        QString m_entryFile;
        QTemporaryFile m_file;
        QCryptographicHash m_hash{QCryptographicHash::Md5};
        QByteArray m_buffer;
        qint64 m_next = 0;
        bool m_ok = false;
    };

    // No caching with an empty `directory`.
    WaveformCache(QString directory, qint64 limitBytes);

    // Where the entry of the audio file at `audioPath` is; empty when the file cannot be read
    // or nothing is cached.
    QString entryFile(const QString& audioPath) const;
    // The peaks of a valid entry for an audio file of `audioBytes`; nothing for a missing,
    // short, altered, foreign or implausibly long one. A valid entry is marked as just used.
    static std::optional<QList<Peak>> read(const QString& entryFile, qint64 audioBytes);
    // Removes the least recently used entries while the folder holds more than the limit;
    // `keep` stays. Files a computation left unfinished a day ago or more go too.
    void trim(const QString& keep) const;

private:
    QString m_directory;
    qint64 m_limitBytes;
};

} // namespace dictaro
