#include "ui/GUIWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void ProcessMessagesWaiting(int maxMilliseconds) {
    if (!QCoreApplication::instance()) return;
    // The timer bounds the wait: it is an event of its own, so the call returns by then.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxMilliseconds < 0 ? 0 : maxMilliseconds);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
