#include "D2xxLibrary.h"
#include "D2xxPort.h"
#include "SerialPortBackend.h"
#include "TermiosPort.h"
#include "tftdichip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// USB-serial ttys found in a made-up sysfs tree, and real pseudo-terminals
// standing in for cables: listing, exclusive open, raw line settings, queue
// status, purge direction and a line that hangs up.
class TestSerialPortBackend : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void listsUsbTtysFromSysfsThenExtraPorts();
    void openIsExclusive();
    void lineSettingsReachTheTty_data();
    void lineSettingsReachTheTty();
    void dataCharacteristicsFlags_data();
    void dataCharacteristicsFlags();
    void bytesBothWaysAndQueueStatus();
    void purgeReceiveKeepsSentBytes();
    void hangUpIsReportedNotSpun();

private:
    struct Pty {
        int master = -1;
        QString slave;
    };
    static Pty openPty();
    static void makeUsbTty(const QString& sys, const QString& name, const QString& usbPath,
                           const QByteArray& vid, const QByteArray& pid,
                           const QByteArray& serial, const QByteArray& product);
    QList<int> m_fds;
};

void TestSerialPortBackend::cleanup()
{
    D2xxLibrary::instance().clearBackends();
    for (int fd : m_fds)
        ::close(fd);
    m_fds.clear();
}

TestSerialPortBackend::Pty TestSerialPortBackend::openPty()
{
    Pty pty;
    pty.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0 || ::grantpt(pty.master) != 0 || ::unlockpt(pty.master) != 0)
        return {};
    pty.slave = QString::fromLocal8Bit(::ptsname(pty.master));
    return pty;
}

void TestSerialPortBackend::makeUsbTty(const QString& sys, const QString& name,
                                       const QString& usbPath, const QByteArray& vid,
                                       const QByteArray& pid, const QByteArray& serial,
                                       const QByteArray& product)
{
    const QString usb = sys + "/devices/pci0000:00/usb1/" + usbPath;
    const QString port = usb + "/" + usbPath + ":1.0/" + name;
    QDir().mkpath(port);
    auto put = [&](const char* file, const QByteArray& value) {
        if (value.isNull())
            return;
        QFile f(usb + "/" + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(value + "\n");
    };
    put("idVendor", vid);
    put("idProduct", pid);
    put("serial", serial);
    put("product", product);
    QDir().mkpath(sys + "/class/tty/" + name);
    QVERIFY(QFile::link(port, sys + "/class/tty/" + name + "/device"));
}

void TestSerialPortBackend::listsUsbTtysFromSysfsThenExtraPorts()
{
    QTemporaryDir tmp;
    const QString sys = tmp.path() + "/sys";
    makeUsbTty(sys, "ttyUSB10", "1-3", "0403", "6001", "A50285BI", "FT232R USB UART");
    makeUsbTty(sys, "ttyUSB2", "1-2", "0403", "6015", "DN0123XY", "ZR5 USB Extension");
    makeUsbTty(sys, "ttyUSB3", "1-4", "067b", "2303", QByteArray(), QByteArray());
    QDir().mkpath(sys + "/class/tty/ttyS0"); // not a USB-serial tty
    QDir().mkpath(sys + "/class/tty/ttyACM0"); // a modem-class device, not a cable

    SerialPortBackend backend({"/tmp/zr5", "/dev/ttyS4"}, sys, tmp.path() + "/dev");
    const QList<d2xx::DeviceInfo> list = backend.devices();
    QCOMPARE(list.size(), 5);
    // Numeric order of the ttys, not the order of their names as text.
    QCOMPARE(list[0].serialNumber, QByteArray("DN0123XY"));
    QCOMPARE(list[0].description, QByteArray("ZR5 USB Extension"));
    QCOMPARE(list[0].path, tmp.path() + "/dev/ttyUSB2");
    QCOMPARE(list[0].id, quint32(0x04036015));
    QCOMPARE(list[1].serialNumber, QByteArray("ttyUSB3"));
    QCOMPARE(list[1].description, QByteArray("USB serial ttyUSB3"));
    QCOMPARE(list[1].id, quint32(0x067b2303));
    QCOMPARE(list[2].serialNumber, QByteArray("A50285BI"));
    QCOMPARE(list[2].deviceType, d2xx::DeviceType232R);
    QCOMPARE(list[3].serialNumber, QByteArray("PORT1"));
    QCOMPARE(list[3].description, QByteArray("/tmp/zr5"));
    QCOMPARE(list[3].path, QStringLiteral("/tmp/zr5"));
    QCOMPARE(list[4].serialNumber, QByteArray("PORT2"));

    // An empty system lists only the extra ports.
    SerialPortBackend bare({}, tmp.path() + "/nothing", tmp.path() + "/dev");
    QVERIFY(bare.devices().isEmpty());
}

void TestSerialPortBackend::openIsExclusive()
{
    const Pty pty = openPty();
    QVERIFY(pty.master >= 0);
    m_fds << pty.master;
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{pty.slave}));

    tftdichip first;
    QVERIFY(first.isPresentBySerial("PORT1"));
    QVERIFY(first.openDeviceBySerial("PORT1"));
    QCOMPARE(first.devicePath(), pty.slave);
    tftdichip second;
    QVERIFY(!second.isPresentBySerial("PORT1"));
    QVERIFY(!second.openDeviceBySerial("PORT1"));
    first.closeDevice();
    QVERIFY(second.openDeviceBySerial("PORT1"));
    second.closeDevice();
    QVERIFY(!second.openDeviceBySerial("PORT9"));
}

