#include "SpeechModel.h"

#include "Localization.h"
#include "RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStorageInfo>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>

namespace dictaro {

namespace {

// The SHA-256 of the regular file at `path` (lower-case hex), or why it could not be read.
struct Digest
{
    QByteArray hex;
    QString error;
};

Digest sha256Of(const QString& path, qint64 maxBytes)
{
    QFile file;
    QString error;
    if (!RegularFile::openForReading(file, path, maxBytes, RegularFile::Links::Refuse, &error))
        return {{}, error};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return {hash.result().toHex(), {}};
}

// The first byte of a partial answer ("Content-Range: bytes 100-199/200"), if it has one.
std::optional<qint64> rangeStart(const QByteArray& contentRange)
{
    const QByteArray range = contentRange.trimmed();
    if (!range.startsWith("bytes "))
        return std::nullopt;
    const qsizetype dash = range.indexOf('-');
    bool ok = false;
    const qint64 start = range.mid(6, dash - 6).trimmed().toLongLong(&ok);
    return ok && dash > 6 ? std::optional(start) : std::nullopt;
}

constexpr qint64 readBufferBytes = 256 * 1024;

QString resumeHint()
{
    return Localization::tr("Download again to continue where it stopped.");
}

} // namespace

SpeechModel::SpeechModel(ModelEntry entry, const QString& folder, const QUrl& url,
                         QNetworkAccessManager& network, std::chrono::milliseconds stallTimeout,
                         QObject* parent)
    : QObject(parent), m_entry(std::move(entry)), m_folder(folder), m_url(url), m_network(network)
{
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(stallTimeout);
    connect(&m_stallTimer, &QTimer::timeout, this, &SpeechModel::stalled);

    // What an earlier run left: the checked file, or part of one to resume.
    const QFileInfo done(path());
    const QFileInfo part(partPath());
    if (done.isFile() && !done.isSymLink() && done.size() == m_entry.bytes) {
        m_state = State::Ready;
        m_received = m_entry.bytes;
    } else if (part.isFile() && !part.isSymLink()) {
        m_received = std::min(part.size(), m_entry.bytes);
    }
}

SpeechModel::~SpeechModel()
{
    // A download under way stops here; what arrived stays for the next start to resume.
    endReply();
}

QString SpeechModel::path() const
{
    return QDir(m_folder).filePath(ModelCatalog::fileName(m_entry));
}

QString SpeechModel::partPath() const
{
    return path() + QStringLiteral(".part");
}

double SpeechModel::progress() const
{
    return m_entry.bytes > 0 ? double(m_received) / double(m_entry.bytes) : 0.0;
}

void SpeechModel::download()
{
    if (m_state != State::Absent)
        return;
    setError({});
    m_stalled = false;
    m_bodyAccepted = false;
    if (!QDir().mkpath(m_folder))
        return fail(Localization::tr("Dictaro can't create the folder %1.")
                        .arg(QDir::toNativeSeparators(m_folder)),
                    true);

    const QFileInfo part(partPath());
    qint64 have = part.exists() && part.isFile() && !part.isSymLink() ? part.size() : 0;
    if (have > m_entry.bytes) {
        QFile::remove(partPath());
        have = 0;
    }
    setReceived(have);
    if (have == m_entry.bytes)
        return check();

    const QStorageInfo storage(m_folder);
    if (storage.isValid() && storage.bytesAvailable() >= 0 &&
        storage.bytesAvailable() < m_entry.bytes - have)
        return fail(
            Localization::tr("There is not enough free space for this model: it needs "
                             "%1 more in %2.")
                .arg(QLocale().formattedDataSize(m_entry.bytes - have - storage.bytesAvailable(), 0,
                                                 QLocale::DataSizeSIFormat),
                     QDir::toNativeSeparators(m_folder)),
            true);

    QString reason;
    if (!RegularFile::openForAppending(m_part, partPath(), m_entry.bytes,
                                       RegularFile::Links::Refuse, &reason))
        return fail(Localization::tr("Dictaro can't write the model to %1: %2.")
                        .arg(QDir::toNativeSeparators(partPath()), reason),
                    true);

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // The bytes as stored, so that a range of them means the same on the next attempt.
    request.setRawHeader("Accept-Encoding", "identity");
    if (have > 0)
        request.setRawHeader("Range", "bytes=" + QByteArray::number(have) + '-');
    m_requestedFrom = have;
    m_reply = m_network.get(request);
    // Bounded memory however fast the bytes come, and progress as they do.
    m_reply->setReadBufferSize(readBufferBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, &SpeechModel::readArrived);
    connect(m_reply, &QNetworkReply::finished, this, &SpeechModel::finishReply);
    m_stallTimer.start();
    setState(State::Downloading);
}

void SpeechModel::readArrived()
{
    m_stallTimer.start();
    if (!m_bodyAccepted) {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 206) {
            if (rangeStart(m_reply->rawHeader("Content-Range")) != m_requestedFrom)
                return fail(Localization::tr("The server sent the wrong part of the file, so "
                                             "the partial download was deleted. Try again."),
                            false);
        } else if (status == 200) {
            // The whole file, whatever was asked: it replaces the part.
            if (m_requestedFrom > 0) {
                m_part.resize(0);
                setReceived(0);
            }
        } else {
            return; // an error page, reported when it ends
        }
        m_bodyAccepted = true;
    }
    const QByteArray data = m_reply->readAll();
    if (m_received + data.size() > m_entry.bytes)
        return fail(Localization::tr("The server sent more than the model's size, so the "
                                     "download was deleted."),
                    false);
    if (m_part.write(data) != data.size())
        return fail(Localization::tr("Dictaro can't write the model to %1: %2.")
                        .arg(QDir::toNativeSeparators(partPath()), m_part.errorString()),
                    true);
    setReceived(m_received + data.size());
}

