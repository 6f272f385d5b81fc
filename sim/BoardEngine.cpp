#include "BoardEngine.h"

#include "BoardFactoryValues.h"
#include "SimFirmwareImage.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace {
constexpr char CR = '\r';
constexpr char LF = '\n';
// End of a block stream; one that comes after the stream is acknowledged too.
constexpr char kEot = 0x04;

// Parameter numbers with a meaning of their own on the board.
enum : int
{
    kReady = 253,
    kFirmware = 254,
    kFpga = 3,
    kFpgaReload = 9998,
    kScanCore = 9900,
    kSerial = 9952,
    kOwner = 9990,
    kSystemReset = 9999,
    kGeneratorReload = 9996,
    kCoreReload = 9997,
};

const QRegularExpression& queryPattern()
{
    static const QRegularExpression re(QStringLiteral("^(-?\\d+)\\?$"));
    return re;
}

const QRegularExpression& writePattern()
{
    static const QRegularExpression re(QStringLiteral("^(-?\\d+)=(-?\\d+)!$"));
    return re;
}

const QRegularExpression& statePattern()
{
    static const QRegularExpression re(QStringLiteral("^\\s*(-?\\d+)\\s*=\\s*(-?\\d+)\\s*$"));
    return re;
}

bool toInt(const QString& text, int* value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (ok)
        *value = v;
    return ok;
}

bool printable(const QByteArray& line)
{
    return std::all_of(line.begin(), line.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7f;
    });
}

bool fpgaMissing(const QString& version)
{
    return version == QLatin1String("00000000") || version == QLatin1String("FFFFFFFF");
}
} // namespace

BoardEngine::BoardEngine(BoardOptions options)
    : m_options(std::move(options)),
      m_bootLoader([this](const QByteArray& bytes, qint64 atUs) { replyBytes(bytes, atUs); }),
      m_dataFlash(m_options,
                  {[this](const QByteArray& text, qint64 atUs, qint64 extraUs) {
                       reply(text, atUs, extraUs);
                   },
                   [this](const QByteArray& bytes, qint64 atUs, qint64 extraUs) {
                       replyBytes(bytes, atUs, extraUs);
                   },
                   [this](std::function<void(char, qint64)> sink) { m_byteSink = std::move(sink); },
                   [this](char c, qint64 atUs) { lineByte(c, atUs); }})
{
    // Compiled now rather than inside the first exchange, which would answer
    // some milliseconds late.
    queryPattern().optimize();
    writePattern().optimize();
    loadFactoryValues();
    loadState();
}

QString BoardEngine::scanCoreName(int core)
{
    static const char* const names[] = {
        "OrganScan61", "MIDI input", "FatarScan",   "Scan16/44",      "Scan16/49",
        "Scan16/61",   "HW Test",    "Opto or XB2", "--------------", "Update ALL",
    };
    if (core < 0 || core >= int(std::size(names)))
        return {};
    return QString::fromLatin1(names[core]);
}

QByteArray BoardEngine::garbageLine()
{
    QRandomGenerator* random = QRandomGenerator::global();
    const int length = random->bounded(4, 25);
    QByteArray junk;
    while (junk.size() < length) {
        const char c = static_cast<char>(random->bounded(1, 256));
        if (c == CR)
            continue;
        // The one thing junk must never look like is a readiness answer.
        if (c == '3' && junk.endsWith("25"))
            continue;
        junk.append(c);
    }
    return junk + CR;
}

// --- host to board -------------------------------------------------------

void BoardEngine::feed(const QByteArray& bytes, qint64 nowUs)
{
    for (const char c : bytes) {
        // A byte cannot overtake the one before it on the wire.
        qint64 atUs = std::max(nowUs, m_inputFreeUs);
        if (m_options.wireTiming)
            atUs += kByteUs;
        m_inputFreeUs = atUs;
        if (m_byteSink) {
            // Copied: the sink may hand the stream back (clear itself) here.
            const auto sink = m_byteSink;
            sink(c, atUs);
        } else if (c == kEot && m_line.isEmpty()) {
            m_dataFlash.strayEot(atUs);
        } else if (c == CR) {
            const QByteArray line = m_line;
            m_line.clear();
            lineReceived(line, atUs);
        } else if (c != LF && m_line.size() < kMaxLine) {
            m_line.append(c);
        }
    }
}

void BoardEngine::lineByte(char c, qint64 atUs)
{
    if (c == CR) {
        const QByteArray line = m_line;
        m_line.clear();
        lineReceived(line, atUs);
    } else if (c != LF && m_line.size() < kMaxLine) {
        m_line.append(c);
    }
}

