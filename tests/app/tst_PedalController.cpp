// The foot pedal's logic, from button presses to commands, with a repeat timer driven by hand;
// and the same logic fed by the bytes a pedal sends, through a socket pair.
#include "PedalController.h"
#include "PedalEventReader.h"
#include "PedalSettings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <linux/input.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace dictaro;

namespace {

// A repeat timer that ticks only when the test says so.
struct HandTimer final : PedalController::RepeatTimer
{
    std::function<void()> tick;
    bool active = false;
    void start(std::chrono::milliseconds, std::function<void()> fn) override
    {
        tick = std::move(fn);
        active = true;
    }
    void stop() override { active = false; }
};

// What a controller asks for, as words: "play", "pause" or the command's id.
struct Log : QStringList
{
    explicit Log(PedalController& controller)
    {
        QObject::connect(&controller, &PedalController::playRequested, [this] { append("play"); });
        QObject::connect(&controller, &PedalController::pauseRequested,
                         [this] { append("pause"); });
        QObject::connect(&controller, &PedalController::commandTriggered,
                         [this](PlaybackCommand c) { append(playbackCommandId(c)); });
    }
};

// One input event as the kernel hands it over.
QByteArray single(int type, int code, int value)
{
    input_event e{};
    e.time.tv_sec = 1700000000;
    e.type = quint16(type);
    e.code = quint16(code);
    e.value = value;
    return QByteArray(reinterpret_cast<const char*>(&e), sizeof e);
}

// One button's frame as the pedal sends it: its scan code, the button, the report.
QByteArray frame(int button, bool pressed)
{
    return single(EV_MSC, MSC_SCAN, 0x90001 + button) +
           single(EV_KEY, BTN_0 + button, pressed ? 1 : 0) + single(EV_SYN, SYN_REPORT, 0);
}

} // namespace

class tst_PedalController : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    void init()
    {
        QFile::remove(
            QSettings(QSettings::IniFormat, QSettings::UserScope, "Dictaro", "Dictaro").fileName());
    }

    void buttons_triggerCommands_data()
    {
        // Steps: dN / uN press / release button N, t a repeat tick, x the pedal unplugged,
        // m the middle button reassigned to nothing, h press-to-play chosen.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hold to play") << "d1 t u1 t"
                                      << "play pause";
        QTest::newRow("press to play") << "h d1 u1 d1 u1"
                                       << "playPause playPause";
        QTest::newRow("skip repeats while held") << "d0 t t u0 t"
                                                 << "skipBack skipBack skipBack";
        QTest::newRow("repeated press state ignored") << "d2 d2 u2 u2"
                                                      << "skipForward";
        QTest::newRow("unplugged while held") << "d1 d2 x t x"
                                              << "play skipForward pause";
        QTest::newRow("reassigned while held") << "d1 m u1 d1 u1"
                                               << "play pause";
    }
    void buttons_triggerCommands()
    {
        QFETCH(QString, steps);
        PedalSettings settings;
        HandTimer* timer = nullptr;
        PedalController controller(settings, [&] {
            auto made = std::make_unique<HandTimer>();
            timer = made.get();
            return made;
        });
        Log log(controller);
        for (const QString& step : steps.split(' ')) {
            const int button = step.mid(1).toInt();
            switch (step.at(0).toLatin1()) {
            case 'd': controller.setPressed(button, true); break;
            case 'u': controller.setPressed(button, false); break;
            case 'x': controller.releaseAll(); break;
            case 'm': settings.setCommand(1, std::nullopt); break;
            case 'h': settings.setHoldToPlay(false); break;
            case 't':
                if (timer && timer->active)
                    timer->tick();
                break;
            }
        }
        QTEST(log.join(' '), "expected");
    }

    void recordedStream_drivesTheButtons()
    {
        int fds[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        PedalSettings settings;
        PedalController controller(settings);
        Log log(controller);
        PedalEventReader reader(fds[0]);
        connect(&reader, &PedalEventReader::buttonChanged, &controller,
                &PedalController::setPressed);
        connect(&reader, &PedalEventReader::eventsLost, &controller, &PedalController::releaseAll);
        QSignalSpy closed(&reader, &PedalEventReader::closed);

        // Middle down and up, sent in pieces that split the records.
        const QByteArray stream = frame(1, true) + frame(1, false);
        for (qsizetype at = 0, piece = 17; at < stream.size(); at += piece) {
            piece = std::min<qsizetype>(piece, stream.size() - at);
            QCOMPARE(::write(fds[1], stream.constData() + at, piece), piece);
            QTest::qWait(5); // read piece by piece
        }
        QTRY_COMPARE(log.join(' '), QString("play pause"));

        // Middle held, then the kernel drops events: the rest of that frame (a stale press of
        // the right button) is skipped and the held button counts as released.
        const QByteArray lost = frame(1, true) + single(EV_SYN, SYN_DROPPED, 0) +
                                single(EV_KEY, BTN_2, 1) + single(EV_SYN, SYN_REPORT, 0) +
                                single(EV_KEY, BTN_0, 2); // an auto-repeat: no change
        QCOMPARE(::write(fds[1], lost.constData(), lost.size()), lost.size());
        QTRY_COMPARE(log.join(' '), QString("play pause play pause"));
        QVERIFY(!controller.isPressed(2));

        ::close(fds[1]); // unplugged
        QVERIFY(closed.wait(2000));
        ::close(fds[0]);
    }
};

QTEST_MAIN(tst_PedalController)
#include "tst_PedalController.moc"
