#pragma once

#include "D2xxBackend.h"

#include <QString>
#include <QStringList>

// USB-serial ttys of the kernel driver, found in sysfs, followed by the serial
// ports named on the command line. All are driven through termios.
class SerialPortBackend : public D2xxBackend
{
public:
    // sysfsRoot and devRoot are "/sys" and "/dev" on a running system; tests
    // point them at a made-up tree.
    explicit SerialPortBackend(QStringList extraPorts = {}, QString sysfsRoot = "/sys",
                               QString devRoot = "/dev");

    QList<d2xx::DeviceInfo> devices() override;
    std::unique_ptr<D2xxPort> open(const QByteArray& serialNumber,
                                   d2xx::Status* status) override;

    // Serial number under which the n-th extra port (from 0) is listed.
    static QByteArray extraPortSerial(int n);

private:
    QList<d2xx::DeviceInfo> usbDevices() const;

    QStringList m_extraPorts;
    QString m_sysfsRoot;
    QString m_devRoot;
};
