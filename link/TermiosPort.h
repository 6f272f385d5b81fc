#pragma once

#include "D2xxPort.h"

#include <QString>

#include <termios.h>

// A serial device node driven through termios: USB-serial ttys of the kernel
// driver, serial ports named on the command line, or a pseudo-terminal.
class TermiosPort : public D2xxPort
{
public:
    // Opens the node exclusively (a second opener is refused) in raw mode.
    // Returns nullptr with the status on failure.
    static std::unique_ptr<TermiosPort> open(const QString& path, d2xx::Status* status);
    ~TermiosPort() override;

    d2xx::Status reset() override;
    d2xx::Status setBaudRate(quint32 baud) override;
    d2xx::Status setDataCharacteristics(quint8 wordLength, quint8 stopBits,
                                        quint8 parity) override;
    d2xx::Status setFlowControl(quint16 mode, quint8 xon, quint8 xoff) override;
    d2xx::Status read(void* buffer, quint32 bytesToRead, quint32* bytesRead) override;
    d2xx::Status write(const void* buffer, quint32 bytesToWrite,
                       quint32* bytesWritten) override;
    d2xx::Status queueStatus(quint32* bytesWaiting) override;
    d2xx::Status purge(quint32 mask) override;
    d2xx::Status waitForReceive(quint32 ms) override;
    d2xx::Status waitForByte(quint32 ms) override;

    // The termios flags for a word length, stop bits and parity of the
    // driver's values. Kept apart because a pseudo-terminal ignores parity
    // and word length, so only here can they be checked.
    static d2xx::Status applyDataCharacteristics(termios& tio, quint8 wordLength,
                                                 quint8 stopBits, quint8 parity);

private:
    explicit TermiosPort(int fd);
    d2xx::Status applyRawMode();
    // Moves what the kernel holds into m_received; false when the line is dead.
    bool fetch();
    // Waits for input; with gather, lets a burst come in after the first byte.
    d2xx::Status waitForInput(quint32 ms, bool gather);

    int m_fd = -1;
    // Bytes taken from the kernel but not yet read by the caller: one system
    // call fetches a whole burst, and single-byte reads come from here.
    QByteArray m_received;
    qsizetype m_readPos = 0;
};
