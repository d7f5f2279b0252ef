// The desktop media controls over a private session bus (run under dbus-run-session): a bus
// client of its own drives the real engine playing a recording.
#include "AppSettings.h"
#include "AppState.h"
#include "MprisService.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptionSession.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QSignalSpy>
#include <QTest>

#include <clocale>

using namespace dictaro;

namespace {

const QString service = QString::fromLatin1(MprisService::serviceName);
const QString path = QString::fromLatin1(MprisService::objectPath);
const QString player = QStringLiteral("org.mpris.MediaPlayer2.Player");

// Records the player's announcements as a bus client sees them.
class Listener : public QObject
{
    Q_OBJECT

public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

public slots:
    void propertiesChanged(const QDBusMessage& message)
    {
        changes.append(qdbus_cast<QVariantMap>(message.arguments().value(1)));
    }
    void seeked(qlonglong position) { seeks.append(position); }
};

} // namespace

class tst_MprisService : public QObject
{
    Q_OBJECT

    test::TemporaryHome m_dir;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<PlaybackEngine> m_engine;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MprisService> m_service;
    QDBusConnection m_client{QString()};
    Listener m_listener;
    bool m_raised = false;

    // Calls a method from the client without blocking the player, which answers on this thread.
    QVariant call(const QString& interface, const QString& method, const QVariantList& args = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(args);
        QDBusPendingCallWatcher watcher(m_client.asyncCall(message));
        QSignalSpy done(&watcher, &QDBusPendingCallWatcher::finished);
        if (!watcher.isFinished() && !done.wait(5000))
            return {};
        const QDBusMessage reply = watcher.reply();
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().first();
    }
    QVariant get(const QString& property, const QString& interface = player)
    {
        return call("org.freedesktop.DBus.Properties", "Get", {interface, property})
            .value<QDBusVariant>()
            .variant();
    }
    void set(const QString& property, const QVariant& value)
    {
        call("org.freedesktop.DBus.Properties", "Set",
             {player, property, QVariant::fromValue(QDBusVariant(value))});
    }
    PlaybackEngine& engine() { return *m_state->currentSession()->engine(); }
    double seconds(const QString& property) { return get(property).toLongLong() / 1e6; }
    QStringList changedNames()
    {
        QStringList names;
        for (const QVariantMap& change : std::as_const(m_listener.changes))
            names += change.keys();
        return names;
    }

private slots:
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "C");
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("No session bus: run under dbus-run-session");
        m_store = std::make_unique<ProjectStore>(m_dir.filePath("p"));
        m_engine = test::silentEngine();
        m_state = std::make_unique<AppState>(*m_store, *m_engine);
        m_service = std::make_unique<MprisService>(
            *m_state, [this] { m_raised = true; }, [] {});
        QVERIFY(m_service->registerOn(QDBusConnection::sessionBus()));
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(service));
        m_client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");
        QVERIFY(m_client.connect(service, path, "org.freedesktop.DBus.Properties",
                                 "PropertiesChanged", &m_listener,
                                 SLOT(propertiesChanged(QDBusMessage))));
        QVERIFY(m_client.connect(service, path, player, "Seeked", &m_listener,
                                 SLOT(seeked(qlonglong))));
        QVERIFY(test::copyFixture("speech.wav", m_dir.filePath("Interview.wav")));
    }

    // Without a project nothing plays; OpenUri opens the file as one; Raise brings the window up.
    void openUri_opensTheFileAsAProject()
    {
        QCOMPARE(get("CanPlay").toBool(), false);
        call(player, "Play"); // nothing to play: no error, no change
        QCOMPARE(get("PlaybackStatus").toString(), "Stopped");
        const QString uri = QUrl::fromLocalFile(m_dir.filePath("Interview.wav")).toString();
        call(player, "OpenUri", {uri});
        QVERIFY(m_state->currentSession());
        QTRY_VERIFY_WITH_TIMEOUT(engine().isLoaded(), 5000);
        QTRY_COMPARE(get("PlaybackStatus").toString(), "Paused");
        const QVariantMap metadata = qdbus_cast<QVariantMap>(get("Metadata"));
        QCOMPARE(metadata.value("xesam:title").toString(), "Interview");
        QCOMPARE(metadata.value("xesam:url").toString(), uri);
        QCOMPARE(metadata.value("mpris:length").toLongLong(), 6000000);
        QTRY_VERIFY(changedNames().contains("Metadata"));
        QCOMPARE(get("CanSeek").toBool(), true);
        call("org.mpris.MediaPlayer2", "Raise");
        QVERIFY(m_raised);
    }

    void playAndPause_rewindLikeTheKey()
    {
        AppSettings::shared().setAutoRewindSeconds(2.0);
        const QString track =
            qdbus_cast<QDBusObjectPath>(qdbus_cast<QVariantMap>(get("Metadata"))["mpris:trackid"])
                .path();
        call(player, "SetPosition", {QVariant::fromValue(QDBusObjectPath(track)), 3000000LL});
        QTRY_COMPARE(seconds("Position"), 3.0);
        call(player, "SetPosition", {QVariant::fromValue(QDBusObjectPath("/other")), 0LL});
        QTRY_COMPARE(m_listener.seeks.size(), 1); // the first move only
        m_listener.changes.clear();

        call(player, "PlayPause");
        QTRY_COMPARE(get("PlaybackStatus").toString(), "Playing");
        QTest::qWait(1200); // position ticks while playing are not announced
        QCOMPARE(changedNames(), QStringList{"PlaybackStatus"});
        QCOMPARE(m_listener.seeks.size(), 1);

        const double before = engine().currentTime();
        call(player, "Pause");
        QTRY_COMPARE(get("PlaybackStatus").toString(), "Paused");
        QVERIFY2(qAbs(seconds("Position") - (before - 2.0)) < 0.3,
                 qPrintable(QString::number(seconds("Position"))));
        QTRY_COMPARE(m_listener.seeks.size(), 2);

        // With the window away no positions come; a speed change meanwhile is no seek when
        // they come again. (From the start, so that the end is not reached meanwhile.)
        engine().seek(0.0);
        QTRY_COMPARE(m_listener.seeks.size(), 3);
        engine().setPositionShown(false);
        call(player, "Play");
        QTest::qWait(1000);
        set("Rate", 2.0);
        QTest::qWait(800);
        engine().setPositionShown(true);
        QTest::qWait(300);
        QCOMPARE(m_listener.seeks.size(), 3);
        engine().pause(0.0);
        set("Rate", 1.0);
    }

    void rateAndSeek_stayWithinLimits_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("property");
        QTest::addColumn<double>("expected");
        QTest::newRow("rate above") << "Rate" << 3.0 << "Rate" << 2.0;
        QTest::newRow("rate on the grid") << "Rate" << 1.23 << "Rate" << 1.2;
        QTest::newRow("rate zero ignored") << "Rate" << 0.0 << "Rate" << 1.2;
        QTest::newRow("volume above") << "Volume" << 3.0 << "Volume" << 2.0;
        QTest::newRow("volume below") << "Volume" << -1.0 << "Volume" << 0.0;
        QTest::newRow("seek back past start") << "Seek" << -60.0 << "Position" << 0.0;
        QTest::newRow("seek forward") << "Seek" << 1.5 << "Position" << 1.5;
        QTest::newRow("next skips") << "Next" << 0.0 << "Position" << 6.0; // skip 5 s, then end
        QTest::newRow("previous skips") << "Previous" << 0.0 << "Position" << 1.0;
    }
    void rateAndSeek_stayWithinLimits()
    {
        QFETCH(QString, action);
        QFETCH(double, value);
        QFETCH(QString, property);
        QFETCH(double, expected);
        m_listener.changes.clear();
        const QVariant before = get(property);
        if (action == "Rate" || action == "Volume")
            set(action, value);
        else if (action == "Seek")
            call(player, "Seek", {qlonglong(value * 1e6)});
        else
            call(player, action);
        if (property == "Rate" || property == "Volume") {
            // 1.2000000000000002
            QTRY_VERIFY(qFuzzyCompare(get(property).toDouble() + 1, expected + 1));
            // Announced once when it changed, never when it did not.
            QCOMPARE(changedNames().count(property),
                     qFuzzyCompare(before.toDouble(), expected) ? 0 : 1);
        } else {
            QTRY_COMPARE(seconds("Position"), expected);
        }
    }

    void cleanupTestCase()
    {
        if (m_state)
            m_state->closeProject();
    }
};

QTEST_MAIN(tst_MprisService)
#include "tst_MprisService.moc"
