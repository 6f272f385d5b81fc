#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "EZr5Error.h"
#include "FakeClock.h"
#include "TestLink.h"
#include "IdentificationView.h"
#include "RecordingHost.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TIdentification.h"
#include "TLink.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QMap>
#include <QTest>

namespace {
class RecordingInfoView : public IdentificationView
{
public:
    void ShowFpgaVersion(const QString& text) override { fpga = text; }
    void ShowFirmwareVersion(const QString& text) override { firmware = text; }
    void ShowSerialNumber(const QString& text) override { serial = text; }
    void ShowOwner(const QString& text) override { owner = text; }
    void ShowScanCore(int index) override { scanCore = index >= 0 && index < 10 ? index : -1; }
    void SetOrganValueOf(int number, int value) override { organ[number] = value; }
    void PlaceEditors() override { ++placed; }
    void SetUploadButtonsEnabled(bool enabled) override { uploads = enabled ? 1 : 0; }
    QString OwnerText() const override { return owner; }
    QString SerialNumberText() const override { return serial; }
    QString FirmwareVersionText() const override { return firmware; }
    QString FpgaVersionText() const override { return fpga; }
    QString ScanCoreText() const override
    {
        return scanCore >= 0 ? QString(BoardEngine::scanCoreName(scanCore)) : QString();
    }

    QString fpga, firmware, serial, owner;
    int scanCore = 1;
    QMap<int, int> organ;
    int placed = 0;
    int uploads = -1;
};
} // namespace

// Identification against the in-process simulated board on simulated time.
class TestIdentification : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void identifies_data();
    void identifies();
    void showBoardInfo();
    void negativeScanCoreLeavesTheReadout();
    void silentBoard();
    void cancelStopsAtTheNextCheckPoint();
    void firmwareReplyThatIsNoNumberRaises();
    void confDisPrompts_data();
    void confDisPrompts();

private:
    std::unique_ptr<TestLink> m_t;
    std::shared_ptr<BoardEngine> m_engine;
    TZR5Record m_record;
    ScriptedPrompter m_prompter;
    RecordingInfoView m_view;
    std::unique_ptr<TIdentification> m_id;
};

void TestIdentification::init()
{
    m_engine = std::make_shared<BoardEngine>();
    m_record = TZR5Record();
    m_record.SerialNumber = 1234; // the previous identification's
    m_prompter = ScriptedPrompter();
    m_view = RecordingInfoView();
    m_t = std::make_unique<TestLink>(std::make_shared<SimBoardBackend>(m_engine));
    m_id = std::make_unique<TIdentification>(*m_t->com, m_record, m_t->host, m_prompter, m_view);
    QVERIFY(m_t->open());
}

void TestIdentification::cleanup()
{
    m_id.reset();
    m_t.reset();
}

void TestIdentification::identifies_data()
{
    QTest::addColumn<double>("firmware");
    QTest::addColumn<QString>("fpga");
    QTest::addColumn<int>("serial");
    QTest::addColumn<int>("scanCore");
    QTest::addColumn<bool>("oldWarning");
    QTest::addColumn<bool>("missing");
    QTest::newRow("current board") << 3.74 << "24061201" << 1234 << 1 << false << false;
    QTest::newRow("firmware 3.56 is recent enough") << 3.56 << "24061201" << 7 << 0 << false << false;
    QTest::newRow("firmware 3.55 is old") << 3.55 << "24061201" << 7 << 2 << true << false;
    QTest::newRow("no configuration") << 3.74 << "00000000" << 1234 << 1 << false << true;
    QTest::newRow("erased configuration") << 3.74 << "FFFFFFFF" << 1234 << 1 << false << true;
    QTest::newRow("serial number 0") << 3.74 << "24061201" << 0 << 9 << false << true;
}

void TestIdentification::identifies()
{
    QFETCH(double, firmware);
    QFETCH(QString, fpga);
    QFETCH(int, serial);
    QFETCH(int, scanCore);
    QFETCH(bool, oldWarning);
    QFETCH(bool, missing);
    BoardOptions& o = m_engine->options();
    o.firmwareVersion = firmware;
    o.firmwareText = QStringLiteral("ZR5 Firmware");
    o.fpgaVersion = fpga;
    o.serialNumber = serial;
    m_engine->setValue(477, scanCore, true);
    m_engine->setValue(481, 165, true);
    m_engine->setValue(492, 3, true);

    m_id->ReadBoardInfo();
    QCOMPARE(m_record.FirmwareVersion, firmware);
    QCOMPARE(m_record.FirmwareString, QStringLiteral("ZR5 Firmware"));
    QCOMPARE(m_view.firmware, QString::number(firmware, 'g', 15));
    QCOMPARE(m_record.FPGAversion, fpga);
    QCOMPARE(m_view.fpga, fpga);
    QCOMPARE(m_record.SerialNumber, serial);
    QCOMPARE(m_view.serial, QString::number(serial));
    QCOMPARE(m_record.Owner, QStringLiteral("Brackwell"));
    QCOMPARE(m_view.scanCore, scanCore);
    QCOMPARE(m_view.organ.value(477, -1), scanCore);
    QCOMPARE(m_view.placed, 1);
    QCOMPARE(m_record.ScanVersion, QStringLiteral("23"));

    QStringList expected{"Read info from ZR5...", "Found Firmware \"ZR5 Firmware\" on ZR5"};
    // The reload's status sees the new configuration but the previous serial.
    if (fpga == "00000000" || fpga == "FFFFFFFF")
        expected << "##### Error: FPGA config corrupted or empty";
    if (oldWarning)
        expected << "##### Warning: Firmware version below #3.6x, some functions may not work";
    if (missing)
        expected << "##### Warning: Update FPGA first and insert CONF_DIS JP if requested";
    QCOMPARE(m_t->host.lines, expected);
    QCOMPARE(m_view.uploads, missing ? 0 : 1);
    QCOMPARE(m_view.organ.contains(481), !missing);
    if (!missing) {
        QCOMPARE(m_view.organ.value(481), 165);
        QCOMPARE(m_view.organ.value(492), 3);
    }
}