void SpeechModel::finishReply()
{
    m_stallTimer.stop();
    if (m_reply && m_reply->bytesAvailable() > 0)
        readArrived(); // what came before the end counts, whatever the end was
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    if (m_stalled) {
        const auto seconds =
            std::chrono::ceil<std::chrono::seconds>(m_stallTimer.intervalAsDuration());
        return fail(
            Localization::tr("The download stalled: the server sent nothing for %1 seconds.")
                    .arg(seconds.count()) +
                u' ' + resumeHint(),
            true);
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 416)
        return fail(Localization::tr("The server sent the wrong part of the file, so the "
                                     "partial download was deleted. Try again."),
                    false);
    if (status >= 300) {
        const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
        const QString answer = phrase.isEmpty() ? QString::number(status)
                                                : QStringLiteral("%1 %2").arg(status).arg(phrase);
        return fail(Localization::tr("The download failed: the server answered “%1”.").arg(answer),
                    true);
    }
    if (reply->error() != QNetworkReply::NoError)
        return fail(
            Localization::tr("The download was interrupted (%1).").arg(reply->errorString()) +
                u' ' + resumeHint(),
            true);
    if (!m_part.flush())
        return fail(Localization::tr("Dictaro can't write the model to %1: %2.")
                        .arg(QDir::toNativeSeparators(partPath()), m_part.errorString()),
                    true);
    if (m_received < m_entry.bytes)
        return fail(Localization::tr("The download ended before the whole file arrived.") + u' ' +
                        resumeHint(),
                    true);
    endReply();
    check();
}

void SpeechModel::stalled()
{
    m_stalled = true;
    if (m_reply)
        m_reply->abort(); // finishes the reply, which says why
}

void SpeechModel::check()
{
    setState(State::Checking);
    const int generation = ++m_checkGeneration;
    auto* watcher = new QFutureWatcher<Digest>(this);
    connect(watcher, &QFutureWatcher<Digest>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation != m_checkGeneration)
            return; // cancelled meanwhile
        const Digest digest = watcher->result();
        if (!digest.error.isEmpty())
            return fail(Localization::tr("Dictaro can't read the downloaded file to check it: %1.")
                            .arg(digest.error),
                        false);
        if (digest.hex != m_entry.sha256)
            return fail(Localization::tr("The downloaded file is not the expected model (its "
                                         "checksum differs), so it was deleted."),
                        false);
        QFile::remove(path());
        if (!QFile::rename(partPath(), path()))
            return fail(Localization::tr("Dictaro can't put the model in place at %1.")
                            .arg(QDir::toNativeSeparators(path())),
                        true);
        setReceived(m_entry.bytes);
        setState(State::Ready);
    });
    watcher->setFuture(QtConcurrent::run(sha256Of, partPath(), m_entry.bytes));
}

void SpeechModel::cancel()
{
    if (m_state == State::Ready)
        return;
    ++m_checkGeneration;
    endReply();
    QFile::remove(partPath());
    setReceived(0);
    setError({});
    setState(State::Absent);
}

bool SpeechModel::remove()
{
    cancel();
    const bool removed = !QFileInfo::exists(path()) || QFile::remove(path());
    setReceived(0);
    setState(State::Absent);
    return removed;
}

void SpeechModel::fail(const QString& message, bool keepPart)
{
    endReply();
    if (!keepPart)
        QFile::remove(partPath());
    const QFileInfo part(partPath());
    setReceived(part.isFile() ? std::min(part.size(), m_entry.bytes) : 0);
    setError(message);
    setState(State::Absent);
}

void SpeechModel::endReply()
{
    m_stallTimer.stop();
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    m_part.close();
}

void SpeechModel::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(m_state);
}

void SpeechModel::setReceived(qint64 bytes)
{
    if (bytes == m_received)
        return;
    m_received = bytes;
    emit progressChanged(m_received);
}

void SpeechModel::setError(const QString& text)
{
    if (text == m_error)
        return;
    m_error = text;
    emit errorTextChanged(m_error);
}

} // namespace dictaro
