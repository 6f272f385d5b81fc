#pragma once

#include <QString>

// The ISP programmer's port as the programming tool is told it. The command
// lines name it the Windows way, "COM" followed by the number typed into the
// Factory tab; elsewhere the programmer is a USB ACM device, so "COM<n>"
// becomes the n-th of them (/dev/ttyACM<n>). Anything else is passed on as
// typed, so that the tool itself reports the port it cannot open.
class TDiamexPort
{
public:
    static QString DeviceName(const QString& port,
                              const QString& deviceRoot = QStringLiteral("/dev"));
};