void BoardEngine::lineReceived(const QByteArray& line, qint64 atUs)
{
    m_received.append({line, atUs});
    // An erasing DataFlash keeps the controller from taking lines.
    if (m_dataFlash.busy(atUs))
        return;
    // The write enable covers only the line right after it.
    const bool writeEnabled = m_writeEnabled;
    m_writeEnabled = false;

    if (line.isEmpty())
        return;
    if (line == "wen=1") {
        m_writeEnabled = true;
        reply(line, atUs);
        return;
    }
    if (maintenanceLine(line, atUs))
        return;
    if (m_dataFlash.lineReceived(line, atUs))
        return;
    const QString text = QString::fromLatin1(line);
    int number = 0;
    int value = 0;
    const QRegularExpressionMatch query = queryPattern().match(text);
    if (query.hasMatch() && toInt(query.captured(1), &number)) {
        answerQuery(number, atUs);
        return;
    }
    const QRegularExpressionMatch write = writePattern().match(text);
    if (write.hasMatch() && toInt(write.captured(1), &number) && toInt(write.captured(2), &value)) {
        setValue(number, value, writeEnabled);
        reply(QByteArray::number(number) + '=' + QByteArray::number(value), atUs);
        return;
    }
    // Commands the simulated board does not act on still get a line back, so
    // a waiting host sees that the board took them.
    reply(printable(line) ? line + " [not simulated]" : QByteArray("?"), atUs);
}

void BoardEngine::answerQuery(int number, qint64 atUs)
{
    const BoardOptions& o = m_options;
    const QByteArray head = QByteArray::number(number) + '=';
    switch (number) {
    case kReady:
        // A board still coming up lets the first polls pass unanswered.
        if (++m_readinessPolls < o.readyFromPoll)
            return;
        reply(head + "1 [ZR5 ready]", atUs);
        return;
    case kFirmware: {
        const QByteArray version =
            QString::number(o.firmwareVersion, 'g', QLocale::FloatingPointShortest).toLatin1();
        reply(head + version + " [Ver, " + o.firmwareText.toLatin1() + ']', atUs);
        return;
    }
    case kFpga:
        reply(head + "0 [#" + m_dataFlash.fpgaVersion(o.fpgaVersion).toLatin1() + ']', atUs);
        return;
    case kFpgaReload:
        reply(head + "0 [FPGA reload]", atUs);
        reply(fpgaMissing(m_dataFlash.fpgaVersion(o.fpgaVersion)) ? head + "-1 [FPGA config missing]"
                                         : head + "1 [FPGA loaded]",
              atUs, kFpgaReloadUs);
        return;
    case kScanCore: {
        const int core = value(kScanCoreParam);
        reply(head + QByteArray::number(core) + " [#" + o.scanVersion.toLatin1() + ' ' +
                  scanCoreName(core).toLatin1() + ']',
              atUs);
        return;
    }
    case kSerial:
        reply(head + QByteArray::number(o.serialNumber), atUs);
        return;
    case kOwner:
        reply(head + "0 [Owner: " + o.owner.toLatin1() + ']', atUs);
        return;
    case kSystemReset:
        reply(head + "0 [Reset]", atUs);
        reset();
        reply(head + "1 [ZR5 ready]", atUs, kRestartUs);
        return;
    case kMidiMonitorParam:
        reply(head + QByteArray::number(m_lastMidi), atUs);
        return;
    case kGeneratorReload:
        reply(head + "0 [Reload]", atUs);
        reply(head + "1 [Generators loaded]", atUs, kGeneratorReloadUs);
        return;
    case kCoreReload:
        reply(head + "0 [Reload]", atUs);
        reply(head + "1 [Scan cores loaded]", atUs, kGeneratorReloadUs);
        return;
    default:
        reply(head + QByteArray::number(value(number)), atUs);
        return;
    }
}

// --- board to host -------------------------------------------------------

void BoardEngine::reply(const QByteArray& text, qint64 atUs, qint64 extraUs)
{
    QByteArray bytes;
    switch (m_options.fault) {
    case BoardOptions::Fault::Silent:
        return;
    case BoardOptions::Fault::Garbage:
        bytes = garbageLine();
        break;
    case BoardOptions::Fault::NoCr:
        bytes = text;
        break;
    case BoardOptions::Fault::Slow:
        bytes = text + CR;
        extraUs += qint64(m_options.slowMs) * 1000;
        break;
    case BoardOptions::Fault::None:
        bytes = text + CR;
        break;
    }
    if (!bytes.isEmpty())
        queue(bytes, atUs + m_options.replyDelayUs + extraUs);
}

