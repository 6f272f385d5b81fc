#include "ScriptedDevice.h"

#include "Clock.h"

#include <algorithm>
#include <cstring>


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
