#include "TBlockTransfer.h"

#include "EZr5Error.h"
#include "OperationHost.h"
#include "Prompter.h"
#include "TBoardPolls.h"
#include "TFileBuffer.h"
#include "TLink.h"
#include "TZr5Com.h"

#include <QFile>
#include <QFileInfo>

TBlockTransfer::TBlockTransfer(TZr5Com& com, OperationHost& host, Prompter& prompter,
                               TFileBuffer& buffer)
    : m_com(com), m_host(host), m_prompter(prompter), m_buffer(buffer)
{
}

TBlockTransfer::PacketResult TBlockTransfer::SendPacket(int block)
{
    m_com.PurgeReceive();
    const quint8 number = static_cast<quint8>(block & 0xff);
    const QByteArray data = m_buffer.block(block);
    quint8 checksum = 0;
    for (const char c : data)
        checksum = static_cast<quint8>(checksum + static_cast<quint8>(c));
    for (int transmission = 0; transmission < 5; ++transmission) {
        m_com.SendByte(SOH);
        m_com.SendByte(number);
        m_com.SendByte(static_cast<quint8>(255 - number));
        m_com.SendBytes(data);
        m_com.SendByte(checksum);
        const quint8 answer = m_com.ReadByte();
        if (answer == CAN) {
            m_com.SetError(TErrorKind::CancelErr);
            return {PacketStatus::Cancelled, QStringLiteral("Canceled by remote")};
        }
        if (answer == ACK)
            return {PacketStatus::Acknowledged, QStringLiteral("Packet: %1").arg(block)};
        if (answer == NAK)
            continue;
        m_host.WaitMs(20);
        m_com.SetError(TErrorKind::SyncErr);
    }
    return {PacketStatus::OutOfSync, QStringLiteral("Out of sync at Packet %1").arg(block)};
}

bool TBlockTransfer::EndTransfer()
{
    for (int i = 0; i < 6; ++i) {
        m_com.SendByte(EOT);
        if (m_com.ReadByte() == ACK)
            return true;
    }
    return false;
}

qint64 TBlockTransfer::ReadFileToBuffer(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EZr5Error(QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString()));
    const qint64 size = file.size();
    if (size > m_buffer.size())
        throw EZr5Error(QStringLiteral("File %1 is larger than 4 MiB").arg(path));
    m_host.SetProgressMax(int(size / 128));
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        throw EZr5Error(QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString()));
    for (qint64 offset = 0; offset < size; offset += 128) {
        const qint64 n = qMin<qint64>(128, size - offset);
        std::copy_n(bytes.constData() + offset, n, m_buffer.data() + offset);
        m_host.SetProgress(int(offset / 128));
        m_host.FlashBusyLed();
    }
    return size;
}

bool TBlockTransfer::DeviceLost() const
{
    tftdichip* ftdi = m_com.link().Ftdi();
    quint32 waiting = 0;
    return !ftdi || !ftdi->connected() || !ftdi->getReceiveQueueStatus(waiting);
}

void TBlockTransfer::WriteFlashImage(int slot, qint64 size)
{
    TBoardPolls polls(m_com, m_host);
    // 1 to 128 bytes make one block, 129 make two; an empty image sends one.
    const int last = int((size - 1) / 128);
    const int step = last < 100 ? 8 : 64;
    for (int attempt = 1; attempt <= 6; ++attempt) {
        m_com.SendCommand(QStringLiteral("DFS=0!"), 500);
        m_host.WaitMs(100);
        m_host.FlashBusyLed();
        if (slot < 0) {
            m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFE 2=0!"), 8000));
            polls.WaitForBoard();
            m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFX 0=0!"), 200));
        } else {
            m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFE 1=%1!").arg(slot), 2000));
            polls.WaitForBoard();
            m_host.VerboseLine(m_com.SendCommand(QStringLiteral("DFX 1=%1!").arg(slot), 200));
        }
        m_host.SetProgressMax(last);

        bool failed = false;
        for (int block = 0; block <= last; ++block) {
            if (m_host.CancelRequested()) {
                m_host.ReportCancelled();
                EndTransfer();
                return;
            }
            PacketResult result{PacketStatus::OutOfSync, QString()};
            for (int attemptOfBlock = 0; attemptOfBlock < 4; ++attemptOfBlock) {
                result = SendPacket(block);
                if (result.text.startsWith(QLatin1Char('P')))
                    break;
                if (DeviceLost()) {
                    m_host.ConsoleLine(
                        QStringLiteral("##### Error: Xmodem %1 - connection lost").arg(result.text));
                    if (m_linkLost)
                        m_linkLost();
                    else
                        m_com.SetError(TErrorKind::ComErr);
                    return;
                }
                if (attemptOfBlock > 0)
                    m_host.ConsoleLine(
                        QStringLiteral("##### Warning: Xmodem Packet Retry %1").arg(attemptOfBlock));
            }
            if (!result.text.startsWith(QLatin1Char('P'))) {
                m_host.ConsoleLine(QStringLiteral("##### Error: Xmodem %1 - will retry #%2")
                                       .arg(result.text)
                                       .arg(attempt));
                EndTransfer();
                m_host.WaitMs(500);
                EndTransfer();
                polls.BoardAlive();
                failed = true;
                break;
            }
            if (block % step == 0) {
                m_host.SetProgress(block);
                m_host.FlashBusyLed();
            }
        }

        EndTransfer();
        m_host.FlashBusyLed();
        m_host.WaitMs(100);
        m_host.ConsoleLine(QStringLiteral("Packets sent: %1").arg(last + 1));
        m_host.VerboseLine(m_com.ReadReply(2000));
        m_host.WaitMs(250);
        if (!failed)
            return;
        if (m_host.CancelRequested())
            return;
    }
    m_prompter.MessageBox(Prompter::Icon::Error,
                          QStringLiteral("Retry count 5 exceeded. Please check connection\n"
                                         "or run ZR5 repair utility if FUBAR."),
                          Prompter::Buttons::Ok);
}

void TBlockTransfer::TransferFile(const QString& path, int slot)
{
    if (m_host.CancelRequested()) {
        m_host.SetProgress(0);
        return;
    }
    // The window stays live between blocks; a poll sent from a timer then
    // would land in the middle of the block stream.
    const TZr5Com::LineHold hold(m_com);
    const QFileInfo info(path);
    if (!info.exists()) {
        m_host.ConsoleLine(QStringLiteral("##### Warning: File %1 not found").arg(path));
    } else if (!m_com.Connected()) {
        // Left after a lost cable: polls and packets would only time out.
        m_host.ConsoleLine(
            QStringLiteral("##### Warning: File %1 not sent - no connection to ZR5").arg(path));
    } else if (info.size() > m_buffer.size()) {
        // The buffer holds 4 MiB; a larger image is refused before the board
        // is touched, so its flash is not erased for nothing.
        m_host.ConsoleLine(
            QStringLiteral("##### Error: File %1 is larger than 4 MiB (%2 bytes) - not sent")
                .arg(path)
                .arg(info.size()));
    } else {
        TBoardPolls(m_com, m_host).WaitForBoard();
        m_host.ConsoleLine(QStringLiteral("Transfer File ") + path);
        const qint64 size = ReadFileToBuffer(path);
        WriteFlashImage(slot, size);
    }
    m_host.SetProgress(0);
}
