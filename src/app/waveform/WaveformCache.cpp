#include "WaveformCache.h"

#include "RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdio>
#include <limits>

namespace dictaro {

namespace {

using Links = RegularFile::Links;

constexpr qint64 bucketsPerSecond = WaveformBucketer::bucketsPerSecond;
constexpr qint64 hashedBytes = 1024 * 1024;

// "DWFP", format version (u32 LE), min and max of every bucket (one byte each), bucket count
// (u64 LE), MD5 of everything before it. The count comes last so that an entry can be written
// as its buckets are computed, front to back.
constexpr char entryMagic[4] = {'D', 'W', 'F', 'P'};
constexpr quint32 entryVersion = 2;
constexpr qsizetype entryHeaderSize = 8;
constexpr qsizetype entryChecksumSize = 16;
constexpr qsizetype entryTrailerSize = 8 + entryChecksumSize;
constexpr qint64 maxEntryBytes =
    entryHeaderSize + 2 * WaveformBucketer::maxBuckets + entryTrailerSize;
// The least an audio file's sound takes (speech codecs go down to about 1.2 kb/s): an entry
// longer than its file could hold at that rate is forged or belongs to another file.
constexpr double leastBitsPerSecond = 1000.0;
const QString entrySuffix = QStringLiteral(".peaks");

// The entry's file name for the audio file at `path`: a hash of its size, modification time
// and first and last megabyte. Empty when the file cannot be read.
QString entryName(const QString& path)
{
    QFile file;
    if (!RegularFile::openForReading(file, path, std::numeric_limits<qint64>::max(), Links::Follow))
        return {};
    const qint64 size = file.size();
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayLiteral("dictaro waveform "));
    hash.addData(QByteArray::number(entryVersion) + ' ' + QByteArray::number(bucketsPerSecond) +
                 ' ' + QByteArray::number(size) + ' ' +
                 QByteArray::number(modified.toMSecsSinceEpoch()) + '\n');
    // Read in small pieces: a freed block of a megabyte would make the allocator keep blocks
    // of up to that size in the heap from then on, rather than give them back.
    const auto addBytes = [&](qint64 from) {
        if (!file.seek(from))
            return false;
        char piece[16 * 1024];
        for (qint64 left = std::min(size - from, hashedBytes); left > 0;) {
            const qint64 read = file.read(piece, std::min<qint64>(left, sizeof piece));
            if (read <= 0)
                return false;
            hash.addData(QByteArrayView(piece, read));
            left -= read;
        }
        return true;
    };
    if (!addBytes(0) || !addBytes(std::max<qint64>(0, size - hashedBytes)))
        return {};
    return QString::fromLatin1(hash.result().toHex()) + entrySuffix;
}

} // namespace

WaveformCache::WaveformCache(QString directory, qint64 limitBytes)
    : m_directory(std::move(directory)), m_limitBytes(limitBytes)
{}

QString WaveformCache::entryFile(const QString& audioPath) const
{
    if (m_directory.isEmpty())
        return {};
    const QString name = entryName(audioPath);
    return name.isEmpty() ? QString() : QDir(m_directory).filePath(name);
}

std::optional<QList<WaveformCache::Peak>> WaveformCache::read(const QString& entryFile,
                                                              qint64 audioBytes)
{
    QFile file;
    if (!RegularFile::openForReading(file, entryFile, maxEntryBytes, Links::Refuse))
        return std::nullopt;
    const qint64 size = file.size();
    const qint64 bodySize = size - entryHeaderSize - entryTrailerSize;
    const qint64 plausible = WaveformBucketer::plausibleBuckets(audioBytes, leastBitsPerSecond);
    if (bodySize < 0 || bodySize > 2 * plausible || bodySize % 2 != 0)
        return std::nullopt;
    const QByteArray data = file.read(size);
    if (data.size() != size || !data.startsWith(QByteArray(entryMagic, 4)) ||
        qFromLittleEndian<quint32>(data.constData() + 4) != entryVersion ||
        qFromLittleEndian<quint64>(data.constData() + entryHeaderSize + bodySize) !=
            quint64(bodySize / 2))
        return std::nullopt;
    const QByteArrayView checked(data.constData(), data.size() - entryChecksumSize);
    if (QCryptographicHash::hash(checked, QCryptographicHash::Md5) !=
        QByteArrayView(data).last(entryChecksumSize))
        return std::nullopt;
    QList<Peak> peaks(static_cast<qsizetype>(bodySize / 2));
    const char* bytes = data.constData() + entryHeaderSize;
    for (qsizetype i = 0; i < peaks.size(); ++i) {
        peaks[i] = {qint8(bytes[2 * i]), qint8(bytes[2 * i + 1])};
        if (!peaks[i].isComputed())
            return std::nullopt;
    }
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return peaks;
}

