#include "ShortcutHandler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace dictaro {

ShortcutHandler::ShortcutHandler(QWidget* owner, QObject* parent) : QObject(parent), m_owner(owner)
{}

ShortcutHandler::~ShortcutHandler()
{
    remove();
}

void ShortcutHandler::install(std::function<bool()> onEscape)
{
    remove();
    m_onEscape = std::move(onEscape);
    if (qApp) {
        qApp->installEventFilter(this);
        m_installed = true;
    }
}

void ShortcutHandler::remove()
{
    if (!m_installed)
        return;
    if (qApp)
        qApp->removeEventFilter(this);
    m_installed = false;
    m_onEscape = {};
    m_holdingHandledEscape = false;
    m_currentPressHandled.reset();
}

bool ShortcutHandler::isPlainEscape(const QKeyEvent* event) const
{
    // Caps Lock is no Qt modifier, so it never shows up here.
    constexpr Qt::KeyboardModifiers blocking = Qt::ShiftModifier | Qt::ControlModifier |
                                               Qt::AltModifier | Qt::MetaModifier |
                                               Qt::KeypadModifier;
    return event->key() == Qt::Key_Escape && !(event->modifiers() & blocking);
}

bool ShortcutHandler::escapeBelongsToOwner() const
{
    // A dialog, sheet, file dialog, message box or open menu gets its Escape as usual.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    const QWidget* active = QApplication::activeWindow();
    if (!active)
        return true;
    if (m_owner)
        return active == m_owner->window();
    return active->windowType() == Qt::Window;
}

// Qt asks the focused widget with a ShortcutOverride event whether it wants a key before the
// window's shortcuts (the Play/Pause menu item also carries Escape) may take it. Accepting that
// event for an Escape we take keeps the shortcut from firing, so that one press toggles once;
// the action then runs on the KeyPress that follows. The filter sees a key at every receiver it
// passes (the window, the focused widget, its parents); a swallowed key goes no further.
bool ShortcutHandler::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape)
        return QObject::eventFilter(watched, event);

    if (type == QEvent::KeyRelease) {
        if (!key->isAutoRepeat()) {
            m_holdingHandledEscape = false;
            m_currentPressHandled.reset();
        }
        return QObject::eventFilter(watched, event);
    }
    if (!isPlainEscape(key) || !escapeBelongsToOwner())
        return QObject::eventFilter(watched, event);

    if (key->isAutoRepeat()) {
        // Holding Escape down toggles once, not many times a second.
        if (!m_holdingHandledEscape)
            return QObject::eventFilter(watched, event);
        key->accept();
        return true;
    }
    if (type == QEvent::ShortcutOverride) {
        key->accept();
        return true;
    }

    if (!m_currentPressHandled) {
        // A copy, so that an action that installs another one does not destroy itself mid-call.
        const std::function<bool()> action = m_onEscape;
        const bool handled = action && action();
        m_currentPressHandled = handled;
        m_holdingHandledEscape = handled;
        QMetaObject::invokeMethod(
            this, [this] { m_currentPressHandled.reset(); }, Qt::QueuedConnection);
    }
    if (!*m_currentPressHandled)
        return QObject::eventFilter(watched, event);
    key->accept();
    return true;
}

} // namespace dictaro
