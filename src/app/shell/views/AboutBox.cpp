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
    // The interface version of the library loaded at run time (the player's own version is
    // known only to a started player).
    const unsigned long version = mpv_client_api_version();
    return QStringLiteral("libmpv %1.%2").arg(version >> 16).arg(version & 0xffff);
}

void AboutBox::show(QWidget* parent)
{
    QMessageBox::about(parent, Localization::tr("About Dictaro"), text());
}

} // namespace dictaro
