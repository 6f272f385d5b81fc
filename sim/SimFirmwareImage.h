#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// What the simulated controller makes of its memories, and the files that
// put them there. The flash carries the firmware's name ("ZR5 Firmware
// 3.81 ...") as plain text; the EEPROM carries the parameter values a fresh
// firmware starts with, as "number=value" lines.
class SimFirmwareImage
{
public:
    // Where the name lies in a flash image made here.
    static constexpr int kTextAddress = 0x100;

    // A small flash image: a few words of code and the firmware text.
    static QByteArray flashImage(const QString& firmwareText);
    // A heading line, then "number=value" lines, LF after each.
    static QByteArray eepromImage(const QMap<int, int>& values);
    // The values of the "number=value" lines from address 0 up to the first
    // erased (0xFF) or zero byte; other lines are passed over.
    static QMap<int, int> eepromValues(const QByteArray& eeprom);

    // Intel hex of data from address 0: 16-byte data records, then the end
    // record. Runs of erased bytes (0xFF) are left out.
    static QByteArray intelHex(const QByteArray& data);

    // Writes a flash file and its EEPROM twin (same path, ".eep"); false with
    // the reason when either cannot be written.
    static bool writePair(const QString& hexPath, const QString& firmwareText,
                          const QMap<int, int>& eepromValues, QString* error);
};
