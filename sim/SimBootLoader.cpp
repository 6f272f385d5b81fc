#include "SimBootLoader.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {
// Command bytes of STK500 version 1.
enum : quint8
{
    kGetSync = 0x30,
    kGetSignOn = 0x31,
    kSetParameter = 0x40,
    kGetParameter = 0x41,
    kSetDevice = 0x42,
    kSetDeviceExt = 0x45,
    kEnterProgMode = 0x50,
    kLeaveProgMode = 0x51,
    kChipErase = 0x52,
    kCheckAutoInc = 0x53,
    kLoadAddress = 0x55,
    kUniversal = 0x56,
    kProgFlash = 0x60,
    kProgData = 0x61,
    kProgFuse = 0x62,
    kProgLock = 0x63,
    kProgPage = 0x64,
    kProgFuseExt = 0x65,
    kReadFlash = 0x70,
    kReadData = 0x71,
    kReadFuse = 0x72,
    kReadLock = 0x73,
    kReadPage = 0x74,
    kReadSign = 0x75,
    kReadOsccal = 0x76,
    kReadFuseExt = 0x77,
    kReadOsccalExt = 0x78,
};

// What the loader reports of itself: a firmware 1.18 that takes the
// extended device parameters.
quint8 parameterValue(quint8 parameter)
{
    switch (parameter) {
    case 0x80: // hardware version
        return 2;
    case 0x81: // software major
        return 1;
    case 0x82: // software minor
        return 18;
    case 0x84: // target voltage, 0.1 V
    case 0x85: // adjustable voltage
        return 50;
    case 0x89: // SCK duration
        return 1;
    default:
        return 0;
    }
}

// Fuses and lock bits of a board with a boot loader: external crystal,
// boot reset vector, boot section write-protected.
constexpr quint8 kLowFuse = 0xF7;
constexpr quint8 kHighFuse = 0xD4;
constexpr quint8 kExtendedFuse = 0xFD;
constexpr quint8 kLockBits = 0xEF;
constexpr quint8 kCalibration = 0x9A;

const QByteArray kFirmwareMark = "ZR5 Firmware ";
} // namespace

SimBootLoader::SimBootLoader(Send send)
    : m_send(std::move(send)), m_flash(kFlashSize, '\xff'), m_eeprom(kEepromSize, '\xff')
{
}

void SimBootLoader::start(qint64 atUs, qint64 windowUs)
{
    m_frame.clear();
    m_address = 0;
    m_synced = false;
    m_windowEndUs = windowUs >= 0 ? atUs + windowUs : -1;
    m_eepromWritten = false;
}

SimBootLoader::Outcome SimBootLoader::feed(char c, qint64 atUs)
{
    if (!m_synced && m_frame.isEmpty() && m_windowEndUs >= 0) {
        // After a reset the firmware starts unless a tool asks at once.
        if (atUs > m_windowEndUs || quint8(c) != kGetSync)
            return Outcome::PassOn;
    }
    m_frame.append(c);
    const qsizetype length = frameLength();
    if (length == 0 || m_frame.size() < length)
        return Outcome::Stay;
    const Outcome outcome = execute(atUs);
    m_frame.clear();
    return outcome;
}

qsizetype SimBootLoader::frameLength() const
{
    const auto command = quint8(m_frame.at(0));
    switch (command) {
    case kGetSync:
    case kGetSignOn:
    case kEnterProgMode:
    case kLeaveProgMode:
    case kChipErase:
    case kCheckAutoInc:
    case kReadFlash:
    case kReadData:
    case kReadFuse:
    case kReadLock:
    case kReadSign:
    case kReadOsccal:
    case kReadFuseExt:
        return 2;
    case kGetParameter:
    case kProgData:
    case kProgLock:
    case kReadOsccalExt:
        return 3;
    case kSetParameter:
    case kLoadAddress:
    case kProgFlash:
    case kProgFuse:
        return 4;
    case kProgFuseExt:
        return 5;
    case kUniversal:
        return 6;
    case kSetDevice:
        return 22; // 20 parameter bytes
    case kSetDeviceExt:
        // The second byte counts itself and the parameters after it.
        return m_frame.size() < 2 ? 0 : 2 + std::max(0, int(quint8(m_frame.at(1))) - 1) + 1;
    case kReadPage:
        return 5;
    case kProgPage: {
        if (m_frame.size() < 4)
            return 0;
        const int n = (quint8(m_frame.at(1)) << 8) | quint8(m_frame.at(2));
        return 4 + n + 1;
    }
    default:
        // Unknown: a command byte and the end byte, as the protocol expects.
        return 2;
    }
}

