#include "FakeClock.h"

#include <QCoreApplication>

FakeClock::FakeClock(qint64 startMs) : m_now(startMs)
{
    Clock::setCurrent(this);
}

FakeClock::~FakeClock()
{
    Clock::setCurrent(nullptr);
}

void FakeClock::sleepMs(qint64 ms)
{
    advance(ms);
}

void FakeClock::waitProcessingEvents(qint64 ms)
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    advance(ms);
}
