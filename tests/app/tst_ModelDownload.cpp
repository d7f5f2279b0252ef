// Downloading speech models from a loopback HTTP server of the test's own: the whole file,
// resuming after a cut and after a restart, a checksum that differs, HTTP errors, a stalled
// server, cancel and delete.
#include "LoopbackServer.h"
#include "ModelLibrary.h"
#include "SpeechModel.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace dictaro;
using namespace std::chrono_literals;

namespace {

// More than the network buffers hold, so that a cut or a stall leaves part of it.
constexpr qint64 fileBytes = 3 * 1024 * 1024 + 17;

QByteArray randomBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(20);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_ModelDownload : public QObject
{
    Q_OBJECT

    const QByteArray m_file = randomBytes(fileBytes);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<LoopbackServer> m_server;

    ModelEntry entry(const QByteArray& content) const
    {
        return {QStringLiteral("test.en"),
                ModelSize::Tiny,
                true,
                Quantisation::None,
                content.size(),
                QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex()};
    }

    std::unique_ptr<ModelLibrary> library(const QByteArray& pinned)
    {
        return std::make_unique<ModelLibrary>(m_dir->path(), m_server->baseUrl(),
                                              QList<ModelEntry>{entry(pinned)}, 400ms);
    }
    std::unique_ptr<ModelLibrary> library() { return library(m_file); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<LoopbackServer>(m_file, QStringLiteral("ggml-test.en.bin"));
    }

    void download_fetchesChecksAndKeepsTheModel()
    {
        const auto models = library();
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QVERIFY(m_server->ranges.isEmpty()); // nothing fetched before it is asked for

        QSignalSpy states(model, &SpeechModel::stateChanged);
        QSignalSpy progress(model, &SpeechModel::progressChanged);
        model->download();
        QTRY_COMPARE_WITH_TIMEOUT(model->state(), SpeechModel::State::Ready, 10000);
        QCOMPARE(states.first().first().value<SpeechModel::State>(),
                 SpeechModel::State::Downloading);
        QVERIFY(states.contains(QVariantList{QVariant::fromValue(SpeechModel::State::Checking)}));
        QVERIFY(progress.size() > 1);
        QCOMPARE(model->progress(), 1.0);
        QVERIFY(model->errorText().isEmpty());
        QCOMPARE(fileContent(model->path()), m_file);
        QVERIFY(!QFile::exists(model->partPath()));
        QCOMPARE(m_server->ranges, QList<QByteArray>{QByteArray()});

        // The next start finds it in place.
        QCOMPARE(library()->model(QStringLiteral("test.en"))->state(), SpeechModel::State::Ready);

        QVERIFY(model->remove());
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QVERIFY(!QFile::exists(model->path()));
    }

    void download_resumesWhatArrivedAfterACutAndARestart()
    {
        m_server->mode = LoopbackServer::Mode::Cut;
        m_server->cutAfter = fileBytes / 3;
        qint64 arrived = 0;
        {
            const auto models = library();
            SpeechModel* model = models->model(QStringLiteral("test.en"));
            model->download();
            QTRY_VERIFY_WITH_TIMEOUT(!model->errorText().isEmpty(), 10000);
            QCOMPARE(model->state(), SpeechModel::State::Absent);
            QVERIFY2(model->errorText().contains(u"continue where it stopped"),
                     qPrintable(model->errorText()));
            arrived = model->receivedBytes();
            QVERIFY(arrived > 0 && arrived <= m_server->cutAfter);
            QCOMPARE(QFileInfo(model->partPath()).size(), arrived);
        }

        // After a restart the part is still there, and only the rest is asked for.
        m_server->mode = LoopbackServer::Mode::Serve;
        const auto models = library();
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        QCOMPARE(model->receivedBytes(), arrived);
        model->download();
        QTRY_COMPARE_WITH_TIMEOUT(model->state(), SpeechModel::State::Ready, 10000);
        QCOMPARE(m_server->ranges.last(), "bytes=" + QByteArray::number(arrived) + '-');
        QCOMPARE(fileContent(model->path()), m_file);
    }

    void download_startsOverWhenTheServerSendsTheWholeFile()
    {
        const auto models = library();
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        QFile part(model->partPath());
        QVERIFY(part.open(QIODevice::WriteOnly));
        part.write(QByteArray(1000, 'x')); // not the file's first bytes
        part.close();
        m_server->mode = LoopbackServer::Mode::IgnoreRange;
        model->download();
        QTRY_COMPARE_WITH_TIMEOUT(model->state(), SpeechModel::State::Ready, 10000);
        QCOMPARE(m_server->ranges, QList<QByteArray>{"bytes=1000-"});
        QCOMPARE(fileContent(model->path()), m_file);
    }

    void download_deletesAFileWhoseChecksumDiffers()
    {
        QByteArray other = m_file;
        other[other.size() / 2] = char(other[other.size() / 2] ^ 1);
        const auto models = library(other);
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        model->download();
        QTRY_VERIFY_WITH_TIMEOUT(!model->errorText().isEmpty(), 10000);
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QVERIFY2(model->errorText().contains(u"checksum") &&
                     model->errorText().contains(u"deleted"),
                 qPrintable(model->errorText()));
        QVERIFY(!QFile::exists(model->path()));
        QVERIFY(!QFile::exists(model->partPath()));
        QCOMPARE(model->receivedBytes(), 0);
    }

    void download_reportsTheServersAnswer()
    {
        m_server->mode = LoopbackServer::Mode::NotFound;
        const auto models = library();
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        model->download();
        QTRY_VERIFY_WITH_TIMEOUT(!model->errorText().isEmpty(), 10000);
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QVERIFY2(model->errorText().contains(u"404"), qPrintable(model->errorText()));
        // The error page is not taken for the model.
        QCOMPARE(model->receivedBytes(), 0);
        QVERIFY(!QFile::exists(model->path()));

        // A second try starts afresh and clears the message.
        m_server->mode = LoopbackServer::Mode::Serve;
        model->download();
        QVERIFY(model->errorText().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(model->state(), SpeechModel::State::Ready, 10000);
    }

    void download_givesUpOnAStalledServerKeepingWhatArrived()
    {
        m_server->mode = LoopbackServer::Mode::Stall;
        m_server->cutAfter = 200'000;
        const auto models = library();
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        model->download();
        QTRY_VERIFY_WITH_TIMEOUT(!model->errorText().isEmpty(), 10000);
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QVERIFY2(model->errorText().contains(u"stalled"), qPrintable(model->errorText()));
        QVERIFY(model->receivedBytes() > 0);
        QCOMPARE(QFileInfo(model->partPath()).size(), model->receivedBytes());
    }

    void cancel_stopsAndDeletesWhatArrived()
    {
        m_server->mode = LoopbackServer::Mode::Stall;
        m_server->cutAfter = 200'000;
        const auto models = library();
        SpeechModel* model = models->model(QStringLiteral("test.en"));
        model->download();
        QTRY_COMPARE_WITH_TIMEOUT(model->receivedBytes(), m_server->cutAfter, 10000);
        model->cancel();
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QCOMPARE(model->receivedBytes(), 0);
        QVERIFY(model->errorText().isEmpty());
        QVERIFY(!QFile::exists(model->partPath()));
        // Nothing more comes of the stopped download.
        QTest::qWait(600);
        QVERIFY(model->errorText().isEmpty());
        QVERIFY(!QFile::exists(model->partPath()));
    }
};

QTEST_GUILESS_MAIN(tst_ModelDownload)
#include "tst_ModelDownload.moc"
