#include "BoardEngine.h"
#include "IdentificationView.h"
#include "QuietIdentificationView.h"
#include "RecordingHost.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TIdentification.h"
#include "TLink.h"
#include "TMaintenance.h"
#include "TZR5Record.h"
#include "TZr5Com.h"
#include "TestLink.h"

#include <QTest>

namespace {
// Clearing the console empties the host's record, as the window's would.
class RecordingMaintenanceView : public MaintenanceView
{
public:
    explicit RecordingMaintenanceView(RecordingHost& host) : m_host(host) {}
    void ClearConsole() override
    {
        m_host.lines.clear();
        ++cleared;
    }
    void ClearSwitches() override { ++switchesCleared; }

    int cleared = 0;
    int switchesCleared = 0;

private:
    RecordingHost& m_host;
};

const QString kDone = QStringLiteral("Done.");
const QString kNotConnected = QStringLiteral("##### Error: Not connected!");
const QString kCancelled = QStringLiteral("##### Warning: Process cancelled by user");
} // namespace

// Reset, factory defaults, the reload buttons and the parameter tester
// against the in-process simulated board on simulated time.
class TestMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factoryDefaults_data();
    void factoryDefaults();
    void factoryDefaultsWithoutBoard();
    void factoryRestoreShowsTheConfirmation_data();
    void factoryRestoreShowsTheConfirmation();
    void reloadButtons_data();
    void reloadButtons();
    void reloadButtonsWithoutBoard();
    void resetClearsFirstAndIdentifies();
    void testerWrites_data();
    void testerWrites();
    void spinButtons_data();
    void spinButtons();

private:
    QStringList sentLines() const;
    int lineCount(const QString& text) const { return int(m_host->lines.count(text)); }

    std::shared_ptr<BoardEngine> m_engine;
    std::unique_ptr<TestLink> m_t;
    RecordingHost* m_host = nullptr;
    TZR5Record m_record;
    ScriptedPrompter m_prompter;
    QuietIdentificationView m_infoView;
    std::unique_ptr<RecordingMaintenanceView> m_view;
    std::unique_ptr<TIdentification> m_identification;
    std::unique_ptr<TMaintenance> m_maintenance;
};

void TestMaintenance::init()
{
    m_engine = std::make_shared<BoardEngine>();
    m_t = std::make_unique<TestLink>(std::make_shared<SimBoardBackend>(m_engine));
    m_host = &m_t->host;
    m_record = TZR5Record();
    m_record.FirmwareVersion = 3.81;
    m_view = std::make_unique<RecordingMaintenanceView>(*m_host);
    m_identification =
        std::make_unique<TIdentification>(*m_t->com, m_record, *m_host, m_prompter, m_infoView);
    m_maintenance =
        std::make_unique<TMaintenance>(*m_t->com, m_record, *m_host, *m_identification, *m_view);
    QVERIFY(m_t->open());
}

void TestMaintenance::cleanup()
{
    m_maintenance.reset();
    m_identification.reset();
    m_t.reset();
}

QStringList TestMaintenance::sentLines() const
{
    QStringList lines;
    for (const BoardEngine::ReceivedLine& line : m_engine->receivedLines())
        lines << QString::fromLatin1(line.text);
    return lines;
}

void TestMaintenance::factoryDefaults_data()
{
    QTest::addColumn<double>("firmware");
    QTest::addColumn<int>("serial");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("result");
    const QString saved = QStringLiteral("Current configuration saved to Factory Defaults");
    const QString notSaved =
        QStringLiteral("##### Error: no board/user info found, EEPROM not initialized");
    const QString old = QStringLiteral("No DataFlash Factory Defaults in old firmware");
    QTest::newRow("3.80 is old") << 3.80 << 1234 << true << QString() << old;
    QTest::newRow("3.805 counts as new") << 3.805 << 1234 << true << "SFX 1=9!" << saved;
    QTest::newRow("3.81") << 3.81 << 1234 << true << "SFX 1=9!" << saved;
    QTest::newRow("save without a second line") << 3.81 << 0 << true << "SFX 1=9!" << notSaved;
    QTest::newRow("restore without saved defaults")
        << 3.81 << 1234 << false << "SFX 2=9!"
        << QStringLiteral("##### Error: EEPROM was not saved to DataFlash");
    QTest::newRow("restore on old firmware") << 3.5 << 1234 << false << QString() << old;
}

