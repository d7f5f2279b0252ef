#include "PedalEventReader.h"

#include <QSocketNotifier>

#include <linux/input.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace dictaro {

PedalEventReader::PedalEventReader(int fd, QObject* parent) : QObject(parent), m_fd(fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PedalEventReader::readAvailable);
}

PedalEventReader::~PedalEventReader() = default;

int PedalEventReader::buttonForCode(int code)
{
    return code >= BTN_0 && code <= BTN_2 ? code - BTN_0 : -1;
}

void PedalEventReader::readAvailable()
{
    char buffer[64 * sizeof(input_event)];
    for (;;) {
        const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
        if (count > 0) {
            m_pending.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of file, or ENODEV once the device is unplugged: decode what came, then stop.
        decode();
        m_notifier->setEnabled(false);
        emit closed();
        return;
    }
    decode();
}

void PedalEventReader::decode()
{
    const qsizetype whole = m_pending.size() - m_pending.size() % qsizetype(sizeof(input_event));
    for (qsizetype offset = 0; offset < whole; offset += sizeof(input_event)) {
        input_event event;
        std::memcpy(&event, m_pending.constData() + offset, sizeof event);
        if (event.type == EV_SYN && event.code == SYN_DROPPED) {
            m_skippingToReport = true;
            emit eventsLost();
        } else if (event.type == EV_SYN && event.code == SYN_REPORT) {
            m_skippingToReport = false;
        } else if (!m_skippingToReport && event.type == EV_KEY && event.value != 2) {
            // Value 2 is the keyboard's auto-repeat, never a change.
            const int button = buttonForCode(event.code);
            if (button >= 0)
                emit buttonChanged(button, event.value != 0);
        }
    }
    m_pending.remove(0, whole);
}

} // namespace dictaro
