#pragma once

#include "Clock.h"

#include <QElapsedTimer>

class SystemClock : public Clock
{
public:
    SystemClock();

    qint64 nowMs() const override;
    void sleepMs(qint64 ms) override;
    void waitProcessingEvents(qint64 ms) override;

private:
    QElapsedTimer m_timer;
};
