#pragma once

#include <QString>

#include <optional>

namespace dictaro {

// What a speech model file (whisper.cpp's ggml format) declares.
struct SpeechModelInfo
{
    int vocabularySize = 0;
    int audioLayers = 0;
    int textLayers = 0;
    int width = 0; // the model's state size
    // Multilingual models know many languages and can find out which one is spoken; English-only
    // ones (".en") know English alone.
    bool multilingual = false;
};

// Checks a speech model file before the recogniser loads it, without reading its weights: its
// header, its vocabulary, and that every tensor the model needs is there once with its shape and
// its data complete, and nothing follows. The recogniser itself trusts the file: a truncated one
// would load garbage, an odd header could make it abort.
namespace SpeechModelFile {

// The model in the file at `path`; nothing when it is no usable model, with why in `problem` (a
// message for the user).
std::optional<SpeechModelInfo> inspect(const QString& path, QString* problem);

} // namespace SpeechModelFile
} // namespace dictaro
