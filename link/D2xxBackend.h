#pragma once

#include "D2xxTypes.h"

#include <QList>

#include <memory>

class D2xxPort;

// A source of devices for the D2XX-shaped layer: USB-serial ttys, ports named
// on the command line, or a simulated board.
class D2xxBackend
{
public:
    virtual ~D2xxBackend() = default;

    virtual QList<d2xx::DeviceInfo> devices() = 0;

    // Opens the device with that serial number; nullptr with a status when it
    // is not there or refuses to open (for example because it is open already).
    virtual std::unique_ptr<D2xxPort> open(const QByteArray& serialNumber,
                                           d2xx::Status* status) = 0;
};
