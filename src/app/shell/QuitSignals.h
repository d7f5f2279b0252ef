#pragma once

#include <QObject>

class QSocketNotifier;

namespace dictaro {

// Turns SIGTERM, SIGINT and SIGHUP (from the desktop session or a terminal) into a signal on the
// event loop, so that they quit through the normal, saving path. Only one instance may exist; on
// systems without these signals it never fires.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace dictaro
