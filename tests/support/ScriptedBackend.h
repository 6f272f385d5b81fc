#pragma once

#include "D2xxBackend.h"

#include <memory>

class ScriptedDevice;

// The scripted device as a back end: one device with the given serial number.
class ScriptedBackend : public D2xxBackend
{
public:
    explicit ScriptedBackend(std::shared_ptr<ScriptedDevice> device,
                             QByteArray serial = "SCRIPT01", QByteArray description = "Scripted");

    QList<d2xx::DeviceInfo> devices() override;
    std::unique_ptr<D2xxPort> open(const QByteArray& serialNumber,
                                   d2xx::Status* status) override;

    int openCount() const { return *m_opened; }

private:
    std::shared_ptr<ScriptedDevice> m_device;
    QByteArray m_serial;
    QByteArray m_description;
    std::shared_ptr<int> m_opened;
};
