#include "ModelLibrary.h"

#include "SpeechModel.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QStandardPaths>

namespace dictaro {

ModelLibrary::ModelLibrary(const QString& folder, const QUrl& baseUrl,
                           const QList<ModelEntry>& catalogue,
                           std::chrono::milliseconds stallTimeout, QObject* parent)
    : QObject(parent), m_folder(folder), m_network(new QNetworkAccessManager(this))
{
    for (const ModelEntry& entry : catalogue)
        m_models.append(new SpeechModel(entry, m_folder, ModelCatalog::url(baseUrl, entry),
                                        *m_network, stallTimeout, this));
}

ModelLibrary::~ModelLibrary()
{
    // The models stop their downloads while the network they use is still there.
    qDeleteAll(m_models);
    m_models.clear();
}

QString ModelLibrary::defaultFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    return QDir(base).filePath(QStringLiteral("Dictaro/Models"));
}

SpeechModel* ModelLibrary::model(const QString& name) const
{
    for (SpeechModel* model : m_models) {
        if (model->entry().name == name)
            return model;
    }
    return nullptr;
}

SpeechModel* ModelLibrary::modelAt(const QString& path) const
{
    if (path.isEmpty())
        return nullptr;
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (SpeechModel* model : m_models) {
        if (QFileInfo(model->path()).absoluteFilePath() == wanted)
            return model;
    }
    return nullptr;
}

} // namespace dictaro
