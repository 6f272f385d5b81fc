#include "SimBoardBackend.h"

#include "BoardEngine.h"
#include "SimBoardPort.h"

using namespace d2xx;

SimBoardBackend::SimBoardBackend(std::shared_ptr<BoardEngine> engine)
    : m_engine(std::move(engine)), m_plugged(std::make_shared<bool>(true)),
      m_openCount(std::make_shared<int>(0))
{
}

QList<DeviceInfo> SimBoardBackend::devices()
{
    if (!*m_plugged)
        return {};
    DeviceInfo info;
    info.deviceType = DeviceType232R;
    info.id = (0x0403u << 16) | 0x6001u;
    info.serialNumber = kSerial;
    info.description = kDescription;
    return {info};
}

std::unique_ptr<D2xxPort> SimBoardBackend::open(const QByteArray& serialNumber, Status* status)
{
    if (!*m_plugged || serialNumber != kSerial) {
        *status = DeviceNotFound;
        return nullptr;
    }
    // One opener at a time, as with the real driver.
    if (*m_openCount > 0) {
        *status = DeviceNotOpened;
        return nullptr;
    }
    *status = Ok;
    return std::make_unique<SimBoardPort>(m_engine, m_plugged, m_openCount);
}

void SimBoardBackend::setPlugged(bool plugged)
{
    *m_plugged = plugged;
}
