#pragma once

#include "ModelCatalog.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

namespace dictaro {

class SpeechModel;

// The speech models Dictaro offers, each downloadable into one folder (in the user's data
// folder, "Dictaro/Models"), from a server folder holding them under their published names.
// Making it fetches nothing.
class ModelLibrary : public QObject
{
    Q_OBJECT

public:
    // How long a download may go without a byte before it counts as stalled.
    static constexpr std::chrono::milliseconds defaultStallTimeout{30'000};

    ModelLibrary(const QString& folder, const QUrl& baseUrl, const QList<ModelEntry>& catalogue,
                 std::chrono::milliseconds stallTimeout = defaultStallTimeout,
                 QObject* parent = nullptr);
    ~ModelLibrary() override;

    // The user's models folder; empty when there is no data folder.
    static QString defaultFolder();

    QString folder() const { return m_folder; }
    // In the catalogue's order.
    const QList<SpeechModel*>& models() const { return m_models; }
    // The one named so ("base.en"), or null.
    SpeechModel* model(const QString& name) const;
    // The one whose file is at `path`, or null.
    SpeechModel* modelAt(const QString& path) const;

private:
    QString m_folder;
    QNetworkAccessManager* m_network = nullptr;
    QList<SpeechModel*> m_models;
};

} // namespace dictaro
