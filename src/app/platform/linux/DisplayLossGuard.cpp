#include "DisplayLossGuard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace dictaro {

namespace {

// Set while a guard lives; the handler may be registered more than once and runs it once.
std::function<void()>* g_action = nullptr;
bool g_registered = false;
QtMessageHandler g_previousMessages = nullptr;
std::atomic<bool> g_displayLost = false;

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
    // What exit() would do next is tear the libraries down under threads that may still use
    // them (a dictionary being loaded, a waveform being read), which can crash the process.
    if (g_displayLost) {
        std::fflush(nullptr);
        std::_Exit(1);
    }
}

// exit() runs its handlers in reverse order: registered again, the action runs before the
// clean-up of everything made or loaded since.
void registerLast()
{
    if (g_action)
        g_registered = std::atexit(runAtExit) == 0 || g_registered;
}

// Qt's X11 platform says that the connection broke just before it calls exit(): the action then
// runs before the libraries loaded since the last renew() are torn down under the threads that
// still run in them.
void noticeLostDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && g_action && !g_displayLost &&
        message.startsWith(QLatin1String("The X11 connection broke"))) {
        g_displayLost = true;
        registerLast();
    }
    g_previousMessages(type, context, message);
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
    if (!g_previousMessages)
        g_previousMessages = qInstallMessageHandler(noticeLostDisplay);
}

DisplayLossGuard::~DisplayLossGuard()
{
    delete g_action;
    g_action = nullptr;
    if (g_previousMessages) {
        qInstallMessageHandler(g_previousMessages);
        g_previousMessages = nullptr;
    }
}

bool DisplayLossGuard::isArmed() const
{
    return g_action != nullptr && g_registered;
}

void DisplayLossGuard::renew()
{
    // Statics that saving creates on first use (Qt's among them) are torn down by exit() before
    // the handlers registered ahead of them run.
    registerLast();
}

} // namespace dictaro
