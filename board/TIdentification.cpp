#include "TIdentification.h"

#include "IdentificationView.h"
#include "OperationHost.h"
#include "Prompter.h"
#include "TBoardPolls.h"
#include "TReplySlices.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

TIdentification::TIdentification(TZr5Com& com, TZR5Record& record, OperationHost& host,
                                 Prompter& prompter, IdentificationView& view)
    : m_com(com), m_record(record), m_host(host), m_prompter(prompter), m_view(view)
{
}

bool TIdentification::FpgaConfigMissing() const
{
    return m_record.FPGAversion == QLatin1String("00000000") ||
           m_record.FPGAversion == QLatin1String("FFFFFFFF") || m_record.SerialNumber < 1;
}

void TIdentification::ReadBoardInfo()
{
    TBoardPolls polls(m_com, m_host);
    polls.WaitForBoard();
    if (m_host.CancelRequested())
        return;
    m_host.ConsoleLine(QStringLiteral("Read info from ZR5..."));

    QString reply = m_com.QueryParam(254);
    m_record.FirmwareVersion = TZr5Com::ParseFloatReply(reply);
    m_host.VerboseLine(reply);
    m_record.FirmwareString = TReplySlices::FirmwareText(reply);
    m_host.ConsoleLine(QStringLiteral("Found Firmware \"%1\" on ZR5").arg(m_record.FirmwareString));
    if (m_host.CancelRequested())
        return;

    reply = m_com.QueryParam(3);
    if (m_host.CancelRequested())
        return;
    m_host.VerboseLine(reply);
    m_record.FPGAversion = TReplySlices::FpgaVersion(reply);
    m_view.ShowFpgaVersion(m_record.FPGAversion);

    // The reload answers with status lines; the second one says whether the
    // engine found a configuration. The serial number tested here is still
    // the one of the previous identification.
    m_host.VerboseLine(m_com.QueryParam(9998));
    reply = m_com.ReadReply(1000);
    m_host.VerboseLine(reply);
    if (TZr5Com::ParseIntReply(reply) < 0 && FpgaConfigMissing())
        m_host.ConsoleLine(QStringLiteral("##### Error: FPGA config corrupted or empty"));
    for (const int wait : {1000, 100}) {
        reply = m_com.ReadReply(wait);
        if (reply != TZr5Com::NoReply)
            m_host.VerboseLine(reply);
    }
    polls.BoardAlive(); // gives the board time to come back after the reload

    reply = m_com.QueryParam(9900);
    m_host.VerboseLine(reply);
    const int scanCore = TZr5Com::ParseIntReply(reply);
    if (scanCore >= 0) {
        m_view.SetOrganValueOf(477, scanCore);
        m_view.ShowScanCore(scanCore);
        m_view.PlaceEditors();
    }
    m_record.ScanVersion = TReplySlices::ScanVersion(reply);
    m_host.VerboseLine(QString());

    if (m_host.CancelRequested())
        return;
    reply = m_com.QueryParam(9952);
    if (m_host.CancelRequested())
        return;
    m_host.VerboseLine(reply);
    m_record.SerialNumber = TZr5Com::ParseIntReply(reply);
    m_view.ShowSerialNumber(QString::number(m_record.SerialNumber));

    reply = m_com.QueryParam(9990);
    if (m_host.CancelRequested())
        return;
    m_host.VerboseLine(reply);
    m_record.Owner = TReplySlices::OwnerText(reply);
    m_view.ShowOwner(m_record.Owner);

    // Shortest general form with "." whatever the system's separator: 3.74.
    m_view.ShowFirmwareVersion(QString::number(m_record.FirmwareVersion, 'g', 15));
    if (m_record.FirmwareVersion < 3.56)
        m_host.ConsoleLine(
            QStringLiteral("##### Warning: Firmware version below #3.6x, some functions may not work"));

    if (FpgaConfigMissing()) {
        m_host.ConsoleLine(
            QStringLiteral("##### Warning: Update FPGA first and insert CONF_DIS JP if requested"));
        m_view.SetUploadButtonsEnabled(false);
        return;
    }
    m_view.SetUploadButtonsEnabled(true);
    for (const int number : {481, 492}) {
        reply = m_com.QueryParam(number);
        m_host.VerboseLine(reply);
        m_view.SetOrganValueOf(number, TZr5Com::ParseIntReply(reply));
    }
}

void TIdentification::ShowBoardInfo()
{
    m_host.ConsoleLine(QString());
    m_host.ConsoleLine(QStringLiteral("Customer Name: ") + m_view.OwnerText());
    m_host.ConsoleLine(QStringLiteral("Serial Number: ") + m_view.SerialNumberText());
    m_host.ConsoleLine(QStringLiteral("Firmware Version: ") + m_record.FirmwareString +
                       QStringLiteral(" #") + m_view.FirmwareVersionText());
    m_host.ConsoleLine(QStringLiteral("FPGA Version: #") + m_view.FpgaVersionText());
    m_host.ConsoleLine(QStringLiteral("Scan Version: ") + m_view.ScanCoreText() +
                       QStringLiteral(" #") + m_record.ScanVersion);
    m_host.ConsoleLine(QString());
}

void TIdentification::PromptInsertConfDis()
{
    if (m_record.FirmwareVersion < 3.56)
        m_prompter.MessageBox(
            Prompter::Icon::Warning,
            QStringLiteral(
                "FPGA configuration is corrupted. Please insert CONF_DIS jumper before continuing!"),
            Prompter::Buttons::Ok);
}

void TIdentification::PromptRemoveConfDis()
{
    if (m_record.FirmwareVersion < 3.56)
        m_prompter.MessageBox(Prompter::Icon::Warning,
                              QStringLiteral("Please remove CONF_DIS jumper and click OK when done!"),
                              Prompter::Buttons::Ok);
}