void TestMaintenance::factoryDefaults()
{
    QFETCH(double, firmware);
    QFETCH(int, serial);
    QFETCH(bool, save);
    QFETCH(QString, command);
    QFETCH(QString, result);
    m_record.FirmwareVersion = firmware;
    m_engine->options().serialNumber = serial;
    m_host->cancelFlag = 1;
    if (save)
        m_maintenance->BtnSaveFactoryClick();
    else
        m_maintenance->BtnRestoreFactoryClick();

    QCOMPARE(m_host->cancelFlag, 0);
    QCOMPARE(sentLines(), command.isEmpty() ? QStringList() : QStringList{command});
    QCOMPARE(m_host->lines,
             (QStringList{"Processing Factory Defaults...", result, QString(), kDone, QString()}));
}

void TestMaintenance::factoryDefaultsWithoutBoard()
{
    m_t->link->Ftdi()->closeDevice();
    m_t->link->setConnected(false);
    m_maintenance->BtnSaveFactoryClick();
    m_maintenance->BtnRestoreFactoryClick();
    QCOMPARE(m_host->lines,
             (QStringList{"Processing Factory Defaults...", QString(), kDone, QString(),
                          "Processing Factory Defaults...", QString(), kDone, QString()}));
}

void TestMaintenance::factoryRestoreShowsTheConfirmation_data()
{
    QTest::addColumn<bool>("verbose");
    QTest::newRow("quiet") << false;
    QTest::newRow("verbose") << true;
}

void TestMaintenance::factoryRestoreShowsTheConfirmation()
{
    QFETCH(bool, verbose);
    m_host->verbose = verbose;
    m_engine->setValue(430, 2, true);
    m_maintenance->BtnSaveFactoryClick();
    m_engine->setValue(430, 3, true);
    m_host->lines.clear();
    m_maintenance->BtnRestoreFactoryClick();
    QCOMPARE(m_engine->value(430), 2);

    // The save shows its confirmation only in verbose mode; the restore
    // always, as a plain line.
    QStringList expected{"Processing Factory Defaults..."};
    if (verbose)
        expected << "SFX 2=0 [Restore EEPROM from DataFlash]\r";
    expected << "SFX 2=1 [Factory defaults restored]\r"
             << "Configuration restored from Factory Defaults" << QString() << kDone << QString();
    QCOMPARE(m_host->lines, expected);
}

void TestMaintenance::reloadButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("queries");
    QTest::addColumn<bool>("clearsCancel");
    QTest::newRow("Reload Gen (9996)") << 4 << QStringList{"9996?"} << true;
    QTest::newRow("Reload Cores (9997) asks 9998 and 3") << 1 << QStringList{"9998?", "3?"} << true;
    QTest::newRow("Reload FPGA (9998)") << 2 << QStringList{"9998?"} << false;
    QTest::newRow("System Reset (9999)") << 3 << QStringList{"9999?"} << false;
}

