#include "D2xxLibrary.h"
#include "EZr5Error.h"
#include "FakeClock.h"
#include "TestLink.h"
#include "RecordingHost.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "ScriptedPrompter.h"
#include "TBlockTransfer.h"
#include "TFileBuffer.h"
#include "TLink.h"
#include "TZr5Com.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
// A board that takes commands and the packet stream and answers each packet
// as the test says.
class FlashBoard
{
public:
    enum class Answer { Ack, Nak, Can, Silent, Garbage };

    explicit FlashBoard(ScriptedDevice& device, FakeClock& clock) : m_device(device), m_clock(clock)
    {
        device.onWrite = [this](const QByteArray& bytes) { take(bytes); };
    }

    std::function<Answer(int transmission)> answer = [](int) { return Answer::Ack; };
    QStringList commands;
    QList<QByteArray> packets; // every packet received, whole
    int eots = 0;

private:
    void reply(const QByteArray& bytes) { m_device.schedule(bytes, m_clock.nowMs() + 2); }

    void take(const QByteArray& bytes)
    {
        for (const char c : bytes) {
            if (m_streaming) {
                if (m_packet.isEmpty() && c == 0x04) {
                    ++eots;
                    m_streaming = false;
                    reply(QByteArray(1, 0x06));
                    continue;
                }
                m_packet.append(c);
                if (m_packet.size() == 132) {
                    packets << m_packet;
                    m_packet.clear();
                    switch (answer(int(packets.size()))) {
                    case Answer::Ack: reply(QByteArray(1, 0x06)); break;
                    case Answer::Nak: reply(QByteArray(1, 0x15)); break;
                    case Answer::Can: reply(QByteArray(1, 0x18)); break;
                    case Answer::Garbage: reply("x"); break;
                    case Answer::Silent: break;
                    }
                }
                continue;
            }
            if (c == 0x04) { // an EOT outside a stream is still acknowledged
                ++eots;
                reply(QByteArray(1, 0x06));
                continue;
            }
            if (c != '\r') {
                m_line.append(c);
                continue;
            }
            commands << QString::fromLatin1(m_line);
            if (m_line == "253?")
                reply("253=1\r");
            else if (m_line.startsWith("DFX")) {
                reply(m_line + " ok\r");
                m_streaming = true;
            } else
                reply(m_line + " ok\r");
            m_line.clear();
        }
    }

    ScriptedDevice& m_device;
    FakeClock& m_clock;
    QByteArray m_line;
    QByteArray m_packet;
    bool m_streaming = false;
};
} // namespace

// The block transfer against a scripted flash board on simulated time.
class TestBlockTransfer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void packetLayout_data();
    void packetLayout();
    void blockNumbersWrapAt256();
    void everyPacketRefused();
    void silentBoardCountsSyncErrors();
    void cancelledByTheBoard();
    void cancelDuringTheFirstBlock();
    void commandsForTheSlot_data();
    void commandsForTheSlot();
    void missingAndOversizedFiles();
    void retriedBlockThenSuccess();

private:
    QString file(const QByteArray& bytes);

    std::unique_ptr<TestLink> m_t;
    std::shared_ptr<ScriptedDevice> m_device;
    std::unique_ptr<FlashBoard> m_board;
    ScriptedPrompter m_prompter;
    std::unique_ptr<TFileBuffer> m_buffer;
    std::unique_ptr<TBlockTransfer> m_transfer;
    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestBlockTransfer::init()
{
    m_device = std::make_shared<ScriptedDevice>();
    m_t = std::make_unique<TestLink>(std::make_shared<ScriptedBackend>(m_device));
    m_board = std::make_unique<FlashBoard>(*m_device, m_t->clock);
    m_prompter = ScriptedPrompter();
    m_buffer = std::make_unique<TFileBuffer>();
    m_transfer = std::make_unique<TBlockTransfer>(*m_t->com, m_t->host, m_prompter, *m_buffer);
    QVERIFY(m_t->open());
}

