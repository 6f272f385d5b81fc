#pragma once

#include "Clock.h"

// Simulated time: waiting advances the clock at once, so tests of long waits
// cost no real time. Installs itself as the program clock while it lives.
class FakeClock : public Clock
{
public:
    explicit FakeClock(qint64 startMs = 1000);
    ~FakeClock() override;

    qint64 nowMs() const override { return m_now; }
    void sleepMs(qint64 ms) override;
    void waitProcessingEvents(qint64 ms) override;

    void advance(qint64 ms) { m_now += ms > 0 ? ms : 0; }

private:
    qint64 m_now;
};
