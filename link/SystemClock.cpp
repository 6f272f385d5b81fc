#include "SystemClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

SystemClock::SystemClock()
{
    m_timer.start();
}

qint64 SystemClock::nowMs() const
{
    return m_timer.elapsed();
}

void SystemClock::sleepMs(qint64 ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void SystemClock::waitProcessingEvents(qint64 ms)
{
    if (!QCoreApplication::instance()) {
        sleepMs(ms);
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (ms <= 0)
        return;
    // A local loop with a timer sleeps in the event dispatcher instead of
    // spinning, and still handles every event that arrives meanwhile.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
