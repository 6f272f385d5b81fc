#pragma once

#include "D2xxTypes.h"
#include "FtdiTypes.h"

#include <QList>

#include <map>
#include <memory>

class D2xxBackend;
class D2xxPort;

// Our own stand-in for the vendor's D2XX library: the same operations, handles
// and result codes, served by whichever back ends the program installed.
class D2xxLibrary
{
public:
    static D2xxLibrary& instance();

    // Back ends are asked in the order they were added; their devices are
    // listed in that order too.
    void addBackend(std::shared_ptr<D2xxBackend> backend);
    void clearBackends();

    d2xx::Status createDeviceInfoList(quint32* count);
    // Fills count entries from the list made by the last createDeviceInfoList.
    d2xx::Status getDeviceInfoList(ftdiDeviceNode* list, quint32* count);
    d2xx::Status openEx(const QByteArray& serialNumber, quint32 flags, d2xx::Handle* handle);
    d2xx::Status close(d2xx::Handle handle);
    d2xx::Status resetDevice(d2xx::Handle handle);
    d2xx::Status setBaudRate(d2xx::Handle handle, quint32 baud);
    d2xx::Status setDataCharacteristics(d2xx::Handle handle, quint8 wordLength,
                                        quint8 stopBits, quint8 parity);
    d2xx::Status setFlowControl(d2xx::Handle handle, quint16 mode, quint8 xon, quint8 xoff);
    d2xx::Status read(d2xx::Handle handle, void* buffer, quint32 bytesToRead,
                      quint32* bytesRead);
    d2xx::Status write(d2xx::Handle handle, const void* buffer, quint32 bytesToWrite,
                       quint32* bytesWritten);
    d2xx::Status getQueueStatus(d2xx::Handle handle, quint32* bytesWaiting);
    d2xx::Status purge(d2xx::Handle handle, quint32 mask);
    d2xx::Status waitForReceive(d2xx::Handle handle, quint32 ms);
    d2xx::Status waitForByte(d2xx::Handle handle, quint32 ms);

    // The device node behind an open handle, empty for devices without one
    // (the in-process simulator).
    QString devicePath(d2xx::Handle handle) const;

private:
    D2xxLibrary() = default;
    D2xxPort* port(d2xx::Handle handle) const;

    QList<std::shared_ptr<D2xxBackend>> m_backends;
    QList<d2xx::DeviceInfo> m_list;
    std::map<d2xx::Handle, std::unique_ptr<D2xxPort>> m_open;
    std::map<d2xx::Handle, QByteArray> m_openSerials;
    std::map<d2xx::Handle, QString> m_openPaths;
    d2xx::Handle m_nextHandle = 1;
};
