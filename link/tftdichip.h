#pragma once

#include "D2xxTypes.h"
#include "FtdiTypes.h"

#include <QString>

#include <memory>

// Thin wrapper around one device handle of the D2XX-shaped layer. It knows
// nothing of the board: it lists devices, opens one by serial number, sets the
// line and moves bytes. Misuse raises EZr5Error; driver failures come back as
// false.
class tftdichip
{
public:
    tftdichip();
    // Releases the object only; the owner closes an open device first.
    ~tftdichip();

    tftdichip(const tftdichip&) = delete;
    tftdichip& operator=(const tftdichip&) = delete;

    bool createDeviceInfoList(quint32& devicecount, std::unique_ptr<ftdiDeviceNode[]>& devicelist);
    bool isPresentBySerial(const QString& deviceSerial);
    bool openDeviceBySerial(const QString& deviceSerial);
    void closeDevice();
    bool resetDevice();
    bool setBaudRate(fBaudRate baudrate);
    bool setDataCharacteristics(fWordLength wordLength, fStopBits stopBits, fParity parity);
    bool setFlowControl(fFlowControl flowcontrol, quint8 xonChar, quint8 xoffChar);
    bool read(void* buffer, quint32 bytesToRead, quint32& bytesRead);
    bool write(const void* buffer, quint32 bytesToWrite, quint32& bytesWritten);
    bool getReceiveQueueStatus(quint32& bytesWaiting);
    bool purgeQueue(fQueue queue);

    // Sleeps until a received byte waits or ms have passed, so that reply
    // waits need not spin on getReceiveQueueStatus.
    bool waitForReceive(quint32 ms);
    // For a single awaited byte: returns as soon as one is there.
    bool waitForByte(quint32 ms);

    bool connected() const { return fconnected; }
    d2xx::Handle handle() const { return fhandle; }
    // Device node of the open device (empty for devices without one).
    QString devicePath() const { return fpath; }

private:
    d2xx::Handle fhandle = 0;
    bool fconnected = false;
    QString fpath;
};
