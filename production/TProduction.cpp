#include "TProduction.h"

#include "OperationHost.h"
#include "ProductionSteps.h"
#include "Prompter.h"
#include "SoundPlayer.h"
#include "TPageModel.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QDir>
#include <QScopedValueRollback>

namespace {
// Every kind after SyncErr is severe.
bool Severe(TErrorKind kind)
{
    return kind > TErrorKind::SyncErr;
}

// The organ settings Finalize makes permanent: the active scan core, the
// panel inputs and the analog input configuration.
constexpr int kFinalizeParams[] = {477, 481, 492};
} // namespace

TProduction::TProduction(TZr5Com& com, TZR5Record& record, TPageModel& pages, OperationHost& host,
                         Prompter& prompter, SoundPlayer& sound, ProductionSteps& steps,
                         const QString& toolProgramPath)
    : m_com(com), m_record(record), m_pages(pages), m_host(host), m_prompter(prompter),
      m_sound(sound), m_steps(steps), m_files(com, record, host, steps),
      m_programmer(com, host, steps, toolProgramPath)
{
}

bool TProduction::CheckProductionFiles()
{
    return m_files.CheckProductionFiles(QDir::current());
}

bool TProduction::IspProgram(const QString& flashFile, const QString& port)
{
    return m_programmer.IspProgram(flashFile, port);
}

void TProduction::ShowProductionResult(const QString& text)
{
    m_sound.Play(QStringLiteral("ding.wav"));
    const int count = m_com.ErrorCount();
    if (count <= 0) {
        m_prompter.MessageBox(Prompter::Icon::Information,
                              QStringLiteral("Operation succesfull.\r") + text +
                                  QStringLiteral("\rZR5 board ready for test."),
                              Prompter::Buttons::Ok);
        return;
    }
    const TErrorKind kind = m_com.ErrorKind();
    const QString head = QString::number(count);
    if (!Severe(kind)) {
        m_prompter.MessageBox(Prompter::Icon::Warning,
                              head + QStringLiteral(" minor Error(s) of type ") + ErrorName(kind) +
                                  QStringLiteral(" occured.") + QStringLiteral("\r") + text +
                                  QStringLiteral("\r") +
                                  QStringLiteral("Repeat procedure if ZR5 board fails test."),
                              Prompter::Buttons::Ok);
    } else {
        m_prompter.MessageBox(Prompter::Icon::Error,
                              head + QStringLiteral(" severe Error(s) of type ") + ErrorName(kind) +
                                  QStringLiteral(" occured.") + QStringLiteral("\r") + text +
                                  QStringLiteral("\r") + QStringLiteral("Repeat update procedure."),
                              Prompter::Buttons::Ok);
    }
}

