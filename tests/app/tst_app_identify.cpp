#include "BoardEngine.h"
#include "BoardWindow.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "TestBoard.h"
#include "RecordingSound.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TAdvancedPage.h"
#include "TBoardInfoBox.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TStringGrid.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
// Rows 2 to 4 are what identification writes; row 1 only that it stays.
const char kOrganTable[] = "Number,Name,Value,Editor,Max,Comment\n"
                           "430,\"Organ Model\",2,None,3,\"\"\n"
                           "477,\"Active Scan Core\",1,None,7,\"\"\n"
                           "481,\"Panel Input Pins\",47,None,255,\"\"\n"
                           "492,\"Analog Input Config\",3,None,3,\"\"\n";
constexpr int kScanCoreRow = 2;
constexpr int kPanelPinsRow = 3;
constexpr int kAnalogRow = 4;
} // namespace

// "Refresh ZR5 Info", F8 and the connect flow's identification in the real
// main window, against the in-process simulated board on simulated time.
class TstAppIdentify : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refreshShowsTheBoard_data();
    void refreshShowsTheBoard();
    void refreshByMenuOnlyWhileConnected_data();
    void refreshByMenuOnlyWhileConnected();
    void firmwareReplyThatIsNoNumberEndsWithABox();
    void connectIdentifiesAndReadsTheOrganPage();

private:
    void makeForm();
    void connectBoard();
    QStringList consoleLines() const { return m_form->ConsoleBox()->Lines(); }
    TBoardInfoBox* info() const { return m_form->BoardInfoBox(); }
    TStringGrid* organGrid() const { return m_form->PageArea()->OrganPage()->StringGrid1(); }
    QStringList sentLines() const { return m_sim->sentLines(); }

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppIdentify::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    QFile organ(m_sim->dir.filePath("zr5_organ_defaults.csv"));
    QVERIFY(organ.open(QIODevice::WriteOnly));
    organ.write(kOrganTable);
    organ.close();
    m_prompter = ScriptedPrompter();
}

void TstAppIdentify::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppIdentify::makeForm()
{
    m_form = MakeBoardWindow(m_sim->dir, m_prompter, m_sound);
}

void TstAppIdentify::connectBoard()
{
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ShowConnectedState();
}

void TstAppIdentify::refreshShowsTheBoard_data()
{
    QTest::addColumn<QString>("fpga");
    QTest::addColumn<int>("scanCore");
    QTest::addColumn<QString>("scanText");
    QTest::addColumn<bool>("uploads");
    // Where identification leaves the organ page's selection.
    QTest::addColumn<int>("selectedRow");

    QTest::newRow("valid board") << "24061201" << 2 << "FatarScan" << true << kAnalogRow;
    // 481 and 492 are not read then, so the scan core row stays selected.
    QTest::newRow("no FPGA configuration")
        << "00000000" << 1 << "MIDI input" << false << kScanCoreRow;
    QTest::newRow("scan core 9 means all") << "24061201" << 9 << "Update ALL" << true << kAnalogRow;
    QTest::newRow("scan core the list lacks") << "24061201" << 12 << "" << true << kAnalogRow;
}

void TstAppIdentify::refreshShowsTheBoard()
{
    QFETCH(QString, fpga);
    QFETCH(int, scanCore);
    QFETCH(QString, scanText);
    QFETCH(bool, uploads);
    QFETCH(int, selectedRow);
    BoardEngine& board = m_sim->board->engine();
    board.options().fpgaVersion = fpga;
    board.options().serialNumber = 4711;
    board.options().owner = QStringLiteral("Jane Organist");
    board.setValue(BoardEngine::kScanCoreParam, scanCore, true);
    board.setValue(481, 165, true);
    board.setValue(492, 1, true);
    makeForm();
    connectBoard();
    m_form->Console().ConsoleLine(QStringLiteral("before the refresh"));

    QTest::mouseClick(m_form->PageArea()->AdvancedPage()->BtnRefresh(), Qt::LeftButton);

    QCOMPARE(info()->EditFirmwareVersion()->text(), QStringLiteral("3.74"));
    QCOMPARE(info()->FPGAversion()->text(), fpga);
    QCOMPARE(info()->EditSerialNumber()->text(), QStringLiteral("4711"));
    QCOMPARE(info()->EditUserName()->text(), QStringLiteral("Jane Organist"));
    QCOMPARE(info()->ComboBoxScanDetected()->currentText(), scanText);
    QCOMPARE(m_form->ZR5Record().Owner, QStringLiteral("Jane Organist"));
    TAdvancedPage* advanced = m_form->PageArea()->AdvancedPage();
    QCOMPARE(advanced->BtnScanCore()->isEnabled(), uploads);
    QCOMPARE(advanced->BtnDSP()->isEnabled(), uploads);

    // The organ page shows the scan core, and the two production rows only
    // when the FPGA is usable; the grid shows what the table holds.
    QCOMPARE(organGrid()->Cell(2, kScanCoreRow), QString::number(scanCore));
    QCOMPARE(organGrid()->Cell(2, kPanelPinsRow), QString(uploads ? "165" : "47"));
    QCOMPARE(organGrid()->Cell(2, kAnalogRow), QString(uploads ? "1" : "3"));
    QCOMPARE(m_form->Pages().organ().cell(2, kScanCoreRow), QString::number(scanCore));
    QCOMPARE(organGrid()->Cell(2, 1), QStringLiteral("2"));
    QCOMPARE(organGrid()->Row(), selectedRow);

    // The console was emptied first and ends with the summary of the boxes.
    const QStringList lines = consoleLines();
    QVERIFY(!lines.contains("before the refresh"));
    QCOMPARE(lines.value(0), QStringLiteral("Read info from ZR5..."));
    QCOMPARE(lines.value(1), QStringLiteral("Found Firmware \"ZR5 Firmware 3.74\" on ZR5"));
    QCOMPARE(lines.contains("##### Warning: Update FPGA first and insert CONF_DIS JP if requested"),
             !uploads);
    const QStringList summary{"",
                              "Customer Name: Jane Organist",
                              "Serial Number: 4711",
                              "Firmware Version: ZR5 Firmware 3.74 #3.74",
                              "FPGA Version: #" + fpga,
                              "Scan Version: " + scanText + " #23",
                              "",
                              "",
                              "Done.",
                              ""};
    QVERIFY(lines.size() >= summary.size());
    QCOMPARE(lines.mid(lines.size() - summary.size()), summary);
    QVERIFY(m_prompter.messages.isEmpty());
}

