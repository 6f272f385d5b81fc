#include "SimBoardPort.h"

#include "BoardEngine.h"
#include "Clock.h"

#include <cstring>

using namespace d2xx;

SimBoardPort::SimBoardPort(std::shared_ptr<BoardEngine> engine, std::shared_ptr<bool> plugged,
                           std::shared_ptr<int> openCount)
    : m_engine(std::move(engine)), m_plugged(std::move(plugged)),
      m_openCount(std::move(openCount))
{
    ++*m_openCount;
}

SimBoardPort::~SimBoardPort()
{
    --*m_openCount;
}

qint64 SimBoardPort::nowUs()
{
    return Clock::current().nowMs() * 1000;
}

Status SimBoardPort::reset()
{
    return *m_plugged ? Ok : IoError;
}

Status SimBoardPort::setBaudRate(quint32 baud)
{
    if (!*m_plugged)
        return IoError;
    m_baud = baud;
    return Ok;
}

Status SimBoardPort::setDataCharacteristics(quint8, quint8, quint8)
{
    return *m_plugged ? Ok : IoError;
}

Status SimBoardPort::setFlowControl(quint16, quint8, quint8)
{
    return *m_plugged ? Ok : IoError;
}

Status SimBoardPort::read(void* buffer, quint32 bytesToRead, quint32* bytesRead)
{
    if (!*m_plugged)
        return IoError;
    const QByteArray bytes = m_engine->take(bytesToRead, nowUs());
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    *bytesRead = static_cast<quint32>(bytes.size());
    return Ok;
}

Status SimBoardPort::write(const void* buffer, quint32 bytesToWrite, quint32* bytesWritten)
{
    if (!*m_plugged)
        return IoError;
    // A board at another line speed would see garbage; the program always
    // sets 57 600 bit/s, so only that speed reaches the engine.
    if (m_baud == 57600)
        m_engine->feed(QByteArray(static_cast<const char*>(buffer), bytesToWrite), nowUs());
    *bytesWritten = bytesToWrite;
    return Ok;
}

Status SimBoardPort::queueStatus(quint32* bytesWaiting)
{
    if (!*m_plugged) {
        *bytesWaiting = 0;
        return IoError;
    }
    *bytesWaiting = static_cast<quint32>(m_engine->available(nowUs()));
    return Ok;
}

Status SimBoardPort::purge(quint32 mask)
{
    if (!*m_plugged)
        return IoError;
    if (mask & PurgeRx)
        m_engine->dropArrived(nowUs());
    // Writes reach the engine at once, so there is never a send queue to drop.
    return Ok;
}

Status SimBoardPort::waitForReceive(quint32 ms)
{
    Clock& clock = Clock::current();
    if (!*m_plugged) {
        clock.sleepMs(ms);
        return IoError;
    }
    const qint64 now = nowUs();
    if (m_engine->available(now) > 0)
        return Ok;
    const qint64 limitUs = now + qint64(ms) * 1000;
    const qint64 next = m_engine->nextArrivalUs();
    const qint64 untilUs = next >= 0 && next < limitUs ? next : limitUs;
    // Round up to whole milliseconds of the program clock.
    const qint64 sleep = (untilUs - now + 999) / 1000;
    clock.sleepMs(sleep > 0 ? sleep : 1);
    return Ok;
}
