#include "ModelCatalog.h"

#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace dictaro::ModelCatalog {

namespace {

struct Row
{
    const char* name;
    ModelSize size;
    bool englishOnly;
    Quantisation quantisation;
    qint64 bytes;
    const char* sha256;
};

// As published in the model repository on Hugging Face (file sizes and the SHA-256 of each
// file's Git LFS object).
constexpr Row rows[] = {
    {"tiny.en", ModelSize::Tiny, true, Quantisation::None, 77'704'715,
     "921e4cf8686fdd993dcd081a5da5b6c365bfde1162e72b08d75ac75289920b1f"},
    {"tiny.en-q8_0", ModelSize::Tiny, true, Quantisation::Q8, 43'550'795,
     "5bc2b3860aa151a4c6e7bb095e1fcce7cf12c7b020ca08dcec0c6d018bb7dd94"},
    {"tiny.en-q5_1", ModelSize::Tiny, true, Quantisation::Q5, 32'166'155,
     "c77c5766f1cef09b6b7d47f21b546cbddd4157886b3b5d6d4f709e91e66c7c2b"},
    {"tiny", ModelSize::Tiny, false, Quantisation::None, 77'691'713,
     "be07e048e1e599ad46341c8d2a135645097a538221678b7acdd1b1919c6e1b21"},
    {"tiny-q8_0", ModelSize::Tiny, false, Quantisation::Q8, 43'537'433,
     "c2085835d3f50733e2ff6e4b41ae8a2b8d8110461e18821b09a15c40c42d1cca"},
    {"tiny-q5_1", ModelSize::Tiny, false, Quantisation::Q5, 32'152'673,
     "818710568da3ca15689e31a743197b520007872ff9576237bda97bd1b469c3d7"},
    {"base.en", ModelSize::Base, true, Quantisation::None, 147'964'211,
     "a03779c86df3323075f5e796cb2ce5029f00ec8869eee3fdfb897afe36c6d002"},
    {"base.en-q8_0", ModelSize::Base, true, Quantisation::Q8, 81'781'811,
     "a4d4a0768075e13cfd7e19df3ae2dbc4a68d37d36a7dad45e8410c9a34f8c87e"},
    {"base.en-q5_1", ModelSize::Base, true, Quantisation::Q5, 59'721'011,
     "4baf70dd0d7c4247ba2b81fafd9c01005ac77c2f9ef064e00dcf195d0e2fdd2f"},
    {"base", ModelSize::Base, false, Quantisation::None, 147'951'465,
     "60ed5bc3dd14eea856493d334349b405782ddcaf0028d4b5df4088345fba2efe"},
    {"base-q8_0", ModelSize::Base, false, Quantisation::Q8, 81'768'585,
     "c577b9a86e7e048a0b7eada054f4dd79a56bbfa911fbdacf900ac5b567cbb7d9"},
    {"base-q5_1", ModelSize::Base, false, Quantisation::Q5, 59'707'625,
     "422f1ae452ade6f30a004d7e5c6a43195e4433bc370bf23fac9cc591f01a8898"},
    {"small.en", ModelSize::Small, true, Quantisation::None, 487'614'201,
     "c6138d6d58ecc8322097e0f987c32f1be8bb0a18532a3f88f734d1bbf9c41e5d"},
    {"small.en-q8_0", ModelSize::Small, true, Quantisation::Q8, 264'477'561,
     "67a179f608ea6114bd3fdb9060e762b588a3fb3bd00c4387971be4d177958067"},
    {"small.en-q5_1", ModelSize::Small, true, Quantisation::Q5, 190'098'681,
     "bfdff4894dcb76bbf647d56263ea2a96645423f1669176f4844a1bf8e478ad30"},
    {"small", ModelSize::Small, false, Quantisation::None, 487'601'967,
     "1be3a9b2063867b937e64e2ec7483364a79917e157fa98c5d94b5c1fffea987b"},
    {"small-q8_0", ModelSize::Small, false, Quantisation::Q8, 264'464'607,
     "49c8fb02b65e6049d5fa6c04f81f53b867b5ec9540406812c643f177317f779f"},
    {"small-q5_1", ModelSize::Small, false, Quantisation::Q5, 190'085'487,
     "ae85e4a935d7a567bd102fe55afc16bb595bdb618e11b2fc7591bc08120411bb"},
};

// The first four bytes of every model file: "ggml" as a little-endian 32-bit number.
constexpr quint32 modelMagic = 0x67676d6c;

} // namespace

const QList<ModelEntry>& whisperModels()
{
    static const QList<ModelEntry> models = [] {
        QList<ModelEntry> list;
        for (const Row& row : rows)
            list.append({QString::fromLatin1(row.name), row.size, row.englishOnly, row.quantisation,
                         row.bytes, QByteArray(row.sha256)});
        return list;
    }();
    return models;
}

QUrl defaultBaseUrl()
{
    return QUrl(QStringLiteral("https://huggingface.co/ggerganov/whisper.cpp/resolve/main/"));
}

QString fileName(const ModelEntry& entry)
{
    return QStringLiteral("ggml-%1.bin").arg(entry.name);
}

QUrl url(const QUrl& base, const ModelEntry& entry)
{
    QUrl folder = base;
    if (!folder.path().endsWith(u'/'))
        folder.setPath(folder.path() + u'/');
    return folder.resolved(QUrl(fileName(entry)));
}

FileCheck checkModelFile(const QString& path)
{
    QFile file;
    QString reason;
    if (!RegularFile::openForReading(file, path, maxModelBytes, RegularFile::Links::Follow,
                                     &reason)) {
        // A file too large to be a model is refused by size, not as unreadable.
        if (const QFileInfo info(path); info.isFile() && info.size() > maxModelBytes)
            return {FileVerdict::WrongSize, {}};
        return {FileVerdict::Unreadable, reason};
    }
    if (file.size() < minModelBytes)
        return {FileVerdict::WrongSize, {}};
    quint32 magic = 0;
    if (file.read(reinterpret_cast<char*>(&magic), sizeof magic) != sizeof magic)
        return {FileVerdict::Unreadable, file.errorString()};
    if (qFromLittleEndian(magic) != modelMagic)
        return {FileVerdict::NotModel, {}};
    return {FileVerdict::Model, {}};
}

} // namespace dictaro::ModelCatalog
