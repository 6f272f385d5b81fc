#include "SimDataFlash.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

namespace {
constexpr char SOH = 0x01;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
constexpr int kDspSlot = 10;
// Number, complement, 128 data bytes, checksum.
constexpr qsizetype kPacketRest = 2 + 128 + 1;

const QRegularExpression& commandPattern()
{
    static const QRegularExpression re(QStringLiteral("^(DFS|DFE|DFX)( (\\d+))?=(-?\\d+)!$"));
    return re;
}

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray areaName(int number)
{
    return number == SimDataFlash::kFpgaArea ? QByteArray("FPGA area")
                                             : "slot " + QByteArray::number(number);
}
} // namespace

SimDataFlash::SimDataFlash(const BoardOptions& options, Wire wire)
    : m_options(options), m_wire(std::move(wire))
{
    commandPattern().optimize();
    load();
}

SimDataFlash::State SimDataFlash::state(int number) const
{
    return validArea(number) ? area(number).state : State::Factory;
}

QByteArray SimDataFlash::contents(int number) const
{
    return validArea(number) ? area(number).bytes : QByteArray();
}

QString SimDataFlash::versionOfImage(const QByteArray& image)
{
    if (std::all_of(image.begin(), image.end(), [](char c) { return c == char(0xff); }))
        return QStringLiteral("FFFFFFFF");
    static const QRegularExpression tag(QStringLiteral("FPGA#([0-9A-Za-z]{8})"));
    const QRegularExpressionMatch m = tag.match(QString::fromLatin1(image));
    if (m.hasMatch())
        return m.captured(1);
    QString hex = sha256(image).left(8).toUpper();
    // A content that happens to hash to a "missing" mark still configured the FPGA.
    if (hex == QLatin1String("00000000") || hex == QLatin1String("FFFFFFFF"))
        hex[7] = QLatin1Char('1');
    return hex;
}

QString SimDataFlash::fpgaVersion(const QString& fallback) const
{
    const Area& fpga = area(kFpgaArea);
    switch (fpga.state) {
    case State::Factory:
        return fallback;
    case State::Erased:
        return QStringLiteral("FFFFFFFF");
    case State::Written:
        return versionOfImage(fpga.bytes);
    }
    return fallback;
}

// --- command lines ---------------------------------------------------------

bool SimDataFlash::lineReceived(const QByteArray& line, qint64 atUs)
{
    if (line == "SFX=10" || line == "SFX=10!") {
        copyToDsp(line, atUs);
        return true;
    }
    const QRegularExpressionMatch m = commandPattern().match(QString::fromLatin1(line));
    if (!m.hasMatch())
        return false;
    const QString command = m.captured(1);
    const bool hasKind = m.hasCaptured(3) && !m.captured(3).isEmpty();
    const int kind = hasKind ? m.captured(3).toInt() : -1;
    bool ok = false;
    const int value = m.captured(4).toInt(&ok);
    if (!ok)
        return false;

    if (command == QLatin1String("DFS") && !hasKind) {
        // Opening and closing the DataFlash session: nothing to do here but
        // to say so; areas are written as their streams end.
        m_wire.reply(line.chopped(1) + (value == 0 ? " [DataFlash open]" : " [DataFlash closed]"),
                     atUs, 0);
        return true;
    }
    // "DFE 2=0" / "DFX 0=0" are the FPGA area, "DFE 1=s" / "DFX 1=s" slot s.
    const bool fpgaForm = (command == QLatin1String("DFE") && kind == 2) ||
                          (command == QLatin1String("DFX") && kind == 0);
    int number = -99;
    if (fpgaForm && value == 0)
        number = kFpgaArea;
    else if (kind == 1 && value >= 0 && value <= kLastSlot)
        number = value;
    if (number == -99) {
        m_wire.reply(line.chopped(1) + " [# no such DataFlash area]", atUs, 0);
        return true;
    }
    if (command == QLatin1String("DFE"))
        erase(number, line, atUs);
    else if (command == QLatin1String("DFX"))
        openStream(number, line, atUs);
    else
        m_wire.reply(line.chopped(1) + " [# no such DataFlash area]", atUs, 0);
    return true;
}

