#include "BoardEngine.h"
#include "SimDataFlash.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using Fault = BoardOptions::Fault;
using State = SimDataFlash::State;

namespace {
constexpr char SOH = 0x01;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();

QByteArray block(int k)
{
    QByteArray data(128, '\0');
    for (int i = 0; i < 128; ++i)
        data[i] = char((k * 7 + i * 13) & 0xff);
    return data;
}

QByteArray packet(int k, const QByteArray& data)
{
    const auto number = quint8(k & 0xff);
    quint8 sum = 0;
    for (const char c : data)
        sum = quint8(sum + quint8(c));
    return QByteArray(1, SOH) + char(number) + char(255 - number) + data + char(sum);
}

// The host side of the engine, one exchange at a time: time runs on far
// enough after each for every answer (and any erase) to have come.
struct Host
{
    explicit Host(BoardOptions options = {}) : board(std::move(options)) {}

    QByteArray send(const QByteArray& bytes, qint64 waitUs = 2'000'000)
    {
        board.feed(bytes, now);
        now += waitUs;
        return board.take(kAll, now);
    }
    QByteArray line(const QByteArray& text) { return send(text + '\r'); }
    QByteArray packetAnswer(int k, const QByteArray& data) { return send(packet(k, data), 50'000); }
    // Opens the stream into the area, sends the blocks, ends with EOT.
    void upload(const QByteArray& erase, const QByteArray& select, int blocks)
    {
        line(erase);
        line(select);
        for (int k = 0; k < blocks; ++k)
            QCOMPARE(packetAnswer(k, block(k)), QByteArray(1, ACK));
        QVERIFY(send(QByteArray(1, EOT)).startsWith(ACK));
    }

    BoardEngine board;
    qint64 now = 1'000'000;
};

QByteArray bytes(std::initializer_list<char> list)
{
    return QByteArray(list.begin(), qsizetype(list.size()));
}

QByteArray blocks(int count)
{
    QByteArray bytes;
    for (int k = 0; k < count; ++k)
        bytes += block(k);
    return bytes;
}
} // namespace

// The simulated board's DataFlash: command lines, the block stream with its
// checks and faults, what each area holds and what the board reports then.
class TestSimDataFlash : public QObject
{
    Q_OBJECT

private slots:
    void commandReplies_data();
    void commandReplies();
    void uploadLandsInTheArea_data();
    void uploadLandsInTheArea();
    void packetChecks_data();
    void packetChecks();
    void eraseKeepsTheBoardBusy();
    void streamGivenBackAfterEotOrSilence();
    void fpgaVersionFollowsTheConfiguration_data();
    void fpgaVersionFollowsTheConfiguration();
    void faults_data();
    void faults();
    void hangUpAfterPacket();
    void flashFolderKeepsTheImages();
    void dspCopy_data();
    void dspCopy();
};

void TestSimDataFlash::commandReplies_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("open") << QByteArray("DFS=0!") << QByteArray("DFS=0 [DataFlash open]\r");
    QTest::newRow("close") << QByteArray("DFS=1!") << QByteArray("DFS=1 [DataFlash closed]\r");
    QTest::newRow("erase slot 11")
        << QByteArray("DFE 1=11!") << QByteArray("DFE 1=11 [slot 11 erased]\r");
    QTest::newRow("erase FPGA area")
        << QByteArray("DFE 2=0!") << QByteArray("DFE 2=0 [FPGA area erased]\r");
    QTest::newRow("select slot 0")
        << QByteArray("DFX 1=0!") << QByteArray("DFX 1=0 [slot 0 open for blocks]\r");
    QTest::newRow("select FPGA area")
        << QByteArray("DFX 0=0!") << QByteArray("DFX 0=0 [FPGA area open for blocks]\r");
    QTest::newRow("slot 16") << QByteArray("DFE 1=16!")
                             << QByteArray("DFE 1=16 [# no such DataFlash area]\r");
    QTest::newRow("FPGA form with a slot")
        << QByteArray("DFX 0=3!") << QByteArray("DFX 0=3 [# no such DataFlash area]\r");
    QTest::newRow("without !") << QByteArray("DFE 1=2") << QByteArray("DFE 1=2 [not simulated]\r");
}

void TestSimDataFlash::commandReplies()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, reply);
    Host host;
    QCOMPARE(host.line(line), reply);
}

