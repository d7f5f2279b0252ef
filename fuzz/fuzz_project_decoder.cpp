// Feeds arbitrary bytes to the project file decoder: every input must end in a record or a
// StoreError, never a crash, a sanitizer report or a hang. A decoded record must encode again
// and read back the same, but for the fraction of a second that files do not keep.
#include "Project.h"
#include "StoreError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The whole second a date falls in, as files keep it: rounded down, also before 1970, where
// toSecsSinceEpoch() would round toward zero (a second late).
static QDateTime wholeSeconds(const QDateTime& date)
{
    const qint64 msecs = date.toMSecsSinceEpoch();
    const qint64 secs = msecs / 1000 - (msecs % 1000 < 0 ? 1 : 0);
    return QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        dictaro::Project project = dictaro::decodeProject(bytes);
        const dictaro::Project again = dictaro::decodeProject(dictaro::encodeProject(project));
        // Files keep whole seconds: a fraction read from a lenient date form is dropped.
        project.createdAt = wholeSeconds(project.createdAt);
        project.updatedAt = wholeSeconds(project.updatedAt);
        if (!(again == project))
            std::abort();
    } catch (const dictaro::StoreError&) {
    }
    return 0;
}
