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
    // The screen that holds most of the window's top, if any does.
    const auto gripOf = [](const QRect& window) {
        return QRect(window.topLeft(),
                     QSize(window.width(), std::min(grabHeight, window.height())));
    };
    const QRect* home = nullptr;
    qint64 homeArea = 0;
    for (const QRect& screen : screens) {
        const QRect visible = gripOf(saved).intersected(screen);
        const qint64 area = qint64(visible.width()) * visible.height();
        if (area > homeArea) {
            home = &screen;
            homeArea = area;
        }
    }
    if (!home) {
        const QRect& primary = screens.first();
        QRect placed(QPoint(), saved.size().boundedTo(primary.size()));
        placed.moveCenter(primary.center());
        return placed;
    }
    // Never larger than the screen it is on: a size restored as saved could exceed every screen.
    QRect placed(saved.topLeft(), saved.size().boundedTo(home->size()));
    const QRect grip = gripOf(placed);
    const bool grabbable = std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect visible = grip.intersected(screen);
        return visible.width() >= std::min(grabWidth, placed.width()) &&
               visible.height() >= std::min(grabHeight, placed.height()) / 2;
    });
    if (grabbable && placed.size() == saved.size())
        return placed;
    // Shrunk, or only a sliver of its top showing: moved the least needed to lie wholly on it.
    placed.moveLeft(std::clamp(placed.left(), home->left(), home->right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), home->top(), home->bottom() - placed.height() + 1));
    return placed;
}

} // namespace dictaro
