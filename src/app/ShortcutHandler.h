#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace dictaro {

// Lets a plain Escape start and stop playback while the user types: sees every key press of the
// application before the focused widget and the window's shortcuts, and hands a plain Escape
// (no Shift, Ctrl, Alt, Meta or keypad modifier) to an action. While a dialog, a popup or a
// window other than the owner's is active, Escape is left to it.
class ShortcutHandler : public QObject
{
    Q_OBJECT

public:
    // `owner` is a widget of the window whose Escape presses are taken; null takes them in any
    // window that is not a dialog.
    explicit ShortcutHandler(QWidget* owner = nullptr, QObject* parent = nullptr);
    ~ShortcutHandler() override;

    ShortcutHandler(const ShortcutHandler&) = delete;
    ShortcutHandler& operator=(const ShortcutHandler&) = delete;

    // Starts watching the application's keys with `onEscape`, which returns true when it handled
    // the key (the key then goes no further). A second install replaces the first.
    void install(std::function<bool()> onEscape);
    // Stops watching; nothing happens when nothing is installed.
    void remove();
    bool isInstalled() const { return m_installed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isPlainEscape(const QKeyEvent* event) const;
    bool escapeBelongsToOwner() const;

    QPointer<QWidget> m_owner;
    std::function<bool()> m_onEscape;
    bool m_installed = false;
    // The Escape key is down and its first press was handled: its repeats are swallowed too.
    bool m_holdingHandledEscape = false;
    // What the action answered for the press being delivered now. A key that is passed on
    // reaches the filter again on its way (window, focused widget, its parents); it must not
    // run the action again. Forgotten at the key's release or on the next turn of the loop.
    std::optional<bool> m_currentPressHandled;
};

} // namespace dictaro
