#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace dictaro {

// Brings the main window back with the size, position and maximised or full-screen state it had
// when it was last closed, on a screen that is still there.
class WindowGeometry
{
public:
    // Stores `window`'s normal geometry and state in the settings.
    static void save(const QWidget& window);
    // Gives `window` (not yet shown) the stored geometry and state; false, changing nothing,
    // when none is stored.
    static bool restore(QWidget& window);

    // Where a window last seen at `saved` (its normal geometry) goes now, given the available
    // areas of the screens, the primary one first. It stays on the screen that holds most of its
    // top (where the title bar is), never larger than that screen: unchanged while it fits and a
    // strip of its top can be grabbed, otherwise shrunk and moved the least needed to lie wholly
    // on that screen. A window whose top is on no screen is centred on the primary one.
    static QRect placedOnScreens(const QRect& saved, const QList<QRect>& screens);
};

} // namespace dictaro
