#pragma once

#include "D2xxPort.h"

#include <memory>

class BoardEngine;

// An open handle on the in-process simulated board.
class SimBoardPort : public D2xxPort
{
public:
    SimBoardPort(std::shared_ptr<BoardEngine> engine, std::shared_ptr<bool> plugged,
                 std::shared_ptr<int> openCount);
    ~SimBoardPort() override;

    d2xx::Status reset() override;
    d2xx::Status setBaudRate(quint32 baud) override;
    d2xx::Status setDataCharacteristics(quint8 wordLength, quint8 stopBits,
                                        quint8 parity) override;
    d2xx::Status setFlowControl(quint16 mode, quint8 xon, quint8 xoff) override;
    d2xx::Status read(void* buffer, quint32 bytesToRead, quint32* bytesRead) override;
    d2xx::Status write(const void* buffer, quint32 bytesToWrite,
                       quint32* bytesWritten) override;
    d2xx::Status queueStatus(quint32* bytesWaiting) override;
    d2xx::Status purge(quint32 mask) override;
    d2xx::Status waitForReceive(quint32 ms) override;

    quint32 baudRate() const { return m_baud; }

private:
    static qint64 nowUs();

    std::shared_ptr<BoardEngine> m_engine;
    std::shared_ptr<bool> m_plugged;
    std::shared_ptr<int> m_openCount;
    quint32 m_baud = 9600;
};
