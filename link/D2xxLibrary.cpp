#include "D2xxLibrary.h"

#include "D2xxBackend.h"
#include "D2xxPort.h"

#include <cstring>

using namespace d2xx;

D2xxLibrary& D2xxLibrary::instance()
{
    static D2xxLibrary library;
    return library;
}

void D2xxLibrary::addBackend(std::shared_ptr<D2xxBackend> backend)
{
    m_backends.append(std::move(backend));
}

void D2xxLibrary::clearBackends()
{
    m_open.clear();
    m_openSerials.clear();
    m_openPaths.clear();
    m_list.clear();
    m_backends.clear();
}

Status D2xxLibrary::createDeviceInfoList(quint32* count)
{
    if (!count)
        return InvalidParameter;
    m_list.clear();
    for (const auto& backend : m_backends)
        m_list += backend->devices();
    for (auto& info : m_list) {
        for (const auto& [handle, serial] : m_openSerials) {
            if (serial == info.serialNumber)
                info.flags |= FlagOpened;
        }
    }
    *count = static_cast<quint32>(m_list.size());
    return Ok;
}

Status D2xxLibrary::getDeviceInfoList(ftdiDeviceNode* list, quint32* count)
{
    if (!list || !count)
        return InvalidParameter;
    const quint32 n = qMin<quint32>(*count, static_cast<quint32>(m_list.size()));
    for (quint32 i = 0; i < n; ++i) {
        const DeviceInfo& info = m_list.at(static_cast<qsizetype>(i));
        ftdiDeviceNode& node = list[i];
        std::memset(&node, 0, sizeof node);
        node.flags = info.flags;
        node.deviceType = info.deviceType;
        node.id = info.id;
        node.locid = info.locId;
        std::strncpy(node.serialNumber, info.serialNumber.constData(),
                     sizeof node.serialNumber - 1);
        std::strncpy(node.description, info.description.constData(),
                     sizeof node.description - 1);
        node.ftHandle = 0;
        for (const auto& [handle, serial] : m_openSerials) {
            if (serial == info.serialNumber)
                node.ftHandle = handle;
        }
    }
    *count = n;
    return Ok;
}

Status D2xxLibrary::openEx(const QByteArray& serialNumber, quint32 flags, Handle* handle)
{
    if (!handle || flags != OpenBySerialNumber)
        return InvalidParameter;
    for (const auto& backend : m_backends) {
        bool listed = false;
        QString path;
        for (const DeviceInfo& info : backend->devices()) {
            if (!listed && info.serialNumber == serialNumber) {
                listed = true;
                path = info.path;
            }
        }
        if (!listed)
            continue;
        Status status = DeviceNotOpened;
        std::unique_ptr<D2xxPort> opened = backend->open(serialNumber, &status);
        if (!opened)
            return status == Ok ? DeviceNotOpened : status;
        const Handle h = m_nextHandle++;
        m_open[h] = std::move(opened);
        m_openSerials[h] = serialNumber;
        m_openPaths[h] = path;
        *handle = h;
        return Ok;
    }
    return DeviceNotFound;
}

D2xxPort* D2xxLibrary::port(Handle handle) const
{
    const auto it = m_open.find(handle);
    return it == m_open.end() ? nullptr : it->second.get();
}

Status D2xxLibrary::close(Handle handle)
{
    if (!port(handle))
        return InvalidHandle;
    m_open.erase(handle);
    m_openSerials.erase(handle);
    m_openPaths.erase(handle);
    return Ok;
}

Status D2xxLibrary::resetDevice(Handle handle)
{
    D2xxPort* p = port(handle);
    return p ? p->reset() : InvalidHandle;
}

Status D2xxLibrary::setBaudRate(Handle handle, quint32 baud)
{
    D2xxPort* p = port(handle);
    return p ? p->setBaudRate(baud) : InvalidHandle;
}

Status D2xxLibrary::setDataCharacteristics(Handle handle, quint8 wordLength, quint8 stopBits,
                                           quint8 parity)
{
    D2xxPort* p = port(handle);
    return p ? p->setDataCharacteristics(wordLength, stopBits, parity) : InvalidHandle;
}

Status D2xxLibrary::setFlowControl(Handle handle, quint16 mode, quint8 xon, quint8 xoff)
{
    D2xxPort* p = port(handle);
    return p ? p->setFlowControl(mode, xon, xoff) : InvalidHandle;
}

Status D2xxLibrary::read(Handle handle, void* buffer, quint32 bytesToRead, quint32* bytesRead)
{
    D2xxPort* p = port(handle);
    if (bytesRead)
        *bytesRead = 0;
    return p ? p->read(buffer, bytesToRead, bytesRead) : InvalidHandle;
}

Status D2xxLibrary::write(Handle handle, const void* buffer, quint32 bytesToWrite,
                          quint32* bytesWritten)
{
    D2xxPort* p = port(handle);
    if (bytesWritten)
        *bytesWritten = 0;
    return p ? p->write(buffer, bytesToWrite, bytesWritten) : InvalidHandle;
}

Status D2xxLibrary::getQueueStatus(Handle handle, quint32* bytesWaiting)
{
    D2xxPort* p = port(handle);
    return p ? p->queueStatus(bytesWaiting) : InvalidHandle;
}

Status D2xxLibrary::purge(Handle handle, quint32 mask)
{
    D2xxPort* p = port(handle);
    return p ? p->purge(mask) : InvalidHandle;
}

Status D2xxLibrary::waitForReceive(Handle handle, quint32 ms)
{
    D2xxPort* p = port(handle);
    return p ? p->waitForReceive(ms) : InvalidHandle;
}

Status D2xxLibrary::waitForByte(Handle handle, quint32 ms)
{
    D2xxPort* p = port(handle);
    return p ? p->waitForByte(ms) : InvalidHandle;
}

QString D2xxLibrary::devicePath(Handle handle) const
{
    const auto it = m_openPaths.find(handle);
    return it == m_openPaths.end() ? QString() : it->second;
}
