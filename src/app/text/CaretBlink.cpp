#include "CaretBlink.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace dictaro {

CaretBlink::CaretBlink(int restAfterMSecs, QObject* parent)
    : QObject(parent), m_restAfter(restAfterMSecs),
      m_flashTime(QGuiApplication::styleHints()->cursorFlashTime())
{
    m_restTimer.setSingleShot(true);
    connect(&m_restTimer, &QTimer::timeout, this, &CaretBlink::checkRest);
    if (m_flashTime <= 0)
        return;
    qApp->installEventFilter(this);
    m_sinceInput.start();
    m_restTimer.start(m_restAfter);
}

CaretBlink::~CaretBlink()
{
    // The application outlives this: its carets blink as the desktop wants again.
    if (m_resting)
        QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
}

bool CaretBlink::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::TouchBegin: noteInput(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

// Called for every key: the timer is not restarted each time, it looks at the time of the last
// input when it runs out.
void CaretBlink::noteInput()
{
    m_sinceInput.restart();
    if (m_resting) {
        m_resting = false;
        QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
    }
    if (!m_restTimer.isActive())
        m_restTimer.start(m_restAfter);
}

void CaretBlink::checkRest()
{
    const qint64 left = m_restAfter - m_sinceInput.elapsed();
    if (left > 0) {
        m_restTimer.start(int(left));
        return;
    }
    m_resting = true;
    // A flash time of zero shows the caret steadily in every text field.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

} // namespace dictaro