void TestBlockTransfer::cleanup()
{
    m_transfer.reset();
    m_t.reset();
}

QString TestBlockTransfer::file(const QByteArray& bytes)
{
    const QString path = m_dir.filePath(QString("image%1.dat").arg(++m_files));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

void TestBlockTransfer::packetLayout_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("packets");
    QTest::newRow("128 bytes, one packet") << 128 << 1;
    QTest::newRow("129 bytes, two packets") << 129 << 2;
    QTest::newRow("empty file still sends one") << 0 << 1;
}

void TestBlockTransfer::packetLayout()
{
    QFETCH(int, size);
    QFETCH(int, packets);
    // An earlier, longer image left 0xAA in the buffer.
    m_transfer->TransferFile(file(QByteArray(512, char(0xAA))), 3);
    m_board->packets.clear();
    QByteArray image;
    for (int i = 0; i < size; ++i)
        image.append(char(i * 7));
    m_transfer->TransferFile(file(image), 3);

    QCOMPARE(int(m_board->packets.size()), packets);
    for (int k = 0; k < packets; ++k) {
        const QByteArray p = m_board->packets[k];
        QCOMPARE(quint8(p[0]), quint8(0x01));
        QCOMPARE(quint8(p[1]), quint8(k));
        QCOMPARE(quint8(p[2]), quint8(255 - k));
        QByteArray expected = image.mid(k * 128, 128);
        expected += QByteArray(128 - expected.size(), char(0xAA));
        QCOMPARE(p.mid(3, 128), expected);
        quint8 sum = 0;
        for (char c : expected)
            sum = quint8(sum + quint8(c));
        QCOMPARE(quint8(p[131]), sum);
    }
    QVERIFY(m_t->host.lines.contains(QString("Packets sent: %1").arg(packets)));
    QCOMPARE(m_t->host.progress, 0);
    QVERIFY(m_prompter.messages.isEmpty());
}

void TestBlockTransfer::blockNumbersWrapAt256()
{
    m_board->commands.clear();
    // Open the stream first, then send block 256 alone.
    m_t->com->SendCommand("DFX 1=0!", 200);
    const auto result = m_transfer->SendPacket(256);
    QCOMPARE(result.text, QStringLiteral("Packet: 256"));
    QCOMPARE(quint8(m_board->packets[0][1]), quint8(0));
    QCOMPARE(quint8(m_board->packets[0][2]), quint8(255));
}

void TestBlockTransfer::everyPacketRefused()
{
    m_board->answer = [](int) { return FlashBoard::Answer::Nak; };
    m_transfer->TransferFile(file(QByteArray(300, 'z')), 2);
    // 4 tries of 5 transmissions of the first block, in each of 6 attempts.
    QCOMPARE(int(m_board->packets.size()), 6 * 20);
    QCOMPARE(int(m_t->host.lines.filter("Xmodem Packet Retry").size()), 6 * 3);
    const QStringList firstAttempt = m_t->host.lines.mid(1, 4);
    QCOMPARE(firstAttempt, (QStringList{"##### Warning: Xmodem Packet Retry 1",
                                        "##### Warning: Xmodem Packet Retry 2",
                                        "##### Warning: Xmodem Packet Retry 3",
                                        "##### Error: Xmodem Out of sync at Packet 0 - will retry #1"}));
    QVERIFY(m_t->host.lines.contains("##### Error: Xmodem Out of sync at Packet 0 - will retry #6"));
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].text, QStringLiteral("Retry count 5 exceeded. Please check "
                                                         "connection\nor run ZR5 repair utility if FUBAR."));
    // A refusal is not a counted error.
    QCOMPARE(m_t->com->ErrorCount(), 0);
}

