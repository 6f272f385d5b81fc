#pragma once

#include "BoardOptions.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>

// The board's serial DataFlash as the host reaches it: the text commands
// that open, erase and close it, the XMODEM-style block stream into one
// area, and the copy of the reverb program into the DSP. Areas are the FPGA
// configuration (-1) and the numbered slots 0 to 15.
//
// What each area holds can be kept in a folder (BoardOptions::flashDir): one
// file per area that was written, and a listing with sizes and SHA-256 sums,
// so that a person or a test sees whether an image arrived whole.
class SimDataFlash
{
public:
    static constexpr int kFpgaArea = -1;
    static constexpr int kLastSlot = 15;
    static constexpr int kAreas = kLastSlot + 2;
    static constexpr int kBlockSize = 128;
    // An area takes at most this much, as the host's image buffer does.
    static constexpr qsizetype kAreaSize = 0x400000;

    // How long the board is busy (and deaf to lines) after an erase command.
    static constexpr qint64 kEraseSlotUs = 150'000;
    static constexpr qint64 kEraseFpgaUs = 1'200'000;
    // How long the copy of slot 10 into the reverb DSP takes.
    static constexpr qint64 kDspCopyUs = 300'000;
    // A packet whose bytes stop for this long is dropped unfinished.
    static constexpr qint64 kPacketGapUs = 1'000'000;
    // A stream that sees no byte for this long is closed: the host gave up.
    static constexpr qint64 kStreamIdleUs = 2'000'000;

    // What the engine lends the DataFlash: reply lines and raw answer bytes
    // (both through the line fault in force), the host's byte stream while a
    // block stream is open, and the way back into the line parser for a byte
    // that arrives after the stream was given up.
    struct Wire
    {
        std::function<void(const QByteArray& text, qint64 atUs, qint64 extraUs)> reply;
        std::function<void(const QByteArray& bytes, qint64 atUs, qint64 extraUs)> replyBytes;
        // An empty sink hands the stream back to the line parser.
        std::function<void(std::function<void(char c, qint64 atUs)> sink)> setByteSink;
        std::function<void(char c, qint64 atUs)> lineByte;
    };

    enum class State
    {
        Factory, // as delivered: holds an image the simulator knows nothing of
        Erased,
        Written
    };

    SimDataFlash(const BoardOptions& options, Wire wire);

    // Acts on a DataFlash command line; false for any other line.
    bool lineReceived(const QByteArray& line, qint64 atUs);
    // True while an erase keeps the board from taking lines.
    bool busy(qint64 atUs) const { return atUs < m_busyUntilUs; }
    // An EOT that comes with no stream open (the host ends again what has
    // ended already) is acknowledged as well.
    void strayEot(qint64 atUs);

    State state(int area) const;
    // The bytes of a written area, whole blocks; empty otherwise.
    QByteArray contents(int area) const;
    // The FPGA version the board reports: "FFFFFFFF" once the configuration
    // area is erased, that of the configuration written into it, else the
    // fallback (the version the board came with).
    QString fpgaVersion(const QString& fallback) const;
    // The version a configuration image gives the board: the eight letters
    // or digits after the first "FPGA#" in it, else eight hex digits of its
    // SHA-256; "FFFFFFFF" when it is empty or all 0xFF.
    static QString versionOfImage(const QByteArray& image);

    bool streaming() const { return m_streamArea != kNoStream; }
    int packetsReceived() const { return m_packets; }
    int packetsRefused() const { return m_refused; }
    // The listing as written into the flash folder.
    QString listing() const;

    // Runs once when the hang-up fault cuts the line (after the packet of
    // BoardOptions::hangUpAfterPacket was received, before it is answered).
    std::function<void()> onHangUp;

private:
    static constexpr int kNoStream = -2;
    struct Area
    {
        State state = State::Factory;
        QByteArray bytes;
    };

    Area& area(int number) { return m_areas[size_t(number + 1)]; }
    const Area& area(int number) const { return m_areas[size_t(number + 1)]; }
    static bool validArea(int number) { return number >= kFpgaArea && number <= kLastSlot; }

    void erase(int number, const QByteArray& line, qint64 atUs);
    void openStream(int number, const QByteArray& line, qint64 atUs);
    void closeStream(qint64 atUs, bool complete);
    void streamByte(char c, qint64 atUs);
    void packetReceived(qint64 atUs);
    void answer(char byte, qint64 atUs);
    void copyToDsp(const QByteArray& line, qint64 atUs);

    void load();
    void save(int number) const;
    QString fileName(int number) const;

    const BoardOptions& m_options;
    Wire m_wire;
    std::array<Area, kAreas> m_areas;
    qint64 m_busyUntilUs = 0;

    int m_streamArea = kNoStream;
    qsizetype m_nextBlock = 0;
    QByteArray m_packet; // the packet being received, SOH not included
    bool m_inPacket = false;
    qint64 m_lastStreamByteUs = 0;
    int m_packets = 0;
    int m_refused = 0;
    bool m_hungUp = false;
};
