#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace dictaro {

// Reads a foot pedal's buttons from an input device's file descriptor on the event loop, in the
// kernel's own format (struct input_event records, possibly split across reads): BTN_0, BTN_1
// and BTN_2 are the left, middle and right button.
class PedalEventReader : public QObject
{
    Q_OBJECT

public:
    // Reads `fd`, which it makes non-blocking; the caller keeps it open and closes it.
    explicit PedalEventReader(int fd, QObject* parent = nullptr);
    ~PedalEventReader() override;

    // The button (0, 1, 2) an EV_KEY code stands for; -1 for any other code.
    static int buttonForCode(int code);

signals:
    void buttonChanged(int button, bool pressed);
    // The kernel dropped events (its buffer overflowed): presses and releases were missed.
    void eventsLost();
    // The device is gone (unplugged) or unreadable; nothing more is read.
    void closed();

private:
    void readAvailable();
    void decode();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending;
    // After a drop, events up to the next report belong to a broken frame and are skipped.
    bool m_skippingToReport = false;
};

} // namespace dictaro
