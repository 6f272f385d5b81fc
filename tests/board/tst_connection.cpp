#include "BoardEngine.h"
#include "ConnectionView.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "RecordingHost.h"
#include "RecordingSound.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "ScriptedPrompter.h"
#include "SerialPortBackend.h"
#include "SimBoardBackend.h"
#include "TConnection.h"
#include "TLink.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
// Records what the flows ask of the window, in order.
class RecordingView : public ConnectionView
{
public:
    int ChooseDevice(const QList<DeviceRow>& shown) override
    {
        rows = shown;
        calls << "dialog";
        return choice;
    }
    void ClearConsole() override { calls << "clear"; }
    void SetDeviceView(const QString& text) override { deviceView = text; }
    void ShowDevice(int device) override { calls << QString("device %1").arg(device); }
    void ShowComPort(int port) override { calls << QString("com %1").arg(port); }
    void ShowFirstTab() override { calls << "first tab"; }
    void ShowConnectedState() override { calls << "connected state"; }
    void ShowDisconnectedState() override { calls << "disconnected state"; }
    void ReadBoardInfo() override { calls << "read info"; }
    void ShowBoardInfo() override { calls << "show info"; }
    void ReadDisplayedPage() override { calls << "read page"; }

    int choice = 0;
    QList<DeviceRow> rows;
    QStringList calls;
    QString deviceView = "(not selected)";
};
} // namespace

// The connect, disconnect, reopen and lost-link flows against the in-process
// simulated board, with the dialogs answered by script.
class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noDeviceFound();
    void connectsToTheChosenDevice();
    void twoDevicesListedAndTheSecondChosen();
    void dialogNotConfirmed();
    void boardSilentAfterOpening();
    void comPortFoundByTheProbe();
    void closeWhileNotConnected();
    void linkLost();
    void reopenLink_data();
    void reopenLink();
    void reopenAndCheckCancelled();

private:
    void makeConnection();

    std::unique_ptr<FakeClock> m_clock;
    std::shared_ptr<BoardEngine> m_engine;
    std::shared_ptr<SimBoardBackend> m_sim;
    std::unique_ptr<TLink> m_link;
    std::unique_ptr<RecordingHost> m_host;
    std::unique_ptr<TZr5Com> m_com;
    TZR5Record m_record;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    RecordingView m_view;
    std::unique_ptr<TConnection> m_connection;
};

void TestConnection::init()
{
    m_clock = std::make_unique<FakeClock>();
    m_engine = std::make_shared<BoardEngine>();
    m_sim = std::make_shared<SimBoardBackend>(m_engine);
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(m_sim);
    m_record = TZR5Record();
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
    m_view = RecordingView();
    makeConnection();
}

void TestConnection::makeConnection()
{
    m_link = std::make_unique<TLink>();
    m_link->setDeviceRoot(QDir::tempPath() + "/zr5-no-ttys");
    m_host = std::make_unique<RecordingHost>();
    m_com = std::make_unique<TZr5Com>(*m_link, *m_host);
    m_connection = std::make_unique<TConnection>(*m_com, m_record, *m_host, m_prompter,
                                                 m_sound, m_view);
}

void TestConnection::cleanup()
{
    m_connection.reset();
    m_com.reset();
    m_link.reset();
    D2xxLibrary::instance().clearBackends();
    m_clock.reset();
}

void TestConnection::noDeviceFound()
{
    m_sim->setPlugged(false);
    m_connection->BtnRescanClick();
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].text, QStringLiteral("No FTDI cable or ZR5 USB extension found!"));
    QCOMPARE(m_prompter.messages[0].buttons, Prompter::Buttons::Ok);
    QVERIFY(m_view.calls.isEmpty());
    QCOMPARE(m_host->lines, QStringList{"Open FTDI device..."});
}

