#include "MprisRootAdaptor.h"

#include "AudioTypes.h"
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
    return AudioTypes::mimeTypes();
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