void BoardEngine::replyBytes(const QByteArray& bytes, qint64 atUs, qint64 extraUs)
{
    QByteArray out = bytes;
    switch (m_options.fault) {
    case BoardOptions::Fault::Silent:
        return;
    case BoardOptions::Fault::Garbage:
        for (char& c : out)
            c = static_cast<char>(QRandomGenerator::global()->bounded(256));
        break;
    case BoardOptions::Fault::Slow:
        extraUs += qint64(m_options.slowMs) * 1000;
        break;
    case BoardOptions::Fault::NoCr:
    case BoardOptions::Fault::None:
        break;
    }
    if (!out.isEmpty())
        queue(out, atUs + m_options.replyDelayUs + extraUs);
}

void BoardEngine::queue(const QByteArray& bytes, qint64 dueUs)
{
    // Lines go out in the order they are due; one that is due while another
    // is still being sent waits for it. A new line is never due before the
    // host fed it, so it never lands in front of a line already on the wire.
    auto at = std::upper_bound(m_out.begin(), m_out.end(), dueUs,
                               [](qint64 due, const Chunk& c) { return due < c.dueUs; });
    const std::size_t index = static_cast<std::size_t>(at - m_out.begin());
    Chunk chunk{bytes, dueUs, dueUs, 0, m_options.wireTiming ? kByteUs : 0};
    m_out.insert(at, chunk);
    for (std::size_t i = index; i < m_out.size(); ++i) {
        Chunk& c = m_out[i];
        c.startUs = i > 0 ? std::max(c.dueUs, chunkEndUs(i - 1)) : c.dueUs;
    }
}

qint64 BoardEngine::arrivalUs(std::size_t chunk, qsizetype index) const
{
    const Chunk& c = m_out[chunk];
    return c.startUs + (index + 1) * c.byteUs;
}

qint64 BoardEngine::chunkEndUs(std::size_t chunk) const
{
    return arrivalUs(chunk, m_out[chunk].bytes.size() - 1);
}

qsizetype BoardEngine::arrivedCount(std::size_t chunk, qint64 nowUs) const
{
    const Chunk& c = m_out[chunk];
    const qsizetype n = c.bytes.size();
    if (c.byteUs == 0)
        return c.startUs <= nowUs ? n : 0;
    if (nowUs < c.startUs)
        return 0;
    return std::min<qint64>(n, (nowUs - c.startUs) / c.byteUs);
}

qsizetype BoardEngine::available(qint64 nowUs) const
{
    qsizetype total = 0;
    for (std::size_t i = 0; i < m_out.size(); ++i) {
        const qsizetype arrived = arrivedCount(i, nowUs);
        total += std::max<qsizetype>(0, arrived - m_out[i].gone);
        // Later lines start after this one ends.
        if (arrived < m_out[i].bytes.size())
            break;
    }
    return total;
}

QByteArray BoardEngine::take(qsizetype max, qint64 nowUs)
{
    QByteArray result;
    while (!m_out.empty() && result.size() < max) {
        Chunk& c = m_out.front();
        const qsizetype arrived = arrivedCount(0, nowUs);
        const qsizetype count = std::min(arrived - c.gone, max - result.size());
        if (count <= 0)
            break;
        result.append(c.bytes.constData() + c.gone, count);
        c.gone += count;
        if (c.gone < c.bytes.size())
            break;
        m_out.pop_front();
    }
    return result;
}

void BoardEngine::dropArrived(qint64 nowUs)
{
    take(std::numeric_limits<qsizetype>::max(), nowUs);
}

qint64 BoardEngine::nextArrivalUs() const
{
    if (m_out.empty())
        return -1;
    return arrivalUs(0, m_out.front().gone);
}

// --- parameter store -----------------------------------------------------

int BoardEngine::value(int number) const
{
    if (const auto v = m_volatile.constFind(number); v != m_volatile.cend())
        return *v;
    if (const auto s = m_stored.constFind(number); s != m_stored.cend())
        return *s;
    if (number == kScanCoreParam && m_options.scanCoreGiven)
        return m_options.scanCore;
    if (const auto f = m_factory.constFind(number); f != m_factory.cend())
        return *f;
    return number == kScanCoreParam ? m_options.scanCore : 0;
}

void BoardEngine::setValue(int number, int value, bool nonVolatile)
{
    if (nonVolatile) {
        m_volatile.remove(number);
        m_stored.insert(number, value);
        saveState();
    } else {
        m_volatile.insert(number, value);
    }
}

void BoardEngine::injectMidi(quint8 status, quint8 data1, quint8 data2)
{
    m_lastMidi = (int(status) << 16) | (int(data1 & 0x7F) << 8) | int(data2 & 0x7F);
}

bool BoardEngine::isNonVolatile(int number) const
{
    return !m_volatile.contains(number) &&
           (m_stored.contains(number) || m_factory.contains(number));
}

void BoardEngine::reset()
{
    m_volatile.clear();
    m_writeEnabled = false;
}

void BoardEngine::loadFactoryValues()
{
    if (m_options.dataDir.isEmpty())
        return;
    BoardFactoryValues::Result factory = BoardFactoryValues::load(m_options.dataDir);
    m_factory = std::move(factory.values);
    m_dataProblems = std::move(factory.problems);
}

