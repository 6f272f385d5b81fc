#pragma once

#include <QString>

#include <functional>

class OperationHost;
class Prompter;
class TFileBuffer;
class TZr5Com;

// Streams an image from the file buffer into a DataFlash slot of the board:
// text commands prepare and open the slot, then 128-byte packets with a
// one-byte answer each, ended by EOT. Slot -1 is the FPGA configuration area.
class TBlockTransfer
{
public:
    static constexpr quint8 SOH = 0x01;
    static constexpr quint8 EOT = 0x04;
    static constexpr quint8 ACK = 0x06;
    static constexpr quint8 NAK = 0x15;
    static constexpr quint8 CAN = 0x18;

    enum class PacketStatus { Acknowledged, Cancelled, OutOfSync };
    struct PacketResult {
        PacketStatus status;
        QString text; // only its first character decides: "P" is success
    };

    TBlockTransfer(TZr5Com& com, OperationHost& host, Prompter& prompter, TFileBuffer& buffer);

    PacketResult SendPacket(int block);
    bool EndTransfer();
    // Raises EZr5Error when the file cannot be read.
    qint64 ReadFileToBuffer(const QString& path);
    void WriteFlashImage(int slot, qint64 size);
    void TransferFile(const QString& path, int slot);

    // Runs when the device stops working in the middle of an image (the
    // cable was pulled): the image is given up at once instead of being
    // retried against a dead line for minutes. Without a handler the loss is
    // only counted as ComErr.
    void SetLinkLostHandler(std::function<void()> handler) { m_linkLost = std::move(handler); }

private:
    // True when there is no device or it fails even to report its queue.
    bool DeviceLost() const;

    TZr5Com& m_com;
    OperationHost& m_host;
    Prompter& m_prompter;
    TFileBuffer& m_buffer;
    std::function<void()> m_linkLost;
};
