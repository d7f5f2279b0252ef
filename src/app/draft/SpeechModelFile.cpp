#include "SpeechModelFile.h"

#include "Localization.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>

#include <array>

namespace dictaro {

namespace {

constexpr quint32 fileMagic = 0x67676d6c; // "ggml"
constexpr int englishVocabulary = 51864;
constexpr int qualityVersionFactor = 1000;

// The ggml element types a model may store, as (elements per block, bytes per block).
struct ElementType
{
    int blockElements = 0;
    int blockBytes = 0;
};

std::optional<ElementType> elementType(qint32 type)
{
    switch (type) {
    case 0: return ElementType{1, 4};      // f32
    case 1: return ElementType{1, 2};      // f16
    case 2: return ElementType{32, 18};    // q4_0
    case 3: return ElementType{32, 20};    // q4_1
    case 6: return ElementType{32, 22};    // q5_0
    case 7: return ElementType{32, 24};    // q5_1
    case 8: return ElementType{32, 34};    // q8_0
    case 10: return ElementType{256, 84};  // q2_K
    case 11: return ElementType{256, 110}; // q3_K
    case 12: return ElementType{256, 144}; // q4_K
    case 13: return ElementType{256, 176}; // q5_K
    case 14: return ElementType{256, 210}; // q6_K
    case 30: return ElementType{1, 2};     // bf16
    default: return std::nullopt;
    }
}

// The element type of the big weights for a file type, as whisper.cpp maps them.
std::optional<qint32> weightType(qint32 fileType)
{
    switch (fileType) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 2;
    case 3: return 3;
    case 7: return 8;
    case 8: return 6;
    case 9: return 7;
    case 10: return 10;
    case 11: return 11;
    case 12: return 12;
    case 13: return 13;
    case 14: return 14;
    case 24: return 30;
    default: return std::nullopt;
    }
}

struct Expected
{
    std::array<qint64, 3> dims;
    int dimCount;
    qint32 type;
};

class Reader
{
public:
    explicit Reader(QFile& file) : m_file(file) {}
    bool ok() const { return m_ok; }

    qint32 int32()
    {
        char bytes[4];
        if (m_file.read(bytes, 4) != 4) {
            m_ok = false;
            return 0;
        }
        return qFromLittleEndian<qint32>(bytes);
    }
    QByteArray bytes(qint64 count)
    {
        if (count < 0 || count > m_file.size() - m_file.pos()) {
            m_ok = false;
            return {};
        }
        QByteArray data = m_file.read(count);
        m_ok = m_ok && data.size() == count;
        return data;
    }
    void skip(qint64 count)
    {
        if (count < 0 || count > m_file.size() - m_file.pos() || !m_file.seek(m_file.pos() + count))
            m_ok = false;
    }
    bool atEnd() const { return m_file.pos() == m_file.size(); }

private:
    QFile& m_file;
    bool m_ok = true;
};

// Every tensor the model's shape calls for, by name.
QHash<QByteArray, Expected> expectedTensors(const SpeechModelInfo& info, int audioContext,
                                            int textContext, int mels, qint32 weights)
{
    const qint64 n = info.width;
    const qint32 f32 = 0;
    const qint32 conv = weights == 0 ? 0 : 1;
    QHash<QByteArray, Expected> all;
    const auto add = [&](const QByteArray& name, std::array<qint64, 3> dims, int count,
                         qint32 type) {
        all.insert(name, {dims, count, type});
    };
    const auto vector = [&](const QByteArray& name, qint64 length) {
        add(name, {length, 1, 1}, 1, f32);
    };
    const auto block = [&](const QByteArray& prefix, bool cross) {
        vector(prefix + ".mlp_ln.weight", n);
        vector(prefix + ".mlp_ln.bias", n);
        add(prefix + ".mlp.0.weight", {n, 4 * n, 1}, 2, weights);
        vector(prefix + ".mlp.0.bias", 4 * n);
        add(prefix + ".mlp.2.weight", {4 * n, n, 1}, 2, weights);
        vector(prefix + ".mlp.2.bias", n);
        for (const char* attention : {"attn", "cross_attn"}) {
            if (!cross && QByteArrayView(attention) == "cross_attn")
                continue;
            const QByteArray a = prefix + '.' + attention;
            vector(a + "_ln.weight", n);
            vector(a + "_ln.bias", n);
            add(a + ".query.weight", {n, n, 1}, 2, weights);
            vector(a + ".query.bias", n);
            add(a + ".key.weight", {n, n, 1}, 2, weights);
            add(a + ".value.weight", {n, n, 1}, 2, weights);
            vector(a + ".value.bias", n);
            add(a + ".out.weight", {n, n, 1}, 2, weights);
            vector(a + ".out.bias", n);
        }
    };
    add("encoder.positional_embedding", {n, audioContext, 1}, 2, f32);
    add("encoder.conv1.weight", {3, mels, n}, 3, conv);
    add("encoder.conv1.bias", {1, n, 1}, 2, f32);
    add("encoder.conv2.weight", {3, n, n}, 3, conv);
    add("encoder.conv2.bias", {1, n, 1}, 2, f32);
    vector("encoder.ln_post.weight", n);
    vector("encoder.ln_post.bias", n);
    for (int i = 0; i < info.audioLayers; ++i)
        block("encoder.blocks." + QByteArray::number(i), false);
    add("decoder.positional_embedding", {n, textContext, 1}, 2, f32);
    add("decoder.token_embedding.weight", {n, info.vocabularySize, 1}, 2, weights);
    vector("decoder.ln.weight", n);
    vector("decoder.ln.bias", n);
    for (int i = 0; i < info.textLayers; ++i)
        block("decoder.blocks." + QByteArray::number(i), true);
    return all;
}

qint64 byteSize(const Expected& tensor, ElementType type)
{
    const qint64 elements = tensor.dims[0] * tensor.dims[1] * tensor.dims[2];
    return elements / type.blockElements * type.blockBytes;
}

} // namespace

