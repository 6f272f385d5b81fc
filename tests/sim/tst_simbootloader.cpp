#include "BoardEngine.h"
#include "SimBootLoader.h"
#include "SimFirmwareImage.h"

#include <QTest>

namespace {
constexpr char kInSync = 0x14;
constexpr char kOk = 0x10;
constexpr char kNoSync = 0x15;
constexpr char kEop = 0x20;

QByteArray frame(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (const int b : bytes)
        out += char(b);
    return out + kEop;
}

QByteArray ok(const QByteArray& payload = {})
{
    return kInSync + payload + kOk;
}
} // namespace

// The boot loader of the simulated board as a programming tool meets it,
// and what the board does with the memories afterwards; the real tool on a
// pseudo-terminal is tst_avrupdate_avrdude.
class TestSimBootLoader : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void requestStartsTheLoaderFromFirmware352_data();
    void requestStartsTheLoaderFromFirmware352();
    void signatureAndSync();
    void pagesRoundTrip_data();
    void pagesRoundTrip();
    void pageDataMayHoldTheEndByte();
    void frameWithoutEndByteLosesSync();
    void leavingStartsTheFlashedFirmware();
    void firmwareKeepsItsStoreWithoutNewEeprom();
    void erasedChipStaysInTheLoader();
    void resetWindow_data();
    void resetWindow();
    void factoryDefaults_data();
    void factoryDefaults();
    void reloadQueriesAnswerTwoLines_data();
    void reloadQueriesAnswerTwoLines();
    void intelHex();

