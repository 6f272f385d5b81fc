#pragma once

#include "IdentificationView.h"

class TForm1;

// The main window as identification sees it: the board information box,
// the organ page with its in-grid editors, and the two upload buttons of the
// Advanced tab that need a valid FPGA configuration.
class TIdentificationView : public IdentificationView
{
public:
    explicit TIdentificationView(TForm1& form);

    void ShowFpgaVersion(const QString& text) override;
    void ShowFirmwareVersion(const QString& text) override;
    void ShowSerialNumber(const QString& text) override;
    void ShowOwner(const QString& text) override;
    void ShowScanCore(int index) override;

    void SetOrganValueOf(int number, int value) override;
    void PlaceEditors() override;
    void SetUploadButtonsEnabled(bool enabled) override;

    QString OwnerText() const override;
    QString SerialNumberText() const override;
    QString FirmwareVersionText() const override;
    QString FpgaVersionText() const override;
    QString ScanCoreText() const override;

private:
    TForm1& m_form;
};
