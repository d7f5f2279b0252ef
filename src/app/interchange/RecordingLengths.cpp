#include "RecordingLengths.h"

#include "MediaDuration.h"

#include <QFileInfo>

namespace dictaro {

RecordingLengths::RecordingLengths(QObject* parent) : QObject(parent)
{
    m_reader.setMaxThreadCount(1);
    m_reader.setObjectName(QStringLiteral("Recording lengths"));
}

// Reads under way finish first; what they report back is dropped with this object.
RecordingLengths::~RecordingLengths()
{
    m_reader.clear();
    m_reader.waitForDone();
}

std::optional<double> RecordingLengths::length(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return std::nullopt;
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    const auto known = m_entries.constFind(path);
    if (known != m_entries.constEnd() && known->modified == modified && known->size == size)
        return known->seconds > 0.0 ? std::optional(known->seconds) : std::nullopt;
    m_entries.insert(path, {modified, size, 0.0});
    m_reader.start([this, path, modified, size] {
        const double seconds = MediaDuration::of(path);
        QMetaObject::invokeMethod(
            this,
            [this, path, modified, size, seconds] {
                const auto entry = m_entries.find(path);
                if (entry == m_entries.end() || entry->modified != modified ||
                    entry->size != size || !(seconds > 0.0))
                    return;
                entry->seconds = seconds;
                emit lengthKnown(path);
            },
            Qt::QueuedConnection);
    });
    return std::nullopt;
}

} // namespace dictaro
