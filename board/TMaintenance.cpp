#include "TMaintenance.h"

#include "OperationHost.h"
#include "TBoardPolls.h"
#include "TIdentification.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <algorithm>

TMaintenance::TMaintenance(TZr5Com& com, TZR5Record& record, OperationHost& host,
                           TIdentification& identification, MaintenanceView& view)
    : m_com(com), m_record(record), m_host(host), m_identification(identification), m_view(view)
{
}

void TMaintenance::SystemReset()
{
    m_com.QueryParam(9999);
    m_host.FlashBusyLed();
    m_host.WaitMs(1000);
    TBoardPolls(m_com, m_host).WaitForBoard();
}

void TMaintenance::BtnResetClick()
{
    m_host.SetCancelFlag(0);
    m_view.ClearConsole();
    m_view.ClearSwitches();
    SystemReset();
    m_identification.ReadBoardInfo();
    m_host.ReportDone();
}

void TMaintenance::BtnSaveFactoryClick()
{
    FactoryCommand(QStringLiteral("SFX 1=9!"),
                   QStringLiteral("##### Error: no board/user info found, EEPROM not initialized"),
                   true, QStringLiteral("Current configuration saved to Factory Defaults"));
}

void TMaintenance::BtnRestoreFactoryClick()
{
    FactoryCommand(QStringLiteral("SFX 2=9!"),
                   QStringLiteral("##### Error: EEPROM was not saved to DataFlash"), false,
                   QStringLiteral("Configuration restored from Factory Defaults"));
}

void TMaintenance::FactoryCommand(const QString& command, const QString& errorLine,
                                  bool replyVerbose, const QString& successLine)
{
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Processing Factory Defaults..."));
    if (m_com.Connected()) {
        if (m_record.FirmwareVersion < kFactoryDefaultsVersion) {
            m_host.ConsoleLine(QStringLiteral("No DataFlash Factory Defaults in old firmware"));
        } else {
            m_host.FlashBusyLed();
            m_host.VerboseLine(m_com.SendCommand(command, 1000));
            // The board confirms a finished save or restore with a second line.
            const QString confirmation = m_com.ReadReply(500);
            if (confirmation == TZr5Com::NoReply) {
                m_host.ConsoleLine(errorLine);
            } else {
                if (replyVerbose)
                    m_host.VerboseLine(confirmation);
                else
                    m_host.ConsoleLine(confirmation);
                m_host.ConsoleLine(successLine);
            }
        }
    }
    m_host.ReportDone();
}

void TMaintenance::ReloadCommand(bool clearCancel, const std::function<void()>& exchange)
{
    // Only some of the buttons start afresh; the others end at once with the
    // cancelled warning after an earlier cancel.
    if (clearCancel)
        m_host.SetCancelFlag(0);
    if (!m_com.Connected()) {
        m_host.ConsoleLine(QStringLiteral("##### Error: Not connected!"));
        return;
    }
    exchange();
    TBoardPolls(m_com, m_host).WaitForBoard();
    m_host.ReportDone();
}

void TMaintenance::VerboseReply(int timeoutMs)
{
    m_host.VerboseLine(m_com.ReadReply(timeoutMs));
}

void TMaintenance::BitBtn4Click()
{
    ReloadCommand(true, [this] {
        m_host.VerboseLine(m_com.QueryParam(9996));
        VerboseReply(3000);
    });
}

void TMaintenance::BitBtn1Click()
{
    // The core reload is the engine reload followed by the version query.
    ReloadCommand(true, [this] {
        m_host.VerboseLine(m_com.QueryParam(9998));
        VerboseReply(3000);
        m_host.VerboseLine(m_com.QueryParam(3));
    });
}

void TMaintenance::BitBtn2Click()
{
    ReloadCommand(false, [this] {
        m_host.VerboseLine(m_com.QueryParam(9998));
        VerboseReply(3000);
        VerboseReply(2000);
    });
}

void TMaintenance::BitBtn3Click()
{
    ReloadCommand(false, [this] {
        m_host.VerboseLine(m_com.QueryParam(9999));
        m_host.WaitMs(3000);
        for (const int wait : {3000, 3000, 2000, 2000, 2000})
            VerboseReply(wait);
    });
}

int TMaintenance::TestParamNumber(const QString& paramText)
{
    bool ok = false;
    const int number = paramText.trimmed().toInt(&ok, 10);
    return ok ? number : 0;
}

void TMaintenance::ScrollBarTestParamChange(const QString& paramText, int position)
{
    if (m_com.Connected())
        m_com.SetParam(TestParamNumber(paramText), position, false);
}

QString TMaintenance::SpinButton1UpClick(const QString& paramText)
{
    return QString::number(std::min(TestParamNumber(paramText) + 1, kTestParamMax));
}

QString TMaintenance::SpinButton1DownClick(const QString& paramText)
{
    return QString::number(std::max(TestParamNumber(paramText) - 1, 0));
}
