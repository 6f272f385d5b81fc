#include "SerialPortBackend.h"

#include "TermiosPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace d2xx;

namespace {
QByteArray readAttribute(const QString& dir, const char* name)
{
    QFile f(dir + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().trimmed();
}

// The USB device folder is the first ancestor of the tty's device folder that
// carries a vendor id.
QString usbDeviceFolder(const QString& ttyDevice)
{
    QString dir = QFileInfo(ttyDevice).canonicalFilePath();
    for (int depth = 0; depth < 8 && !dir.isEmpty() && dir != QLatin1String("/"); ++depth) {
        if (QFileInfo::exists(dir + QLatin1String("/idVendor")))
            return dir;
        dir = QFileInfo(dir).path();
    }
    return {};
}
} // namespace

SerialPortBackend::SerialPortBackend(QStringList extraPorts, QString sysfsRoot, QString devRoot)
    : m_extraPorts(std::move(extraPorts)), m_sysfsRoot(std::move(sysfsRoot)),
      m_devRoot(std::move(devRoot))
{
}

QByteArray SerialPortBackend::extraPortSerial(int n)
{
    return "PORT" + QByteArray::number(n + 1);
}

QList<DeviceInfo> SerialPortBackend::usbDevices() const
{
    QDir ttyClass(m_sysfsRoot + QLatin1String("/class/tty"));
    QStringList names = ttyClass.entryList({QStringLiteral("ttyUSB*")},
                                           QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    // ttyUSB2 before ttyUSB10: the kernel's numbering, not text order.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.mid(6).toInt() < b.mid(6).toInt();
    });

    QList<DeviceInfo> list;
    for (const QString& name : names) {
        const QString usb = usbDeviceFolder(ttyClass.filePath(name) + QLatin1String("/device"));
        DeviceInfo info;
        info.path = m_devRoot + QLatin1Char('/') + name;
        if (!usb.isEmpty()) {
            const quint32 vid = readAttribute(usb, "idVendor").toUInt(nullptr, 16);
            const quint32 pid = readAttribute(usb, "idProduct").toUInt(nullptr, 16);
            info.id = (vid << 16) | pid;
            info.serialNumber = readAttribute(usb, "serial");
            info.description = readAttribute(usb, "product");
            if (vid == 0x0403 && pid == 0x6001)
                info.deviceType = DeviceType232R;
        }
        // Open by serial number needs one; a cable without one is named by its tty.
        if (info.serialNumber.isEmpty())
            info.serialNumber = name.toLatin1();
        if (info.description.isEmpty())
            info.description = "USB serial " + name.toLatin1();
        info.serialNumber.truncate(15);
        info.description.truncate(63);
        list.append(info);
    }
    return list;
}

QList<DeviceInfo> SerialPortBackend::devices()
{
    QList<DeviceInfo> list = usbDevices();
    for (int i = 0; i < m_extraPorts.size(); ++i) {
        DeviceInfo info;
        info.serialNumber = extraPortSerial(i);
        info.description = m_extraPorts.at(i).toLocal8Bit().left(63);
        info.path = m_extraPorts.at(i);
        list.append(info);
    }
    return list;
}

std::unique_ptr<D2xxPort> SerialPortBackend::open(const QByteArray& serialNumber, Status* status)
{
    for (const DeviceInfo& info : devices()) {
        if (info.serialNumber == serialNumber)
            return TermiosPort::open(info.path, status);
    }
    *status = DeviceNotFound;
    return nullptr;
}
