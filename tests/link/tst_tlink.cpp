#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "SerialPortBackend.h"
#include "TLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// The device list and the open with the board's line settings, and the COM
// port probe that finds the cable's port by the change the open makes.
class TestTLink : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buildDeviceListFillsSlots();
    void moreDevicesThanSlots();
    void openDeviceSetsTheBoardLine();
    void openDeviceFailures_data();
    void openDeviceFailures();
    void buildDeviceListClosesAnOpenDevice();
    void windowsComPortNames_data();
    void windowsComPortNames();
    void probeFindsTheOpenedPort();

private:
    void addScripted(const QByteArray& serial, const QByteArray& description);

    std::unique_ptr<FakeClock> m_clock;
    QList<std::shared_ptr<ScriptedDevice>> m_devices;
};

void TestTLink::init()
{
    m_clock = std::make_unique<FakeClock>();
    D2xxLibrary::instance().clearBackends();
    m_devices.clear();
}

void TestTLink::cleanup()
{
    D2xxLibrary::instance().clearBackends();
    m_clock.reset();
}

void TestTLink::addScripted(const QByteArray& serial, const QByteArray& description)
{
    auto device = std::make_shared<ScriptedDevice>();
    m_devices << device;
    D2xxLibrary::instance().addBackend(std::make_shared<ScriptedBackend>(device, serial, description));
}

void TestTLink::buildDeviceListFillsSlots()
{
    addScripted("A50285BI", "FT232R USB UART");
    addScripted("B1", "ZR5 USB Extension");
    TLink link;
    link.setConnected(true);
    link.BuildDeviceList();
    QVERIFY(!link.Connected());
    QVERIFY(link.Ftdi());
    QCOMPARE(link.DeviceCount(), quint32(2));
    QCOMPARE(link.DeviceSerial(0), QStringLiteral("A50285BI"));
    QCOMPARE(link.DeviceDescription(0), QStringLiteral("FT232R USB UART"));
    QCOMPARE(link.DeviceSerial(1), QStringLiteral("B1"));

    // A shorter list overwrites only its own slots.
    D2xxLibrary::instance().clearBackends();
    addScripted("C3", "Third");
    link.BuildDeviceList();
    QCOMPARE(link.DeviceCount(), quint32(1));
    QCOMPARE(link.DeviceSerial(0), QStringLiteral("C3"));
    QCOMPARE(link.DeviceSerial(1), QStringLiteral("B1"));
}

void TestTLink::moreDevicesThanSlots()
{
    for (int i = 0; i < 17; ++i)
        addScripted("S" + QByteArray::number(i), "Cable " + QByteArray::number(i));
    TLink link;
    link.BuildDeviceList();
    QCOMPARE(link.DeviceCount(), quint32(17));
    QCOMPARE(link.DeviceSerial(15), QStringLiteral("S15"));
    QCOMPARE(link.DeviceSerial(16), QString());
    link.OpenDevice(16); // no slot: nothing to open, and no crash
    QVERIFY(!link.Connected());
}

void TestTLink::openDeviceSetsTheBoardLine()
{
    addScripted("A50285BI", "FT232R USB UART");
    TLink link;
    link.BuildDeviceList();
    link.OpenDevice(0);
    QVERIFY(link.Connected());
    const ScriptedDevice& d = *m_devices[0];
    QCOMPARE(d.baud, quint32(57600));
    QCOMPARE(int(d.wordLength), 8);
    QCOMPARE(int(d.stopBits), 0);
    QCOMPARE(int(d.parity), 0);
    QCOMPARE(int(d.flow), 0);
}

void TestTLink::openDeviceFailures_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<bool>("wrapperKept");
    QTest::addColumn<bool>("deviceOpen");
    QTest::newRow("refuses to open") << int(ScriptedDevice::Open) << false << false;
    QTest::newRow("reset fails") << int(ScriptedDevice::Reset) << true << true;
    // The line settings' results are not looked at.
    QTest::newRow("baud rate fails") << int(ScriptedDevice::Baud) << true << true;
}

void TestTLink::openDeviceFailures()
{
    QFETCH(int, failing);
    QFETCH(bool, wrapperKept);
    QFETCH(bool, deviceOpen);
    addScripted("A50285BI", "FT232R USB UART");
    m_devices[0]->failing[failing] = true;
    TLink link;
    link.BuildDeviceList();
    link.OpenDevice(0);
    QCOMPARE(link.Ftdi() != nullptr, wrapperKept);
    QCOMPARE(link.Ftdi() && link.Ftdi()->connected(), deviceOpen);
    QCOMPARE(link.Connected(), failing == ScriptedDevice::Baud);
}

void TestTLink::buildDeviceListClosesAnOpenDevice()
{
    addScripted("A50285BI", "FT232R USB UART");
    TLink link;
    link.BuildDeviceList();
    link.OpenDevice(0);
    QVERIFY(link.Connected());
    link.BuildDeviceList();
    // The device was closed with the old wrapper, so it opens again.
    link.OpenDevice(0);
    QVERIFY(link.Connected());
}

void TestTLink::windowsComPortNames_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << "COM0";
    QTest::newRow("9 short form") << 9 << "COM9";
    QTest::newRow("10 device namespace") << 10 << "\\\\.\\COM10";
    QTest::newRow("31") << 31 << "\\\\.\\COM31";
}

void TestTLink::windowsComPortNames()
{
    QFETCH(int, port);
    QFETCH(QString, name);
    QCOMPARE(TLink::WindowsComPortName(port), name);
}

void TestTLink::probeFindsTheOpenedPort()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));

    // A made-up system whose ttyUSB3 is the pseudo-terminal.
    QTemporaryDir tmp;
    const QString sys = tmp.path() + "/sys";
    const QString dev = tmp.path() + "/dev";
    const QString usb = sys + "/devices/usb1/1-1";
    QDir().mkpath(usb + "/1-1:1.0/ttyUSB3");
    QFile vid(usb + "/idVendor");
    QVERIFY(vid.open(QIODevice::WriteOnly));
    vid.write("0403\n");
    vid.close();
    QDir().mkpath(sys + "/class/tty/ttyUSB3");
    QVERIFY(QFile::link(usb + "/1-1:1.0/ttyUSB3", sys + "/class/tty/ttyUSB3/device"));
    QDir().mkpath(dev);
    QVERIFY(QFile::link(slave, dev + "/ttyUSB3"));
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{}, sys, dev));

    TLink link;
    link.setDeviceRoot(dev);
    QCOMPARE(link.ComPortName(3), dev + "/ttyUSB3");
    QList<int> before;
    for (int n = 0; n < 8; ++n)
        before << link.ProbeComPort(n);
    QCOMPARE(before[3], 0);
    QCOMPARE(before[2], ENOENT);

    link.BuildDeviceList();
    QCOMPARE(link.DeviceSerial(0), QStringLiteral("ttyUSB3"));
    link.OpenDevice(0);
    QVERIFY(link.Connected());
    int changed = -1;
    for (int n = 0; n < 8 && changed < 0; ++n) {
        if (link.ProbeComPort(n) != before[n])
            changed = n;
    }
    QCOMPARE(changed, 3);
    link.ReleaseFtdi();
    QCOMPARE(link.ProbeComPort(3), 0);
    ::close(master);
}

QTEST_GUILESS_MAIN(TestTLink)
#include "tst_tlink.moc"
