#pragma once

#include "Prompter.h"

class IdentificationView;
class OperationHost;
class TBlockTransfer;
class TDataFlashUploads;
class TIdentification;
class TZr5Com;
struct TZR5Record;

// Replaces the FPGA configuration (DataFlash slot -1) from a "fpga_<date>.bit"
// file and then the rest of the DataFlash from the file set beside it.
class TFpgaUpdate
{
public:
    TFpgaUpdate(TBlockTransfer& transfer, TDataFlashUploads& uploads,
                TIdentification& identification, TZr5Com& com, TZR5Record& record,
                OperationHost& host, Prompter& prompter, IdentificationView& view,
                Prompter::FileRequest& openDialog);

    // The user's update ("Update FPGA").
    void UpdateFPGAClick();
    // The production step: uploads fpga_filename unless the board carries a
    // configuration of the same date, then the file set of the current
    // directory. The caller reads the cancel flag and the counted errors.
    void ProductionFpgaUpdate();

    // The text of the file name (path left aside) between its first "_" and
    // its first "."; empty when either is missing or the "." comes first.
    static QString ConfigurationDate(const QString& fileName);

private:
    // The cancel flag is set, or the link is gone.
    bool Stopped() const;

    TBlockTransfer& m_transfer;
    TDataFlashUploads& m_uploads;
    TIdentification& m_identification;
    TZr5Com& m_com;
    TZR5Record& m_record;
    OperationHost& m_host;
    Prompter& m_prompter;
    IdentificationView& m_view;
    Prompter::FileRequest& m_openDialog;
};
