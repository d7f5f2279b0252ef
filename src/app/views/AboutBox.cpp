#include "AboutBox.h"

#include "Localization.h"

#include <QMessageBox>
#include <QtGlobal>

#include <mpv/client.h>

namespace dictaro {

QString AboutBox::text()
{
    return QStringLiteral("<h3>Dictaro %1</h3><p>%2</p><p>%3</p><p>%4</p>")
        .arg(QStringLiteral(DICTARO_VERSION),
             Localization::tr("Transcribe recorded speech by hand.").toHtmlEscaped(),
             Localization::tr("Licensed under the GNU General Public License, version 3 or any "
                              "later version (GPL-3.0-or-later).")
                 .toHtmlEscaped(),
             Localization::tr("Built on Qt %1 and %2.")
                 .arg(QString::fromLatin1(qVersion()), playbackLibraryVersion())
                 .toHtmlEscaped());
}

QString AboutBox::playbackLibraryVersion()
{
    const unsigned long api = mpv_client_api_version();
    const QString apiVersion = QStringLiteral("libmpv %1.%2").arg(api >> 16).arg(api & 0xffff);
    // The player's own version is known only to a player instance (not started, nothing played).
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return apiVersion;
    QString version;
    if (char* player = mpv_get_property_string(mpv, "mpv-version")) {
        version = QString::fromUtf8(player);
        mpv_free(player);
    }
    mpv_terminate_destroy(mpv);
    return version.isEmpty() ? apiVersion : QStringLiteral("%1 (%2)").arg(apiVersion, version);
}

void AboutBox::show(QWidget* parent)
{
    QMessageBox::about(parent, Localization::tr("About Dictaro"), text());
}

} // namespace dictaro
