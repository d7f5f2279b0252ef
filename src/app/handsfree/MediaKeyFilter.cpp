#include "MediaKeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace dictaro {

std::optional<PlaybackCommand> MediaKeyFilter::commandForKey(int key, bool isPlaying)
{
    switch (key) {
    case Qt::Key_MediaTogglePlayPause: return PlaybackCommand::PlayPause;
    case Qt::Key_MediaPlay:
        return isPlaying ? std::nullopt : std::optional(PlaybackCommand::PlayPause);
    case Qt::Key_MediaPause:
        return isPlaying ? std::optional(PlaybackCommand::PlayPause) : std::nullopt;
    case Qt::Key_MediaNext: return PlaybackCommand::SkipForward;
    case Qt::Key_MediaPrevious: return PlaybackCommand::SkipBack;
    default: return std::nullopt;
    }
}

MediaKeyFilter::MediaKeyFilter(QWidget* window, std::function<void(PlaybackCommand)> run,
                               std::function<bool()> isPlaying, QObject* parent)
    : QObject(parent), m_window(window), m_run(std::move(run)), m_isPlaying(std::move(isPlaying))
{
    qApp->installEventFilter(this);
}

MediaKeyFilter::~MediaKeyFilter()
{
    qApp->removeEventFilter(this);
}

bool MediaKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !m_window || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (static_cast<QWidget*>(watched)->window() != m_window->window())
        return QObject::eventFilter(watched, event);
    const bool playing = m_isPlaying && m_isPlaying();
    const std::optional<PlaybackCommand> command = commandForKey(key->key(), playing);
    const bool isMediaKey = commandForKey(key->key(), !playing) || command;
    if (!isMediaKey)
        return QObject::eventFilter(watched, event);
    // The first receiver (the focused widget) takes it; it goes no further.
    if (command && !key->isAutoRepeat() && m_run)
        m_run(*command);
    return true;
}

} // namespace dictaro
