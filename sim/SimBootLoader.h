#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The controller's boot loader as a programming tool sees it: the STK500
// version 1 protocol over the serial line, with the ATmega644P's signature,
// flash (64 KiB, 256-byte pages, word addresses) and EEPROM (2 KiB, byte
// addresses). It keeps both images between sessions, the way the chip keeps
// its memories; what the firmware makes of them is BoardEngine's business.
//
// Frames are told apart by their command byte alone (pages carry their
// length), never by looking for the end byte 0x20, which data may contain.
class SimBootLoader
{
public:
    static constexpr int kFlashSize = 64 * 1024;
    static constexpr int kEepromSize = 2 * 1024;
    static constexpr int kFlashPage = 256;
    static constexpr char kSignature[3] = {'\x1e', '\x96', '\x0a'};

    // Called for every answer, with the time its frame was complete.
    using Send = std::function<void(const QByteArray& bytes, qint64 atUs)>;

    explicit SimBootLoader(Send send);

    enum class Outcome
    {
        Stay,   // the byte belonged to the boot loader
        Leave,  // the tool ended the session: start the firmware
        PassOn, // not a programming tool: start the firmware, the byte is its
    };

    // Starts a session. With a boot window (after a reset) the loader gives
    // way to the firmware unless a tool gets in sync first: a first byte
    // that is no sync request, or none within windowUs, starts the firmware.
    // Without one (entered on the firmware's request) it waits for as long
    // as it takes.
    void start(qint64 atUs, qint64 windowUs);
    Outcome feed(char c, qint64 atUs);

    const QByteArray& flash() const { return m_flash; }
    const QByteArray& eeprom() const { return m_eeprom; }
    // Writes bytes into the image as a tool's page write would.
    void writeFlash(int address, const QByteArray& bytes);
    void writeEeprom(int address, const QByteArray& bytes);
    // Whether the last session wrote any EEPROM page.
    bool eepromWritten() const { return m_eepromWritten; }
    bool flashErased() const;

    // The text "ZR5 Firmware <version>..." in the flash image: the printable
    // run that starts there. Empty when the image carries none.
    QString firmwareText() const;
    // The version number in firmwareText(); false when there is none.
    static bool versionOf(const QString& firmwareText, double* version);

private:
    enum : char
    {
        kOk = 0x10,
        kFailed = 0x11,
        kUnknown = 0x12,
        kInSync = 0x14,
        kNoSync = 0x15,
        kEop = 0x20,
    };

    // Length of the frame that starts with command, once header bytes are
    // in; 0 while more header is needed.
    qsizetype frameLength() const;
    Outcome execute(qint64 atUs);
    void answer(const QByteArray& payload, qint64 atUs);
    quint8 universal(quint8 a, quint8 b, quint8 c);
    QByteArray readPage(char memory, int length) const;
    void writePage(char memory, const QByteArray& data);
    int byteAddress(char memory) const;

    Send m_send;
    QByteArray m_flash;
    QByteArray m_eeprom;
    QByteArray m_frame;
    int m_address = 0; // as loaded: words for flash, bytes for EEPROM
    bool m_synced = false;
    qint64 m_windowEndUs = -1; // -1: no boot window
    bool m_eepromWritten = false;
};