void TestSerialPortBackend::lineSettingsReachTheTty_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("flow");
    QTest::addColumn<int>("cflagSet");
    QTest::addColumn<int>("cflagClear");
    QTest::newRow("board line 57600 1 stop bit, no flow control")
        << int(fBaud57600) << int(B57600) << int(fStopBits1) << int(fFlowNone) << 0
        << int(CSTOPB | CRTSCTS);
    QTest::newRow("9600 2 stop bits, hardware flow")
        << int(fBaud9600) << int(B9600) << int(fStopBits2) << int(fFlowRTSCTS)
        << int(CSTOPB | CRTSCTS) << 0;
    QTest::newRow("921600") << int(fBaud921600) << int(B921600) << int(fStopBits1)
                            << int(fFlowNone) << 0 << int(CSTOPB);
}

void TestSerialPortBackend::lineSettingsReachTheTty()
{
    QFETCH(int, baud);
    QFETCH(int, speed);
    QFETCH(int, stop);
    QFETCH(int, flow);
    QFETCH(int, cflagSet);
    QFETCH(int, cflagClear);
    const Pty pty = openPty();
    QVERIFY(pty.master >= 0);
    m_fds << pty.master;
    // Opened before the exclusive open, so it can look at the settings after it.
    const int inspect = ::open(pty.slave.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    QVERIFY(inspect >= 0);
    m_fds << inspect;
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{pty.slave}));

    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("PORT1"));
    QVERIFY(chip.resetDevice());
    QVERIFY(chip.setBaudRate(static_cast<fBaudRate>(baud)));
    QVERIFY(chip.setDataCharacteristics(fBits8, static_cast<fStopBits>(stop), fParityNone));
    QVERIFY(chip.setFlowControl(static_cast<fFlowControl>(flow), 0, 0));
    termios tio{};
    QCOMPARE(::tcgetattr(inspect, &tio), 0);
    QCOMPARE(int(::cfgetospeed(&tio)), speed);
    QCOMPARE(int(::cfgetispeed(&tio)), speed);
    QCOMPARE(int(tio.c_cflag & cflagSet), cflagSet);
    QCOMPARE(int(tio.c_cflag & cflagClear), 0);
    // Raw: no echo, no line editing, no CR/LF translation.
    QCOMPARE(int(tio.c_lflag & (ECHO | ICANON | ISIG)), 0);
    QCOMPARE(int(tio.c_iflag & (ICRNL | INLCR | IXON)), 0);
    QCOMPARE(int(tio.c_oflag & OPOST), 0);
    chip.closeDevice();
}

void TestSerialPortBackend::dataCharacteristicsFlags_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("flags");
    QTest::newRow("8N1") << 8 << 0 << 0 << int(CS8);
    QTest::newRow("7E1") << 7 << 0 << 2 << int(CS7 | PARENB);
    QTest::newRow("8O2") << 8 << 2 << 1 << int(CS8 | PARENB | PARODD | CSTOPB);
    QTest::newRow("mark") << 8 << 0 << 3 << int(CS8 | PARENB | PARODD | CMSPAR);
    QTest::newRow("space") << 8 << 0 << 4 << int(CS8 | PARENB | CMSPAR);
}

