#include "TDataFlashUploads.h"

#include "Clock.h"
#include "OperationHost.h"
#include "TBlockTransfer.h"
#include "TZr5Com.h"

#include <QFileInfo>

namespace {
constexpr int kScanCoreQuery = 9900;
constexpr int kFirstTaperSlot = 11;
constexpr int kFirSlot = 15;
// Where each heading of the file set starts.
constexpr int kFirstTaper = 9;
constexpr int kFir = 13;

const QString kScanCoreFilter = QStringLiteral("ScanCore DAT (zr*.dat)");
const QString kTaperFilter = QStringLiteral("TaperLevels DAT (taper*.dat)");
const QString kFirFilter = QStringLiteral("FIR Horn Filter DAT (fir*.dat)");

// Lets the window repaint and take a click once between long steps.
void ProcessPendingEvents()
{
    Clock::current().waitProcessingEvents(0);
}
} // namespace

const std::array<TDataFlashUploads::FileSetEntry, TDataFlashUploads::kFileSetSize>&
TDataFlashUploads::FileSet()
{
    static const std::array<FileSetEntry, kFileSetSize> set{{
        {"zr_chain.dat", 0},
        {"zr_midi.dat", 1},
        {"zr_fatar.dat", 2},
        {"zr_sr44.dat", 3},
        {"zr_sr49.dat", 4},
        {"zr_sr61.dat", 5},
        {"zr_test.dat", 6},
        {"zr_xb2.dat", 7},
        {"dsp_rev.bin", 10},
        {"taper_levels1.dat", 11},
        {"taper_levels2.dat", 12},
        {"taper_levels3.dat", 13},
        {"taper_levels4.dat", 14},
        {"fir_coeff.dat", 15},
    }};
    return set;
}

TDataFlashUploads::TDataFlashUploads(TBlockTransfer& transfer, TZr5Com& com, OperationHost& host,
                                     Prompter& prompter, Prompter::FileRequest& openDialog)
    : m_transfer(transfer), m_com(com), m_host(host), m_prompter(prompter), m_openDialog(openDialog)
{
}

QString TDataFlashUploads::FolderOf(const QString& filePath)
{
    const QString folder = QFileInfo(filePath).path();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString TDataFlashUploads::ChooseFile(Prompter& prompter, Prompter::FileRequest& dialog,
                                      const QString& filter, const QString& title)
{
    qsizetype index = dialog.filters.indexOf(filter);
    if (index < 0) {
        dialog.filters.append(filter);
        index = dialog.filters.size() - 1;
    }
    dialog.filterIndex = static_cast<int>(index);
    dialog.title = title;
    const QString path = prompter.OpenFileName(dialog);
    if (!path.isEmpty())
        dialog.fileName = path;
    return path;
}

void TDataFlashUploads::UploadFileSet(const QString& folder)
{
    const auto& set = FileSet();
    const auto uploadRange = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            if (!m_host.CancelRequested())
                m_transfer.TransferFile(folder + QLatin1String(set[size_t(i)].fileName),
                                        set[size_t(i)].slot);
        }
    };
    m_host.ConsoleLine(QStringLiteral("Reading all scan cores..."));
    ProcessPendingEvents();
    uploadRange(0, kFirstTaper);
    m_host.ConsoleLine(QStringLiteral("Reading all tapering files..."));
    ProcessPendingEvents();
    uploadRange(kFirstTaper, kFir);
    m_host.ConsoleLine(QStringLiteral("Reading FIR coeff file..."));
    ProcessPendingEvents();
    uploadRange(kFir, kFileSetSize);
    if (m_host.CancelRequested())
        m_host.ReportCancelled();
}

void TDataFlashUploads::BtnScanCoreClick(int selectedIndex)
{
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Processing ScanCore update..."));
    if (selectedIndex == kSeparatorIndex)
        return;
    if (selectedIndex == kUpdateAllIndex) {
        const QString path =
            ChooseFile(kScanCoreFilter, QStringLiteral("Open any ZR5 Scan Core in folder (DAT):"));
        if (path.isEmpty()) {
            m_host.ReportCancelled();
            return;
        }
        // The chosen file only names the folder of the set.
        UploadFileSet(FolderOf(path));
        m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFS=1!"), 100));
    } else {
        const QString path =
            ChooseFile(kScanCoreFilter, QStringLiteral("Open ZR5 Scan Core (DAT):"));
        if (path.isEmpty()) {
            m_host.ReportCancelled();
            return;
        }
        m_host.ConsoleLine(QStringLiteral("Reading single scan core..."));
        // The selector decides the slot, whatever the file is called.
        m_transfer.TransferFile(path, selectedIndex);
        m_host.SetProgress(0);
        m_host.WaitMs(200);
        m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFS=1!"), 100));
    }
    m_host.ConsoleLine(m_com.QueryParam(kScanCoreQuery));
    m_host.ReportDone();
}

void TDataFlashUploads::BtnTaperClick(int n)
{
    if (n < 1 || n > 4)
        return;
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Processing TaperLevels update..."));
    // The first table's title has always spoken of a folder; it takes one file.
    const QString title = n == 1 ? QStringLiteral("Open ZR5 Tapering folder (DAT):")
                                 : QStringLiteral("Open ZR5 Tapering file (DAT):");
    const QString path = ChooseFile(kTaperFilter, title);
    if (path.isEmpty()) {
        m_host.ReportCancelled();
        return;
    }
    m_transfer.TransferFile(path, kFirstTaperSlot + n - 1);
    m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFS=1!"), 100));
    // TG1 has no cancel check here: after a cancelled transfer it still
    // queries the board and ends with "Done.".
    if (n != 1 && m_host.CancelRequested())
        return;
    m_host.VerboseLine(m_com.QueryParam(kScanCoreQuery));
    m_host.ReportDone();
}

void TDataFlashUploads::BtnFIRClick()
{
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Processing FIR update..."));
    const QString path = ChooseFile(kFirFilter, QStringLiteral("Open ZR5 FIR coeff file (DAT):"));
    if (path.isEmpty()) {
        m_host.ReportCancelled();
        return;
    }
    m_transfer.TransferFile(path, kFirSlot);
    m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFS=1!"), 100));
    if (m_host.CancelRequested())
        return;
    m_host.VerboseLine(m_com.QueryParam(kScanCoreQuery));
    m_host.ReportDone();
}
