#pragma once

#include "ModelCatalog.h"

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

namespace dictaro {

// One downloadable speech model in the models folder: whether it is there, its download (with
// progress, resuming a partial file, cancel, a stall limit) and the check of what arrived
// against its pinned SHA-256. Nothing is fetched until download() is called.
class SpeechModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(qint64 receivedBytes READ receivedBytes NOTIFY progressChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)

public:
    enum class State {
        Absent,      // not downloaded; part of it may be (receivedBytes), which download() resumes
        Downloading, // bytes are arriving
        Checking,    // all arrived; its checksum is being computed
        Ready        // the checked file is in place (path())
    };
    Q_ENUM(State)

    SpeechModel(ModelEntry entry, const QString& folder, const QUrl& url,
                QNetworkAccessManager& network, std::chrono::milliseconds stallTimeout,
                QObject* parent = nullptr);
    ~SpeechModel() override;

    const ModelEntry& entry() const { return m_entry; }
    // The model file once it is downloaded, and the partial file while it is not.
    QString path() const;
    QString partPath() const;

    State state() const { return m_state; }
    // Bytes in the partial file (or all of them when ready), and their share of the whole, 0..1.
    qint64 receivedBytes() const { return m_received; }
    double progress() const;
    // Why the last download failed, for the user; empty when it did not.
    QString errorText() const { return m_error; }

    // Starts or resumes the download. Does nothing while downloading, checking or ready.
    void download();
    // Stops the download and deletes what arrived.
    void cancel();
    // Deletes the model file and any partial file. False when a file could not be deleted.
    bool remove();

signals:
    void stateChanged(dictaro::SpeechModel::State state);
    void progressChanged(qint64 receivedBytes);
    void errorTextChanged(const QString& errorText);

private:
    void readArrived();
    void finishReply();
    void stalled();
    void check();
    void fail(const QString& message, bool keepPart);
    void endReply();
    void setState(State state);
    void setReceived(qint64 bytes);
    void setError(const QString& text);

    ModelEntry m_entry;
    QString m_folder;
    QUrl m_url;
    QNetworkAccessManager& m_network;
    QTimer m_stallTimer;
    QPointer<QNetworkReply> m_reply;
    QFile m_part;
    State m_state = State::Absent;
    qint64 m_received = 0;
    qint64 m_requestedFrom = 0;
    bool m_bodyAccepted = false;
    bool m_stalled = false;
    // Bumped when a check under way no longer counts (cancelled, or another began).
    int m_checkGeneration = 0;
    QString m_error;
};

} // namespace dictaro
