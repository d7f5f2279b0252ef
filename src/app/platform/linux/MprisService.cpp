#include "MprisService.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "AppState.h"
#include "MediaReference.h"
#include "MprisPlayerAdaptor.h"
#include "MprisRootAdaptor.h"
#include "PlaybackCommands.h"
#include "PlaybackEngine.h"
#include "PlaybackLogic.h"
#include "TranscriptionSession.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>

#include <cmath>

namespace dictaro {

namespace {

const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString noTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
constexpr double microseconds = 1e6;
// A position further than this from where playback would have taken it is a jump.
constexpr double jumpTolerance = 0.5;

QString trackId(const TranscriptionSession& session)
{
    return QStringLiteral("/org/dictaro/project/") + session.project().id.toString(QUuid::Id128);
}

} // namespace

MprisService::MprisService(AppState& state, std::function<void()> raise, std::function<void()> quit,
                           QObject* parent)
    : QObject(parent), m_state(state), m_raise(std::move(raise)), m_quit(std::move(quit))
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    connect(&m_state, &AppState::currentSessionChanged, this, &MprisService::followSession);
    followSession();
}

MprisService::~MprisService()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection(m_connectionName).unregisterObject(QString::fromLatin1(objectPath));
}

bool MprisService::registerOn(const QDBusConnection& connection)
{
    if (!connection.isConnected())
        return false;
    QDBusConnection bus = connection;
    if (!bus.registerObject(QString::fromLatin1(objectPath), this))
        return false;
    m_connectionName = bus.name();
    requestName(QString::fromLatin1(serviceName), true);
    return true;
}

// Asks the bus for the name without waiting for its answer, so that a slow bus never holds up
// the window; when another player has the name, asks for one of this process's own.
void MprisService::requestName(const QString& name, bool fallBack)
{
    QDBusConnection bus(m_connectionName);
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    constexpr uint doNotQueue = 4;
    request << name << doNotQueue;
    auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(request), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, reply, name, fallBack] {
        reply->deleteLater();
        const QDBusPendingReply<uint> answer = *reply;
        constexpr uint primaryOwner = 1;
        constexpr uint alreadyOwner = 4;
        const bool owned =
            !answer.isError() && (answer.value() == primaryOwner || answer.value() == alreadyOwner);
        if (!owned && fallBack)
            requestName(name + QStringLiteral(".instance") +
                            QString::number(QCoreApplication::applicationPid()),
                        false);
    });
}

PlaybackEngine* MprisService::engine() const
{
    return m_engine && m_engine->isLoaded() ? m_engine.data() : nullptr;
}

void MprisService::followSession()
{
    for (const QMetaObject::Connection& connection : std::as_const(m_engineConnections))
        disconnect(connection);
    m_engineConnections.clear();
    TranscriptionSession* session = m_state.currentSession();
    m_engine = session ? session->engine() : nullptr;
    if (m_engine) {
        m_engineConnections << connect(m_engine, &PlaybackEngine::isPlayingChanged, this,
                                       &MprisService::onPaceChanged)
                            << connect(m_engine, &PlaybackEngine::rateChanged, this,
                                       &MprisService::onPaceChanged)
                            << connect(m_engine, &PlaybackEngine::volumeChanged, this,
                                       &MprisService::publishChanges)
                            << connect(m_engine, &PlaybackEngine::durationChanged, this,
                                       &MprisService::publishChanges)
                            << connect(m_engine, &PlaybackEngine::loadFinished, this,
                                       &MprisService::publishChanges)
                            << connect(m_engine, &PlaybackEngine::currentTimeChanged, this,
                                       &MprisService::onPosition);
        m_lastPosition = m_engine->currentTime();
        m_sinceLastPosition.start();
    }
    publishChanges();
}

void MprisService::onPaceChanged()
{
    // Playback starts, stops or changes speed here: positions are measured from now on (while
    // the window is not on screen, positions may not come for a long time).
    m_lastPosition = m_engine->currentTime();
    m_sinceLastPosition.start();
    publishChanges();
}

void MprisService::onPosition(double seconds)
{
    const double elapsed =
        m_sinceLastPosition.isValid() ? m_sinceLastPosition.elapsed() / 1000.0 : 0.0;
    const double expected = m_engine && m_engine->isPlaying()
                                ? m_lastPosition + elapsed * m_engine->rate()
                                : m_lastPosition;
    m_lastPosition = seconds;
    m_sinceLastPosition.start();
    // Playback moving on is no news; a seek, skip or rewind is.
    if (std::abs(seconds - expected) > jumpTolerance ||
        (m_engine && !m_engine->isPlaying() && seconds != expected))
        emit seeked(position());
}

