#include "TAvrUpdate.h"

#include "OperationHost.h"
#include "SoundPlayer.h"
#include "TBoardPolls.h"
#include "TExternalTool.h"
#include "TIdentification.h"
#include "TLink.h"
#include "TPageModel.h"
#include "TPageTableFile.h"
#include "TPageTransfer.h"
#include "TPresetFile.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
const QString kOrganName = QStringLiteral("Organ");
const QString kMidiCCName = QStringLiteral("MIDI CC");

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.isExecutable();
}
} // namespace

TAvrUpdate::TAvrUpdate(TZr5Com& com, TZR5Record& record, OperationHost& host, Prompter& prompter,
                       SoundPlayer& sound, TIdentification& identification, TPageModel& pages,
                       AvrUpdateView& view, Prompter::FileRequest& openDialog)
    : m_com(com), m_record(record), m_host(host), m_prompter(prompter), m_sound(sound),
      m_identification(identification), m_pages(pages), m_view(view), m_openDialog(openDialog)
{
    m_runner = [this](const QString& programPath, const QString& parameters,
                      const std::function<QString(const QString&)>& portMap) {
        TExternalTool tool(m_host);
        tool.SetFallbackProgram(m_fallback);
        tool.SetPortMap(portMap);
        tool.RunExternalTool(programPath, parameters, false);
    };
}

void TAvrUpdate::SetToolPaths(const QString& programPath, const QString& fallback)
{
    m_programPath = programPath;
    m_fallback = fallback;
}

bool TAvrUpdate::ToolExists() const
{
    return isExecutableFile(m_programPath) || isExecutableFile(m_fallback);
}

QString TAvrUpdate::CommandLine(int comPort, const QString& flashFile, const QString& eepromFile)
{
    return QStringLiteral("-C \"avrdude.conf\" -pm644p -cstk500v1 -P COM") +
           QString::number(comPort) + QStringLiteral(" -b57600 -U flash:w:\"") +
           TExternalTool::QuoteInside(flashFile) + QStringLiteral("\":i -U eeprom:w:\"") +
           TExternalTool::QuoteInside(eepromFile) + QStringLiteral("\":i -e");
}

QString TAvrUpdate::EepromFileOf(const QString& flashFile)
{
    // Only the extension of the file name counts; a dot in a folder does not.
    // A name ending in a dot has an empty extension, which is replaced too.
    const QString name = QFileInfo(flashFile).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return flashFile + QStringLiteral(".eep");
    return flashFile.left(flashFile.size() - (name.size() - dot)) + QStringLiteral(".eep");
}

void TAvrUpdate::UpdateAVRClick()
{
    m_host.SetCancelFlag(0);
    if (!ToolExists()) {
        m_prompter.MessageBox(Prompter::Icon::Error,
                              QStringLiteral("AVRdude.exe tool not found.\n"
                                             "ZR5 Remote not properly installed."),
                              Prompter::Buttons::Ok);
        return;
    }
    m_host.ConsoleLine(QStringLiteral("Processing AVR update..."));
    if (!m_com.Connected())
        return;
    if (m_identification.FpgaConfigMissing())
        m_identification.PromptInsertConfDis();

    m_openDialog.title = QStringLiteral("Open ZR5 controller firmware (HEX):");
    for (int i = 0; i < m_openDialog.filters.size(); ++i) {
        if (m_openDialog.filters.at(i).startsWith(QLatin1String("Firmware HEX")))
            m_openDialog.filterIndex = i;
    }
    m_openDialog.defaultSuffix = QStringLiteral("hex");
    const QString flashFile = m_prompter.OpenFileName(m_openDialog);
    if (flashFile.isEmpty()) {
        m_host.ReportCancelled();
        return;
    }

    BackupBoardData();
    const QString eepromFile = EepromFileOf(flashFile);
    if (!QFileInfo(eepromFile).isFile()) {
        m_host.ConsoleLine(QStringLiteral("##### Error: EEPROM file not found"));
        return;
    }
    // On disk before the board is touched: if the tool or this program
    // fails from here on, the settings can still be imported again.
    WriteBackupFiles();
    m_host.FlashBusyLed();

    if (m_record.FirmwareVersion < kBootRequestVersion)
        m_prompter.MessageBox(
            Prompter::Icon::Information,
            QStringLiteral("Insert RESET Jumper and pull same time when clicking OK"),
            Prompter::Buttons::Ok);
    else
        m_com.SendLine(QStringLiteral("9980=0"));
    m_host.WaitMs(150);

    // The tool gets the cable's own device node, taken while it is open.
    TLink& link = m_com.link();
    const QString cablePath = link.Ftdi() ? link.Ftdi()->devicePath() : QString();
    if (link.Ftdi() && link.Ftdi()->connected())
        link.Ftdi()->closeDevice();
    link.setConnected(false);
    m_view.ShowDisconnectedState();
    m_view.SetDeviceView(QStringLiteral("(in use by AVRdude)"));

    m_host.ConsoleLine(QStringLiteral("Flash \u00b4file: ") + flashFile);
    m_host.ConsoleLine(QStringLiteral("EEPROM file: ") + eepromFile);
    m_view.Repaint();
    RunTool(CommandLine(m_record.ComPort, flashFile, eepromFile), cablePath);

    m_host.WaitMs(1000);
    m_host.FlashBusyLed();
    if (m_identification.FpgaConfigMissing())
        m_identification.PromptRemoveConfDis();

    link.OpenDevice(m_record.Device);
    if (link.Connected()) {
        m_identification.ReadBoardInfo();
        m_view.SetDeviceView(link.DeviceSerial(m_record.Device) + QStringLiteral(", ") +
                             link.DeviceDescription(m_record.Device) + QStringLiteral(" on COM") +
                             QString::number(m_record.ComPort));
        m_host.FlashBusyLed();
        m_view.ShowConnectedState();
        RestoreBoardData();
        TBoardPolls(m_com, m_host).WaitForBoard();
        m_identification.ReadBoardInfo();
        m_host.ConsoleLine(QStringLiteral("Click <Finalize> to set Factory Defaults"));
        m_sound.Play(QStringLiteral("ding.wav"));
    }
    m_host.ReportDone();
}

