#include "MprisPlayerAdaptor.h"

#include "MprisService.h"
#include "PlaybackLogic.h"

namespace dictaro {

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service)
{
    connect(service, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_service->playbackStatus();
}

double MprisPlayerAdaptor::rate() const
{
    return m_service->rate();
}

double MprisPlayerAdaptor::volume() const
{
    return m_service->volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_service->setVolume(volume);
}

void MprisPlayerAdaptor::setRate(double rate)
{
    m_service->setRate(rate);
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_service->metadata();
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service->position();
}

double MprisPlayerAdaptor::minimumRate() const
{
    return PlaybackLogic::minRate;
}

double MprisPlayerAdaptor::maximumRate() const
{
    return PlaybackLogic::maxRate;
}

bool MprisPlayerAdaptor::canControlFile() const
{
    return m_service->canPlay();
}

void MprisPlayerAdaptor::Next()
{
    m_service->next(+1);
}

void MprisPlayerAdaptor::Previous()
{
    m_service->next(-1);
}

void MprisPlayerAdaptor::Pause()
{
    m_service->pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_service->playPause();
}

void MprisPlayerAdaptor::Stop()
{
    m_service->pause();
}

void MprisPlayerAdaptor::Play()
{
    m_service->play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    m_service->seek(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position)
{
    m_service->setPosition(TrackId.path(), Position);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri)
{
    m_service->openUri(Uri);
}

} // namespace dictaro
