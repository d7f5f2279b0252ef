#include "DisplayLossGuard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

#include <cstdlib>

namespace dictaro {

namespace {

// Set while a guard lives; the handler may be registered more than once and runs it once.
std::function<void()>* g_action = nullptr;
bool g_registered = false;

void runAtExit()
{
    // On another thread the main thread still runs and owns every object the action reads.
    const QCoreApplication* app = QCoreApplication::instance();
    if (!g_action || !app || QThread::currentThread() != app->thread())
        return;
    const std::function<void()> action = std::move(*g_action);
    delete g_action;
    g_action = nullptr;
    action();
}

} // namespace

DisplayLossGuard::DisplayLossGuard(std::function<void()> action)
{
    // The X11 platform calls exit() both when it finds the connection broken while handling
    // events and from the I/O error handler it installs in Xlib (through Xlib's default one).
    // exit() runs the handlers registered with atexit() before the process ends.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    delete g_action;
    g_action = new std::function<void()>(std::move(action));
    if (!g_registered)
        g_registered = std::atexit(runAtExit) == 0;
}

DisplayLossGuard::~DisplayLossGuard()
{
    delete g_action;
    g_action = nullptr;
}

bool DisplayLossGuard::isArmed() const
{
    return g_action != nullptr && g_registered;
}

void DisplayLossGuard::renew()
{
    // Statics that saving creates on first use (Qt's among them) are torn down by exit() before
    // the handlers registered ahead of them run.
    if (g_action)
        g_registered = std::atexit(runAtExit) == 0 || g_registered;
}

} // namespace dictaro