void SimDataFlash::erase(int number, const QByteArray& line, qint64 atUs)
{
    Area& a = area(number);
    a.state = State::Erased;
    a.bytes.clear();
    save(number);
    // The chip is busy until the erase is done; the answer says it is.
    const qint64 takesUs = number == kFpgaArea ? kEraseFpgaUs : kEraseSlotUs;
    m_busyUntilUs = atUs + takesUs;
    m_wire.reply(line.chopped(1) + " [" + areaName(number) + " erased]", atUs, takesUs);
}

void SimDataFlash::openStream(int number, const QByteArray& line, qint64 atUs)
{
    m_streamArea = number;
    m_nextBlock = 0;
    m_inPacket = false;
    m_packet.clear();
    m_lastStreamByteUs = atUs;
    // Flash bits only go from 1 to 0 without an erase: a stream into an area
    // written before lands on top of what is there. What the board came with
    // is unknown here and taken as blank.
    Area& a = area(number);
    if (a.state == State::Factory)
        a.bytes.clear();
    m_wire.reply(line.chopped(1) + " [" + areaName(number) + " open for blocks]", atUs, 0);
    m_wire.setByteSink([this](char c, qint64 at) { streamByte(c, at); });
}

void SimDataFlash::closeStream(qint64 atUs, bool complete)
{
    const int number = m_streamArea;
    m_streamArea = kNoStream;
    m_inPacket = false;
    m_packet.clear();
    m_wire.setByteSink({});
    Area& a = area(number);
    a.state = State::Written;
    save(number);
    if (complete) {
        m_wire.reply("DFX=" + QByteArray::number(number) + " [" + QByteArray::number(m_nextBlock) +
                         " blocks written]",
                     atUs, 0);
    }
}

void SimDataFlash::strayEot(qint64 atUs)
{
    m_wire.replyBytes(QByteArray(1, ACK), atUs, 0);
}

// --- block stream ----------------------------------------------------------

void SimDataFlash::streamByte(char c, qint64 atUs)
{
    const qint64 gapUs = atUs - m_lastStreamByteUs;
    m_lastStreamByteUs = atUs;
    if (gapUs > kStreamIdleUs) {
        // The host went away without EOT; this byte is a line again.
        closeStream(atUs, false);
        m_wire.lineByte(c, atUs);
        return;
    }
    if (m_inPacket) {
        if (gapUs > kPacketGapUs) {
            // An unfinished packet is given up; a new one may start here.
            m_inPacket = false;
            m_packet.clear();
        } else {
            m_packet.append(c);
            if (m_packet.size() == kPacketRest)
                packetReceived(atUs);
            return;
        }
    }
    if (c == SOH) {
        m_inPacket = true;
        m_packet.clear();
    } else if (c == EOT) {
        answer(ACK, atUs);
        closeStream(atUs, true);
    } else if (c == CAN) {
        // The host calls the transfer off: what arrived stays.
        closeStream(atUs, false);
    }
    // Anything else between packets is line noise and ignored.
}

void SimDataFlash::packetReceived(qint64 atUs)
{
    m_inPacket = false;
    const QByteArray packet = m_packet;
    m_packet.clear();
    ++m_packets;

    if (m_options.hangUpAfterPacket > 0 && m_packets == m_options.hangUpAfterPacket && !m_hungUp) {
        m_hungUp = true;
        if (onHangUp)
            onHangUp();
        return;
    }
    const auto refuse = [&](char byte) {
        ++m_refused;
        answer(byte, atUs);
    };
    if (m_options.canEvery > 0 && m_packets % m_options.canEvery == 0)
        return refuse(CAN);
    if (m_options.nakEvery > 0 && m_packets % m_options.nakEvery == 0)
        return refuse(NAK);

    const auto number = static_cast<quint8>(packet[0]);
    const auto complement = static_cast<quint8>(packet[1]);
    const QByteArray data = packet.mid(2, kBlockSize);
    quint8 sum = 0;
    for (const char c : data)
        sum = static_cast<quint8>(sum + static_cast<quint8>(c));
    if (complement != quint8(255 - number) || sum != static_cast<quint8>(packet[130]))
        return refuse(NAK);

    const auto expected = static_cast<quint8>(m_nextBlock & 0xff);
    if (number == expected) {
        const qsizetype offset = m_nextBlock * kBlockSize;
        if (offset + kBlockSize > kAreaSize)
            return refuse(CAN); // the area is full
        Area& a = area(m_streamArea);
        if (a.bytes.size() < offset + kBlockSize)
            a.bytes.resize(offset + kBlockSize, char(0xff));
        for (qsizetype i = 0; i < kBlockSize; ++i)
            a.bytes[offset + i] = char(a.bytes[offset + i] & data[i]);
        ++m_nextBlock;
        answer(ACK, atUs);
    } else if (m_nextBlock > 0 && number == quint8(expected - 1)) {
        // The host did not hear the last ACK and sent the block again.
        answer(ACK, atUs);
    } else {
        refuse(NAK); // out of order
    }
}