void TestIdentification::showBoardInfo()
{
    m_engine->setValue(477, 9, true);
    m_id->ReadBoardInfo();
    m_t->host.lines.clear();
    m_id->ShowBoardInfo();
    QCOMPARE(m_t->host.lines,
             (QStringList{"", "Customer Name: Brackwell", "Serial Number: 1234",
                          "Firmware Version: ZR5 Firmware 3.74 #3.74", "FPGA Version: #24061201",
                          "Scan Version: Update ALL #23", ""}));
}

void TestIdentification::negativeScanCoreLeavesTheReadout()
{
    m_engine->setValue(477, -1, false);
    m_view.scanCore = 4;
    m_id->ReadBoardInfo();
    QCOMPARE(m_view.scanCore, 4);
    QVERIFY(!m_view.organ.contains(477));
    QCOMPARE(m_view.placed, 0);
    QCOMPARE(m_record.ScanVersion, QStringLiteral("23"));
}

void TestIdentification::silentBoard()
{
    m_engine->options().fault = BoardOptions::Fault::Silent;
    m_id->ReadBoardInfo();
    // Every query still runs and its missing reply is parsed like any other.
    QCOMPARE(m_t->host.lines.first(), QStringLiteral("##### Warning: No response or process timed out"));
    QCOMPARE(m_record.FirmwareVersion, -999.0);
    QCOMPARE(m_record.FPGAversion, QStringLiteral("999"));
    QCOMPARE(m_record.SerialNumber, -999);
    QCOMPARE(m_view.uploads, 0);
}

void TestIdentification::cancelStopsAtTheNextCheckPoint()
{
    // The user presses Cancel during the readiness wait after the reload.
    m_t->host.onWait = [this](int ms) {
        if (ms == 250 && m_engine->receivedLines().size() > 4)
            m_t->host.cancelFlag = 1;
    };
    m_id->ReadBoardInfo();
    QCOMPARE(m_record.FPGAversion, QStringLiteral("24061201"));
    QCOMPARE(m_view.serial, QString());
    QCOMPARE(m_view.owner, QString());
    bool asked9952 = false;
    for (const auto& line : m_engine->receivedLines())
        asked9952 = asked9952 || line.text == "9952?";
    QVERIFY(!asked9952);
}

void TestIdentification::firmwareReplyThatIsNoNumberRaises()
{
    // A board whose firmware answer carries words where the number belongs.
    auto device = std::make_shared<ScriptedDevice>();
    device->onWrite = [&](const QByteArray& bytes) {
        if (bytes == "253?\r")
            device->schedule("253=1\r", m_t->clock.nowMs() + 2);
        else if (bytes == "254?\r")
            device->schedule("254=abc [Ver, ZR5]\r", m_t->clock.nowMs() + 2);
    };
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(std::make_shared<ScriptedBackend>(device));
    m_t->link->BuildDeviceList();
    m_t->link->OpenDevice(0);
    QVERIFY(m_t->link->Connected());
    QVERIFY_THROWS_EXCEPTION(EZr5Error, m_id->ReadBoardInfo());
    // Identification ended there: nothing after the firmware was asked.
    for (const auto& written : device->written)
        QVERIFY(written.bytes != "3?\r");
    QCOMPARE(device->written.last().bytes, QByteArray("254?\r"));
    QCOMPARE(m_t->host.lines, QStringList{"Read info from ZR5..."});
}

void TestIdentification::confDisPrompts_data()
{
    QTest::addColumn<double>("firmware");
    QTest::addColumn<int>("boxes");
    QTest::newRow("3.55") << 3.55 << 2;
    QTest::newRow("3.56") << 3.56 << 0;
}

void TestIdentification::confDisPrompts()
{
    QFETCH(double, firmware);
    QFETCH(int, boxes);
    m_record.FirmwareVersion = firmware;
    m_id->PromptInsertConfDis();
    m_id->PromptRemoveConfDis();
    QCOMPARE(int(m_prompter.messages.size()), boxes);
    if (boxes) {
        QCOMPARE(m_prompter.messages[0].text,
                 QStringLiteral("FPGA configuration is corrupted. Please insert CONF_DIS jumper "
                                "before continuing!"));
        QCOMPARE(m_prompter.messages[1].text,
                 QStringLiteral("Please remove CONF_DIS jumper and click OK when done!"));
    }
}

QTEST_GUILESS_MAIN(TestIdentification)
#include "tst_identification.moc"
