// Feeds arbitrary bytes to the project file decoder: every input must end in a record or a
// StoreError, never a crash, a sanitizer report or a hang. A decoded record must encode again.
#include "Project.h"
#include "StoreError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    try {
        const dictaro::Project project = dictaro::decodeProject(bytes);
        const dictaro::Project again = dictaro::decodeProject(dictaro::encodeProject(project));
        if (!(again == project))
            std::abort();
    } catch (const dictaro::StoreError&) {
    }
    return 0;
}
