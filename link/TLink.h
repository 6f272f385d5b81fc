#pragma once

#include "tftdichip.h"

#include <QString>

#include <array>
#include <memory>

// The link to the board: the one device wrapper, the connected flag and the
// device list of the last scan. Everything that talks to the board goes
// through the wrapper held here.
class TLink
{
public:
    static constexpr int kSlots = 16;

    TLink();
    ~TLink();

    tftdichip* Ftdi() const { return m_ftdi.get(); }
    bool Connected() const { return m_connected; }
    void setConnected(bool connected) { m_connected = connected; }

    quint32 DeviceCount() const { return m_deviceCount; }
    QString DeviceSerial(int i) const;
    QString DeviceDescription(int i) const;

    // Replaces the wrapper with a fresh one and fills the device slots.
    void BuildDeviceList();
    // Opens device i of the last list with the board's line settings; success
    // shows in Connected().
    void OpenDevice(int i);
    // Closes the device (if open) and releases the wrapper.
    void ReleaseFtdi();

private:
    std::unique_ptr<tftdichip> m_ftdi;
    bool m_connected = false;
    quint32 m_deviceCount = 0;
    std::array<QString, kSlots> m_deviceSerials;
    std::array<QString, kSlots> m_deviceDescriptions;
};
