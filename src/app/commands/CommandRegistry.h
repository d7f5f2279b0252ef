#pragma once

#include "Command.h"

#include <QKeySequence>
#include <QObject>

#include <array>
#include <optional>

class QAction;

namespace dictaro {

// Every command of the application as one action, made once with its text, key and tooltip,
// and shared by the menus, the buttons, the shortcuts list, the Keys page, pedals and media
// keys. Holds the user's own keys (kept in the settings) and refuses a key that any command,
// typing or the text already holds, so that no key is ever ambiguous.
class CommandRegistry : public QObject
{
    Q_OBJECT
    Q_PROPERTY(std::optional<QString> saveError READ saveError NOTIFY saveErrorChanged)

public:
    // Makes every command's action, with the user's keys read from the settings. A stored key
    // that is unreadable or now refused is replaced by the default (or by none when the default
    // is taken too); nothing is written.
    explicit CommandRegistry(QObject* parent = nullptr);
    // The same, without the `absent` commands, which this build cannot run: their actions stay
    // disabled and hidden, with no keys, and menus and key lists leave them out.
    explicit CommandRegistry(const QList<Command>& absent, QObject* parent = nullptr);
    ~CommandRegistry() override;

    QAction* action(Command command) const { return m_actions.at(std::size_t(command)); }
    // Whether the command is there to be run (not absent from this build).
    bool isOffered(Command command) const { return !m_absent.contains(command); }
    // The key the command answers to first (its shown key); empty for none.
    QKeySequence key(Command command) const;

    // Why `key` cannot become the key of `command`, in the interface language; empty when it
    // can. Only the first combination of `key` counts; no key at all is always allowed.
    QString conflict(Command command, const QKeySequence& key) const;
    // Makes the first combination of `key` the key of the rebindable `command` and stores it,
    // unless conflict() refuses it: then false, and nothing changes.
    bool setKey(Command command, const QKeySequence& key);
    // Gives every rebindable command its default key again and forgets the user's choice.
    void restoreDefaults();
    // Why the user's last choice of keys could not be kept for the next start (the settings
    // file could not be written); the keys work until then. Empty after a choice was kept.
    std::optional<QString> saveError() const { return m_saveError; }

signals:
    void keyChanged(dictaro::Command command, const QKeySequence& key);
    void saveErrorChanged(const std::optional<QString>& saveError);

private:
    QString conflictAmong(Command command, const QKeySequence& combination,
                          const QList<Command>& others) const;
    void assign(Command command, const QList<QKeySequence>& keys);
    void setSaved(bool saved);

    static constexpr std::size_t commandCount = std::size_t(Command::AboutQt) + 1;
    std::array<QAction*, commandCount> m_actions{};
    std::optional<QString> m_saveError;
    QList<Command> m_absent;
};

} // namespace dictaro