void TestConnection::connectsToTheChosenDevice()
{
    m_record.ComPort = 4; // from the settings; no tty probe changes here
    m_host->cancelFlag = 1;
    m_connection->BtnRescanClick();
    QCOMPARE(m_host->cancelFlag, 0);
    QVERIFY(m_link->Connected());
    QCOMPARE(m_record.Device, 0);
    QCOMPARE(m_record.ComPort, 4);
    QCOMPARE(m_view.rows.size(), 1);
    QCOMPARE(m_view.rows[0].caption, QStringLiteral("Device 0"));
    QCOMPARE(m_view.rows[0].serial, QString(SimBoardBackend::kSerial));
    QCOMPARE(m_view.calls,
             (QStringList{"dialog", "clear", "device 0", "com 4", "first tab", "connected state",
                          "read info", "show info", "read page"}));
    QCOMPARE(m_host->lines, (QStringList{"Open FTDI device...", "Using FTDI Device #0 on COM port #4", ""}));
    QCOMPARE(m_view.deviceView, QStringLiteral("ZR5SIM01 - ZR5 simulated board on COM4"));
    QVERIFY(m_sound.played.isEmpty());
}

void TestConnection::twoDevicesListedAndTheSecondChosen()
{
    auto other = std::make_shared<ScriptedDevice>();
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(std::make_shared<ScriptedBackend>(other, "A50285BI", "FT232R USB UART"));
    D2xxLibrary::instance().addBackend(m_sim);
    m_view.choice = 1;
    m_connection->BtnRescanClick();
    QCOMPARE(m_view.rows.size(), 2);
    QCOMPARE(m_view.rows[0].caption, QStringLiteral("Device 0"));
    QCOMPARE(m_view.rows[0].serial, QStringLiteral("A50285BI"));
    QCOMPARE(m_view.rows[0].description, QStringLiteral("FT232R USB UART"));
    QCOMPARE(m_view.rows[1].caption, QStringLiteral("Device 1"));
    QCOMPARE(m_record.Device, 1);
    QVERIFY(m_sim->isOpen());
    QVERIFY(other->written.isEmpty());
    QVERIFY(m_host->lines.contains("Using FTDI Device #1 on COM port #0"));
}

void TestConnection::dialogNotConfirmed()
{
    m_view.choice = -1;
    m_connection->BtnRescanClick();
    QVERIFY(!m_link->Connected());
    QVERIFY(!m_sim->isOpen());
    QCOMPARE(m_view.calls, QStringList{"dialog"});
    QCOMPARE(m_host->lines.last(), QStringLiteral("Open FTDI device..."));
    QCOMPARE(m_record.Device, -1);
}

void TestConnection::boardSilentAfterOpening()
{
    m_engine->options().fault = BoardOptions::Fault::Silent;
    m_connection->BtnRescanClick();
    QVERIFY(!m_link->Connected());
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    const QStringList tail = m_host->lines.mid(3);
    QCOMPARE(tail, (QStringList{"No response from ZR5 serial port driver!",
                                "ZR5 Board might be new or empty. Otherwise, ",
                                "try unplugging USB cable from PC and reconnect.",
                                "Closed FTDI device. Ready to unplug USB cable from PC.", "", "",
                                "Done.", ""}));
    QVERIFY(m_view.calls.contains("disconnected state"));
    QVERIFY(!m_view.calls.contains("connected state"));
    QCOMPARE(m_view.deviceView, QStringLiteral("(not selected)"));
    // Eleven polls of 500 ms and 250 ms each on the simulated clock.
    QCOMPARE(int(m_engine->receivedLines().size()), 11);
}

