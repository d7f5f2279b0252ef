// Key equivalents pressed on a real (virtual) X server with xdotool, as a user's keyboard sends
// them: on a US layout Shift+[ arrives as "{", which Qt's own key simulation never shows.
// Runs under xvfb-run on the xcb platform (see CMakeLists.txt).
#include "AppSettings.h"
#include "AppState.h"
#include "DictaroApp.h"
#include "MainWindow.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <clocale>

using namespace dictaro;

class tst_RealKeyboard : public QObject
{
    Q_OBJECT

    test::TemporaryHome m_home;
    std::unique_ptr<DictaroApp> m_app;
    TranscriptionSession* m_session = nullptr;

    bool press(const QString& keys)
    {
        const QString window = QString::number(m_app->mainWindow().winId());
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        const int result =
            QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
        QTest::qWait(150); // let the X server's events reach the window
        return result == 0;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs an X server (run through xvfb-run)");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        std::setlocale(LC_NUMERIC, "C");
        AppSettings::shared().setSkipSeconds(2);
        QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("us")});

        m_app = std::make_unique<DictaroApp>(
            m_home.filePath(QStringLiteral("Projects")),
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        m_app->show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_app->mainWindow()));
        const QString audio = m_home.filePath(QStringLiteral("talk.wav"));
        QVERIFY(test::copyFixture(QStringLiteral("speech.wav"), audio));
        m_app->appState().openAudioFile(audio);
        m_session = m_app->appState().currentSession();
        QVERIFY(m_session);
        QTRY_VERIFY_WITH_TIMEOUT(m_session->engine()->isLoaded(), 5000);
        m_app->mainWindow().transcriptionView()->editor()->setFocus();
    }
    void cleanupTestCase() { m_app.reset(); }

    void keys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<double>("rate"); // from 1.0, at 3.0 s
        QTest::addColumn<double>("time");
        QTest::newRow("Ctrl+Shift+[ slower") << "ctrl+shift+bracketleft" << 0.9 << 3.0;
        QTest::newRow("Ctrl+Shift+] faster") << "ctrl+shift+bracketright" << 1.1 << 3.0;
        QTest::newRow("Ctrl+[ skip back") << "ctrl+bracketleft" << 1.0 << 1.0;
    }
    void keys()
    {
        QFETCH(QString, keys);
        QFETCH(double, rate);
        QFETCH(double, time);
        PlaybackEngine& engine = *m_session->engine();
        engine.changeRate(1.0 - engine.rate());
        engine.seek(3.0);
        const QString textBefore = m_session->transcript();
        QVERIFY(press(keys));
        QTRY_COMPARE_WITH_TIMEOUT(engine.rate(), rate, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(engine.currentTime(), time, 2000);
        QCOMPARE(m_session->transcript(), textBefore); // no "{" or "[" typed into the text
    }
};

QTEST_MAIN(tst_RealKeyboard)
#include "tst_RealKeyboard.moc"
