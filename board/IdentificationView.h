#pragma once

#include <QString>

// The board information box and the organ page as identification sees them.
class IdentificationView
{
public:
    virtual ~IdentificationView() = default;

    virtual void ShowFpgaVersion(const QString& text) = 0;
    virtual void ShowFirmwareVersion(const QString& text) = 0;
    virtual void ShowSerialNumber(const QString& text) = 0;
    virtual void ShowOwner(const QString& text) = 0;
    // Selects the scan core item; an index the list does not have selects none.
    virtual void ShowScanCore(int index) = 0;

    // Writes the value into the organ row of that parameter and selects the row.
    virtual void SetOrganValueOf(int number, int value) = 0;
    // Places the in-grid editors over the selected organ row again.
    virtual void PlaceEditors() = 0;
    // The scan core and reverb upload buttons, usable only with a valid FPGA.
    virtual void SetUploadButtonsEnabled(bool enabled) = 0;

    // What the boxes show, for the console summary.
    virtual QString OwnerText() const = 0;
    virtual QString SerialNumberText() const = 0;
    virtual QString FirmwareVersionText() const = 0;
    virtual QString FpgaVersionText() const = 0;
    virtual QString ScanCoreText() const = 0;
};
