// The player bar over the libmpv engine (silent output) on a six-second recording.
#include "AppSettings.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "views/PlayerBarView.h"

#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <clocale>
#include <memory>

using namespace dictaro;

namespace {

const QString fixtures = QStringLiteral(DICTARO_PLAYBACK_FIXTURES);

std::unique_ptr<PlaybackEngine> silentEngine()
{
    return std::make_unique<PlaybackEngine>(
        std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
}

bool loadSpeech(PlaybackEngine& engine, double position = 0.0, double rate = 1.0)
{
    QSignalSpy loaded(&engine, &PlaybackEngine::loadFinished);
    engine.load(fixtures + QStringLiteral("/speech.wav"), position, rate);
    return loaded.wait(5000) && loaded.first().first().toBool();
}

} // namespace

class tst_PlayerBarView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nothingLoaded_showsZeroesAndIgnoresClicks();
    void loaded_showsLengthAndFollowsTheEngine();
    void skipButtons_stayWithinTheAudio();
    void rateButtons_stopAtTheLimits();
    void playPause_pausesWithTheRewindSettingOfTheMoment();
    void slider_seeksWhileDraggedWithoutFightingTicks();

private:
    template <typename T> T* control(const char* name)
    {
        T* widget = m_bar->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char* label) { return control<QLabel>(label)->text(); }
    void click(const char* button)
    {
        QTest::mouseClick(control<QToolButton>(button), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<PlaybackEngine> m_engine;
    std::unique_ptr<PlayerBarView> m_bar;
};

void tst_PlayerBarView::initTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFile::exists(fixtures + QStringLiteral("/speech.wav")), "fixtures missing");
}

void tst_PlayerBarView::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir->path());
    AppSettings::resetSharedForTesting();
    m_engine = silentEngine();
    m_bar = std::make_unique<PlayerBarView>(m_engine.get());
    m_bar->show();
}

void tst_PlayerBarView::cleanup()
{
    m_bar.reset();
    m_engine.reset();
    AppSettings::resetSharedForTesting();
}

void tst_PlayerBarView::nothingLoaded_showsZeroesAndIgnoresClicks()
{
    QCOMPARE(text("currentTimeLabel"), QStringLiteral("00:00"));
    QCOMPARE(text("durationLabel"), QStringLiteral("00:00"));
    QCOMPARE(text("rateLabel"), QStringLiteral("1.0x"));
    for (const char* name :
         {"skipBackButton", "playPauseButton", "skipForwardButton", "slowerButton", "fasterButton"})
        QVERIFY2(!control<QToolButton>(name)->isEnabled(), name);
    QVERIFY(!control<QSlider>("positionSlider")->isEnabled());

    click("playPauseButton");
    click("fasterButton");
    QVERIFY(!m_engine->isPlaying());
    QCOMPARE(m_engine->rate(), 1.0);

    // A failed load leaves it disabled too.
    QSignalSpy loaded(m_engine.get(), &PlaybackEngine::loadFinished);
    m_engine->load(fixtures + QStringLiteral("/notes.mp3"), 0, 1);
    QVERIFY(loaded.wait(5000));
    QVERIFY(!m_bar->isEnabled());
}

void tst_PlayerBarView::loaded_showsLengthAndFollowsTheEngine()
{
    QVERIFY(loadSpeech(*m_engine, 2.5, 1.3));
    QVERIFY(m_bar->isEnabled());
    QCOMPARE(text("durationLabel"), QStringLiteral("00:06"));
    QCOMPARE(text("currentTimeLabel"), QStringLiteral("00:02"));
    QCOMPARE(text("rateLabel"), QStringLiteral("1.3x"));
    QCOMPARE(control<QSlider>("positionSlider")->maximum(), 6000);
    QCOMPARE(control<QSlider>("positionSlider")->value(), 2500);

    m_engine->seek(4.2);
    QCOMPARE(text("currentTimeLabel"), QStringLiteral("00:04"));
    QCOMPARE(control<QSlider>("positionSlider")->value(), 4200);

    m_engine->unload();
    QVERIFY(!m_bar->isEnabled());
    QCOMPARE(text("durationLabel"), QStringLiteral("00:00"));
}

