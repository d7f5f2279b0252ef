// Downloading speech models from a loopback HTTP server of the test's own: the whole file,
// resuming after a cut and after a restart, a checksum that differs, HTTP errors, a stalled
// server, and cancel.
#include "LoopbackServer.h"
#include "ModelLibrary.h"
#include "SpeechModel.h"
#include "TestFiles.h"

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

} // namespace

Q_DECLARE_METATYPE(LoopbackServer::Mode)

class tst_ModelDownload : public QObject
{
    Q_OBJECT

    const QByteArray m_file = randomBytes(fileBytes);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<LoopbackServer> m_server;
    std::unique_ptr<ModelLibrary> m_library;

    // A start of the application, with one model whose checksum is that of `pinned`.
    SpeechModel* start(const QByteArray& pinned)
    {
        const ModelEntry entry{
            QStringLiteral("test.en"),
            ModelSize::Tiny,
            true,
            Quantisation::None,
            pinned.size(),
            QCryptographicHash::hash(pinned, QCryptographicHash::Sha256).toHex()};
        m_library.reset();
        m_library = std::make_unique<ModelLibrary>(m_dir->path(), m_server->baseUrl(),
                                                   QList<ModelEntry>{entry}, 400ms);
        return m_library->model(QStringLiteral("test.en"));
    }
    // Downloads until the model is ready (true) or the download has failed.
    bool fetched(SpeechModel* model) const
    {
        model->download();
        return QTest::qWaitFor(
                   [&] {
                       return model->state() == SpeechModel::State::Ready ||
                              !model->errorText().isEmpty();
                   },
                   10000) &&
               model->state() == SpeechModel::State::Ready &&
               test::readFile(model->path()) == m_file;
    }

private slots:
    void init()
    {
        m_library.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<LoopbackServer>(m_file, QStringLiteral("ggml-test.en.bin"));
    }

    void download_fetchesChecksAndKeepsTheModel()
    {
        SpeechModel* model = start(m_file);
        QVERIFY(m_server->ranges.isEmpty()); // nothing fetched before it is asked for
        QSignalSpy progress(model, &SpeechModel::progressChanged);
        QVERIFY(fetched(model));
        QVERIFY(progress.size() > 1);
        QVERIFY(!QFile::exists(model->partPath()));
        QCOMPARE(m_server->ranges, QList<QByteArray>{QByteArray()});
        // The next start finds it in place.
        QCOMPARE(start(m_file)->state(), SpeechModel::State::Ready);
    }

    // A failed download says why and keeps what arrived only when it can be trusted; the next
    // try, in the same run or after a restart, asks only for the rest. After the restart the
    // server sends the whole file all the same, which then replaces what was kept.
    void download_failsSayingWhy_thenResumes_data()
    {
        QTest::addColumn<LoopbackServer::Mode>("mode");
        QTest::addColumn<qint64>("cutAfter");
        QTest::addColumn<bool>("pinnedRight");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("partKept");
        QTest::addColumn<bool>("restart");
        using Mode = LoopbackServer::Mode;
        QTest::newRow("HTTP error") << Mode::NotFound << 0ll << true << "404" << false << false;
        QTest::newRow("checksum differs")
            << Mode::Serve << 0ll << false << "checksum" << false << true;
        QTest::newRow("stalled") << Mode::Stall << 200'000ll << true << "stalled" << true << false;
        QTest::newRow("cut") << Mode::Cut << fileBytes / 3 << true << "continue where it stopped"
                             << true << true;
    }
    void download_failsSayingWhy_thenResumes()
    {
        QFETCH(LoopbackServer::Mode, mode);
        QFETCH(qint64, cutAfter);
        QFETCH(bool, pinnedRight);
        QFETCH(QString, message);
        QFETCH(bool, partKept);
        QFETCH(bool, restart);
        m_server->mode = mode;
        m_server->cutAfter = cutAfter;
        QByteArray other = m_file;
        other[other.size() / 2] = char(other[other.size() / 2] ^ 1);
        SpeechModel* model = start(pinnedRight ? m_file : other);
        QVERIFY(!fetched(model));
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QVERIFY2(model->errorText().contains(message), qPrintable(model->errorText()));
        QVERIFY(!QFile::exists(model->path()));
        const qint64 arrived = model->receivedBytes();
        QCOMPARE(arrived > 0, partKept);
        QCOMPARE(QFileInfo(model->partPath()).size(), arrived);

        m_server->mode = restart ? LoopbackServer::Mode::IgnoreRange : LoopbackServer::Mode::Serve;
        if (restart)
            model = start(m_file);
        QCOMPARE(model->receivedBytes(), arrived);
        QVERIFY(fetched(model));
        QCOMPARE(m_server->ranges.last(),
                 partKept ? "bytes=" + QByteArray::number(arrived) + '-' : QByteArray());
    }

    void cancel_stopsAndDeletesWhatArrived()
    {
        m_server->mode = LoopbackServer::Mode::Stall;
        m_server->cutAfter = 200'000;
        SpeechModel* model = start(m_file);
        model->download();
        QTRY_COMPARE_WITH_TIMEOUT(model->receivedBytes(), m_server->cutAfter, 10000);
        model->cancel();
        QCOMPARE(model->state(), SpeechModel::State::Absent);
        QCOMPARE(model->receivedBytes(), 0);
        // Nothing more comes of the stopped download.
        QTest::qWait(600);
        QVERIFY(model->errorText().isEmpty());
        QVERIFY(!QFile::exists(model->partPath()));
    }
};

QTEST_GUILESS_MAIN(tst_ModelDownload)
#include "tst_ModelDownload.moc"
