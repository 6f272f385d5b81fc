#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Result codes and constants of our D2XX-shaped device layer. The numbers
// follow the published driver interface so that results read the same.
namespace d2xx {

using Status = quint32;
using Handle = quint32;

constexpr Status Ok = 0;
constexpr Status InvalidHandle = 1;
constexpr Status DeviceNotFound = 2;
constexpr Status DeviceNotOpened = 3;
constexpr Status IoError = 4;
constexpr Status InsufficientResources = 5;
constexpr Status InvalidParameter = 6;
constexpr Status InvalidBaudRate = 7;
constexpr Status OtherError = 18;

constexpr quint32 OpenBySerialNumber = 1;

constexpr quint8 Bits7 = 7;
constexpr quint8 Bits8 = 8;
constexpr quint8 StopBits1 = 0;
constexpr quint8 StopBits2 = 2;
constexpr quint8 ParityNone = 0;
constexpr quint8 ParityOdd = 1;
constexpr quint8 ParityEven = 2;
constexpr quint8 ParityMark = 3;
constexpr quint8 ParitySpace = 4;

constexpr quint16 FlowNone = 0x0000;
constexpr quint16 FlowRtsCts = 0x0100;
constexpr quint16 FlowDtrDsr = 0x0200;
constexpr quint16 FlowXonXoff = 0x0400;

constexpr quint32 PurgeRx = 1;
constexpr quint32 PurgeTx = 2;

constexpr quint32 FlagOpened = 1;
constexpr quint32 DeviceTypeUnknown = 3;
constexpr quint32 DeviceType232R = 5;

// What a back end knows of one attached device.
struct DeviceInfo {
    quint32 flags = 0;
    quint32 deviceType = DeviceTypeUnknown;
    quint32 id = 0; // vendor id in the high, product id in the low 16 bits
    quint32 locId = 0;
    QByteArray serialNumber;
    QByteArray description;
    QString path; // device node, for tools that need the port by name
};

} // namespace d2xx