void TestSimDataFlash::uploadLandsInTheArea_data()
{
    QTest::addColumn<QByteArray>("erase");
    QTest::addColumn<QByteArray>("select");
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("count");
    QTest::newRow("slot 11, one block")
        << QByteArray("DFE 1=11!") << QByteArray("DFX 1=11!") << 11 << 1;
    // Packet number 0 comes again at block 256.
    QTest::newRow("slot 15, numbers wrap")
        << QByteArray("DFE 1=15!") << QByteArray("DFX 1=15!") << 15 << 258;
    QTest::newRow("FPGA area") << QByteArray("DFE 2=0!") << QByteArray("DFX 0=0!") << -1 << 3;
}

void TestSimDataFlash::uploadLandsInTheArea()
{
    QFETCH(QByteArray, erase);
    QFETCH(QByteArray, select);
    QFETCH(int, area);
    QFETCH(int, count);
    Host host;
    host.line(erase);
    host.line(select);
    for (int k = 0; k < count; ++k)
        QCOMPARE(host.packetAnswer(k, block(k)), QByteArray(1, ACK));
    QVERIFY(host.board.dataFlash().streaming());
    QCOMPARE(host.send(QByteArray(1, EOT)), QByteArray(1, ACK) + "DFX=" + QByteArray::number(area) +
                                                " [" + QByteArray::number(count) +
                                                " blocks written]\r");
    const SimDataFlash& flash = host.board.dataFlash();
    QVERIFY(!flash.streaming());
    QCOMPARE(flash.state(area), State::Written);
    QCOMPARE(flash.contents(area), blocks(count));
    // The other areas are untouched.
    QCOMPARE(flash.state(area == 11 ? 12 : 11), State::Factory);
}

void TestSimDataFlash::packetChecks_data()
{
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<char>("answer");
    QTest::addColumn<int>("stored");
    const QByteArray good = packet(1, block(1));
    QByteArray badComplement = good;
    badComplement[2] = char(0x00);
    QByteArray badSum = good;
    badSum[131] = char(badSum[131] + 1);
    QByteArray badData = good;
    badData[50] = char(badData[50] ^ 0x10);
    QTest::newRow("good") << good << ACK << 2;
    QTest::newRow("complement") << badComplement << NAK << 1;
    QTest::newRow("checksum") << badSum << NAK << 1;
    QTest::newRow("data changed on the way") << badData << NAK << 1;
    QTest::newRow("block skipped") << packet(2, block(2)) << NAK << 1;
    // The host missed the ACK: the same block again is taken as done.
    QTest::newRow("block repeated") << packet(0, block(0)) << ACK << 1;
}

