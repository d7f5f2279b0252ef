#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

namespace dictaro {

// How big a speech model is: the larger, the slower and the more accurate.
enum class ModelSize { Tiny, Base, Small };
// How far its weights are compressed: smaller and a little faster, a little less accurate.
enum class Quantisation { None, Q8, Q5 };

// A speech model file Dictaro offers to download: its upstream name ("base.en-q5_1"), what kind
// of model it is, its exact size and the SHA-256 of its content (lower-case hex).
struct ModelEntry
{
    QString name;
    ModelSize size = ModelSize::Tiny;
    bool englishOnly = false;
    Quantisation quantisation = Quantisation::None;
    qint64 bytes = 0;
    QByteArray sha256;
};

// The models offered for download and where they come from, and the check of a model file the
// user brings.
namespace ModelCatalog {

// The English-only and multilingual tiny, base and small models with their compressed variants,
// smallest and English-only first.
const QList<ModelEntry>& whisperModels();

// The folder URL the published models are downloaded from.
QUrl defaultBaseUrl();
// The file's name, in the download folder and on the server ("ggml-base.en.bin").
QString fileName(const ModelEntry& entry);
// Where to download it from below `base`.
QUrl url(const QUrl& base, const ModelEntry& entry);

// No model file is this small (the mel filters alone take 64 KB) or larger than this.
constexpr qint64 minModelBytes = 64 * 1024;
constexpr qint64 maxModelBytes = qint64(16) << 30;

enum class FileVerdict {
    Model,      // a regular file of plausible size that starts like a model
    Unreadable, // missing, not a regular file, or it can't be read
    WrongSize,  // far too small or too large for a model
    NotModel    // it doesn't start like a model
};
struct FileCheck
{
    FileVerdict verdict = FileVerdict::Unreadable;
    // Why it is unreadable, from the system; empty otherwise.
    QString reason;
};
// Whether the file at `path` looks like a speech model the engine can load. Only the start of
// the file is read; the engine's load is the full check.
FileCheck checkModelFile(const QString& path);

} // namespace ModelCatalog

} // namespace dictaro
