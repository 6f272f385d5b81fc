#include "Clock.h"

#include "SystemClock.h"

namespace {
Clock* g_current = nullptr;

Clock& systemClock()
{
    static SystemClock clock;
    return clock;
}
} // namespace

Clock& Clock::current()
{
    return g_current ? *g_current : systemClock();
}

void Clock::setCurrent(Clock* clock)
{
    g_current = clock;
}