void TestSimDataFlash::packetChecks()
{
    QFETCH(QByteArray, second);
    QFETCH(char, answer);
    QFETCH(int, stored);
    Host host;
    host.line("DFE 1=4!");
    host.line("DFX 1=4!");
    QCOMPARE(host.packetAnswer(0, block(0)), QByteArray(1, ACK));
    QCOMPARE(host.send(second, 50'000), QByteArray(1, answer));
    host.send(QByteArray(1, EOT));
    QCOMPARE(host.board.dataFlash().contents(4), blocks(stored));
    QCOMPARE(host.board.dataFlash().packetsReceived(), 2);
}

void TestSimDataFlash::eraseKeepsTheBoardBusy()
{
    Host host;
    host.board.feed("DFE 2=0!\r", host.now);
    // Polls while the chip erases go unanswered; the erase answer comes late.
    host.now += 10'000;
    host.board.feed("253?\r", host.now);
    host.now += SimDataFlash::kEraseFpgaUs / 2;
    QCOMPARE(host.board.take(kAll, host.now), QByteArray());
    host.now += SimDataFlash::kEraseFpgaUs;
    QCOMPARE(host.board.take(kAll, host.now), QByteArray("DFE 2=0 [FPGA area erased]\r"));
    QCOMPARE(host.line("253?"), QByteArray("253=1 [ZR5 ready]\r"));
    // An erased configuration area is no configuration.
    QCOMPARE(host.line("3?"), QByteArray("3=0 [#FFFFFFFF]\r"));
    QVERIFY(host.line("9998?").contains("-1 [FPGA config missing]"));
}

void TestSimDataFlash::streamGivenBackAfterEotOrSilence()
{
    Host host;
    host.upload("DFE 1=2!", "DFX 1=2!", 2);
    // An EOT after the end is acknowledged too, and lines work again.
    QCOMPARE(host.send(QByteArray(1, EOT)), QByteArray(1, ACK));
    QCOMPARE(host.line("253?"), QByteArray("253=1 [ZR5 ready]\r"));

    // A host that stops sending without EOT: after a while its lines count again.
    host.line("DFX 1=3!");
    QVERIFY(host.board.dataFlash().streaming());
    host.now += SimDataFlash::kStreamIdleUs + 1;
    QCOMPARE(host.line("253?"), QByteArray("253=1 [ZR5 ready]\r"));
    QVERIFY(!host.board.dataFlash().streaming());
}

void TestSimDataFlash::fpgaVersionFollowsTheConfiguration_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("version");
    const QByteArray plain = blocks(2);
    QTest::newRow("tagged")
        << QByteArray("bitstream header FPGA#24070101 more").leftJustified(256, 'x') << "24070101";
    QTest::newRow("tag keeps letter case")
        << QByteArray("FPGA#2407aBcD").leftJustified(128, '\0') << "2407aBcD";
    QTest::newRow("no tag: from the content")
        << plain
        << QString::fromLatin1(QCryptographicHash::hash(plain, QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(8)
                                   .toUpper());
    QTest::newRow("blank image") << QByteArray(256, char(0xff)) << "FFFFFFFF";
}

void TestSimDataFlash::fpgaVersionFollowsTheConfiguration()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, version);
    Host host;
    QCOMPARE(host.line("3?"), QByteArray("3=0 [#24061201]\r")); // as delivered
    host.line("DFE 2=0!");
    host.line("DFX 0=0!");
    for (int k = 0; k * 128 < image.size(); ++k)
        QCOMPARE(host.packetAnswer(k, image.mid(k * 128, 128)), QByteArray(1, ACK));
    host.send(QByteArray(1, EOT));
    QCOMPARE(host.line("3?"), "3=0 [#" + version.toLatin1() + "]\r");
}

void TestSimDataFlash::faults_data()
{
    QTest::addColumn<int>("nakEvery");
    QTest::addColumn<int>("canEvery");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("answers"); // to four packets of blocks 0, 1, 1, 2
    QTest::newRow("NAK every 2nd") << 2 << 0 << Fault::None << bytes({ACK, NAK, ACK, NAK});
    QTest::newRow("CAN every 3rd") << 0 << 3 << Fault::None << bytes({ACK, ACK, CAN, ACK});
    QTest::newRow("silent") << 0 << 0 << Fault::Silent << QByteArray();
}

void TestSimDataFlash::faults()
{
    QFETCH(int, nakEvery);
    QFETCH(int, canEvery);
    QFETCH(Fault, fault);
    QFETCH(QByteArray, answers);
    BoardOptions options;
    options.nakEvery = nakEvery;
    options.canEvery = canEvery;
    options.packetFault = fault;
    Host host(options);
    host.line("DFE 1=7!");
    QVERIFY(host.line("DFX 1=7!").startsWith("DFX 1=7")); // lines are not hit
    QByteArray got;
    for (const int k : {0, 1, 1, 2})
        got += host.packetAnswer(k, block(k));
    QCOMPARE(got, answers);
}

