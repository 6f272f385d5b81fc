#pragma once

#include <QtGlobal>

// The one millisecond tick counter of the program. Every deadline is taken on
// it, so tests can swap in a simulated clock and run long waits instantly.
class Clock
{
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary start; never goes backwards.
    virtual qint64 nowMs() const = 0;

    // Lets up to ms milliseconds pass without spinning (a real clock sleeps,
    // a simulated one jumps ahead).
    virtual void sleepMs(qint64 ms) = 0;

    // Lets up to ms milliseconds pass while the application handles its
    // pending events.
    virtual void waitProcessingEvents(qint64 ms) = 0;

    static Clock& current();
    // nullptr restores the system clock. The caller keeps ownership.
    static void setCurrent(Clock* clock);
};
