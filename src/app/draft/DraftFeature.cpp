#include "DraftFeature.h"

namespace dictaro {

bool draftAvailable()
{
#ifdef DICTARO_HAVE_WHISPER
    return true;
#else
    return false;
#endif
}

} // namespace dictaro
