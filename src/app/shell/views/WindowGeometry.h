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
    // areas of the screens, the primary one first: unchanged while at least a strip of its top
    // (where the title bar is) lies on some screen; otherwise shrunk to fit and centred on the
    // primary screen.
    static QRect placedOnScreens(const QRect& saved, const QList<QRect>& screens);
};

} // namespace dictaro
