#include "D2xxLibrary.h"
#include "EZr5Error.h"
#include "FakeClock.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "tftdichip.h"

#include <QTest>

#include <cstddef>

// The device wrapper: its result rule (true exactly on driver success), the
// misuse it raises word for word, and the translation of every setting.
class TestTftdichip : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deviceNodeLayout();
    void noDeviceGivesEmptyList();
    void listedDevices();
    void misuseRaises_data();
    void misuseRaises();
    void doubleOpenLeavesTheOpenDeviceUntouched();
    void isPresentBySerialLeavesStateAlone();
    void settingsAreTranslated_data();
    void settingsAreTranslated();
    void purgeDirection_data();
    void purgeDirection();
    void driverFailuresAreFalse_data();
    void driverFailuresAreFalse();
    void destroyDoesNotCloseTheDevice();

private:
    std::unique_ptr<FakeClock> m_clock;
    std::shared_ptr<ScriptedDevice> m_device;
    std::shared_ptr<ScriptedBackend> m_backend;
};

void TestTftdichip::init()
{
    m_clock = std::make_unique<FakeClock>();
    m_device = std::make_shared<ScriptedDevice>();
    m_backend = std::make_shared<ScriptedBackend>(m_device, "A50285BI", "FT232R USB UART");
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(m_backend);
}

void TestTftdichip::cleanup()
{
    D2xxLibrary::instance().clearBackends();
    m_backend.reset();
    m_clock.reset();
}

void TestTftdichip::deviceNodeLayout()
{
    QCOMPARE(sizeof(ftdiDeviceNode), size_t(100));
    QCOMPARE(offsetof(ftdiDeviceNode, flags), size_t(0));
    QCOMPARE(offsetof(ftdiDeviceNode, deviceType), size_t(4));
    QCOMPARE(offsetof(ftdiDeviceNode, id), size_t(8));
    QCOMPARE(offsetof(ftdiDeviceNode, locid), size_t(12));
    QCOMPARE(offsetof(ftdiDeviceNode, serialNumber), size_t(16));
    QCOMPARE(offsetof(ftdiDeviceNode, description), size_t(32));
    QCOMPARE(offsetof(ftdiDeviceNode, ftHandle), size_t(96));
}

void TestTftdichip::noDeviceGivesEmptyList()
{
    D2xxLibrary::instance().clearBackends();
    tftdichip chip;
    quint32 count = 99;
    auto list = std::make_unique<ftdiDeviceNode[]>(1);
    QVERIFY(chip.createDeviceInfoList(count, list));
    QCOMPARE(count, quint32(0));
    QVERIFY(!list);
}

void TestTftdichip::listedDevices()
{
    auto second = std::make_shared<ScriptedDevice>();
    D2xxLibrary::instance().addBackend(
        std::make_shared<ScriptedBackend>(second, "FT0SECOND", QByteArray(70, 'd')));
    tftdichip chip;
    quint32 count = 0;
    std::unique_ptr<ftdiDeviceNode[]> list;
    QVERIFY(chip.createDeviceInfoList(count, list));
    QCOMPARE(count, quint32(2));
    QCOMPARE(QByteArray(list[0].serialNumber), QByteArray("A50285BI"));
    QCOMPARE(QByteArray(list[0].description), QByteArray("FT232R USB UART"));
    QCOMPARE(list[0].id, quint32(0x04036001));
    QCOMPARE(QByteArray(list[1].serialNumber), QByteArray("FT0SECOND"));
    // A description that does not fit keeps its zero byte.
    QCOMPARE(QByteArray(list[1].description), QByteArray(63, 'd'));
}

void TestTftdichip::misuseRaises_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QString>("message");
    QTest::newRow("close closed") << 0 << "tftdichip.closeDevice: Not open";
    QTest::newRow("baud rate") << 1 << "tftdichip.setBaudRate: Invalid baud rate";
    QTest::newRow("word length") << 2 << "tftdichip.setDataCharacteristics: Invalid wordLength";
    QTest::newRow("stop bits") << 3 << "tftdichip.setDataCharacteristics: Invalid stopBits";
    QTest::newRow("parity") << 4 << "tftdichip.setDataCharacteristics: Invalid parity";
    QTest::newRow("flow control") << 5 << "tftdichip.setFlowControl: Invalid flowcontrol";
    QTest::newRow("queue") << 6 << "tftdichip.purgeQueue: Invalid queue";
}

