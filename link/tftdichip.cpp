#include "tftdichip.h"

#include "D2xxLibrary.h"
#include "EZr5Error.h"

using namespace d2xx;

namespace {
D2xxLibrary& lib()
{
    return D2xxLibrary::instance();
}

// Serial numbers go to the driver as single-byte text of the system code page.
QByteArray serialBytes(const QString& serial)
{
    return serial.toLatin1();
}
} // namespace

tftdichip::tftdichip() = default;

tftdichip::~tftdichip() = default;

bool tftdichip::createDeviceInfoList(quint32& devicecount,
                                     std::unique_ptr<ftdiDeviceNode[]>& devicelist)
{
    devicelist.reset();
    quint32 count = 0;
    if (lib().createDeviceInfoList(&count) != Ok)
        return false;
    devicecount = count;
    if (count == 0)
        return true;
    auto list = std::make_unique<ftdiDeviceNode[]>(count);
    quint32 filled = count;
    if (lib().getDeviceInfoList(list.get(), &filled) != Ok) {
        devicecount = 0;
        return false;
    }
    devicelist = std::move(list);
    return true;
}

bool tftdichip::isPresentBySerial(const QString& deviceSerial)
{
    Handle trial = 0;
    if (lib().openEx(serialBytes(deviceSerial), OpenBySerialNumber, &trial) != Ok)
        return false;
    lib().close(trial);
    return true;
}

bool tftdichip::openDeviceBySerial(const QString& deviceSerial)
{
    if (fconnected)
        throw EZr5Error(QStringLiteral("tftdichip.openDeviceBySerial: Already open"));
    Handle h = 0;
    if (lib().openEx(serialBytes(deviceSerial), OpenBySerialNumber, &h) != Ok)
        return false;
    fhandle = h;
    fconnected = true;
    fpath = lib().devicePath(h);
    return true;
}

void tftdichip::closeDevice()
{
    if (!fconnected)
        throw EZr5Error(QStringLiteral("tftdichip.closeDevice: Not open"));
    lib().close(fhandle);
    fconnected = false;
}

bool tftdichip::resetDevice()
{
    return lib().resetDevice(fhandle) == Ok;
}

bool tftdichip::setBaudRate(fBaudRate baudrate)
{
    static const quint32 rates[] = {300,   600,   1200,   2400,   4800,   9600,   14400,
                                    19200, 38400, 57600, 115200, 230400, 460800, 921600};
    const int index = static_cast<int>(baudrate);
    if (index < 0 || index >= int(std::size(rates)))
        throw EZr5Error(QStringLiteral("tftdichip.setBaudRate: Invalid baud rate"));
    return lib().setBaudRate(fhandle, rates[index]) == Ok;
}

bool tftdichip::setDataCharacteristics(fWordLength wordLength, fStopBits stopBits,
                                       fParity parity)
{
    quint8 bits = 0;
    switch (wordLength) {
    case fBits8: bits = Bits8; break;
    case fBits7: bits = Bits7; break;
    default:
        throw EZr5Error(
            QStringLiteral("tftdichip.setDataCharacteristics: Invalid wordLength"));
    }
    quint8 stop = 0;
    switch (stopBits) {
    case fStopBits1: stop = StopBits1; break;
    case fStopBits2: stop = StopBits2; break;
    default:
        throw EZr5Error(QStringLiteral("tftdichip.setDataCharacteristics: Invalid stopBits"));
    }
    quint8 par = 0;
    switch (parity) {
    case fParityNone: par = ParityNone; break;
    case fParityOdd: par = ParityOdd; break;
    case fParityEven: par = ParityEven; break;
    case fParityMark: par = ParityMark; break;
    case fParitySpace: par = ParitySpace; break;
    default:
        throw EZr5Error(QStringLiteral("tftdichip.setDataCharacteristics: Invalid parity"));
    }
    return lib().setDataCharacteristics(fhandle, bits, stop, par) == Ok;
}

bool tftdichip::setFlowControl(fFlowControl flowcontrol, quint8 xonChar, quint8 xoffChar)
{
    quint16 mode = 0;
    switch (flowcontrol) {
    case fFlowNone: mode = FlowNone; break;
    case fFlowRTSCTS: mode = FlowRtsCts; break;
    case fFlowDTRDSR: mode = FlowDtrDsr; break;
    case fFlowXONXOFF: mode = FlowXonXoff; break;
    default: throw EZr5Error(QStringLiteral("tftdichip.setFlowControl: Invalid flowcontrol"));
    }
    return lib().setFlowControl(fhandle, mode, xonChar, xoffChar) == Ok;
}

bool tftdichip::read(void* buffer, quint32 bytesToRead, quint32& bytesRead)
{
    return lib().read(fhandle, buffer, bytesToRead, &bytesRead) == Ok;
}

bool tftdichip::write(const void* buffer, quint32 bytesToWrite, quint32& bytesWritten)
{
    return lib().write(fhandle, buffer, bytesToWrite, &bytesWritten) == Ok;
}

bool tftdichip::getReceiveQueueStatus(quint32& bytesWaiting)
{
    return lib().getQueueStatus(fhandle, &bytesWaiting) == Ok;
}

bool tftdichip::purgeQueue(fQueue queue)
{
    quint32 mask = 0;
    switch (queue) {
    case fSendQueue: mask = PurgeTx; break;
    case fReceiveQueue: mask = PurgeRx; break;
    case fAll: mask = PurgeRx | PurgeTx; break;
    default: throw EZr5Error(QStringLiteral("tftdichip.purgeQueue: Invalid queue"));
    }
    return lib().purge(fhandle, mask) == Ok;
}

bool tftdichip::waitForReceive(quint32 ms)
{
    return lib().waitForReceive(fhandle, ms) == Ok;
}

bool tftdichip::waitForByte(quint32 ms)
{
    return lib().waitForByte(fhandle, ms) == Ok;
}
