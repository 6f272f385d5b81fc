#include "TConnection.h"

#include "ConnectionView.h"
#include "OperationHost.h"
#include "Prompter.h"
#include "SoundPlayer.h"
#include "TBoardPolls.h"
#include "TLink.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

namespace {
const QString kDing = QStringLiteral("ding.wav");
}

TConnection::TConnection(TZr5Com& com, TZR5Record& record, OperationHost& host,
                         Prompter& prompter, SoundPlayer& sound, ConnectionView& view)
    : m_com(com), m_record(record), m_host(host), m_prompter(prompter), m_sound(sound),
      m_view(view)
{
}

void TConnection::BtnRescanClick()
{
    TLink& link = m_com.link();
    m_host.SetCancelFlag(0);
    m_host.ConsoleLine(QStringLiteral("Open FTDI device..."));
    m_host.FlashBusyLed();

    for (int n = 0; n < kProbedPorts; ++n)
        m_probes[size_t(n)] = link.ProbeComPort(n);

    link.BuildDeviceList();
    if (!link.Ftdi() || link.DeviceCount() == 0) {
        m_sound.Play(kDing);
        m_prompter.MessageBox(Prompter::Icon::Information,
                              QStringLiteral("No FTDI cable or ZR5 USB extension found!"),
                              Prompter::Buttons::Ok);
        return;
    }

    QList<ConnectionView::DeviceRow> rows;
    const int shown = int(qMin<quint32>(link.DeviceCount(), TLink::kSlots));
    for (int i = 0; i < shown; ++i)
        rows.append({QStringLiteral("Device %1").arg(i), link.DeviceSerial(i),
                     link.DeviceDescription(i)});
    const int chosen = m_view.ChooseDevice(rows);
    if (chosen < 0 || chosen >= shown)
        return;

    m_record.Device = chosen;
    link.OpenDevice(m_record.Device);
    if (!link.Connected())
        return;

    m_view.ClearConsole();
    m_view.ShowDevice(m_record.Device);
    for (int n = 0; n < kProbedPorts; ++n) {
        if (link.ProbeComPort(n) != m_probes[size_t(n)]) {
            m_record.ComPort = n;
            break;
        }
    }

    m_host.ConsoleLine(QStringLiteral("Using FTDI Device #%1 on COM port #%2")
                           .arg(m_record.Device)
                           .arg(m_record.ComPort));
    m_host.ConsoleLine(QString());
    m_view.SetDeviceView(QStringLiteral("%1 - %2 on COM%3")
                             .arg(link.DeviceSerial(m_record.Device),
                                  link.DeviceDescription(m_record.Device))
                             .arg(m_record.ComPort));
    m_view.ShowComPort(m_record.ComPort);

    if (TBoardPolls(m_com, m_host).BoardAlive()) {
        m_view.ShowFirstTab();
        m_view.ShowConnectedState();
        m_view.ReadBoardInfo();
        m_view.ShowBoardInfo();
        m_host.FlashBusyLed();
        m_view.ReadDisplayedPage();
        return;
    }
    m_sound.Play(kDing);
    m_host.ConsoleLine(QStringLiteral("No response from ZR5 serial port driver!"));
    m_host.ConsoleLine(QStringLiteral("ZR5 Board might be new or empty. Otherwise, "));
    m_host.ConsoleLine(QStringLiteral("try unplugging USB cable from PC and reconnect."));
    BtnCloseClick();
    m_host.ReportDone();
}

void TConnection::BtnCloseClick()
{
    TLink& link = m_com.link();
    m_host.SetCancelFlag(0);
    if (link.Connected() && link.Ftdi() && link.Ftdi()->connected())
        link.Ftdi()->closeDevice();
    link.setConnected(false);
    m_view.ShowDisconnectedState();
    m_view.SetDeviceView(QStringLiteral("(not selected)"));
    m_host.ConsoleLine(QStringLiteral("Closed FTDI device. Ready to unplug USB cable from PC."));
    m_host.ConsoleLine(QString());
}

void TConnection::CloseLink()
{
    TLink& link = m_com.link();
    if (link.Connected() && link.Ftdi() && link.Ftdi()->connected())
        link.Ftdi()->closeDevice();
    link.setConnected(false);
    m_view.SetDeviceView(QStringLiteral("(not selected)"));
    m_view.ShowDisconnectedState();
}

void TConnection::LinkLost()
{
    CloseLink();
    m_sound.Play(kDing);
    m_host.ConsoleLine(
        QStringLiteral("##### Error: No response from FTDI cable or ZR5 USB extension!"));
    m_prompter.MessageBox(Prompter::Icon::Error,
                          QStringLiteral("No response from FTDI cable or ZR5 USB extension!\n"
                                         "Power off ZR5 and unplug USB cable from PC. Wait 5 "
                                         "seconds.\n"
                                         "Reconnect USB, power up ZR5 and click OK."),
                          Prompter::Buttons::Ok);
    m_record.ComPort = -1;
    m_com.SetError(TErrorKind::ComErr);
}

void TConnection::ReopenLink()
{
    TLink& link = m_com.link();
    if (link.Connected())
        return;
    m_com.ResetErrors();
    m_host.FlashBusyLed();
    link.BuildDeviceList();
    if (link.Ftdi())
        link.OpenDevice(m_record.Device);
    if (link.Connected()) {
        m_view.SetDeviceView(QStringLiteral("%1 on COM%2")
                                 .arg(link.DeviceDescription(m_record.Device))
                                 .arg(m_record.ComPort));
        m_host.FlashBusyLed();
        return;
    }
    LinkLost();
}

bool TConnection::ReopenAndCheck(bool waitFirst)
{
    ReopenLink();
    bool result = false;
    if (m_com.link().Connected()) {
        TBoardPolls polls(m_com, m_host);
        if (waitFirst)
            polls.WaitForBoard();
        if (polls.BoardAlive()) {
            m_host.FlashBusyLed();
            m_view.ReadBoardInfo();
            result = true;
        }
        if (m_com.ErrorKind() != TErrorKind::noErr)
            LinkLost();
    }
    return m_host.CancelRequested() ? false : result;
}
