#include "TLink.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TLink::TLink() = default;

TLink::~TLink()
{
    ReleaseFtdi();
}

QString TLink::DeviceSerial(int i) const
{
    return i >= 0 && i < kSlots ? m_deviceSerials[static_cast<size_t>(i)] : QString();
}

QString TLink::DeviceDescription(int i) const
{
    return i >= 0 && i < kSlots ? m_deviceDescriptions[static_cast<size_t>(i)] : QString();
}

void TLink::ReleaseFtdi()
{
    if (m_ftdi && m_ftdi->connected())
        m_ftdi->closeDevice();
    m_ftdi.reset();
}

void TLink::BuildDeviceList()
{
    m_connected = false;
    ReleaseFtdi();
    m_ftdi = std::make_unique<tftdichip>();
    std::unique_ptr<ftdiDeviceNode[]> list;
    quint32 count = 0;
    if (!m_ftdi->createDeviceInfoList(count, list)) {
        m_ftdi.reset();
        m_deviceCount = 0;
        return;
    }
    m_deviceCount = count;
    // Only 16 slots exist; further devices are listed by the driver but cannot
    // be chosen.
    const quint32 shown = qMin<quint32>(count, kSlots);
    for (quint32 i = 0; i < shown; ++i) {
        const ftdiDeviceNode& node = list[i];
        m_deviceSerials[i] =
            QString::fromLatin1(node.serialNumber, qstrnlen(node.serialNumber, 16));
        m_deviceDescriptions[i] =
            QString::fromLatin1(node.description, qstrnlen(node.description, 64));
    }
}

void TLink::OpenDevice(int i)
{
    if (!m_ftdi)
        return;
    const QString serial = DeviceSerial(i);
    if (!m_ftdi->isPresentBySerial(serial)) {
        m_ftdi.reset();
        return;
    }
    if (!m_ftdi->openDeviceBySerial(serial)) {
        m_ftdi.reset();
        return;
    }
    if (!m_ftdi->resetDevice())
        return;
    m_ftdi->setBaudRate(fBaud57600);
    m_ftdi->setDataCharacteristics(fBits8, fStopBits1, fParityNone);
    m_ftdi->setFlowControl(fFlowNone, 0, 0);
    m_connected = true;
}

QString TLink::WindowsComPortName(int n)
{
    const QString name = QStringLiteral("COM%1").arg(n);
    return n <= 9 ? name : QStringLiteral("\\\\.\\") + name;
}

QString TLink::ComPortName(int n) const
{
#ifdef Q_OS_WIN
    return WindowsComPortName(n);
#else
    return m_devRoot + QStringLiteral("/ttyUSB%1").arg(n);
#endif
}

int TLink::ProbeComPort(int n) const
{
    const QByteArray path = ComPortName(n).toLocal8Bit();
    const int fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // The device layer holds its ports with this lock, so an open cable
    // probes as busy just as it does on Windows.
    int result = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        result = errno;
    ::close(fd);
    return result;
}
