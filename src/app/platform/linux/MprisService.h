#pragma once

#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <functional>

class QDBusConnection;

namespace dictaro {

class AppState;
class PlaybackEngine;

// Lets the desktop's media controls (panel applets, media keys routed by the desktop, phone
// companions) see and drive the open session's playback through the session bus, as
// org.mpris.MediaPlayer2.dictaro. Pausing from there rewinds like the Play/Pause key.
class MprisService : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* objectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* serviceName = "org.mpris.MediaPlayer2.dictaro";

    // `raise` brings the main window forward, `quit` asks the application to quit.
    MprisService(AppState& state, std::function<void()> raise, std::function<void()> quit,
                 QObject* parent = nullptr);
    ~MprisService() override;

    // Puts the service on `connection` and asks for its name, without waiting for the answer
    // (a second instance gets a name of its own). False, silently, without a bus or when the
    // object cannot be put there; the application then works as before.
    bool registerOn(const QDBusConnection& connection);

    // The Player interface's state, as sent on the bus.
    QString playbackStatus() const;
    double rate() const;
    void setRate(double rate);
    // The open project's volume, 1.0 for 100 % and up to 2.0; 1.0 while none is open.
    double volume() const;
    // Below 0 counts as 0, above 2.0 as 2.0; not a number changes nothing.
    void setVolume(double volume);
    QVariantMap metadata() const;
    qlonglong position() const; // microseconds
    bool canPlay() const;       // also pause, seek, next, previous: a file is ready

    // The Player interface's methods; each does nothing without a ready file.
    void play();
    void pause();
    void playPause();
    void next(int direction);
    void seek(qlonglong offset);
    void setPosition(const QString& trackId, qlonglong position);
    void openUri(const QString& uri);
    void raise();
    void quit();

signals:
    void seeked(qlonglong position);

private:
    PlaybackEngine* engine() const;
    void followSession();
    void onPaceChanged();
    void onPosition(double seconds);
    void publishChanges();
    QVariantMap playerProperties() const;

    AppState& m_state;
    std::function<void()> m_raise;
    std::function<void()> m_quit;
    QPointer<PlaybackEngine> m_engine;
    QList<QMetaObject::Connection> m_engineConnections;
    void requestName(const QString& name, bool fallBack);

    QString m_connectionName;
    // What was last announced, so that only real changes are sent.
    QVariantMap m_published;
    // The last position seen and when, to tell a jump from playback running on.
    double m_lastPosition = 0.0;
    QElapsedTimer m_sinceLastPosition;
};

} // namespace dictaro