void SimBootLoader::answer(const QByteArray& payload, qint64 atUs)
{
    m_send(char(kInSync) + payload + char(kOk), atUs);
}

SimBootLoader::Outcome SimBootLoader::execute(qint64 atUs)
{
    if (m_frame.back() != char(kEop)) {
        // Out of step with the tool: it syncs again.
        m_send(QByteArray(1, char(kNoSync)), atUs);
        return Outcome::Stay;
    }
    const auto command = quint8(m_frame.at(0));
    const auto arg = [this](int i) { return quint8(m_frame.at(i)); };
    switch (command) {
    case kGetSync:
        m_synced = true;
        answer({}, atUs);
        return Outcome::Stay;
    case kGetSignOn:
        answer("AVR STK", atUs);
        return Outcome::Stay;
    case kGetParameter:
        answer(QByteArray(1, char(parameterValue(arg(1)))), atUs);
        return Outcome::Stay;
    case kLeaveProgMode:
        answer({}, atUs);
        return Outcome::Leave;
    case kChipErase:
        m_flash.fill('\xff');
        answer({}, atUs);
        return Outcome::Stay;
    case kLoadAddress:
        m_address = arg(1) | (arg(2) << 8);
        answer({}, atUs);
        return Outcome::Stay;
    case kUniversal:
        answer(QByteArray(1, char(universal(arg(1), arg(2), arg(3)))), atUs);
        return Outcome::Stay;
    case kProgPage: {
        const char memory = m_frame.at(3);
        if (memory != 'F' && memory != 'E') {
            m_send(QByteArray(1, char(kInSync)) + char(kFailed), atUs);
            return Outcome::Stay;
        }
        writePage(memory, m_frame.mid(4, m_frame.size() - 5));
        answer({}, atUs);
        return Outcome::Stay;
    }
    case kReadPage: {
        const char memory = m_frame.at(3);
        const int n = (arg(1) << 8) | arg(2);
        if (memory != 'F' && memory != 'E') {
            m_send(QByteArray(1, char(kInSync)) + char(kFailed), atUs);
            return Outcome::Stay;
        }
        answer(readPage(memory, n), atUs);
        return Outcome::Stay;
    }
    case kReadSign:
        answer(QByteArray(kSignature, 3), atUs);
        return Outcome::Stay;
    case kReadFuse:
        answer(QByteArray(1, char(kLowFuse)) + char(kHighFuse), atUs);
        return Outcome::Stay;
    case kReadFuseExt:
        answer(QByteArray(1, char(kLowFuse)) + char(kHighFuse) + char(kExtendedFuse), atUs);
        return Outcome::Stay;
    case kReadLock:
        answer(QByteArray(1, char(kLockBits)), atUs);
        return Outcome::Stay;
    case kReadOsccal:
    case kReadOsccalExt:
        answer(QByteArray(1, char(kCalibration)), atUs);
        return Outcome::Stay;
    case kReadFlash: {
        const int at = byteAddress('F');
        answer(m_flash.mid(at, 2).leftJustified(2, '\xff'), atUs);
        m_address += 1;
        return Outcome::Stay;
    }
    case kReadData: {
        const int at = byteAddress('E');
        answer(QByteArray(1, at < kEepromSize ? m_eeprom.at(at) : '\xff'), atUs);
        m_address += 1;
        return Outcome::Stay;
    }
    case kSetParameter:
    case kSetDevice:
    case kSetDeviceExt:
    case kEnterProgMode:
    case kCheckAutoInc:
        answer({}, atUs);
        return Outcome::Stay;
    case kProgFlash:
    case kProgData:
    case kProgFuse:
    case kProgFuseExt:
    case kProgLock:
        // Single bytes and fuses cannot be written from the boot section.
        m_send(QByteArray(1, char(kInSync)) + char(kFailed), atUs);
        return Outcome::Stay;
    default:
        m_send(QByteArray(1, char(kUnknown)), atUs);
        return Outcome::Stay;
    }
}

