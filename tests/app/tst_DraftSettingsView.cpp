// The Draft page of the settings, driven like a user over a temporary settings file and a
// loopback server standing in for the model repository.
#include "AppSettings.h"
#include "DraftSettingsView.h"
#include "LoopbackServer.h"
#include "ModelLibrary.h"
#include "SpeechModel.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace dictaro;

namespace {

QByteArray modelBytes()
{
    QByteArray bytes("lmgg"); // "ggml" as a little-endian number
    bytes += QByteArray(256 * 1024, '\x5a');
    return bytes;
}

} // namespace

class tst_DraftSettingsView : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    const QByteArray m_file = modelBytes();
    std::unique_ptr<LoopbackServer> m_server;
    std::unique_ptr<ModelLibrary> m_library;

    QString write(const QString& name, const QByteArray& bytes)
    {
        if (!test::writeFile(m_home->filePath(name), bytes))
            qFatal("can't write %s", qPrintable(name));
        return m_home->filePath(name);
    }

private slots:
    void init()
    {
        m_home.emplace();
        m_server = std::make_unique<LoopbackServer>(m_file, QStringLiteral("ggml-tiny.en.bin"));
        const ModelEntry tiny{QStringLiteral("tiny.en"),
                              ModelSize::Tiny,
                              true,
                              Quantisation::None,
                              m_file.size(),
                              QCryptographicHash::hash(m_file, QCryptographicHash::Sha256).toHex()};
        ModelEntry base = tiny;
        base.name = QStringLiteral("base.en");
        base.size = ModelSize::Base;
        m_library = std::make_unique<ModelLibrary>(m_home->filePath("models"), m_server->baseUrl(),
                                                   QList<ModelEntry>{tiny, base});
    }

    void cleanup() { m_library.reset(); }

    // A failed download says why on its row; the next try fetches the model, which can be used
    // and deleted (and then is no longer in use).
    void page_downloadsUsesAndDeletesAModel()
    {
        m_server->mode = LoopbackServer::Mode::NotFound;
        DraftSettingsView page(*m_library);
        page.show();
        QTest::qWait(50);
        QVERIFY(m_server->ranges.isEmpty()); // showing the page downloads nothing

        auto* row = page.findChild<QWidget*>("model_tiny.en");
        auto* inUse = page.findChild<QLabel*>("modelInUse");
        const auto button = [row](const char* name) { return row->findChild<QPushButton*>(name); };
        QVERIFY(!button("use")->isVisible());
        QVERIFY(inUse->text().contains(u"No model"));
        button("download")->click();
        auto* status = row->findChild<QLabel*>("status");
        QTRY_VERIFY_WITH_TIMEOUT(status->isVisible() && status->text().contains(u"404"), 10000);
        QVERIFY(button("download")->isVisible());

        m_server->mode = LoopbackServer::Mode::Serve;
        button("download")->click();
        QTRY_VERIFY_WITH_TIMEOUT(button("use")->isVisible(), 10000);
        // Only the model asked for.
        QCOMPARE(m_library->model("base.en")->state(), SpeechModel::State::Absent);

        button("use")->click();
        const QString path = m_library->model("tiny.en")->path();
        QCOMPARE(AppSettings::draftChoice().modelPath, path);
        QVERIFY2(inUse->text().contains(u"tiny.en"), qPrintable(inUse->text()));
        QVERIFY(!button("use")->isEnabled());

        button("delete")->click();
        QVERIFY(!QFile::exists(path));
        QCOMPARE(AppSettings::draftChoice().modelPath, QString());
        QVERIFY(button("download")->isVisible());
        QVERIFY(inUse->text().contains(u"No model"));
    }

    void useModelFile_takesOnlyModels()
    {
        DraftSettingsView page(*m_library);
        page.show();
        auto* message = page.findChild<QLabel*>("modelFileMessage");
        auto* inUse = page.findChild<QLabel*>("modelInUse");

        for (const QString& path :
             {write("notes.txt", QByteArray("Dear diary,\n").repeated(10000)),
              write("short.bin", m_file.left(1000)), m_home->filePath("missing.bin")}) {
            QVERIFY(!page.useModelFile(path));
            QVERIFY(message->isVisible());
            QVERIFY2(message->text().contains(QFileInfo(path).fileName()),
                     qPrintable(message->text()));
            QCOMPARE(AppSettings::draftChoice().modelPath, QString());
        }
        QVERIFY(message->text().contains(u"read")); // the missing one

#ifndef DICTARO_SPEECH_MODELS
        QSKIP("no speech models were made for the tests (python3 with numpy)");
#else
        const QByteArray real =
            test::readFile(QStringLiteral(DICTARO_SPEECH_MODELS "/test.en.bin"));
        QVERIFY(!real.isEmpty());
        // Starts like a model, but its weights are cut off.
        QVERIFY(!page.useModelFile(write("cut.bin", real.left(real.size() - 100))));
        QVERIFY2(message->text().contains(u"cut.bin"), qPrintable(message->text()));
        QCOMPARE(AppSettings::draftChoice().modelPath, QString());

        const QString own = write("my-model.bin", real);
        QVERIFY(page.useModelFile(own));
        QVERIFY(!message->isVisible());
        QCOMPARE(AppSettings::draftChoice().modelPath, own);
        QVERIFY2(inUse->text().contains(u"my-model.bin"), qPrintable(inUse->text()));
#endif
    }

    void choices_areStoredAtOnce()
    {
        AppSettings::setDraftChoice({QString(), QStringLiteral("auto"), true, false});
        DraftSettingsView page(*m_library);
        page.show();
        auto* language = page.findChild<QComboBox*>("draftLanguage");
        auto* unsure = page.findChild<QCheckBox*>("markUnsureWords");
        auto* follow = page.findChild<QCheckBox*>("followAlong");
        QVERIFY(language->currentData().toString() == u"auto" && unsure->isChecked() &&
                !follow->isChecked());

        language->setFocus();
        QTest::keyClick(language, Qt::Key_Up); // Turkish
        QCOMPARE(AppSettings::draftChoice().language, QStringLiteral("tr"));
        unsure->click();
        follow->click();
        const AppSettings::DraftChoice stored = AppSettings::draftChoice();
        QVERIFY(!stored.markUnsureWords && stored.followAlong && stored.language == "tr");
    }
};

QTEST_MAIN(tst_DraftSettingsView)
#include "tst_DraftSettingsView.moc"