void TestMaintenance::reloadButtons()
{
    QFETCH(int, button);
    QFETCH(QStringList, queries);
    QFETCH(bool, clearsCancel);
    const auto press = [&] {
        switch (button) {
        case 1:
            return m_maintenance->BitBtn1Click();
        case 2:
            return m_maintenance->BitBtn2Click();
        case 3:
            return m_maintenance->BitBtn3Click();
        default:
            return m_maintenance->BitBtn4Click();
        }
    };

    press();
    QStringList sent = sentLines();
    // Then WaitForBoard: readiness polls until one is answered.
    QCOMPARE(sent.mid(0, queries.size()), queries);
    QCOMPARE(sent.mid(queries.size()), QStringList{"253?"});
    QCOMPARE(m_host->lines, (QStringList{QString(), kDone, QString()}));

    // After an earlier cancel: the exchange runs all the same; the buttons
    // that do not clear the flag end at once with the cancelled warning.
    m_engine->clearReceived();
    m_host->lines.clear();
    m_host->cancelFlag = 1;
    press();
    sent = sentLines();
    QCOMPARE(sent.mid(0, queries.size()), queries);
    QCOMPARE(sent.size(), queries.size() + 1);
    QStringList expected;
    if (!clearsCancel)
        expected << kCancelled;
    expected << QString() << kDone << QString();
    QCOMPARE(m_host->lines, expected);
}

void TestMaintenance::reloadButtonsWithoutBoard()
{
    m_t->link->Ftdi()->closeDevice();
    m_t->link->setConnected(false);
    m_maintenance->BitBtn1Click();
    m_maintenance->BitBtn2Click();
    m_maintenance->BitBtn3Click();
    m_maintenance->BitBtn4Click();
    QCOMPARE(m_host->lines, QStringList(4, kNotConnected));
}

void TestMaintenance::resetClearsFirstAndIdentifies()
{
    m_host->lines << "earlier line";
    m_engine->setValue(431, 7, false);
    m_maintenance->BtnResetClick();
    QCOMPARE(m_view->cleared, 1);
    QCOMPARE(m_view->switchesCleared, 1);
    QCOMPARE(m_host->lines.value(0), QStringLiteral("Read info from ZR5..."));
    QCOMPARE(m_host->lines.mid(m_host->lines.size() - 3),
             (QStringList{QString(), kDone, QString()}));
    QCOMPARE(sentLines().value(0), QStringLiteral("9999?"));
    // The board's restart let the volatile value go.
    QCOMPARE(m_engine->value(431), 0);
}

void TestMaintenance::testerWrites_data()
{
    QTest::addColumn<QString>("param");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("sent");
    QTest::newRow("plain") << "430" << 12 << true << "430=12!";
    QTest::newRow("zero is written too") << "430" << 0 << true << "430=0!";
    QTest::newRow("beyond the spin limit") << "300" << 255 << true << "300=255!";
    QTest::newRow("no number is parameter 0") << "" << 5 << true << "0=5!";
    QTest::newRow("not connected") << "430" << 12 << false << QString();
}

void TestMaintenance::testerWrites()
{
    QFETCH(QString, param);
    QFETCH(int, position);
    QFETCH(bool, connected);
    QFETCH(QString, sent);
    if (!connected) {
        m_t->link->Ftdi()->closeDevice();
        m_t->link->setConnected(false);
    }
    m_maintenance->ScrollBarTestParamChange(param, position);
    QCOMPARE(sentLines(), sent.isEmpty() ? QStringList() : QStringList{sent});
    // Never stored: the write is gone after a restart.
    if (connected)
        QVERIFY(!m_engine->isNonVolatile(TMaintenance::TestParamNumber(param)));
}

void TestMaintenance::spinButtons_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("down");
    QTest::newRow("middle") << "10"
                            << "11"
                            << "9";
    QTest::newRow("at the top") << "255"
                                << "255"
                                << "254";
    QTest::newRow("beyond the top") << "300"
                                    << "255"
                                    << "299";
    QTest::newRow("at the bottom") << "0"
                                   << "1"
                                   << "0";
    QTest::newRow("no number") << ""
                               << "1"
                               << "0";
}

void TestMaintenance::spinButtons()
{
    QFETCH(QString, text);
    QFETCH(QString, up);
    QFETCH(QString, down);
    QCOMPARE(TMaintenance::SpinButton1UpClick(text), up);
    QCOMPARE(TMaintenance::SpinButton1DownClick(text), down);
}

QTEST_GUILESS_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