private:
    // Sends bytes and returns what the board answered within the next 50 ms.
    QByteArray exchange(const QByteArray& bytes, qint64 waitUs = 50'000);
    QByteArray line(const QByteArray& text, qint64 waitUs = 50'000)
    {
        return exchange(text + '\r', waitUs);
    }
    void enterLoader();
    void writePage(char memory, int address, const QByteArray& data);
    QByteArray readPage(char memory, int address, int length);

    std::unique_ptr<BoardEngine> m_engine;
    qint64 m_nowUs = 0;
};

void TestSimBootLoader::init()
{
    m_engine = std::make_unique<BoardEngine>();
    m_nowUs = 1'000'000;
}

QByteArray TestSimBootLoader::exchange(const QByteArray& bytes, qint64 waitUs)
{
    m_engine->feed(bytes, m_nowUs);
    m_nowUs += waitUs;
    return m_engine->take(m_engine->available(m_nowUs), m_nowUs);
}

void TestSimBootLoader::enterLoader()
{
    QVERIFY(line("9980=0").isEmpty());
    QVERIFY(m_engine->inBootLoader());
    QCOMPARE(exchange(frame({0x30})), ok());
}

void TestSimBootLoader::writePage(char memory, int address, const QByteArray& data)
{
    QCOMPARE(exchange(frame({0x55, address & 0xff, address >> 8})), ok());
    const QByteArray head =
        QByteArray(1, char(0x64)) + char(data.size() >> 8) + char(data.size() & 0xff) + memory;
    QCOMPARE(exchange(head + data + kEop), ok());
}

QByteArray TestSimBootLoader::readPage(char memory, int address, int length)
{
    exchange(frame({0x55, address & 0xff, address >> 8}));
    const QByteArray reply =
        exchange(frame({0x74, length >> 8, length & 0xff, static_cast<unsigned char>(memory)}));
    if (reply.size() != length + 2 || reply.front() != kInSync || reply.back() != kOk)
        return "bad reply: " + reply.toHex();
    return reply.mid(1, length);
}

void TestSimBootLoader::requestStartsTheLoaderFromFirmware352_data()
{
    QTest::addColumn<double>("firmware");
    QTest::addColumn<bool>("loader");
    QTest::newRow("3.51 does not know the request") << 3.51 << false;
    QTest::newRow("3.52") << 3.52 << true;
    QTest::newRow("3.74") << 3.74 << true;
}

void TestSimBootLoader::requestStartsTheLoaderFromFirmware352()
{
    QFETCH(double, firmware);
    QFETCH(bool, loader);
    m_engine->options().firmwareVersion = firmware;
    const QByteArray answer = line("9980=0");
    QCOMPARE(m_engine->inBootLoader(), loader);
    // Old firmware answers the line as any it does not know; new firmware
    // jumps without a word and then no longer speaks the line protocol.
    QCOMPARE(answer.isEmpty(), loader);
    QCOMPARE(line("253?").contains("253"), !loader);
}

void TestSimBootLoader::signatureAndSync()
{
    enterLoader();
    QCOMPARE(exchange(frame({0x31})), ok("AVR STK"));
    QCOMPARE(exchange(frame({0x41, 0x81})), ok(QByteArray(1, 1)));
    QCOMPARE(exchange(frame({0x41, 0x82})), ok(QByteArray(1, 18)));
    // SET_DEVICE carries 20 parameter bytes, SET_DEVICE_EXT counts its own.
    QByteArray device(1, char(0x42));
    device += QByteArray(20, char(0x20));
    QCOMPARE(exchange(device + kEop), ok());
    QCOMPARE(exchange(frame({0x45, 5, 8, 0xd7, 0xa0, 0})), ok());
    QCOMPARE(exchange(frame({0x50})), ok());
    // What the tool reads the part by: the ATmega644P.
    QByteArray signature;
    for (int i = 0; i < 3; ++i) {
        const QByteArray r = exchange(frame({0x56, 0x30, 0x00, i, 0x00}));
        QCOMPARE(r.size(), 3);
        signature += r.at(1);
    }
    QCOMPARE(signature.toHex(), QByteArray("1e960a"));
    QCOMPARE(exchange(frame({0x75})), ok(QByteArray::fromHex("1e960a")));
}

void TestSimBootLoader::pagesRoundTrip_data()
{
    QTest::addColumn<char>("memory");
    QTest::addColumn<int>("loadAddress");
    QTest::addColumn<int>("byteAddress");
    // Away from the firmware the flash holds from the start.
    QTest::newRow("flash: word addresses") << 'F' << 0x800 << 0x1000;
    QTest::newRow("EEPROM: byte addresses") << 'E' << 0x10 << 0x10;
}

void TestSimBootLoader::pagesRoundTrip()
{
    QFETCH(char, memory);
    QFETCH(int, loadAddress);
    QFETCH(int, byteAddress);
    enterLoader();
    const QByteArray data = QByteArray::fromHex("0102030405060708");
    writePage(memory, loadAddress, data);
    const QByteArray& image =
        memory == 'F' ? m_engine->bootLoader().flash() : m_engine->bootLoader().eeprom();
    QCOMPARE(image.mid(byteAddress, data.size()), data);
    QCOMPARE(readPage(memory, loadAddress, data.size()), data);
    // Beyond the page the memory reads as it was.
    QCOMPARE(readPage(memory, loadAddress + (memory == 'F' ? 4 : 8), 2), QByteArray(2, '\xff'));
}

void TestSimBootLoader::pageDataMayHoldTheEndByte()
{
    enterLoader();
    // A page full of 0x20 and command bytes must be taken by its length.
    QByteArray data(16, kEop);
    data[3] = 0x30;
    data[7] = 0x51;
    writePage('F', 0, data);
    QCOMPARE(m_engine->bootLoader().flash().left(16), data);
    QVERIFY(m_engine->inBootLoader());
}

void TestSimBootLoader::frameWithoutEndByteLosesSync()
{
    enterLoader();
    QCOMPARE(exchange(QByteArray::fromHex("3021")), QByteArray(1, kNoSync));
    // The tool syncs again and goes on.
    QCOMPARE(exchange(frame({0x30})), ok());
}

void TestSimBootLoader::leavingStartsTheFlashedFirmware()
{
    m_engine->setValue(430, 3, true);
    m_engine->setValue(600, 9, true);
    enterLoader();
    QCOMPARE(exchange(frame({0x56, 0xac, 0x80, 0x00, 0x00})).size(), 3); // chip erase
    QVERIFY(m_engine->bootLoader().flashErased());
    const QByteArray flash = SimFirmwareImage::flashImage("ZR5 Firmware 3.81 beta");
    for (int at = 0; at < flash.size(); at += 256)
        writePage('F', at / 2, flash.mid(at, 256));
    const QByteArray eeprom = SimFirmwareImage::eepromImage({{430, 1}, {1003, 55}});
    for (int at = 0; at < eeprom.size(); at += 8)
        writePage('E', at, eeprom.mid(at, 8));
    QCOMPARE(exchange(frame({0x51})), ok());

    QVERIFY(!m_engine->inBootLoader());
    QCOMPARE(line("254?"), QByteArray("254=3.81 [Ver, ZR5 Firmware 3.81 beta]\r"));
    // The store starts from the new EEPROM image: what it does not carry
    // is back at its factory value.
    QCOMPARE(m_engine->value(430), 1);
    QCOMPARE(m_engine->value(1003), 55);
    QCOMPARE(m_engine->value(600), 0);
    QVERIFY(m_engine->isNonVolatile(1003));
}

void TestSimBootLoader::firmwareKeepsItsStoreWithoutNewEeprom()
{
    m_engine->setValue(430, 3, true);
    m_engine->setValue(431, 4, false);
    enterLoader();
    exchange(frame({0x51}));
    QVERIFY(!m_engine->inBootLoader());
    QCOMPARE(m_engine->value(430), 3);
    QCOMPARE(m_engine->value(431), 0); // a restart drops volatile values
    QCOMPARE(line("254?"), QByteArray("254=3.74 [Ver, ZR5 Firmware 3.74]\r"));
}

void TestSimBootLoader::erasedChipStaysInTheLoader()
{
    enterLoader();
    exchange(frame({0x56, 0xac, 0x80, 0x00, 0x00}));
    QCOMPARE(exchange(frame({0x51})), ok());
    QVERIFY(m_engine->inBootLoader());
    // Not even a reset brings back firmware that is not there.
    m_engine->pressReset(m_nowUs);
    QCOMPARE(exchange("253?\r").contains("253"), false);
    m_nowUs += 2 * BoardEngine::kBootWindowUs;
    QCOMPARE(exchange("253?\r").contains("253"), false);
}

void TestSimBootLoader::resetWindow_data()
{
    QTest::addColumn<qint64>("afterUs");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<bool>("loader");
    QTest::newRow("tool asks at once") << qint64(10'000) << frame({0x30}) << true;
    QTest::newRow("a line comes instead") << qint64(10'000) << QByteArray("253?\r") << false;
    QTest::newRow("tool too late") << BoardEngine::kBootWindowUs + 10'000 << frame({0x30}) << false;
}

void TestSimBootLoader::resetWindow()
{
    QFETCH(qint64, afterUs);
    QFETCH(QByteArray, first);
    QFETCH(bool, loader);
    m_engine->options().firmwareVersion = 3.51;
    m_engine->setValue(431, 4, false);
    m_engine->pressReset(m_nowUs);
    QVERIFY(m_engine->inBootLoader());
    QCOMPARE(m_engine->value(431), 0);
    m_nowUs += afterUs;
    const QByteArray answer = exchange(first);
    QCOMPARE(m_engine->inBootLoader(), loader);
    if (loader) {
        QCOMPARE(answer, ok());
    } else if (first.endsWith('\r')) {
        // The firmware took the line that ended the window.
        QCOMPARE(answer, QByteArray("253=1 [ZR5 ready]\r"));
    }
}

void TestSimBootLoader::factoryDefaults_data()
{
    QTest::addColumn<int>("serial");
    QTest::addColumn<bool>("saved");
    QTest::newRow("board with serial number") << 1234 << true;
    QTest::newRow("uninitialised EEPROM") << 0 << false;
}

void TestSimBootLoader::factoryDefaults()
{
    QFETCH(int, serial);
    QFETCH(bool, saved);
    m_engine->options().serialNumber = serial;
    m_engine->setValue(430, 2, true);
    // The confirmation comes within the program's 500 ms wait.
    const QByteArray save = line("SFX 1=9!", 500'000);
    QCOMPARE(save.count('\r'), saved ? 2 : 1);
    QCOMPARE(m_engine->factoryDefaultsSaved(), saved);

    m_engine->setValue(430, 3, true);
    m_engine->setValue(431, 5, false);
    const QByteArray restore = line("SFX 2=9!", 500'000);
    QCOMPARE(restore.count('\r'), saved ? 2 : 1);
    QCOMPARE(m_engine->value(430), saved ? 2 : 3);
    QCOMPARE(m_engine->value(431), saved ? 0 : 5);
}

void TestSimBootLoader::reloadQueriesAnswerTwoLines_data()
{
    QTest::addColumn<int>("number");
    for (const int n : {9996, 9997, 9998, 9999})
        QTest::newRow(qPrintable(QString::number(n))) << n;
}

void TestSimBootLoader::reloadQueriesAnswerTwoLines()
{
    QFETCH(int, number);
    m_engine->feed(QByteArray::number(number) + "?\r", m_nowUs);
    m_nowUs += 600'000;
    const QByteArray answer = m_engine->take(m_engine->available(m_nowUs), m_nowUs);
    QCOMPARE(answer.count('\r'), 2);
    QVERIFY(answer.startsWith(QByteArray::number(number) + "=0 ["));
}

void TestSimBootLoader::intelHex()
{
    QByteArray data(40, '\xff');
    data.replace(0, 3, "\x01\x02\x03");
    data[35] = 0x7f;
    // The middle record is all erased and left out; checksums as the format has them.
    QCOMPARE(SimFirmwareImage::intelHex(data),
             QByteArray(":10000000010203FFFFFFFFFFFFFFFFFFFFFFFFFFF7\r\n"
                        ":08002000FFFFFF7FFFFFFFFF60\r\n"
                        ":00000001FF\r\n"));
}

QTEST_GUILESS_MAIN(TestSimBootLoader)
#include "tst_simbootloader.moc"
