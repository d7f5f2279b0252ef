#pragma once

#include "PlaybackCommand.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QWidget;

namespace dictaro {

// Makes the keyboard's media keys (play, pause, play/pause, next, previous) act as the playback
// commands while a window has focus, also where the desktop does not route them to players.
class MediaKeyFilter : public QObject
{
    Q_OBJECT

public:
    // The command a media key stands for while playing (`isPlaying`) or paused; nothing for
    // other keys, and for Play while playing or Pause while paused.
    static std::optional<PlaybackCommand> commandForKey(int key, bool isPlaying);

    // Watches the application's key presses in `window` and hands media keys to `run`.
    MediaKeyFilter(QWidget* window, std::function<void(PlaybackCommand)> run,
                   std::function<bool()> isPlaying, QObject* parent = nullptr);
    ~MediaKeyFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    std::function<void(PlaybackCommand)> m_run;
    std::function<bool()> m_isPlaying;
};

} // namespace dictaro