quint8 SimBootLoader::universal(quint8 a, quint8 b, quint8 c)
{
    switch (a) {
    case 0x30: // read signature byte c
        return c < 3 ? quint8(kSignature[c]) : 0;
    case 0xAC:
        if (b == 0x80) // chip erase
            m_flash.fill('\xff');
        return 0;
    case 0x50:
        return b == 0x08 ? kExtendedFuse : kLowFuse;
    case 0x58:
        return b == 0x08 ? kHighFuse : kLockBits;
    case 0x38:
        return kCalibration;
    case 0x20:   // flash low byte of word (b, c)
    case 0x28: { // flash high byte
        const int at = (((b << 8) | c) * 2 + (a == 0x28 ? 1 : 0)) % kFlashSize;
        return quint8(m_flash.at(at));
    }
    case 0xA0: { // EEPROM byte
        const int at = ((b << 8) | c) % kEepromSize;
        return quint8(m_eeprom.at(at));
    }
    default:
        return 0;
    }
}

int SimBootLoader::byteAddress(char memory) const
{
    return memory == 'F' ? m_address * 2 : m_address;
}

QByteArray SimBootLoader::readPage(char memory, int length) const
{
    const QByteArray& image = memory == 'F' ? m_flash : m_eeprom;
    const int at = byteAddress(memory);
    QByteArray bytes = at < image.size() ? image.mid(at, length) : QByteArray();
    // Past the end of the memory the chip reads as erased.
    return bytes.leftJustified(length, '\xff');
}

void SimBootLoader::writePage(char memory, const QByteArray& data)
{
    if (memory == 'F') {
        writeFlash(byteAddress('F'), data);
        m_address += int(data.size() / 2);
    } else {
        writeEeprom(byteAddress('E'), data);
        m_address += int(data.size());
    }
}

void SimBootLoader::writeFlash(int address, const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size() && address + i < kFlashSize; ++i)
        m_flash[address + i] = bytes.at(i);
}

void SimBootLoader::writeEeprom(int address, const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size() && address + i < kEepromSize; ++i)
        m_eeprom[address + i] = bytes.at(i);
    m_eepromWritten = true;
}

bool SimBootLoader::flashErased() const
{
    return std::all_of(m_flash.begin(), m_flash.end(), [](char c) { return c == '\xff'; });
}

QString SimBootLoader::firmwareText() const
{
    const qsizetype at = m_flash.indexOf(kFirmwareMark);
    if (at < 0)
        return {};
    qsizetype end = at;
    while (end < m_flash.size() && end - at < 64) {
        const auto u = quint8(m_flash.at(end));
        if (u < 0x20 || u >= 0x7f || u == ']')
            break;
        ++end;
    }
    return QString::fromLatin1(m_flash.mid(at, end - at)).trimmed();
}

bool SimBootLoader::versionOf(const QString& firmwareText, double* version)
{
    static const QRegularExpression re(QStringLiteral("^ZR5 Firmware (\\d+(?:\\.\\d+)?)"));
    const QRegularExpressionMatch m = re.match(firmwareText);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(m.captured(1), &ok);
    if (ok)
        *version = v;
    return ok;
}
