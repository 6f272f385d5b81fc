#include "TFpgaUpdate.h"

#include "Clock.h"
#include "IdentificationView.h"
#include "OperationHost.h"
#include "TBlockTransfer.h"
#include "TBoardPolls.h"
#include "TDataFlashUploads.h"
#include "TIdentification.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QFileInfo>

namespace {
constexpr int kFpgaSlot = -1;

void ProcessPendingEvents()
{
    Clock::current().waitProcessingEvents(0);
}
} // namespace

TFpgaUpdate::TFpgaUpdate(TBlockTransfer& transfer, TDataFlashUploads& uploads,
                         TIdentification& identification, TZr5Com& com, TZR5Record& record,
                         OperationHost& host, Prompter& prompter, IdentificationView& view,
                         Prompter::FileRequest& openDialog)
    : m_transfer(transfer), m_uploads(uploads), m_identification(identification), m_com(com),
      m_record(record), m_host(host), m_prompter(prompter), m_view(view), m_openDialog(openDialog)
{
}

QString TFpgaUpdate::ConfigurationDate(const QString& fileName)
{
    // Folders may hold "_" and "." of their own; only the name carries the date.
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype underscore = name.indexOf(QLatin1Char('_'));
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (underscore < 0 || dot < underscore)
        return {};
    return name.mid(underscore + 1, dot - underscore - 1);
}

void TFpgaUpdate::UpdateFPGAClick()
{
    TBoardPolls polls(m_com, m_host);
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Processing FPGA/SoundEngine update..."));
    if (m_identification.FpgaConfigMissing())
        m_identification.PromptInsertConfDis();

    m_openDialog.defaultSuffix = QStringLiteral("*.bit");
    const QString path = TDataFlashUploads::ChooseFile(
        m_prompter, m_openDialog, QStringLiteral("FPGA Sound Engine BIT (fpga*.bit)"),
        QStringLiteral("Open ZR5 FPGA/SoundEngine config (BIT):"));
    if (path.isEmpty()) {
        m_host.ReportCancelled();
        return;
    }

    m_host.ConsoleLine(QStringLiteral("Reading FPGA configuration..."));
    ProcessPendingEvents();
    polls.WaitForBoard();
    m_transfer.TransferFile(path, kFpgaSlot);
    if (Stopped())
        return;

    polls.WaitForBoard();
    m_identification.ReadBoardInfo();
    if (Stopped())
        return;

    if (m_identification.FpgaConfigMissing()) {
        // Without a working sound engine the rest of the set would not run.
        m_identification.PromptRemoveConfDis();
    } else {
        ProcessPendingEvents();
        m_uploads.UploadFileSet(TDataFlashUploads::FolderOf(path));
        polls.BoardAlive();
        m_identification.ReadBoardInfo();
    }
    m_host.ReportDone();
}

void TFpgaUpdate::ProductionFpgaUpdate()
{
    TBoardPolls polls(m_com, m_host);
    const QString date = ConfigurationDate(m_record.fpga_filename);
    m_host.ConsoleLine(QStringLiteral("FPGA configuration date: ") + date);

    // Plain texts, letter case included: the board reports the date it carries.
    if (date != m_view.FpgaVersionText()) {
        m_host.ConsoleLine(QStringLiteral("Reading FPGA configuration..."));
        ProcessPendingEvents();
        polls.WaitForBoard();
        if (Stopped())
            return;
        m_transfer.TransferFile(m_record.fpga_filename, kFpgaSlot);
        if (Stopped())
            return;
        m_identification.ReadBoardInfo();
        if (Stopped())
            return;
        polls.WaitForBoard();
    } else {
        m_host.ConsoleLine(QStringLiteral("FPGA update skipped, was up to date."));
    }
    if (Stopped())
        return;

    if (m_identification.FpgaConfigMissing()) {
        m_host.ConsoleLine(QStringLiteral("##### Error: FPGA corrupted. Try again"));
        m_host.ConsoleLine(QStringLiteral("##### immediately without switching off!"));
        m_com.SetError(TErrorKind::FlashErr);
    } else {
        ProcessPendingEvents();
        // The production images lie in the current directory.
        m_uploads.UploadFileSet(QString());
    }

    if (!Stopped()) {
        polls.WaitForBoard();
        m_com.SendCommand(QStringLiteral("DFS=1!"), 100);
        m_host.FlashBusyLed();
        m_identification.ReadBoardInfo();
    }
}

bool TFpgaUpdate::Stopped() const
{
    // A cable lost during a transfer has been reported already; what would
    // follow only waits for replies that cannot come.
    return m_host.CancelRequested() || !m_com.Connected();
}