void TestTftdichip::misuseRaises()
{
    QFETCH(int, call);
    QFETCH(QString, message);
    tftdichip chip;
    if (call > 0)
        QVERIFY(chip.openDeviceBySerial("A50285BI"));
    QString raised;
    try {
        switch (call) {
        case 0: chip.closeDevice(); break;
        case 1: chip.setBaudRate(static_cast<fBaudRate>(14)); break;
        case 2: chip.setDataCharacteristics(static_cast<fWordLength>(2), fStopBits1, fParityNone); break;
        case 3: chip.setDataCharacteristics(fBits8, static_cast<fStopBits>(-1), fParityNone); break;
        case 4: chip.setDataCharacteristics(fBits8, fStopBits1, static_cast<fParity>(5)); break;
        case 5: chip.setFlowControl(static_cast<fFlowControl>(4), 0, 0); break;
        case 6: chip.purgeQueue(static_cast<fQueue>(3)); break;
        }
    } catch (const EZr5Error& e) {
        raised = e.message();
    }
    QCOMPARE(raised, message);
    // Nothing reached the driver for a rejected value.
    QCOMPARE(m_device->baud, quint32(0));
    QVERIFY(m_device->purges.isEmpty());
    if (call > 0)
        chip.closeDevice();
}

void TestTftdichip::doubleOpenLeavesTheOpenDeviceUntouched()
{
    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("A50285BI"));
    const d2xx::Handle handle = chip.handle();
    QVERIFY_THROWS_EXCEPTION(EZr5Error, chip.openDeviceBySerial("A50285BI"));
    try {
        chip.openDeviceBySerial("A50285BI");
    } catch (const EZr5Error& e) {
        QCOMPARE(e.message(), QStringLiteral("tftdichip.openDeviceBySerial: Already open"));
    }
    QVERIFY(chip.connected());
    QCOMPARE(chip.handle(), handle);
    QVERIFY(chip.setBaudRate(fBaud57600));
    QCOMPARE(m_device->baud, quint32(57600));
    chip.closeDevice();
    QVERIFY(!chip.connected());
}

void TestTftdichip::isPresentBySerialLeavesStateAlone()
{
    tftdichip idle;
    QVERIFY(idle.isPresentBySerial("A50285BI"));
    QVERIFY(!idle.connected());
    QCOMPARE(m_backend->openCount(), 0);
    QVERIFY(!idle.isPresentBySerial("NOSUCHDEV"));

    tftdichip holder;
    QVERIFY(holder.openDeviceBySerial("A50285BI"));
    const d2xx::Handle handle = holder.handle();
    // The device is open, so a trial open is refused and reports absent.
    QVERIFY(!holder.isPresentBySerial("A50285BI"));
    QVERIFY(holder.connected());
    QCOMPARE(holder.handle(), handle);
    QVERIFY(!idle.isPresentBySerial("A50285BI"));
    holder.closeDevice();
}

void TestTftdichip::settingsAreTranslated_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<quint32>("rate");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("flow");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("stopValue");
    QTest::addColumn<int>("parityValue");
    QTest::addColumn<int>("flowValue");
    QTest::newRow("board line") << int(fBaud57600) << 57600u << int(fBits8) << int(fStopBits1)
                                << int(fParityNone) << int(fFlowNone) << 8 << 0 << 0 << 0x0000;
    QTest::newRow("slowest") << int(fBaud300) << 300u << int(fBits7) << int(fStopBits2)
                             << int(fParityOdd) << int(fFlowRTSCTS) << 7 << 2 << 1 << 0x0100;
    QTest::newRow("14400") << int(fBaud14400) << 14400u << int(fBits8) << int(fStopBits1)
                           << int(fParityEven) << int(fFlowDTRDSR) << 8 << 0 << 2 << 0x0200;
    QTest::newRow("fastest") << int(fBaud921600) << 921600u << int(fBits8) << int(fStopBits1)
                             << int(fParityMark) << int(fFlowXONXOFF) << 8 << 0 << 3 << 0x0400;
    QTest::newRow("space parity") << int(fBaud115200) << 115200u << int(fBits8)
                                  << int(fStopBits1) << int(fParitySpace) << int(fFlowNone) << 8
                                  << 0 << 4 << 0;
}

void TestTftdichip::settingsAreTranslated()
{
    QFETCH(int, baud);
    QFETCH(quint32, rate);
    QFETCH(int, word);
    QFETCH(int, stop);
    QFETCH(int, parity);
    QFETCH(int, flow);
    QFETCH(int, bits);
    QFETCH(int, stopValue);
    QFETCH(int, parityValue);
    QFETCH(int, flowValue);
    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("A50285BI"));
    QVERIFY(chip.setBaudRate(static_cast<fBaudRate>(baud)));
    QVERIFY(chip.setDataCharacteristics(static_cast<fWordLength>(word),
                                        static_cast<fStopBits>(stop),
                                        static_cast<fParity>(parity)));
    QVERIFY(chip.setFlowControl(static_cast<fFlowControl>(flow), 0x11, 0x13));
    QCOMPARE(m_device->baud, rate);
    QCOMPARE(int(m_device->wordLength), bits);
    QCOMPARE(int(m_device->stopBits), stopValue);
    QCOMPARE(int(m_device->parity), parityValue);
    QCOMPARE(int(m_device->flow), flowValue);
    chip.closeDevice();
}

