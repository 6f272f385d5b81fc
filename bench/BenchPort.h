#pragma once

#include "D2xxLibrary.h"
#include "SerialPortBackend.h"
#include "TLink.h"
#include "TZr5Com.h"

#include <QString>
#include <QStringList>

#include <memory>

// Lists the simulator's pseudo-terminal as an extra port and opens it on the
// link, as a user choosing it in the device dialog would. Returns what went
// wrong, or an empty text.
inline QString OpenSimulatorPort(TLink& link, const QString& pty)
{
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{pty}));
    link.BuildDeviceList();
    // Real USB cables are listed first; the simulator's port is the first extra one.
    const QString wanted = QString::fromLatin1(SerialPortBackend::extraPortSerial(0));
    int index = -1;
    for (int i = 0; i < static_cast<int>(qMin<quint32>(link.DeviceCount(), TLink::kSlots)); ++i) {
        if (link.DeviceSerial(i) == wanted)
            index = i;
    }
    if (index < 0)
        return QStringLiteral("%1 is not in the device list").arg(pty);
    link.OpenDevice(index);
    if (!link.Connected())
        return QStringLiteral("cannot open %1").arg(pty);
    return QString();
}

// The board must answer before anything is measured; the first query also
// takes the first-use costs out of the timed part.
inline bool SimulatorAnswers(TZr5Com& com)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (com.QueryParam(253).contains(QLatin1String("253")))
            return true;
    }
    return false;
}
