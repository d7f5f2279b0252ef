#include "DraftEngine.h"

#ifdef DICTARO_HAVE_WHISPER
#include "WhisperRecogniser.h"
#endif

#include <QThread>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>

namespace dictaro::DraftEngine {

bool isAvailable()
{
#ifdef DICTARO_HAVE_WHISPER
    return true;
#else
    return false;
#endif
}

std::unique_ptr<Recogniser> makeRecogniser()
{
#ifdef DICTARO_HAVE_WHISPER
    return std::make_unique<WhisperRecogniser>();
#else
    return nullptr;
#endif
}

int recommendedThreads()
{
    return std::max(1, QThread::idealThreadCount() - 1);
}

void lowerCurrentThreadPriority()
{
#if defined(Q_OS_LINUX)
    // Linux keeps a nice value per thread, and new threads inherit it: the recogniser's worker
    // threads, started from this one, run below the interface too. (Qt's thread priorities
    // change nothing under the default scheduler.)
    const auto thread = id_t(syscall(SYS_gettid));
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, thread);
    if (errno == 0 && current < 10)
        setpriority(PRIO_PROCESS, thread, 10);
#else
    QThread::currentThread()->setPriority(QThread::LowestPriority);
#endif
}

} // namespace dictaro::DraftEngine
