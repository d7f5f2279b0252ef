#pragma once

#include "PlaybackCommand.h"

#include <QHash>
#include <QWidget>

class QKeySequenceEdit;
class QLabel;

namespace dictaro {

class KeyBindings;

// The Keys page of the settings: the key of each playback command, which the user may record
// anew; a key another command or the editor needs is refused with the reason, and Restore
// Defaults brings back the original keys.
class KeySettingsView : public QWidget
{
    Q_OBJECT

public:
    explicit KeySettingsView(KeyBindings& bindings, QWidget* parent = nullptr);
    ~KeySettingsView() override;

private:
    void choose(PlaybackCommand command, const QKeySequence& key);
    void showKey(PlaybackCommand command, const QKeySequence& key);

    KeyBindings& m_bindings;
    QHash<PlaybackCommand, QKeySequenceEdit*> m_editors;
    QLabel* m_message = nullptr;
};

} // namespace dictaro
