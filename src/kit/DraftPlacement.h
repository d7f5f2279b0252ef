#pragma once

#include "Recogniser.h"

#include <QString>

#include <vector>

namespace dictaro {

// How a machine draft becomes transcript text.
namespace DraftPlacement {

// One line per segment, "[hh:mm:ss] text", each ended by a line break; segments with no text
// are left out, and a segment's own line breaks become spaces.
QString linesFor(const std::vector<RecognisedSegment>& segments);

} // namespace DraftPlacement
} // namespace dictaro
