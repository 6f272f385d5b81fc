#pragma once

#include <QString>
#include <QtGlobal>

// The main window's state record. The settings store keeps single fields of
// it, never the record as a whole.
struct TZR5Record
{
    qint32 ScanCore = 0;       // active scan core (board parameter 477)
    QString ScanVersion;       // two characters of the scan core reply
    bool SaveDF = false;       // written by the presets and settings code, read by nobody
    bool RestoreOrgan = false; // restore options of the controller firmware update
    bool RestoreMidi = false;
    bool RestorePresets = false;
    qint32 Device = -1; // index in the device list; -1 = none chosen
    qint32 ComPort = 0; // port behind the chosen cable; -1 = none found
    double FirmwareVersion = 0.0;
    QString FirmwareString;
    QString FPGAversion;
    qint32 SerialNumber = 0;
    QString Owner;
    QString OrganParamFile;
    QString LeslieParamFile;
    QString MidiCCFile;
    QString UpperPresetFile;
    QString LowerPresetFile;
    QString fpga_filename;
    QString avr_filename;
};