void TProduction::ProdProgClick(const QString& firmwareFile, const QString& port)
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    m_host.SetCancelFlag(0);
    m_steps.ClearConsole();
    m_host.ConsoleLine(QStringLiteral("Programming AVR controller by ISP..."));
    if (CheckProductionFiles())
        return;
    m_com.ResetErrors();

    m_prompter.MessageBox(Prompter::Icon::Information,
                          QStringLiteral("Connect ISP programming cable to PL1\rand FTDI cable to "
                                         "PL26.\rInsert jumper JP9 on mk4 boards (SWELL).\rInsert "
                                         "jumper JP5 (CONF_DIS) and click OK when done!"),
                          Prompter::Buttons::Ok);
    if (!IspProgram(firmwareFile, port))
        return;
    m_host.FlashBusyLed();
    if (m_host.CancelRequested())
        return;

    if (!m_com.Connected()) {
        if (m_record.Device < 0 || m_record.ComPort < 0)
            m_steps.BtnRescanClick();
        else
            m_steps.ReopenLink();
    }

    m_host.ConsoleLine(QStringLiteral("Waiting for AVR boot... "));
    m_prompter.MessageBox(
        Prompter::Icon::Information,
        QStringLiteral(
            "Insert jumpers JP7/JP8 after red LED on ZR5 went off.Click OK when done.\r"),
        Prompter::Buttons::Ok);

    if (m_steps.ReopenAndCheck(true)) {
        if (m_host.CancelRequested())
            return;
        m_steps.ShowBoardInfo();
        m_steps.ProductionFpgaUpdate();
    } else {
        // Not counted: the reverb step still runs once, then the run stops.
        m_com.SetErrorKind(TErrorKind::SyncErr);
        m_host.SetCancelFlag(1);
    }

    if (Severe(m_com.ErrorKind())) {
        ShowProductionResult(QStringLiteral("Repeat programming procedure."));
        m_host.ReportDone();
        return;
    }

    // The copy into the DSP needs JP7 and JP8; the operator may fix them and
    // retry, or go on without the reverb program.
    for (;;) {
        m_com.SetErrorKind(TErrorKind::noErr);
        m_steps.ProductionDspTransfer();
        if (!Severe(m_com.ErrorKind()))
            break;
        const Prompter::Answer answer = m_prompter.MessageBox(
            Prompter::Icon::Warning,
            QStringLiteral("Jumpers JP7 and JP8 not inserted. Click OK to retry or Cancel to "
                           "proceed."),
            Prompter::Buttons::OkCancel);
        if (answer != Prompter::Answer::Ok)
            break;
    }
    if (m_host.CancelRequested())
        return;

    m_steps.ShowConnectedState();
    m_steps.ReadBoardInfo();
    if (m_host.CancelRequested())
        return;
    m_steps.BtnSaveFactoryClick();
    if (m_host.CancelRequested())
        return;
    m_steps.ReadBoardInfo();
    if (m_host.CancelRequested())
        return;
    m_host.ConsoleLine(QString());

    if (m_steps.BoardAlive()) {
        m_host.FlashBusyLed();
        m_steps.ShowConnectedState();
        m_steps.ShowBoardInfo();
        m_prompter.MessageBox(Prompter::Icon::Information,
                              QStringLiteral("Operation succesfull. \rRemove jumpers JP5, JP7 and "
                                             "JP8.\rDisconnect ISP programming cable from PL1. "),
                              Prompter::Buttons::Ok);
    } else {
        // A board that does not answer is never reported as ready for test,
        // even when nothing was counted before.
        if (m_com.ErrorCount() <= 0)
            m_com.SetError(TErrorKind::SyncErr);
        ShowProductionResult(
            QStringLiteral("ZR5 does not respond. Cycle power and finalize again."));
    }
    m_host.ReportDone();
}

void TProduction::BtnWriteBasicsClick()
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Finalizing..."));
    if (!m_com.Connected())
        return;
    m_host.FlashBusyLed();
    for (const int number : kFinalizeParams) {
        const int value = m_pages.OrganValueOf(number, &m_host);
        m_host.ConsoleLine(QStringLiteral("Set ZR5 Param %1 to %2").arg(number).arg(value));
        m_com.SetParam(number, value, true);
    }
    m_steps.BtnSaveFactoryClick();
    m_steps.BoardAlive();
    m_steps.ReadBoardInfo();
    m_steps.ShowBoardInfo();
    m_host.ReportDone();
}

void TProduction::BtnAVRonlyClick(const QString& firmwareFile, const QString& port)
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Setting AVR Fuse Bits..."));
    m_host.ConsoleLine(QStringLiteral("Programming AVR controller by ISP..."));
    // Whatever the programming did, the board is looked at.
    IspProgram(firmwareFile, port);
    m_host.WaitMs(2000);
    if (m_host.CancelRequested())
        return;
    if (m_steps.ReopenAndCheck(true)) {
        m_steps.ReadBoardInfo();
        if (m_host.CancelRequested())
            return;
        m_steps.ShowBoardInfo();
        m_host.ReportDone();
    } else {
        m_host.ConsoleLine(QStringLiteral("##### Error: Controller not responding!"));
    }
}

void TProduction::BtnSetFuseBits(const QString& port)
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Setting AVR Fuse Bits..."));
    if (m_programmer.RunWithLog(TIspProgrammer::FuseRepairLine(port)))
        m_host.ReportDone();
}
