#pragma once

#include "Recogniser.h"
#include "SpeechModelFile.h"

#include <future>

struct whisper_context;

namespace dictaro {

// A Recogniser that runs a whisper.cpp speech model on the CPU. Only in builds with the
// recogniser's source (DICTARO_HAVE_WHISPER); use builtInDraftEngine() elsewhere.
class WhisperRecogniser : public Recogniser
{
public:
    WhisperRecogniser();
    ~WhisperRecogniser() override;
    WhisperRecogniser(const WhisperRecogniser&) = delete;
    WhisperRecogniser& operator=(const WhisperRecogniser&) = delete;

    std::optional<QString> load(const QString& path) override;
    bool isLoaded() const override;
    bool recognise(const Request& request, const std::atomic<bool>& cancel, const SegmentSink& sink,
                   const Progress& progress) override;

    // The loaded model's description.
    const SpeechModelInfo& model() const { return m_model; }

    // Whether a window the model is unsure of is decoded again at higher temperatures (as it
    // is by default). Clear speech rarely needs it; a model with random weights always does,
    // so the benchmark turns it off to time decoding as on clear speech.
    void setRetries(bool retries) { m_retries = retries; }

    // The longest stretch given to the model at once, in seconds: a long recording goes in
    // pieces cut at a quiet moment, so memory stays bounded and a stop is never far off.
    static constexpr double pieceSeconds = 300.0;

private:
    whisper_context* m_context = nullptr;
    // A stopped run, until it reaches the end of its step.
    std::future<void> m_abandoned;
    bool m_retries = true;
    SpeechModelInfo m_model;
};

} // namespace dictaro
