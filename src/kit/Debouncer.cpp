#include "Debouncer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include <QBasicTimer>
#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <QTimerEvent>

namespace dictaro {

// One queued run. It owns its action and refers to its debouncer weakly (the two clear their
// pointers to each other when either goes away), so the action still runs if the debouncer was
// destroyed meanwhile. A task deletes itself when it runs; a dropped one is deleted at once.
// Tasks are children of the application object so that none outlives it.
class Debouncer::Task final : public QObject
{
public:
    Task(Debouncer* owner, std::function<void()> action, int delayMSecs)
        : QObject(QCoreApplication::instance()), m_owner(owner), m_action(std::move(action))
    {
        m_timer.start(delayMSecs, Qt::PreciseTimer, this);
    }

    ~Task() override
    {
        if (m_owner)
            m_owner->m_pending = nullptr;
    }

    // Cancels the run and hands back the action. The caller deletes the task.
    std::function<void()> takeAction()
    {
        m_timer.stop();
        m_owner = nullptr;
        return std::exchange(m_action, {});
    }

    void detach() { m_owner = nullptr; }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        if (event->timerId() != m_timer.timerId()) {
            QObject::timerEvent(event);
            return;
        }
        // The debouncer's pending state is cleared before the action runs, so the action may
        // schedule again. Qt supports deleting the receiver of a timer event inside its handler.
        if (m_owner)
            m_owner->m_pending = nullptr;
        std::function<void()> action = takeAction();
        delete this;
        if (action)
            action();
    }

private:
    QBasicTimer m_timer;
    Debouncer* m_owner = nullptr;
    std::function<void()> m_action;
};

namespace {

int toMilliseconds(double seconds)
{
    if (!(seconds > 0.0)) // also NaN
        return 0;
    const double msecs = std::ceil(seconds * 1000.0);
    return msecs >= double(INT_MAX) ? INT_MAX : int(msecs);
}

} // namespace

Debouncer::Debouncer(double delaySeconds, double maxWaitSeconds)
    : m_delaySeconds(std::isfinite(delaySeconds) && delaySeconds > 0.0 ? delaySeconds : 0.0),
      m_delayMSecs(toMilliseconds(m_delaySeconds)),
      m_maxWaitMSecs(
          std::isinf(maxWaitSeconds) && maxWaitSeconds > 0 ? -1 : toMilliseconds(maxWaitSeconds))
{}

Debouncer::~Debouncer()
{
    // A pending run survives its debouncer; it only loses the way back.
    if (m_pending)
        m_pending->detach();
}

std::function<void()> Debouncer::takePending()
{
    Task* task = std::exchange(m_pending, nullptr);
    if (!task)
        return {};
    std::function<void()> action = task->takeAction();
    delete task;
    return action;
}

void Debouncer::schedule(std::function<void()> action)
{
    Q_ASSERT(QCoreApplication::instance() &&
             QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!m_pending)
        m_burst.start();
    takePending();
    qint64 delay = m_delayMSecs;
    if (m_maxWaitMSecs >= 0)
        delay = std::clamp<qint64>(m_maxWaitMSecs - m_burst.elapsed(), 0, delay);
    m_pending = new Task(this, std::move(action), int(delay));
}

void Debouncer::flush()
{
    // Nothing of this object is touched after the action runs: it may destroy the debouncer.
    std::function<void()> action = takePending();
    if (action)
        action();
}

void Debouncer::cancel()
{
    takePending();
}

} // namespace dictaro
