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

    // The name of COM port n. On Linux port n is the n-th USB-serial tty
    // (ttyUSBn); Windows names it COMn, or \\.\COMn from 10 on.
    QString ComPortName(int n) const;
    static QString WindowsComPortName(int n);
    // 0 when port n can be opened for writing exclusively now, else the
    // system's error code. The cable's port is the one whose result changes
    // when the device is opened.
    int ProbeComPort(int n) const;
    // Where the tty device nodes live ("/dev"); tests use a folder of their own.
    void setDeviceRoot(const QString& root) { m_devRoot = root; }

private:
    std::unique_ptr<tftdichip> m_ftdi;
    bool m_connected = false;
    quint32 m_deviceCount = 0;
    std::array<QString, kSlots> m_deviceSerials;
    std::array<QString, kSlots> m_deviceDescriptions;
    QString m_devRoot = QStringLiteral("/dev");
};
