#include "ScriptedBackend.h"

#include "ScriptedDevice.h"
#include "ScriptedPort.h"

using namespace d2xx;

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
    // One opener at a time, as with the real driver.
    if (*m_opened > 0) {
        *status = DeviceNotOpened;
        return nullptr;
    }
    *status = Ok;
    return std::make_unique<ScriptedPort>(m_device, m_opened);
}
