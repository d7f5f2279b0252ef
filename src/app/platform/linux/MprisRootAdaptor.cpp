#include "MprisRootAdaptor.h"

#include "MprisService.h"

namespace dictaro {

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service)
{}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("Dictaro");
}

QString MprisRootAdaptor::desktopEntry() const
{
    return QStringLiteral("dictaro");
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    // The types behind AppState::supportedExtensions.
    return {QStringLiteral("audio/mpeg"),  QStringLiteral("audio/mp4"),
            QStringLiteral("audio/x-m4a"), QStringLiteral("audio/aac"),
            QStringLiteral("audio/wav"),   QStringLiteral("audio/x-wav"),
            QStringLiteral("audio/aiff"),  QStringLiteral("audio/x-aiff"),
            QStringLiteral("audio/flac"),  QStringLiteral("audio/x-caf")};
}

void MprisRootAdaptor::Raise()
{
    m_service->raise();
}

void MprisRootAdaptor::Quit()
{
    m_service->quit();
}

} // namespace dictaro