void TestBlockTransfer::silentBoardCountsSyncErrors()
{
    m_t->com->SendCommand("DFX 1=0!", 200);
    m_board->answer = [](int) { return FlashBoard::Answer::Silent; };
    const qint64 t0 = m_t->clock.nowMs();
    const auto result = m_transfer->SendPacket(0);
    QCOMPARE(result.status, TBlockTransfer::PacketStatus::OutOfSync);
    QCOMPARE(result.text, QStringLiteral("Out of sync at Packet 0"));
    QCOMPARE(m_t->com->ErrorKind(), TErrorKind::SyncErr);
    QCOMPARE(m_t->com->ErrorCount(), 5);
    const qint64 took = m_t->clock.nowMs() - t0;
    QVERIFY2(took >= 5 * 520 && took <= 5 * 523, qPrintable(QString::number(took)));
}

void TestBlockTransfer::cancelledByTheBoard()
{
    m_t->com->SendCommand("DFX 1=0!", 200);
    m_board->answer = [](int) { return FlashBoard::Answer::Can; };
    const auto result = m_transfer->SendPacket(4);
    QCOMPARE(result.text, QStringLiteral("Canceled by remote"));
    QCOMPARE(m_t->com->ErrorKind(), TErrorKind::CancelErr);
    QCOMPARE(m_board->packets.size(), 1);
}

void TestBlockTransfer::cancelDuringTheFirstBlock()
{
    // The click is handled at the busy flash after the first block.
    m_t->host.onFlash = [this] {
        if (!m_board->packets.isEmpty())
            m_t->host.cancelFlag = 1;
    };
    m_transfer->TransferFile(file(QByteArray(4096, 'c')), 5);
    QCOMPARE(m_board->packets.size(), 1);
    QVERIFY(m_t->host.lines.contains("##### Warning: Process cancelled by user"));
    QVERIFY(m_t->host.lines.filter("Packets sent").isEmpty());
    QVERIFY(m_prompter.messages.isEmpty());
    QCOMPARE(m_board->eots, 1);
}

void TestBlockTransfer::commandsForTheSlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("slot 11") << 11 << QStringList{"DFS=0!", "DFE 1=11!", "DFX 1=11!"};
    QTest::newRow("FPGA configuration") << -1 << QStringList{"DFS=0!", "DFE 2=0!", "DFX 0=0!"};
}

void TestBlockTransfer::commandsForTheSlot()
{
    QFETCH(int, slot);
    QFETCH(QStringList, commands);
    m_transfer->TransferFile(file(QByteArray(10, 'q')), slot);
    QStringList seen = m_board->commands;
    seen.removeAll("253?");
    QCOMPARE(seen, commands);
}

void TestBlockTransfer::missingAndOversizedFiles()
{
    const QString missing = m_dir.filePath("nothing.bit");
    m_transfer->TransferFile(missing, 1);
    QCOMPARE(m_t->host.lines, QStringList{"##### Warning: File " + missing + " not found"});

    const QString big = m_dir.filePath("big.bit");
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(TFileBuffer::kSize + 1));
    f.close();
    m_t->host.lines.clear();
    m_transfer->TransferFile(big, -1);
    QCOMPARE(m_t->host.lines.size(), 1);
    QVERIFY(m_t->host.lines[0].startsWith("##### Error: File " + big + " is larger than 4 MiB"));
    QVERIFY(m_device->written.isEmpty());
    QVERIFY_THROWS_EXCEPTION(EZr5Error, m_transfer->ReadFileToBuffer(missing));
}

void TestBlockTransfer::retriedBlockThenSuccess()
{
    // The second block gets a garbled answer twice, then goes through.
    m_board->answer = [](int n) {
        return n == 2 || n == 3 ? FlashBoard::Answer::Garbage : FlashBoard::Answer::Ack;
    };
    m_transfer->TransferFile(file(QByteArray(256, 'r')), 0);
    QCOMPARE(int(m_board->packets.size()), 4);
    QVERIFY(m_t->host.lines.filter("Retry").isEmpty()); // within one try of five transmissions
    QCOMPARE(m_t->com->ErrorCount(), 2);
    QVERIFY(m_t->host.lines.contains("Packets sent: 2"));
    QVERIFY(m_prompter.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestBlockTransfer)
#include "tst_blocktransfer.moc"
