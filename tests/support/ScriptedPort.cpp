#include "ScriptedPort.h"

#include "Clock.h"
#include "ScriptedDevice.h"

#include <cstring>

using namespace d2xx;

ScriptedPort::ScriptedPort(std::shared_ptr<ScriptedDevice> device, std::shared_ptr<int> opened)
    : m_device(std::move(device)), m_opened(std::move(opened))
{
    ++*m_opened;
}

ScriptedPort::~ScriptedPort()
{
    --*m_opened;
}

Status ScriptedPort::result(int call) const
{
    return m_device->failing[call] ? IoError : Ok;
}

Status ScriptedPort::reset()
{
    return result(ScriptedDevice::Reset);
}

Status ScriptedPort::setBaudRate(quint32 baud)
{
    m_device->baud = baud;
    return result(ScriptedDevice::Baud);
}

Status ScriptedPort::setDataCharacteristics(quint8 w, quint8 s, quint8 p)
{
    m_device->wordLength = w;
    m_device->stopBits = s;
    m_device->parity = p;
    return result(ScriptedDevice::Data);
}

Status ScriptedPort::setFlowControl(quint16 mode, quint8, quint8)
{
    m_device->flow = mode;
    return result(ScriptedDevice::Flow);
}

Status ScriptedPort::read(void* buffer, quint32 n, quint32* got)
{
    if (m_device->failing[ScriptedDevice::Read])
        return IoError;
    const QByteArray bytes = m_device->take(n, Clock::current().nowMs());
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    *got = static_cast<quint32>(bytes.size());
    return Ok;
}

Status ScriptedPort::write(const void* buffer, quint32 n, quint32* done)
{
    if (m_device->failing[ScriptedDevice::Write])
        return IoError;
    const QByteArray bytes(static_cast<const char*>(buffer), n);
    m_device->written.append({bytes, Clock::current().nowMs()});
    m_device->sendQueue += bytes;
    *done = n;
    if (m_device->onWrite)
        m_device->onWrite(bytes);
    return Ok;
}

Status ScriptedPort::queueStatus(quint32* waiting)
{
    if (m_device->failing[ScriptedDevice::Queue])
        return IoError;
    *waiting = static_cast<quint32>(m_device->arrived(Clock::current().nowMs()));
    return Ok;
}

Status ScriptedPort::purge(quint32 mask)
{
    m_device->purges.append(mask);
    if (mask & PurgeRx)
        m_device->dropArrived(Clock::current().nowMs());
    if (mask & PurgeTx)
        m_device->sendQueue.clear();
    return result(ScriptedDevice::Purge);
}

Status ScriptedPort::waitForReceive(quint32 ms)
{
    Clock& clock = Clock::current();
    const qint64 now = clock.nowMs();
    if (m_device->arrived(now) > 0)
        return Ok;
    const qint64 next = m_device->nextArrival();
    const qint64 until = next >= 0 && next < now + ms ? next : now + ms;
    clock.sleepMs(qMax<qint64>(until - now, 1));
    return Ok;
}
