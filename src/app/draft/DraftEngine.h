#pragma once

#include "Recogniser.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace dictaro {

// What drafting needs from a speech engine: recognisers, and the samples they take.
struct DraftEngine
{
    // A new recogniser, no model loaded yet.
    std::function<std::unique_ptr<Recogniser>()> makeRecogniser;
    // Fills `samples` with the 16 kHz mono samples of [start, end) seconds of the recording at
    // `path`. False with `error` (for the user) when it cannot; stops early, false, once
    // `cancel` is set. Runs on the drafting worker's thread.
    std::function<bool(const QString& path, double start, double end, std::vector<float>& samples,
                       const std::atomic<bool>& cancel, QString& error)>
        readSamples;

    explicit operator bool() const { return makeRecogniser && readSamples; }
};

// The engine built into this program; an empty one when it was built without.
DraftEngine builtInDraftEngine();
// The engine drafts are made with: the built-in one, unless a test put another in its place.
DraftEngine currentDraftEngine();
// Whether drafts can be made at all (Draft ▸ Make Draft is offered only then).
bool draftAvailable();
// FOR TESTS ONLY: makes currentDraftEngine() this one (an empty one: none); nullopt restores
// the built-in one.
void setDraftEngineForTesting(std::optional<DraftEngine> engine);

} // namespace dictaro
