#pragma once

#include "D2xxTypes.h"

// One open device of a back end. Each call is one driver operation.
class D2xxPort
{
public:
    virtual ~D2xxPort() = default;

    virtual d2xx::Status reset() = 0;
    virtual d2xx::Status setBaudRate(quint32 baud) = 0;
    virtual d2xx::Status setDataCharacteristics(quint8 wordLength, quint8 stopBits,
                                                quint8 parity) = 0;
    virtual d2xx::Status setFlowControl(quint16 mode, quint8 xon, quint8 xoff) = 0;
    virtual d2xx::Status read(void* buffer, quint32 bytesToRead, quint32* bytesRead) = 0;
    virtual d2xx::Status write(const void* buffer, quint32 bytesToWrite,
                               quint32* bytesWritten) = 0;
    virtual d2xx::Status queueStatus(quint32* bytesWaiting) = 0;
    virtual d2xx::Status purge(quint32 mask) = 0;

    // Blocks until at least one received byte waits or ms milliseconds have
    // passed on the program clock; lets reply waits sleep instead of spin.
    virtual d2xx::Status waitForReceive(quint32 ms) = 0;
    // The same for a caller that takes one byte (a block transfer's answer):
    // it returns as soon as a byte is there, without letting a burst gather.
    virtual d2xx::Status waitForByte(quint32 ms) { return waitForReceive(ms); }
};
