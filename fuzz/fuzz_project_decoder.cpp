// Feeds arbitrary bytes to the project file decoder: every input must end in a record or a
// StoreError, never a crash, a sanitizer report or a hang. A decoded record must encode again
// and read back the same, but for the fraction of a second that files do not keep.
#include "Project.h"
#include "StoreError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

static QDateTime wholeSeconds(const QDateTime& date)
{
    return QDateTime::fromSecsSinceEpoch(date.toSecsSinceEpoch(), Qt::UTC);
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
