#pragma once

#include <QtGlobal>

// Line settings and queue selectors of the device wrapper, in the ordinal order
// the program uses. Each maps to one value of the D2XX-shaped layer.

enum fBaudRate {
    fBaud300,
    fBaud600,
    fBaud1200,
    fBaud2400,
    fBaud4800,
    fBaud9600,
    fBaud14400,
    fBaud19200,
    fBaud38400,
    fBaud57600,
    fBaud115200,
    fBaud230400,
    fBaud460800,
    fBaud921600
};

enum fWordLength { fBits8, fBits7 };

enum fStopBits { fStopBits1, fStopBits2 };

enum fParity { fParityNone, fParityOdd, fParityEven, fParityMark, fParitySpace };

enum fFlowControl { fFlowNone, fFlowRTSCTS, fFlowDTRDSR, fFlowXONXOFF };

enum fQueue { fSendQueue, fReceiveQueue, fAll };

// One entry of the device list, 100 bytes, laid out as the driver's own list
// entry so the list can be handed over as one block.
#pragma pack(push, 4)
struct ftdiDeviceNode {
    quint32 flags;
    quint32 deviceType;
    quint32 id;
    quint32 locid;
    char serialNumber[16];
    char description[64];
    quint32 ftHandle;
};
#pragma pack(pop)
static_assert(sizeof(ftdiDeviceNode) == 100, "device list entries are 100 bytes");

using ftdiDeviceList = ftdiDeviceNode[];
using pftdiDeviceList = ftdiDeviceNode*;
