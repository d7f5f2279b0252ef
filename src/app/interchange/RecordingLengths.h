#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <optional>

namespace dictaro {

// The lengths of the recordings the project list names, read with MediaDuration on a thread of
// their own and kept while a file stays the same (size and modification time), so that the
// list never waits for a file.
class RecordingLengths final : public QObject
{
    Q_OBJECT

public:
    explicit RecordingLengths(QObject* parent = nullptr);
    ~RecordingLengths() override;

    // The length in seconds of the recording at `path` when known. Otherwise nothing, and the
    // file is read in the background: lengthKnown() follows if it has a length.
    std::optional<double> length(const QString& path);

signals:
    void lengthKnown(const QString& path);

private:
    struct Entry
    {
        QDateTime modified;
        qint64 size = -1;
        double seconds = 0.0; // 0 while being read, and for a file without a length
    };

    QHash<QString, Entry> m_entries;
    QThreadPool m_reader;
};

} // namespace dictaro
