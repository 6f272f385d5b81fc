#pragma once

#include "D2xxPort.h"

#include <memory>

class ScriptedDevice;

// An open handle on a scripted device; every call can be made to fail.
class ScriptedPort : public D2xxPort
{
public:
    ScriptedPort(std::shared_ptr<ScriptedDevice> device, std::shared_ptr<int> opened);
    ~ScriptedPort() override;

    d2xx::Status reset() override;
    d2xx::Status setBaudRate(quint32 baud) override;
    d2xx::Status setDataCharacteristics(quint8 w, quint8 s, quint8 p) override;
    d2xx::Status setFlowControl(quint16 mode, quint8 xon, quint8 xoff) override;
    d2xx::Status read(void* buffer, quint32 n, quint32* got) override;
    d2xx::Status write(const void* buffer, quint32 n, quint32* done) override;
    d2xx::Status queueStatus(quint32* waiting) override;
    d2xx::Status purge(quint32 mask) override;
    d2xx::Status waitForReceive(quint32 ms) override;

private:
    d2xx::Status result(int call) const;

    std::shared_ptr<ScriptedDevice> m_device;
    std::shared_ptr<int> m_opened;
};