void TstAppIdentify::refreshByMenuOnlyWhileConnected_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("connected") << true;
    QTest::newRow("not connected") << false;
}

void TstAppIdentify::refreshByMenuOnlyWhileConnected()
{
    QFETCH(bool, connected);
    makeForm();
    if (connected)
        connectBoard();
    m_sim->board->engine().clearReceived();
    m_form->Console().ClearConsole();
    const QString serialBefore = info()->EditSerialNumber()->text();

    m_form->MainMenu1()->RefreshInfo1()->trigger();

    QCOMPARE(m_form->MainMenu1()->RefreshInfo1()->shortcut(), QKeySequence(Qt::Key_F8));
    if (connected) {
        QVERIFY(sentLines().contains("9990?"));
        QCOMPARE(info()->EditSerialNumber()->text(), QStringLiteral("1234"));
        QCOMPARE(consoleLines().value(consoleLines().size() - 2), QStringLiteral("Done."));
    } else {
        QVERIFY(sentLines().isEmpty());
        QVERIFY(consoleLines().isEmpty());
        QCOMPARE(info()->EditSerialNumber()->text(), serialBefore);
    }
}

void TstAppIdentify::firmwareReplyThatIsNoNumberEndsWithABox()
{
    // A board whose firmware answer carries words where the number belongs.
    auto device = std::make_shared<ScriptedDevice>();
    device->onWrite = [&](const QByteArray& bytes) {
        if (bytes == "253?\r")
            device->schedule("253=1\r", m_sim->clock.nowMs() + 2);
        else if (bytes == "254?\r")
            device->schedule("254=abc [Ver, ZR5]\r", m_sim->clock.nowMs() + 2);
    };
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(std::make_shared<ScriptedBackend>(device));
    makeForm();
    connectBoard();
    const QString firmwareBefore = info()->EditFirmwareVersion()->text();

    QTest::mouseClick(m_form->PageArea()->AdvancedPage()->BtnRefresh(), Qt::LeftButton);

    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].icon, Prompter::Icon::Error);
    // Ended at the firmware: no summary, no "Done.", the boxes untouched.
    QCOMPARE(consoleLines(), QStringList{"Read info from ZR5..."});
    QCOMPARE(info()->EditFirmwareVersion()->text(), firmwareBefore);
    QCOMPARE(device->written.last().bytes, QByteArray("254?\r"));
    // The program goes on: the next refresh asks again.
    device->written.clear();
    QTest::mouseClick(m_form->PageArea()->AdvancedPage()->BtnRefresh(), Qt::LeftButton);
    QCOMPARE(device->written.last().bytes, QByteArray("254?\r"));
    QCOMPARE(m_prompter.messages.size(), 2);
}

void TstAppIdentify::connectIdentifiesAndReadsTheOrganPage()
{
    BoardEngine& board = m_sim->board->engine();
    board.setValue(430, 1, true);
    board.setValue(BoardEngine::kScanCoreParam, 5, true);
    makeForm();
    m_form->PageArea()->PageControl1()->setCurrentIndex(TPageArea::UpperTab);

    QTest::mouseClick(m_form->findChild<QPushButton*>("BtnRescan"), Qt::LeftButton);

    QVERIFY(m_form->Link().Connected());
    QCOMPARE(info()->EditFirmwareVersion()->text(), QStringLiteral("3.74"));
    QCOMPARE(info()->ComboBoxScanDetected()->currentText(), QStringLiteral("Scan16/61"));
    // The Organ page was shown and read after the identification.
    QCOMPARE(m_form->PageArea()->PageControl1()->currentIndex(), int(TPageArea::OrganTab));
    QCOMPARE(organGrid()->Cell(2, 1), QStringLiteral("1"));
    QCOMPARE(m_form->ZR5Record().ScanCore, 5);
    const QStringList lines = consoleLines();
    const qsizetype summary = lines.indexOf("Customer Name: Brackwell");
    const qsizetype read = lines.indexOf("Reading all page parameters...");
    QVERIFY(summary > 0);
    QVERIFY(read > summary);
    QCOMPARE(lines.mid(lines.size() - 3), (QStringList{"", "Done.", ""}));
}

QTEST_MAIN(TstAppIdentify)
#include "tst_app_identify.moc"