void TestConnection::comPortFoundByTheProbe()
{
    // A made-up system whose ttyUSB5 is a pseudo-terminal nobody answers on.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    QTemporaryDir tmp;
    const QString sys = tmp.path() + "/sys", dev = tmp.path() + "/dev";
    const QString usb = sys + "/devices/usb1/1-1";
    QDir().mkpath(usb + "/1-1:1.0/ttyUSB5");
    QFile vid(usb + "/idVendor");
    QVERIFY(vid.open(QIODevice::WriteOnly));
    vid.write("0403\n");
    vid.close();
    QFile serial(usb + "/serial");
    QVERIFY(serial.open(QIODevice::WriteOnly));
    serial.write("A50285BI\n");
    serial.close();
    QDir().mkpath(sys + "/class/tty/ttyUSB5");
    QVERIFY(QFile::link(usb + "/1-1:1.0/ttyUSB5", sys + "/class/tty/ttyUSB5/device"));
    QDir().mkpath(dev);
    QVERIFY(QFile::link(QString::fromLocal8Bit(::ptsname(master)), dev + "/ttyUSB5"));
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(QStringList{}, sys, dev));
    m_link->setDeviceRoot(dev);

    // A real tty lives on real time; a small board on the far end answers
    // the readiness polls so the flow does not wait out eleven of them.
    m_clock.reset();
    std::atomic<bool> stop{false};
    std::thread board([&] {
        QByteArray line;
        while (!stop) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            char c;
            while (::read(master, &c, 1) == 1) {
                line.append(c);
                if (c == '\r') {
                    if (line.contains("253?"))
                        (void)!::write(master, "253=1 [ZR5 ready]\r", 18);
                    line.clear();
                }
                if (::poll(&p, 1, 0) <= 0)
                    break;
            }
        }
    });
    m_connection->BtnRescanClick();
    stop = true;
    board.join();
    QVERIFY(m_link->Connected());
    QCOMPARE(m_record.ComPort, 5);
    QVERIFY(m_host->lines.contains("Using FTDI Device #0 on COM port #5"));
    QVERIFY(m_view.calls.contains("com 5"));
    ::close(master);
}

void TestConnection::closeWhileNotConnected()
{
    m_host->cancelFlag = 1;
    m_connection->BtnCloseClick();
    QCOMPARE(m_host->cancelFlag, 0);
    QCOMPARE(m_host->lines,
             (QStringList{"Closed FTDI device. Ready to unplug USB cable from PC.", ""}));
    QCOMPARE(m_view.calls, QStringList{"disconnected state"});
}

void TestConnection::linkLost()
{
    m_connection->BtnRescanClick();
    QVERIFY(m_link->Connected());
    m_host->lines.clear();
    m_view.calls.clear();
    m_connection->LinkLost();
    QVERIFY(!m_link->Connected());
    QVERIFY(!m_sim->isOpen());
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    QCOMPARE(m_host->lines,
             QStringList{"##### Error: No response from FTDI cable or ZR5 USB extension!"});
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].icon, Prompter::Icon::Error);
    QCOMPARE(m_prompter.messages[0].text.split('\n'),
             (QStringList{"No response from FTDI cable or ZR5 USB extension!",
                          "Power off ZR5 and unplug USB cable from PC. Wait 5 seconds.",
                          "Reconnect USB, power up ZR5 and click OK."}));
    QCOMPARE(m_record.ComPort, -1);
    QCOMPARE(m_com->ErrorKind(), TErrorKind::ComErr);
    QCOMPARE(m_com->ErrorCount(), 1);
    QCOMPARE(m_view.deviceView, QStringLiteral("(not selected)"));
    QCOMPARE(m_view.calls, QStringList{"disconnected state"});
}

void TestConnection::reopenLink_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::newRow("board there") << true;
    QTest::newRow("cable gone") << false;
}

void TestConnection::reopenLink()
{
    QFETCH(bool, plugged);
    m_record.Device = 0;
    m_record.ComPort = 3;
    m_com->SetError(TErrorKind::SyncErr);
    m_sim->setPlugged(plugged);
    QCOMPARE(m_connection->ReopenAndCheck(false), plugged);
    QCOMPARE(m_link->Connected(), plugged);
    if (plugged) {
        QCOMPARE(m_view.deviceView, QStringLiteral("ZR5 simulated board on COM3"));
        QCOMPARE(m_com->ErrorKind(), TErrorKind::noErr);
        QCOMPARE(m_view.calls, QStringList{"read info"});
        QVERIFY(m_prompter.messages.isEmpty());
    } else {
        QCOMPARE(m_com->ErrorKind(), TErrorKind::ComErr);
        QCOMPARE(m_record.ComPort, -1);
        QCOMPARE(m_prompter.messages.size(), 1);
    }
    // Already connected: nothing happens.
    const int messages = int(m_prompter.messages.size());
    m_connection->ReopenLink();
    QCOMPARE(int(m_prompter.messages.size()), messages + (plugged ? 0 : 1));
}

void TestConnection::reopenAndCheckCancelled()
{
    m_record.Device = 0;
    m_host->onWait = [this](int) { m_host->cancelFlag = 1; };
    QVERIFY(!m_connection->ReopenAndCheck(true));
    QVERIFY(m_link->Connected()); // the board did answer
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
