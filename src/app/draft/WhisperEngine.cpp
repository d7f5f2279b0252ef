// The draft engine built into this program when it has the speech recogniser: whisper.cpp's
// recogniser over the recording decoded with FFmpeg.
#include "DraftEngine.h"
#include "SpeechAudio.h"
#include "WhisperRecogniser.h"

namespace dictaro {

DraftEngine builtInDraftEngine()
{
    DraftEngine engine;
    engine.makeRecogniser = [] { return std::make_unique<WhisperRecogniser>(); };
    engine.readSamples = [](const QString& path, double start, double end,
                            std::vector<float>& samples, const std::atomic<bool>& cancel,
                            QString& error) {
        std::optional<SpeechAudio> audio =
            SpeechAudioDecoder::decode(path, cancel, {}, &error, start, end);
        if (!audio)
            return false;
        samples = std::move(audio->samples);
        return true;
    };
    return engine;
}

} // namespace dictaro