void TestTftdichip::purgeDirection_data()
{
    QTest::addColumn<int>("queue");
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<bool>("receivedKept");
    QTest::addColumn<bool>("sendKept");
    QTest::newRow("receive only") << int(fReceiveQueue) << d2xx::PurgeRx << false << true;
    QTest::newRow("send only") << int(fSendQueue) << d2xx::PurgeTx << true << false;
    QTest::newRow("both") << int(fAll) << (d2xx::PurgeRx | d2xx::PurgeTx) << false << false;
}

void TestTftdichip::purgeDirection()
{
    QFETCH(int, queue);
    QFETCH(quint32, mask);
    QFETCH(bool, receivedKept);
    QFETCH(bool, sendKept);
    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("A50285BI"));
    m_device->schedule("253=1\r", m_clock->nowMs());
    quint32 written = 0;
    QVERIFY(chip.write("253?\r", 5, written));
    QVERIFY(chip.purgeQueue(static_cast<fQueue>(queue)));
    QCOMPARE(m_device->purges, QList<quint32>{mask});
    quint32 waiting = 0;
    QVERIFY(chip.getReceiveQueueStatus(waiting));
    QCOMPARE(waiting != 0, receivedKept);
    QCOMPARE(!m_device->sendQueue.isEmpty(), sendKept);
    chip.closeDevice();
}

void TestTftdichip::driverFailuresAreFalse_data()
{
    QTest::addColumn<int>("call");
    QTest::newRow("reset") << int(ScriptedDevice::Reset);
    QTest::newRow("baud") << int(ScriptedDevice::Baud);
    QTest::newRow("data") << int(ScriptedDevice::Data);
    QTest::newRow("flow") << int(ScriptedDevice::Flow);
    QTest::newRow("read") << int(ScriptedDevice::Read);
    QTest::newRow("write") << int(ScriptedDevice::Write);
    QTest::newRow("queue") << int(ScriptedDevice::Queue);
    QTest::newRow("purge") << int(ScriptedDevice::Purge);
    QTest::newRow("open") << int(ScriptedDevice::Open);
}

void TestTftdichip::driverFailuresAreFalse()
{
    QFETCH(int, call);
    tftdichip chip;
    m_device->failing[call] = true;
    if (call == ScriptedDevice::Open) {
        QVERIFY(!chip.openDeviceBySerial("A50285BI"));
        QVERIFY(!chip.connected());
        QVERIFY(!chip.isPresentBySerial("A50285BI"));
        return;
    }
    QVERIFY(chip.openDeviceBySerial("A50285BI"));
    char buffer[4];
    quint32 n = 0;
    bool result = true;
    switch (call) {
    case ScriptedDevice::Reset: result = chip.resetDevice(); break;
    case ScriptedDevice::Baud: result = chip.setBaudRate(fBaud57600); break;
    case ScriptedDevice::Data: result = chip.setDataCharacteristics(fBits8, fStopBits1, fParityNone); break;
    case ScriptedDevice::Flow: result = chip.setFlowControl(fFlowNone, 0, 0); break;
    case ScriptedDevice::Read: result = chip.read(buffer, 1, n); break;
    case ScriptedDevice::Write: result = chip.write("x", 1, n); break;
    case ScriptedDevice::Queue: result = chip.getReceiveQueueStatus(n); break;
    case ScriptedDevice::Purge: result = chip.purgeQueue(fAll); break;
    }
    QVERIFY(!result);
    // A failed call does not change the wrapper's state.
    QVERIFY(chip.connected());
    chip.closeDevice();
}

void TestTftdichip::destroyDoesNotCloseTheDevice()
{
    {
        tftdichip chip;
        QVERIFY(chip.openDeviceBySerial("A50285BI"));
    }
    // The owner, not the destructor, closes the device: it stays taken.
    QCOMPARE(m_backend->openCount(), 1);
    tftdichip other;
    QVERIFY(!other.openDeviceBySerial("A50285BI"));
}

QTEST_GUILESS_MAIN(TestTftdichip)
#include "tst_tftdichip.moc"