void tst_PlayerBarView::skipButtons_stayWithinTheAudio()
{
    QVERIFY(loadSpeech(*m_engine));
    AppSettings::shared().setSkipSeconds(5.0);
    m_engine->seek(3.0);
    click("skipBackButton");
    QCOMPARE(m_engine->currentTime(), 0.0);
    click("skipForwardButton");
    QCOMPARE(m_engine->currentTime(), 5.0);
    click("skipForwardButton");
    QCOMPARE(m_engine->currentTime(), m_engine->duration());

    // The interval is read when the button is clicked.
    AppSettings::shared().setSkipSeconds(1.5);
    click("skipBackButton");
    QCOMPARE(m_engine->currentTime(), m_engine->duration() - 1.5);
}

void tst_PlayerBarView::rateButtons_stopAtTheLimits()
{
    QVERIFY(loadSpeech(*m_engine));
    for (int i = 0; i < 5; ++i)
        click("slowerButton");
    QCOMPARE(text("rateLabel"), QStringLiteral("0.5x"));
    QCOMPARE(m_engine->rate(), 0.5);
    click("slowerButton");
    QCOMPARE(m_engine->rate(), 0.5);

    for (int i = 0; i < 15; ++i)
        click("fasterButton");
    QCOMPARE(text("rateLabel"), QStringLiteral("2.0x"));
    QCOMPARE(m_engine->rate(), 2.0);
    click("fasterButton");
    QCOMPARE(m_engine->rate(), 2.0);
}

void tst_PlayerBarView::playPause_pausesWithTheRewindSettingOfTheMoment()
{
    QVERIFY(loadSpeech(*m_engine, 1.0));
    auto* button = control<QToolButton>("playPauseButton");
    const QImage playIcon = button->icon().pixmap(24).toImage();

    click("playPauseButton");
    QVERIFY(m_engine->isPlaying());
    QVERIFY(button->icon().pixmap(24).toImage() != playIcon);
    QTRY_VERIFY_WITH_TIMEOUT(m_engine->currentTime() >= 2.5, 5000);

    AppSettings::shared().setAutoRewindSeconds(2.0);
    const double before = m_engine->currentTime();
    click("playPauseButton");
    QVERIFY(!m_engine->isPlaying());
    QVERIFY2(m_engine->currentTime() >= before - 2.0 && m_engine->currentTime() < before - 1.5,
             qPrintable(QString::number(m_engine->currentTime())));
    QCOMPARE(button->icon().pixmap(24).toImage(), playIcon);
}

void tst_PlayerBarView::slider_seeksWhileDraggedWithoutFightingTicks()
{
    QVERIFY(loadSpeech(*m_engine));
    auto* slider = control<QSlider>("positionSlider");

    // Every value the user sets while dragging seeks at once.
    slider->setSliderDown(true);
    slider->setSliderPosition(3000);
    QCOMPARE(m_engine->currentTime(), 3.0);
    QCOMPARE(text("currentTimeLabel"), QStringLiteral("00:03"));
    // While the handle is held, the engine moving elsewhere does not move it.
    m_engine->seek(1.0);
    QCOMPARE(slider->value(), 3000);
    slider->setSliderPosition(4500);
    QCOMPARE(m_engine->currentTime(), 4.5);
    m_engine->seek(1.0);
    slider->setSliderDown(false);
    QCOMPARE(slider->value(), 1000); // the engine again once released

    // A click on the groove lands where it is clicked (here about the middle).
    QTest::mouseClick(slider, Qt::LeftButton, {}, slider->rect().center());
    QVERIFY2(m_engine->currentTime() > 2.0 && m_engine->currentTime() < 4.0,
             qPrintable(QString::number(m_engine->currentTime())));
    QCOMPARE(slider->value(), qRound(m_engine->currentTime() * 1000));
}

QTEST_MAIN(tst_PlayerBarView)
#include "tst_PlayerBarView.moc"
