#include "TDspUpdate.h"

#include "Clock.h"
#include "OperationHost.h"
#include "SoundPlayer.h"
#include "TBlockTransfer.h"
#include "TBoardPolls.h"
#include "TDataFlashUploads.h"
#include "TZr5Com.h"

namespace {
const QString kDing = QStringLiteral("ding.wav");
} // namespace

TDspUpdate::TDspUpdate(TBlockTransfer& transfer, TZr5Com& com, OperationHost& host,
                       Prompter& prompter, SoundPlayer& sound, Prompter::FileRequest& openDialog)
    : m_transfer(transfer), m_com(com), m_host(host), m_prompter(prompter), m_sound(sound),
      m_openDialog(openDialog)
{
}

bool TDspUpdate::DspReplyFailed(const QString& reply)
{
    // The board marks a failed copy with "#" in the tail of its reply, the
    // tail being as long as the position of the first "[" counted from 1.
    const qsizetype n = reply.indexOf(QLatin1Char('[')) + 1;
    if (n == 0)
        return false;
    return reply.right(n).contains(QLatin1Char('#'));
}

void TDspUpdate::BtnDSPClick()
{
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Processing DSP update..."));
    const QString path = TDataFlashUploads::ChooseFile(
        m_prompter, m_openDialog, QStringLiteral("Reverb BIN (dsp*.bin)"),
        QStringLiteral("Open FV-1 Reverb DSP binary file (BIN):"));
    if (path.isEmpty()) {
        m_host.ReportCancelled();
        return;
    }

    m_host.ConsoleLine(QStringLiteral("Reading FV-1 Reverb DSP binary..."));
    Clock::current().waitProcessingEvents(0);
    m_transfer.TransferFile(path, kSlot);
    if (Stopped())
        return;
    m_host.SetProgress(0);
    m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFS=1!"), 100));
    if (Stopped())
        return;

    // The copy into the DSP runs over I2C, which needs the two jumpers.
    m_sound.Play(kDing);
    m_prompter.MessageBox(
        Prompter::Icon::Information,
        QStringLiteral("Insert JP7/JP8 I2C jumpers on ZR5 board and click OK when "
                       "done"),
        Prompter::Buttons::Ok);
    m_host.WaitMs(200);
    if (Stopped())
        return;
    m_host.VerboseLine(m_com.SendCommand(QStringLiteral("SFX=10!"), 5000));
    if (Stopped())
        return;
    m_host.VerboseLine(m_com.ReadReply(500));
    if (Stopped())
        return;
    m_host.WaitMs(1000);
    m_sound.Play(kDing);
    m_prompter.MessageBox(Prompter::Icon::Information,
                          QStringLiteral("Remove JP7/JP8 I2C jumpers from ZR5 board and click OK "
                                         "when done"),
                          Prompter::Buttons::Ok);
    m_host.ReportDone();
}

void TDspUpdate::ProductionDspTransfer()
{
    m_host.ConsoleLine(QStringLiteral("Program transfer to Reverb DSP..."));
    const QString reply = m_com.SendCommand(QStringLiteral("SFX=10"), 5000);
    if (Stopped())
        return;
    if (DspReplyFailed(reply)) {
        m_host.ConsoleLine(QStringLiteral("##### Error: Reverb DSP transfer failed"));
        m_com.SetError(TErrorKind::FlashErr);
    }
    TBoardPolls(m_com, m_host).WaitForBoard();
}

bool TDspUpdate::Stopped() const
{
    // A cable lost during a transfer has been reported already; what would
    // follow only waits for replies that cannot come.
    return m_host.CancelRequested() || !m_com.Connected();
}