void TAvrUpdate::RunTool(const QString& parameters, const QString& cablePath)
{
    const TLink& link = m_com.link();
    // "COM<n>" names the cable's port; the tool needs its device node.
    const auto portMap = [cablePath, &link](const QString& port) {
        if (!cablePath.isEmpty())
            return cablePath;
        static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"));
        const QRegularExpressionMatch m = com.match(port);
        return m.hasMatch() ? link.ComPortName(m.captured(1).toInt()) : port;
    };
    m_runner(m_programPath, parameters, portMap);
}

void TAvrUpdate::BackupBoardData()
{
    m_identification.ReadBoardInfo();
    if (m_host.CancelRequested())
        return;
    m_host.ConsoleLine(QStringLiteral("Reading current ZR5 data"));

    TPageTransfer transfer(m_com, m_host);
    m_host.SetProgressMax(m_pages.organ().rowCount() - 1);
    if (m_record.RestoreOrgan && !transfer.ReadTable(m_pages.organ(), kOrganName)) {
        m_view.ShowTables();
        return;
    }
    m_host.SetProgressMax(m_pages.midiCC().rowCount() - 1);
    if (m_record.RestoreMidi && !transfer.ReadTable(m_pages.midiCC(), kMidiCCName)) {
        m_view.ShowTables();
        return;
    }
    m_host.SetProgressMax(TPresetTable::entryCount - 1);
    if (m_record.RestorePresets && !BackupPresets()) {
        m_view.ShowTables();
        return;
    }
    m_host.SetProgress(0);
    m_view.ShowTables();
    m_view.StateToControls();
}

bool TAvrUpdate::BackupPresets()
{
    TPresetTable& upper = m_pages.upperPresets();
    TPresetTable& lower = m_pages.lowerPresets();
    for (int i = 0; i < TPresetTable::entryCount; ++i) {
        m_host.FlashBusyLed();
        upper.setAt(i, m_com.GetParamInt(upper.parameterOf(i)));
        lower.setAt(i, m_com.GetParamInt(lower.parameterOf(i)));
        m_host.SetProgress(i);
        if (m_host.CancelRequested())
            return false;
    }
    return true;
}

void TAvrUpdate::RestoreBoardData()
{
    m_host.ConsoleLine(QStringLiteral("Restore ZR5 data"));
    TPageTransfer transfer(m_com, m_host);
    m_host.SetProgressMax(m_pages.organ().rowCount() - 1);
    if (m_record.RestoreOrgan && !transfer.SendTable(m_pages.organ(), kOrganName))
        return;
    m_host.SetProgressMax(m_pages.midiCC().rowCount() - 1);
    if (m_record.RestoreMidi && !transfer.SendTable(m_pages.midiCC(), kMidiCCName))
        return;
    m_view.ControlsToState();
    m_host.SetProgressMax(TPresetTable::entryCount - 1);
    if (m_record.RestorePresets && !RestorePresets())
        return;
    m_host.SetProgress(0);
}

bool TAvrUpdate::RestorePresets()
{
    const TPresetTable& upper = m_pages.upperPresets();
    const TPresetTable& lower = m_pages.lowerPresets();
    for (int i = 0; i < TPresetTable::entryCount; ++i) {
        m_host.FlashBusyLed();
        m_com.SetParam(upper.parameterOf(i), upper.at(i), true);
        m_com.SetParam(lower.parameterOf(i), lower.at(i), true);
        m_host.SetProgress(i);
        if (m_host.CancelRequested())
            return false;
    }
    return true;
}

QStringList TAvrUpdate::WriteBackupFiles()
{
    QStringList written;
    if (!m_record.RestoreOrgan && !m_record.RestoreMidi && !m_record.RestorePresets)
        return written;
    QString folder = m_backupFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        m_host.ConsoleLine(
            QStringLiteral("##### Warning: No folder for the backup of the board's settings"));
        return written;
    }
    // One stem per update, so that an earlier backup is never overwritten.
    const QString stem = QDir(folder).filePath(
        QStringLiteral("zr5_backup_") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")));
    const auto report = [this, &written](const QString& path, const TFileResult& result) {
        if (result.ok()) {
            m_host.ConsoleLine(QStringLiteral("Backup file: ") + QDir::toNativeSeparators(path));
            written.append(path);
        } else {
            m_host.ConsoleLine(QStringLiteral("##### Warning: Backup not saved: ") +
                               result.message());
        }
    };
    if (m_record.RestoreOrgan) {
        const QString path = stem + QStringLiteral("_organ.csv");
        report(path, TPageTableFile::write(path, m_pages.organ()));
    }
    if (m_record.RestoreMidi) {
        const QString path = stem + QStringLiteral("_midi_cc.csv");
        report(path, TPageTableFile::write(path, m_pages.midiCC()));
    }
    if (m_record.RestorePresets) {
        const QString upper = stem + QStringLiteral("_upper_presets.csv");
        report(upper, TPresetFile::write(upper, m_pages.upperPresets()));
        const QString lower = stem + QStringLiteral("_lower_presets.csv");
        report(lower, TPresetFile::write(lower, m_pages.lowerPresets()));
    }
    return written;
}
