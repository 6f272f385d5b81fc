#pragma once

#include "IdentificationView.h"

// A board information box that shows nothing, for flows whose tests look at
// the console and the board rather than at the box.
class QuietIdentificationView : public IdentificationView
{
public:
    void ShowFpgaVersion(const QString&) override {}
    void ShowFirmwareVersion(const QString&) override {}
    void ShowSerialNumber(const QString&) override {}
    void ShowOwner(const QString&) override {}
    void ShowScanCore(int) override {}
    void SetOrganValueOf(int, int) override {}
    void PlaceEditors() override {}
    void SetUploadButtonsEnabled(bool) override {}
    QString OwnerText() const override { return {}; }
    QString SerialNumberText() const override { return {}; }
    QString FirmwareVersionText() const override { return {}; }
    QString FpgaVersionText() const override { return {}; }
    QString ScanCoreText() const override { return {}; }
};