void TestSerialPortBackend::dataCharacteristicsFlags()
{
    QFETCH(int, word);
    QFETCH(int, stop);
    QFETCH(int, parity);
    QFETCH(int, flags);
    const tcflag_t mask = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR;
    termios tio{};
    tio.c_cflag = mask | CREAD; // every old setting must go
    QCOMPARE(TermiosPort::applyDataCharacteristics(tio, quint8(word), quint8(stop),
                                                   quint8(parity)),
             d2xx::Ok);
    QCOMPARE(int(tio.c_cflag & mask), flags);
    QVERIFY(tio.c_cflag & CREAD);
    QCOMPARE(TermiosPort::applyDataCharacteristics(tio, 9, 0, 0), d2xx::InvalidParameter);
    QCOMPARE(TermiosPort::applyDataCharacteristics(tio, 8, 1, 0), d2xx::InvalidParameter);
    QCOMPARE(TermiosPort::applyDataCharacteristics(tio, 8, 0, 5), d2xx::InvalidParameter);
}

void TestSerialPortBackend::bytesBothWaysAndQueueStatus()
{
    const Pty pty = openPty();
    QVERIFY(pty.master >= 0);
    m_fds << pty.master;
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{pty.slave}));
    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("PORT1"));

    quint32 n = 0;
    QVERIFY(chip.write("253?\r", 5, n));
    QCOMPARE(n, quint32(5));
    char got[16] = {};
    QCOMPARE(::read(pty.master, got, sizeof got), ssize_t(5));
    QCOMPARE(QByteArray(got, 5), QByteArray("253?\r"));

    QCOMPARE(::write(pty.master, "253=1\r", 6), ssize_t(6));
    QVERIFY(chip.waitForReceive(1000));
    quint32 waiting = 0;
    QTRY_VERIFY((chip.getReceiveQueueStatus(waiting), waiting == 6));
    char reply[6];
    QVERIFY(chip.read(reply, 6, n));
    QCOMPARE(QByteArray(reply, int(n)), QByteArray("253=1\r")); // CR arrives untranslated
    QVERIFY(chip.getReceiveQueueStatus(waiting));
    QCOMPARE(waiting, quint32(0));
    chip.closeDevice();
}

void TestSerialPortBackend::purgeReceiveKeepsSentBytes()
{
    const Pty pty = openPty();
    QVERIFY(pty.master >= 0);
    m_fds << pty.master;
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{pty.slave}));
    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("PORT1"));

    QCOMPARE(::write(pty.master, "stale\r", 6), ssize_t(6));
    quint32 waiting = 0;
    QTRY_VERIFY((chip.getReceiveQueueStatus(waiting), waiting == 6));
    quint32 n = 0;
    QVERIFY(chip.write("9998?\r", 6, n));
    QVERIFY(chip.purgeQueue(fReceiveQueue));
    QVERIFY(chip.getReceiveQueueStatus(waiting));
    QCOMPARE(waiting, quint32(0));
    char sent[16] = {};
    QCOMPARE(::read(pty.master, sent, sizeof sent), ssize_t(6));
    QCOMPARE(QByteArray(sent, 6), QByteArray("9998?\r"));
    chip.closeDevice();
}

void TestSerialPortBackend::hangUpIsReportedNotSpun()
{
    Pty pty = openPty();
    QVERIFY(pty.master >= 0);
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{pty.slave}));
    tftdichip chip;
    QVERIFY(chip.openDeviceBySerial("PORT1"));
    ::close(pty.master); // the cable is pulled

    quint32 waiting = 7;
    QVERIFY(!chip.getReceiveQueueStatus(waiting));
    QCOMPARE(waiting, quint32(0));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!chip.waitForReceive(200));
    // The wait sleeps out its time instead of returning at once and being
    // called again in a tight loop.
    QVERIFY(timer.elapsed() >= 150);
    chip.closeDevice();
}

QTEST_GUILESS_MAIN(TestSerialPortBackend)
#include "tst_serialportbackend.moc"