std::optional<SpeechModelInfo> SpeechModelFile::inspect(const QString& path, QString* problem)
{
    const auto fail = [&](const QString& why) -> std::optional<SpeechModelInfo> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    const QString name = QFileInfo(path).fileName();
    const auto damaged = [&] {
        return fail(
            Localization::tr("“%1” is damaged or incomplete: download it again.").arg(name));
    };
    const auto unknown = [&] {
        return fail(
            Localization::tr("“%1” is a speech model of a kind Dictaro can't use.").arg(name));
    };
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return fail(Localization::tr("The model file “%1” can't be read.").arg(path));
    Reader in(file);
    if (quint32(in.int32()) != fileMagic || !in.ok())
        return fail(Localization::tr("“%1” is not a speech model.").arg(name));

    SpeechModelInfo info;
    info.vocabularySize = in.int32();
    const qint32 audioContext = in.int32();
    info.width = in.int32();
    const qint32 audioHeads = in.int32();
    info.audioLayers = in.int32();
    const qint32 textContext = in.int32();
    const qint32 textWidth = in.int32();
    const qint32 textHeads = in.int32();
    info.textLayers = in.int32();
    const qint32 mels = in.int32();
    const qint32 fileType = in.int32();
    if (!in.ok())
        return damaged();
    const auto within = [](qint64 value, qint64 low, qint64 high) {
        return value >= low && value <= high;
    };
    const std::optional<qint32> weights = weightType(fileType % qualityVersionFactor);
    // Sizes far beyond the largest models are refused before anything is sized by them.
    if (!within(info.vocabularySize, englishVocabulary, 60000) || audioContext != 1500 ||
        !within(info.width, 8, 8192) || textWidth != info.width || !within(audioHeads, 1, 256) ||
        info.width % audioHeads != 0 || !within(textHeads, 1, 256) || info.width % textHeads != 0 ||
        !within(info.audioLayers, 1, 128) || !within(info.textLayers, 1, 128) ||
        !within(textContext, 4, 4096) || !within(mels, 1, 512) || fileType < 0 || !weights)
        return unknown();
    info.multilingual = info.vocabularySize > englishVocabulary;

    const qint32 filterMels = in.int32();
    const qint32 filterBins = in.int32();
    if (!in.ok())
        return damaged();
    if (filterMels != mels || !within(filterBins, 1, 4096))
        return unknown();
    in.skip(qint64(filterMels) * filterBins * 4);
    const qint32 words = in.int32();
    if (!in.ok())
        return damaged();
    if (!within(words, 0, info.vocabularySize))
        return unknown();
    // The decoder looks up the token of a lone space.
    bool space = false;
    for (qint32 i = 0; i < words && in.ok(); ++i) {
        const qint32 length = in.int32();
        if (!within(length, 0, 1024) && in.ok())
            return unknown();
        if (length == 1)
            space = in.bytes(1) == " " || space;
        else
            in.skip(length);
    }
    if (!in.ok())
        return damaged();
    if (!space)
        return unknown();

    QHash<QByteArray, Expected> expected =
        expectedTensors(info, audioContext, textContext, mels, *weights);
    while (!in.atEnd()) {
        const qint32 dimCount = in.int32();
        const qint32 nameLength = in.int32();
        const qint32 type = in.int32();
        if (!in.ok())
            return damaged();
        if (!within(dimCount, 1, 3) || !within(nameLength, 1, 256))
            return damaged();
        std::array<qint64, 3> dims{1, 1, 1};
        for (int i = 0; i < dimCount; ++i)
            dims[std::size_t(i)] = in.int32();
        const QByteArray tensorName = in.bytes(nameLength);
        if (!in.ok())
            return damaged();
        const auto wanted = expected.constFind(tensorName);
        const std::optional<ElementType> stored = elementType(type);
        if (wanted == expected.constEnd() || dims != wanted->dims || !stored ||
            byteSize(*wanted, *stored) != byteSize(*wanted, *elementType(wanted->type)))
            return unknown();
        in.skip(byteSize(*wanted, *stored));
        if (!in.ok())
            return damaged();
        expected.erase(wanted);
    }
    if (!expected.isEmpty())
        return damaged();
    return info;
}

} // namespace dictaro
