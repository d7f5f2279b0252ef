#pragma once

#include "PlaybackCommand.h"

#include <QHash>
#include <QKeySequence>
#include <QObject>

namespace dictaro {

// The keys of the playback commands: the defaults, or the user's own choice kept in the settings
// file. A key is one combination (a chord); a command may also have none. No two commands share
// a key, and no command takes a key that typing, moving through the text or the editing and file
// commands (Undo, Copy, Find, Save, Quit, ...) need.
class KeyBindings : public QObject
{
    Q_OBJECT

public:
    // Reads the user's keys. A stored key that is unreadable or now refused is replaced by the
    // default (or by none when the default is taken too); nothing is written.
    explicit KeyBindings(QObject* parent = nullptr);

    static QKeySequence defaultKey(PlaybackCommand command);
    QKeySequence key(PlaybackCommand command) const { return m_keys.value(command); }

    // Why `key` cannot become the key of `command`, in the interface language; empty when it
    // can. Only the first combination of `key` counts. No key at all is always allowed.
    QString conflict(PlaybackCommand command, const QKeySequence& key) const;
    // Makes the first combination of `key` the key of `command` and stores it, unless conflict()
    // refuses it: then false, and nothing changes.
    bool setKey(PlaybackCommand command, const QKeySequence& key);
    // Gives every command its default key again and forgets the user's choice.
    void restoreDefaults();

signals:
    void keyChanged(dictaro::PlaybackCommand command, const QKeySequence& key);

private:
    QString conflictWith(const QHash<PlaybackCommand, QKeySequence>& keys, PlaybackCommand command,
                         const QKeySequence& key) const;
    void assign(PlaybackCommand command, const QKeySequence& key);

    QHash<PlaybackCommand, QKeySequence> m_keys;
};

} // namespace dictaro