void SimDataFlash::answer(char byte, qint64 atUs)
{
    QByteArray bytes(1, byte);
    qint64 extraUs = 0;
    switch (m_options.packetFault) {
    case BoardOptions::Fault::Silent:
        return;
    case BoardOptions::Fault::Garbage: {
        // Any byte but the three the host acts on.
        char junk = 0;
        do
            junk = static_cast<char>(QRandomGenerator::global()->bounded(256));
        while (junk == ACK || junk == NAK || junk == CAN);
        bytes[0] = junk;
        break;
    }
    case BoardOptions::Fault::Slow:
        extraUs = qint64(m_options.slowMs) * 1000;
        break;
    case BoardOptions::Fault::NoCr:
    case BoardOptions::Fault::None:
        break;
    }
    m_wire.replyBytes(bytes, atUs, extraUs);
}

// --- reverb DSP ------------------------------------------------------------

void SimDataFlash::copyToDsp(const QByteArray& line, qint64 atUs)
{
    // A slot erased and never written again has no program to copy.
    const bool failed = m_options.dspFails || area(kDspSlot).state == State::Erased ||
                        (area(kDspSlot).state == State::Written && area(kDspSlot).bytes.isEmpty());
    const QByteArray head = line.endsWith('!') ? line.chopped(1) : line;
    m_wire.reply(head + (failed ? " [DSP transfer failed, I2C error #2]" : " [DSP program loaded]"),
                 atUs, kDspCopyUs);
}

// --- flash folder ------------------------------------------------------------

QString SimDataFlash::fileName(int number) const
{
    return number == kFpgaArea ? QStringLiteral("fpga.bin")
                               : QStringLiteral("slot%1.bin").arg(number, 2, 10, QLatin1Char('0'));
}

QString SimDataFlash::listing() const
{
    QString text = QStringLiteral("# ZR5 simulated DataFlash: area, state, bytes, SHA-256\n");
    for (int number = kFpgaArea; number <= kLastSlot; ++number) {
        const Area& a = area(number);
        const QString name =
            number == kFpgaArea ? QStringLiteral("fpga") : QStringLiteral("%1").arg(number, 4);
        switch (a.state) {
        case State::Factory:
            text += QStringLiteral("%1  factory\n").arg(name);
            break;
        case State::Erased:
            text += QStringLiteral("%1  erased\n").arg(name);
            break;
        case State::Written:
            text += QStringLiteral("%1  written %2 %3")
                        .arg(name)
                        .arg(a.bytes.size(), 8)
                        .arg(sha256(a.bytes));
            if (number == kFpgaArea)
                text += QStringLiteral(" version %1").arg(versionOfImage(a.bytes));
            text += QLatin1Char('\n');
            break;
        }
    }
    return text;
}

void SimDataFlash::load()
{
    if (m_options.flashDir.isEmpty())
        return;
    const QDir dir(m_options.flashDir);
    for (int number = kFpgaArea; number <= kLastSlot; ++number) {
        QFile file(dir.filePath(fileName(number)));
        if (!file.open(QIODevice::ReadOnly))
            continue; // never written: as delivered
        Area& a = area(number);
        a.bytes = file.read(kAreaSize);
        a.state = a.bytes.isEmpty() ? State::Erased : State::Written;
    }
}

void SimDataFlash::save(int number) const
{
    if (m_options.flashDir.isEmpty())
        return;
    QDir dir(m_options.flashDir);
    if (!dir.exists() && !QDir().mkpath(m_options.flashDir))
        return;
    // Written whole and renamed into place, so that a simulator stopped
    // mid-write leaves the earlier image and listing intact.
    QSaveFile image(dir.filePath(fileName(number)));
    if (image.open(QIODevice::WriteOnly)) {
        image.write(area(number).bytes);
        image.commit();
    }
    QSaveFile list(dir.filePath(QStringLiteral("listing.txt")));
    if (list.open(QIODevice::WriteOnly)) {
        list.write(listing().toLatin1());
        list.commit();
    }
}
