#include "ScriptedDevice.h"

#include "Clock.h"

#include <algorithm>
#include <cstring>

using namespace d2xx;

void ScriptedDevice::schedule(const QByteArray& bytes, qint64 atMs)
{
    for (char c : bytes)
        m_incoming.push_back({c, atMs});
    std::stable_sort(m_incoming.begin(), m_incoming.end(),
                     [](const Pending& a, const Pending& b) { return a.atMs < b.atMs; });
}

QByteArray ScriptedDevice::allWritten() const
{
    QByteArray all;
    for (const Written& w : written)
        all += w.bytes;
    return all;
}

qsizetype ScriptedDevice::arrived(qint64 nowMs) const
{
    qsizetype n = 0;
    for (const Pending& p : m_incoming) {
        if (p.atMs > nowMs)
            break;
        ++n;
    }
    return n;
}

QByteArray ScriptedDevice::take(qsizetype max, qint64 nowMs)
{
    QByteArray out;
    while (out.size() < max && !m_incoming.empty() && m_incoming.front().atMs <= nowMs) {
        out.append(m_incoming.front().byte);
        m_incoming.pop_front();
    }
    return out;
}

void ScriptedDevice::dropArrived(qint64 nowMs)
{
    while (!m_incoming.empty() && m_incoming.front().atMs <= nowMs)
        m_incoming.pop_front();
}

qint64 ScriptedDevice::nextArrival() const
{
    return m_incoming.empty() ? -1 : m_incoming.front().atMs;
}

namespace {
class ScriptedPort : public D2xxPort
{
public:
    ScriptedPort(std::shared_ptr<ScriptedDevice> device, std::shared_ptr<int> opened)
        : m_device(std::move(device)), m_opened(std::move(opened))
    {
        ++*m_opened;
    }
    ~ScriptedPort() override { --*m_opened; }

    Status fail(ScriptedDevice::Call call) const
    {
        return m_device->failing[call] ? IoError : Ok;
    }
    Status reset() override { return fail(ScriptedDevice::Reset); }
    Status setBaudRate(quint32 baud) override
    {
        m_device->baud = baud;
        return fail(ScriptedDevice::Baud);
    }
    Status setDataCharacteristics(quint8 w, quint8 s, quint8 p) override
    {
        m_device->wordLength = w;
        m_device->stopBits = s;
        m_device->parity = p;
        return fail(ScriptedDevice::Data);
    }
    Status setFlowControl(quint16 mode, quint8, quint8) override
    {
        m_device->flow = mode;
        return fail(ScriptedDevice::Flow);
    }
    Status read(void* buffer, quint32 n, quint32* got) override
    {
        if (m_device->failing[ScriptedDevice::Read])
            return IoError;
        const QByteArray bytes = m_device->take(n, Clock::current().nowMs());
        std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
        *got = static_cast<quint32>(bytes.size());
        return Ok;
    }
    Status write(const void* buffer, quint32 n, quint32* done) override
    {
        if (m_device->failing[ScriptedDevice::Write])
            return IoError;
        const QByteArray bytes(static_cast<const char*>(buffer), n);
        m_device->written.append({bytes, Clock::current().nowMs()});
        m_device->sendQueue += bytes;
        *done = n;
        return Ok;
    }
    Status queueStatus(quint32* waiting) override
    {
        if (m_device->failing[ScriptedDevice::Queue])
            return IoError;
        *waiting = static_cast<quint32>(m_device->arrived(Clock::current().nowMs()));
        return Ok;
    }
    Status purge(quint32 mask) override
    {
        m_device->purges.append(mask);
        if (mask & PurgeRx)
            m_device->dropArrived(Clock::current().nowMs());
        if (mask & PurgeTx)
            m_device->sendQueue.clear();
        return fail(ScriptedDevice::Purge);
    }
    Status waitForReceive(quint32 ms) override
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

private:
    std::shared_ptr<ScriptedDevice> m_device;
    std::shared_ptr<int> m_opened;
};
} // namespace

ScriptedBackend::ScriptedBackend(std::shared_ptr<ScriptedDevice> device, QByteArray serial,
                                 QByteArray description)
    : m_device(std::move(device)), m_serial(std::move(serial)),
      m_description(std::move(description)), m_opened(std::make_shared<int>(0))
{
}

QList<DeviceInfo> ScriptedBackend::devices()
{
    DeviceInfo info;
    info.serialNumber = m_serial;
    info.description = m_description;
    info.id = 0x04036001;
    return {info};
}

std::unique_ptr<D2xxPort> ScriptedBackend::open(const QByteArray& serialNumber, Status* status)
{
    if (serialNumber != m_serial || m_device->failing[ScriptedDevice::Open]) {
        *status = DeviceNotOpened;
        return nullptr;
    }
    if (*m_opened > 0) {
        *status = DeviceNotOpened;
        return nullptr;
    }
    *status = Ok;
    return std::make_unique<ScriptedPort>(m_device, m_opened);
}