void WaveformCache::trim(const QString& keep) const
{
    if (m_directory.isEmpty())
        return;
    const QDir folder(m_directory);
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    for (const QFileInfo& partial : folder.entryInfoList(
             {QLatin1Char('*') + entrySuffix + QStringLiteral(".*")}, QDir::Files)) {
        if (partial.lastModified() < dayAgo)
            QFile::remove(partial.absoluteFilePath());
    }
    const QFileInfoList entries = folder.entryInfoList({QLatin1Char('*') + entrySuffix},
                                                       QDir::Files, QDir::Time | QDir::Reversed);
    qint64 total = 0;
    for (const QFileInfo& entry : entries)
        total += entry.size();
    for (const QFileInfo& entry : entries) {
        if (total <= m_limitBytes)
            break;
        if (entry.absoluteFilePath() == keep || !QFile::remove(entry.absoluteFilePath()))
            continue;
        total -= entry.size();
    }
}

// --- Writer ------------------------------------------------------------------------------------

namespace {
constexpr qsizetype writerBufferSize = 64 * 1024;
}

WaveformCache::Writer::Writer(const QString& entryFile) : m_entryFile(entryFile)
{
    if (!entryFile.isEmpty() && QDir().mkpath(QFileInfo(entryFile).absolutePath())) {
        // A fresh file of its own beside the entry (never one that is there already).
        m_file.setFileTemplate(entryFile + QStringLiteral(".XXXXXX"));
        m_ok = m_file.open();
    }
    m_buffer.reserve(writerBufferSize + 64);
    char header[entryHeaderSize];
    std::copy_n(entryMagic, 4, header);
    qToLittleEndian<quint32>(entryVersion, header + 4);
    m_buffer.append(header, entryHeaderSize);
}

void WaveformCache::Writer::add(qint64 bucket, Peak peak)
{
    if (!m_ok)
        return;
    if (bucket < m_next) { // the pass started over: no entry this time
        m_ok = false;
        return;
    }
    fillTo(bucket);
    m_buffer.append(char(peak.min));
    m_buffer.append(char(peak.max));
    ++m_next;
    if (m_buffer.size() >= writerBufferSize)
        flush();
}

bool WaveformCache::Writer::commit(qint64 total)
{
    if (!m_ok || total < m_next)
        return false;
    fillTo(total);
    char count[8];
    qToLittleEndian<quint64>(quint64(total), count);
    m_buffer.append(count, 8);
    flush();
    const QByteArray checksum = m_hash.result();
    if (!m_ok || m_file.write(checksum) != checksum.size() || !m_file.flush())
        return false;
    // rename() replaces the name itself: a link there is replaced, not followed.
    if (std::rename(QFile::encodeName(m_file.fileName()).constData(),
                    QFile::encodeName(m_entryFile).constData()) != 0)
        return false;
    m_file.setAutoRemove(false);
    return true;
}

void WaveformCache::Writer::fillTo(qint64 bucket)
{
    for (; m_next < bucket; ++m_next) {
        m_buffer.append("\0\0", 2);
        if (m_buffer.size() >= writerBufferSize)
            flush();
    }
}

void WaveformCache::Writer::flush()
{
    m_ok = m_ok && m_file.write(m_buffer) == m_buffer.size();
    m_hash.addData(m_buffer);
    m_buffer.resize(0); // keeps its capacity
}

} // namespace dictaro