void TestSimDataFlash::hangUpAfterPacket()
{
    BoardOptions options;
    options.hangUpAfterPacket = 2;
    Host host(options);
    int hangUps = 0;
    host.board.dataFlash().onHangUp = [&] { ++hangUps; };
    host.line("DFE 1=1!");
    host.line("DFX 1=1!");
    QCOMPARE(host.packetAnswer(0, block(0)), QByteArray(1, ACK));
    QCOMPARE(hangUps, 0);
    // The line goes dead before the packet is answered.
    QCOMPARE(host.packetAnswer(1, block(1)), QByteArray());
    QCOMPARE(hangUps, 1);
}

void TestSimDataFlash::flashFolderKeepsTheImages()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    BoardOptions options;
    options.flashDir = dir.path();
    QByteArray config = blocks(3);
    config.replace(0, 13, "FPGA#25010203");
    {
        Host host(options);
        host.upload("DFE 1=11!", "DFX 1=11!", 3);
        host.line("DFE 2=0!");
        host.line("DFX 0=0!");
        for (int k = 0; k < 3; ++k)
            host.packetAnswer(k, config.mid(k * 128, 128));
        host.send(QByteArray(1, EOT));
        host.line("DFE 1=12!");
    }
    QFile slot(QDir(dir.path()).filePath("slot11.bin"));
    QVERIFY(slot.open(QIODevice::ReadOnly));
    QCOMPARE(slot.readAll(), blocks(3));
    QFile listing(QDir(dir.path()).filePath("listing.txt"));
    QVERIFY(listing.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(listing.readAll());
    const QString sum = QString::fromLatin1(
        QCryptographicHash::hash(blocks(3), QCryptographicHash::Sha256).toHex());
    QVERIFY2(text.contains(QStringLiteral("  11  written      384 ") + sum), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("  12  erased")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("   0  factory")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("version 25010203")), qPrintable(text));

    // A board started again on the folder carries what was written.
    Host again(options);
    QCOMPARE(again.line("3?"), QByteArray("3=0 [#25010203]\r"));
    QCOMPARE(again.board.dataFlash().contents(11), blocks(3));
    QCOMPARE(again.board.dataFlash().state(12), State::Erased);
}

void TestSimDataFlash::dspCopy_data()
{
    QTest::addColumn<bool>("dspFails");
    QTest::addColumn<bool>("eraseSlot10");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("production form")
        << false << false << QByteArray("SFX=10") << QByteArray("SFX=10 [DSP program loaded]\r");
    QTest::newRow("user form") << false << false << QByteArray("SFX=10!")
                               << QByteArray("SFX=10 [DSP program loaded]\r");
    QTest::newRow("failure option") << true << false << QByteArray("SFX=10")
                                    << QByteArray("SFX=10 [DSP transfer failed, I2C error #2]\r");
    QTest::newRow("slot 10 erased, nothing to copy")
        << false << true << QByteArray("SFX=10")
        << QByteArray("SFX=10 [DSP transfer failed, I2C error #2]\r");
}

void TestSimDataFlash::dspCopy()
{
    QFETCH(bool, dspFails);
    QFETCH(bool, eraseSlot10);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, reply);
    BoardOptions options;
    options.dspFails = dspFails;
    Host host(options);
    if (eraseSlot10)
        host.line("DFE 1=10!");
    host.board.feed(line + '\r', host.now);
    // The copy takes its time.
    QCOMPARE(host.board.take(kAll, host.now + SimDataFlash::kDspCopyUs / 2), QByteArray());
    QCOMPARE(host.board.take(kAll, host.now + 2 * SimDataFlash::kDspCopyUs), reply);
}

QTEST_GUILESS_MAIN(TestSimDataFlash)
#include "tst_sim_dataflash.moc"
