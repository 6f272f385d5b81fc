#pragma once

#include "Prompter.h"

#include <QString>

class OperationHost;
class SoundPlayer;
class TBlockTransfer;
class TZr5Com;

// The reverb DSP program: uploaded into DataFlash slot 10, then copied by
// the board's controller into the DSP, which needs the I2C jumpers set.
class TDspUpdate
{
public:
    static constexpr int kSlot = 10;

    TDspUpdate(TBlockTransfer& transfer, TZr5Com& com, OperationHost& host, Prompter& prompter,
               SoundPlayer& sound, Prompter::FileRequest& openDialog);

    // The user's update with its jumper boxes ("Update DSP").
    void BtnDSPClick();
    // The production copy from slot 10 into the DSP; a failure is counted as
    // FlashErr. The caller reads the cancel flag and the counted errors.
    void ProductionDspTransfer();

    // True when the board's reply to the copy command reports a failure.
    static bool DspReplyFailed(const QString& reply);

private:
    // The cancel flag is set, or the link is gone.
    bool Stopped() const;

    TBlockTransfer& m_transfer;
    TZr5Com& m_com;
    OperationHost& m_host;
    Prompter& m_prompter;
    SoundPlayer& m_sound;
    Prompter::FileRequest& m_openDialog;
};