void BoardEngine::loadState()
{
    if (m_options.stateFile.isEmpty())
        return;
    QFile file(m_options.stateFile);
    if (!file.open(QIODevice::ReadOnly))
        return; // a first run starts from an empty store
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine());
        const QRegularExpressionMatch m = statePattern().match(line);
        int number = 0;
        int value = 0;
        // Anything else (comments, damage) is skipped rather than trusted.
        if (m.hasMatch() && toInt(m.captured(1), &number) && toInt(m.captured(2), &value))
            m_stored.insert(number, value);
    }
}

void BoardEngine::saveState() const
{
    if (m_options.stateFile.isEmpty())
        return;
    // Written whole and renamed into place, so a simulator killed mid-write
    // leaves the previous store intact.
    QSaveFile file(m_options.stateFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("# ZR5 simulated board: non-volatile parameters, one number=value a line\n");
    for (auto it = m_stored.cbegin(); it != m_stored.cend(); ++it)
        file.write(QByteArray::number(it.key()) + '=' + QByteArray::number(it.value()) + '\n');
    file.commit();
}

// --- maintenance: boot loader and factory defaults -----------------------

bool BoardEngine::maintenanceLine(const QByteArray& line, qint64 atUs)
{
    if (line == "9980=0" && m_options.firmwareVersion >= kBootRequestVersion) {
        // The firmware jumps to the boot loader without a word; the loader
        // then waits for a programming tool for as long as it takes.
        enterBootLoader(atUs, -1);
        return true;
    }
    if (line == "SFX 1=9!") {
        reply("SFX 1=0 [Save EEPROM to DataFlash]", atUs);
        // An EEPROM without board data is not worth keeping as defaults.
        if (m_options.serialNumber >= 1) {
            m_factoryDefaults = m_stored;
            m_factoryDefaultsSaved = true;
            reply("SFX 1=1 [Factory defaults saved]", atUs, kFactoryDefaultsUs);
        }
        return true;
    }
    if (line == "SFX 2=9!") {
        reply("SFX 2=0 [Restore EEPROM from DataFlash]", atUs);
        if (m_factoryDefaultsSaved) {
            m_stored = m_factoryDefaults;
            m_volatile.clear();
            saveState();
            reply("SFX 2=1 [Factory defaults restored]", atUs, kFactoryDefaultsUs);
        }
        return true;
    }
    return false;
}

void BoardEngine::pressReset(qint64 atUs)
{
    reset();
    m_line.clear();
    enterBootLoader(atUs, kBootWindowUs);
}

void BoardEngine::enterBootLoader(qint64 atUs, qint64 windowUs)
{
    // Until a tool has written the flash, it holds the firmware the board
    // was started with.
    if (!m_flashWritten)
        m_bootLoader.writeFlash(0, SimFirmwareImage::flashImage(m_options.firmwareText));
    m_bootLoader.start(atUs, windowUs);
    m_inBootLoader = true;
    m_byteSink = [this](char c, qint64 at) { bootLoaderByte(c, at); };
}

void BoardEngine::bootLoaderByte(char c, qint64 atUs)
{
    switch (m_bootLoader.feed(c, atUs)) {
    case SimBootLoader::Outcome::Stay:
        return;
    case SimBootLoader::Outcome::Leave:
        m_flashWritten = true;
        // A chip without a program stays in its boot loader.
        if (m_bootLoader.flashErased()) {
            m_bootLoader.start(atUs, -1);
            return;
        }
        startFirmware();
        return;
    case SimBootLoader::Outcome::PassOn:
        if (m_flashWritten && m_bootLoader.flashErased()) {
            // No firmware to hand over to: the loader keeps listening.
            m_bootLoader.start(atUs, -1);
            m_bootLoader.feed(c, atUs);
            return;
        }
        startFirmware();
        // The byte was the firmware's.
        if (c == CR) {
            const QByteArray line = m_line;
            m_line.clear();
            lineReceived(line, atUs);
        } else if (c != LF && m_line.size() < kMaxLine) {
            m_line.append(c);
        }
        return;
    }
}

void BoardEngine::startFirmware()
{
    m_byteSink = nullptr;
    m_inBootLoader = false;
    m_line.clear();
    const QString text = m_bootLoader.firmwareText();
    double version = 0;
    if (SimBootLoader::versionOf(text, &version)) {
        m_options.firmwareVersion = version;
        m_options.firmwareText = text;
    }
    // New firmware starts from the values its EEPROM image carries.
    if (m_bootLoader.eepromWritten()) {
        m_stored = SimFirmwareImage::eepromValues(m_bootLoader.eeprom());
        saveState();
    }
    reset();
}
