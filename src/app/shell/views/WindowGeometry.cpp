#include "WindowGeometry.h"

#include "AppSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace dictaro {

namespace {

// How much of the window's top must be on a screen for the user to grab and move it.
constexpr int grabWidth = 100;
constexpr int grabHeight = 24;

} // namespace

void WindowGeometry::save(const QWidget& window)
{
    const Qt::WindowStates state = window.windowState();
    AppSettings::setWindowPlacement({window.normalGeometry(), bool(state & Qt::WindowMaximized),
                                     bool(state & Qt::WindowFullScreen)});
}

bool WindowGeometry::restore(QWidget& window)
{
    const std::optional<AppSettings::WindowPlacement> placement = AppSettings::windowPlacement();
    if (!placement)
        return false;
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens.append(screen->availableGeometry());
    }
    window.setGeometry(placedOnScreens(placement->geometry, screens));
    if (placement->fullScreen)
        window.setWindowState(window.windowState() | Qt::WindowFullScreen);
    else if (placement->maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

QRect WindowGeometry::placedOnScreens(const QRect& saved, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return saved;
    const QRect grip(saved.topLeft(), QSize(saved.width(), std::min(grabHeight, saved.height())));
    for (const QRect& screen : screens) {
        const QRect visible = grip.intersected(screen);
        if (visible.width() >= std::min(grabWidth, saved.width()) &&
            visible.height() >= std::min(grabHeight, saved.height()) / 2)
            return saved;
    }
    const QRect& primary = screens.first();
    QRect placed(QPoint(), saved.size().boundedTo(primary.size()));
    placed.moveCenter(primary.center());
    return placed;
}

} // namespace dictaro