QString MprisService::playbackStatus() const
{
    if (!engine())
        return QStringLiteral("Stopped");
    return engine()->isPlaying() ? QStringLiteral("Playing") : QStringLiteral("Paused");
}

double MprisService::rate() const
{
    return m_engine ? m_engine->rate() : 1.0;
}

void MprisService::setRate(double rate)
{
    // Zero, negative and non-numbers are no speed this player can play at.
    if (!engine() || !(rate > 0.0) || !std::isfinite(rate))
        return;
    engine()->changeRate(PlaybackLogic::steppedRate(rate, 0.0) - engine()->rate());
}

double MprisService::volume() const
{
    return (m_engine ? m_engine->volume() : SoundSettings::defaultVolume) / 100.0;
}

void MprisService::setVolume(double volume)
{
    if (m_engine && !std::isnan(volume))
        m_engine->setVolume(volume * 100.0);
}

QVariantMap MprisService::metadata() const
{
    TranscriptionSession* session = m_state.currentSession();
    if (!session)
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(noTrack))}};
    QVariantMap map{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId(*session)))},
        {QStringLiteral("xesam:title"), session->project().name},
    };
    if (m_engine && m_engine->duration() > 0.0)
        map.insert(QStringLiteral("mpris:length"),
                   qlonglong(std::llround(m_engine->duration() * microseconds)));
    if (session->project().mediaBookmark) {
        if (const auto reference = MediaReference::decode(*session->project().mediaBookmark))
            map.insert(QStringLiteral("xesam:url"),
                       QUrl::fromLocalFile(reference->path).toString(QUrl::FullyEncoded));
    }
    return map;
}

qlonglong MprisService::position() const
{
    return m_engine ? qlonglong(std::llround(m_engine->currentTime() * microseconds)) : 0;
}

bool MprisService::canPlay() const
{
    return engine() != nullptr;
}

void MprisService::play()
{
    if (PlaybackEngine* player = engine(); player && !player->isPlaying())
        player->play();
}

void MprisService::pause()
{
    if (PlaybackEngine* player = engine())
        PlaybackCommands::pause(*player);
}

void MprisService::playPause()
{
    if (PlaybackEngine* player = engine())
        PlaybackCommands::togglePlayPause(*player);
}

void MprisService::next(int direction)
{
    if (PlaybackEngine* player = engine())
        PlaybackCommands::skip(*player, direction);
}

void MprisService::seek(qlonglong offset)
{
    if (PlaybackEngine* player = engine())
        player->seek(PlaybackLogic::skipTarget(player->currentTime(), offset / microseconds,
                                               player->duration()));
}

void MprisService::setPosition(const QString& track, qlonglong position)
{
    PlaybackEngine* player = engine();
    TranscriptionSession* session = m_state.currentSession();
    // A position for another track or outside this one is ignored.
    if (!player || !session || track != trackId(*session) || position < 0 ||
        position / microseconds > player->duration())
        return;
    player->seek(position / microseconds);
}

void MprisService::openUri(const QString& uri)
{
    const QUrl url(uri);
    if (url.isLocalFile() && AppState::isSupportedAudioFile(url.toLocalFile()))
        m_state.openAudioFile(url.toLocalFile());
}

void MprisService::raise()
{
    if (m_raise)
        m_raise();
}

void MprisService::quit()
{
    if (m_quit)
        m_quit();
}

QVariantMap MprisService::playerProperties() const
{
    const bool ready = canPlay();
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("Rate"), rate()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanGoNext"), ready},
            {QStringLiteral("CanGoPrevious"), ready},
            {QStringLiteral("CanPlay"), ready},
            {QStringLiteral("CanPause"), ready},
            {QStringLiteral("CanSeek"), ready}};
}

void MprisService::publishChanges()
{
    const QVariantMap current = playerProperties();
    QVariantMap changed;
    for (auto it = current.cbegin(); it != current.cend(); ++it) {
        if (m_published.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_published = current;
    if (changed.isEmpty() || m_connectionName.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(objectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << playerInterface << changed << QStringList();
    QDBusConnection(m_connectionName).send(signal);
}

} // namespace dictaro
