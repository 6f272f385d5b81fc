#include "BoardEngine.h"
#include "FakeProductionSteps.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TPageModel.h"
#include "TPageTableFile.h"
#include "TProduction.h"
#include "TZR5Record.h"
#include "TestLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Icon = Prompter::Icon;
using Answer = Prompter::Answer;

namespace {
const QString kFirmware = QStringLiteral("ZR5mk3_std_b.hex");
const QStringList kProductionFiles{"fpga_24061201.bit", "ZR5mk3_std_b.hex",  "ZR5mk3_std_b.eep",
                                   "dsp_rev.bin",       "zr_midi.dat",       "fir_coeff.dat",
                                   "taper_levels1.dat", "taper_levels2.dat", "taper_levels3.dat",
                                   "taper_levels4.dat"};

const QString kCablesBox = QStringLiteral(
    "Connect ISP programming cable to PL1\rand FTDI cable to PL26.\rInsert jumper JP9 on mk4 "
    "boards (SWELL).\rInsert jumper JP5 (CONF_DIS) and click OK when done!");
const QString kJumpersBox =
    QStringLiteral("Insert jumpers JP7/JP8 after red LED on ZR5 went off.Click OK when done.\r");
const QString kRetryBox =
    QStringLiteral("Jumpers JP7 and JP8 not inserted. Click OK to retry or Cancel to proceed.");
const QString kSuccessBox = QStringLiteral(
    "Operation succesfull. \rRemove jumpers JP5, JP7 and JP8.\rDisconnect ISP programming cable "
    "from PL1. ");
const QStringList kDone{"", "Done.", ""};

// The steps of a run that goes through, after the ISP stage and step 7.
const QStringList kBoardSteps{"ReopenAndCheck(true)",  "ShowBoardInfo",      "ProductionFpgaUpdate",
                              "ProductionDspTransfer", "ShowConnectedState", "ReadBoardInfo",
                              "BtnSaveFactoryClick",   "ReadBoardInfo",      "BoardAlive",
                              "ShowConnectedState",    "ShowBoardInfo"};
} // namespace

// The production run, Finalize, "AVR only" and "Repair Fuses" with the
// window's steps recorded and the simulated board behind the line layer.
class TstProduction : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFilesStopBeforeTheFirstBox_data();
    void missingFilesStopBeforeTheFirstBox();
    void runGoesThroughToTheSuccessBox_data();
    void runGoesThroughToTheSuccessBox();
    void toolFailureStopsAfterTheCableBox();
    void reverbTransferRetries_data();
    void reverbTransferRetries();
    void boardSilentAtTheEndIsNeverASuccess_data();
    void boardSilentAtTheEndIsNeverASuccess();
    void severeFpgaStepEndsTheRun();
    void boardSilentAfterProgrammingStopsAfterTheReverbStep();
    void cancelStopsAtTheCheckPoints_data();
    void cancelStopsAtTheCheckPoints();
    void cancelWhileTheToolRunsStopsBeforeTheBoard_data();
    void cancelWhileTheToolRunsStopsBeforeTheBoard();
    void resultBoxByCountedErrors_data();
    void resultBoxByCountedErrors();
    void commandsWhileOneRunsAreIgnored();

    void finalizeWritesThreeSettingsAndSavesDefaults_data();
    void finalizeWritesThreeSettingsAndSavesDefaults();
    void finalizeWithoutBoard();

    void avrOnlyLooksAtTheBoardWhateverHappened_data();
    void avrOnlyLooksAtTheBoardWhateverHappened();
    void avrOnlyCancelledDuringItsWait();

    void fuseRepairShowsTheLog_data();
    void fuseRepairShowsTheLog();

private:
    void writeFile(const QString& name);
    QStringList& lines() { return m_link->host.lines; }
    TZr5Com& com() { return *m_link->com; }
    QStringList boxTexts() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::shared_ptr<BoardEngine> m_board;
    std::unique_ptr<TestLink> m_link;
    std::unique_ptr<FakeProductionSteps> m_steps;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    TPageModel m_pages;
    TZR5Record m_record;
    std::unique_ptr<TProduction> m_production;
};

void TstProduction::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    for (const QString& name : kProductionFiles)
        writeFile(name);
    m_board = std::make_shared<BoardEngine>();
    m_link = std::make_unique<TestLink>(std::make_shared<SimBoardBackend>(m_board));
    m_steps = std::make_unique<FakeProductionSteps>(m_link->host, *m_link->com);
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
    m_pages = TPageModel();
    m_record = TZR5Record();
    m_record.Device = 0;
    m_record.ComPort = 3;
    m_production = std::make_unique<TProduction>(com(), m_record, m_pages, m_link->host, m_prompter,
                                                 m_sound, *m_steps, m_dir->filePath("avrdude"));
}

void TstProduction::cleanup()
{
    m_production.reset();
    m_steps.reset();
    m_link.reset();
    m_board.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TstProduction::writeFile(const QString& name)
{
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

QStringList TstProduction::boxTexts() const
{
    QStringList texts;
    for (const ScriptedPrompter::Message& message : m_prompter.messages)
        texts << message.text;
    return texts;
}

void TstProduction::missingFilesStopBeforeTheFirstBox_data()
{
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<int>("counted");
    QTest::newRow("counted") << QStringList{"zr_midi.dat", "dsp_rev.bin"} << 1;
    // Also a file whose absence is not counted stops the run.
    QTest::newRow("not counted") << QStringList{"taper_levels1.dat"} << 0;
}

void TstProduction::missingFilesStopBeforeTheFirstBox()
{
    QFETCH(QStringList, missing);
    QFETCH(int, counted);
    for (const QString& name : missing)
        QVERIFY(QFile::remove(m_dir->filePath(name)));
    lines() << "before the run";
    m_link->host.cancelFlag = 1;

    m_production->ProdProgClick(kFirmware, "0");

    QCOMPARE(m_link->host.cancelFlag, 0);
    QCOMPARE(lines().first(), QString("Programming AVR controller by ISP..."));
    QCOMPARE(lines().size(), 3 + missing.size());
    for (const QString& name : missing)
        QVERIFY(lines().contains("##### Error: Missing file " + name));
    QVERIFY(m_prompter.messages.isEmpty());
    QVERIFY(m_steps->toolRuns.isEmpty());
    QCOMPARE(m_steps->calls, QStringList{"ClearConsole"});
    // The record of the check stays for the operator to see.
    QCOMPARE(com().ErrorCount(), counted);
}

void TstProduction::runGoesThroughToTheSuccessBox_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("comPort");
    QTest::addColumn<QStringList>("connectSteps");
    QTest::newRow("device remembered") << false << 0 << 3 << QStringList{"ReopenLink"};
    QTest::newRow("no device remembered") << false << -1 << 3 << QStringList{"BtnRescanClick"};
    QTest::newRow("port lost") << false << 1 << -1 << QStringList{"BtnRescanClick"};
    QTest::newRow("already connected") << true << -1 << -1 << QStringList{};
}

void TstProduction::runGoesThroughToTheSuccessBox()
{
    QFETCH(bool, connected);
    QFETCH(int, device);
    QFETCH(int, comPort);
    QFETCH(QStringList, connectSteps);
    if (connected)
        QVERIFY(m_link->open());
    m_record.Device = device;
    m_record.ComPort = comPort;
    com().SetError(TErrorKind::TxErr);

    m_production->ProdProgClick(kFirmware, "0");

    QCOMPARE(m_steps->calls, QStringList{"ClearConsole"} + connectSteps + kBoardSteps);
    QCOMPARE(boxTexts(), (QStringList{kCablesBox, kJumpersBox, kSuccessBox}));
    QCOMPARE(m_prompter.messages.last().icon, Icon::Information);
    QCOMPARE(m_steps->toolRuns.size(), 3);
    QVERIFY(lines().contains("Waiting for AVR boot... "));
    QCOMPARE(lines().mid(lines().size() - 4), QStringList{""} + kDone);
    // The errors from before the run were cleared at its start.
    QCOMPARE(com().ErrorCount(), 0);
    QVERIFY(m_sound.played.isEmpty());
}

void TstProduction::toolFailureStopsAfterTheCableBox()
{
    m_steps->log = QStringLiteral("avrdude: ser_open(): can't open device \"COM0\"\n");
    m_production->ProdProgClick(kFirmware, "0");
    QCOMPARE(boxTexts(), QStringList{kCablesBox});
    QCOMPARE(m_steps->calls, QStringList{"ClearConsole"});
    QCOMPARE(m_steps->toolRuns.size(), 1);
    QCOMPARE(lines().last(), QString("##### Error: AVRdude COM. Is DIAMEX port# correct?"));
}

void TstProduction::reverbTransferRetries_data()
{
    QTest::addColumn<QList<bool>>("failures");
    QTest::addColumn<QList<Answer>>("retryAnswers");
    QTest::addColumn<int>("transfers");

    QTest::newRow("fails, operator proceeds")
        << QList<bool>{true} << QList<Answer>{Answer::Cancel} << 1;
    QTest::newRow("fails twice, then goes through")
        << QList<bool>{true, true, false} << QList<Answer>{Answer::Ok, Answer::Ok} << 3;
}

void TstProduction::reverbTransferRetries()
{
    QFETCH(QList<bool>, failures);
    QFETCH(QList<Answer>, retryAnswers);
    QFETCH(int, transfers);
    for (const bool failure : failures)
        m_steps->dspFailures.enqueue(failure);
    m_prompter.answers << Answer::Ok << Answer::Ok;
    for (const Answer answer : retryAnswers)
        m_prompter.answers << answer;

    m_production->ProdProgClick(kFirmware, "0");

    QCOMPARE(m_steps->calls.count("ProductionDspTransfer"), transfers);
    QCOMPARE(boxTexts().count(kRetryBox), retryAnswers.size());
    for (const ScriptedPrompter::Message& message : m_prompter.messages) {
        if (message.text == kRetryBox) {
            QCOMPARE(message.icon, Icon::Warning);
            QCOMPARE(message.buttons, Prompter::Buttons::OkCancel);
        }
    }
    // The board answers at the end, so the run ends in the success box.
    QCOMPARE(boxTexts().last(), kSuccessBox);
    QCOMPARE(lines().mid(lines().size() - 3), kDone);
}

void TstProduction::boardSilentAtTheEndIsNeverASuccess_data()
{
    QTest::addColumn<bool>("reverbFailed");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing counted before")
        << false << Icon::Warning
        << "1 minor Error(s) of type SyncErr occured.\rZR5 does not respond. Cycle power and "
           "finalize again.\rRepeat procedure if ZR5 board fails test.";
    QTest::newRow("reverb failed before")
        << true << Icon::Error
        << "1 severe Error(s) of type FlashErr occured.\rZR5 does not respond. Cycle power and "
           "finalize again.\rRepeat update procedure.";
}

void TstProduction::boardSilentAtTheEndIsNeverASuccess()
{
    QFETCH(bool, reverbFailed);
    QFETCH(Icon, icon);
    QFETCH(QString, text);
    m_steps->boardAlive = false;
    m_steps->dspFailures.enqueue(reverbFailed);
    m_prompter.answers << Answer::Ok << Answer::Ok << Answer::Cancel;

    m_production->ProdProgClick(kFirmware, "0");

    QCOMPARE(m_prompter.messages.last().icon, icon);
    QCOMPARE(m_prompter.messages.last().text, text);
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    QCOMPARE(m_steps->calls.last(), QString("BoardAlive"));
    QCOMPARE(lines().mid(lines().size() - 3), kDone);
}

void TstProduction::severeFpgaStepEndsTheRun()
{
    m_steps->fpgaError = TErrorKind::FlashErr;
    m_production->ProdProgClick(kFirmware, "0");
    QCOMPARE(m_steps->calls.last(), QString("ProductionFpgaUpdate"));
    QCOMPARE(m_prompter.messages.last().icon, Icon::Error);
    QCOMPARE(m_prompter.messages.last().text,
             QString("1 severe Error(s) of type FlashErr occured.\rRepeat programming "
                     "procedure.\rRepeat update procedure."));
    QCOMPARE(lines().mid(lines().size() - 3), kDone);
}

void TstProduction::boardSilentAfterProgrammingStopsAfterTheReverbStep()
{
    m_steps->reopenAnswers = false;
    m_production->ProdProgClick(kFirmware, "0");
    QCOMPARE(m_steps->calls, (QStringList{"ClearConsole", "ReopenLink", "ReopenAndCheck(true)",
                                          "ProductionDspTransfer"}));
    QCOMPARE(boxTexts(), (QStringList{kCablesBox, kJumpersBox}));
    QCOMPARE(m_link->host.cancelFlag, 1);
    QCOMPARE(com().ErrorKind(), TErrorKind::noErr);
    QCOMPARE(com().ErrorCount(), 0);
    QVERIFY(!lines().contains("Done."));
}

void TstProduction::cancelStopsAtTheCheckPoints_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<int>("stepsRun");
    // Cancel pressed while this step (its n-th run) lets the window work:
    // the run goes no further than the check that follows it. The reverb
    // step has no check before it, so it still runs after the FPGA step.
    QTest::newRow("reopen after the ISP stage") << "ReopenAndCheck(true)" << 1 << 1;
    QTest::newRow("FPGA update") << "ProductionFpgaUpdate" << 1 << 4;
    QTest::newRow("first identification") << "ReadBoardInfo" << 1 << 6;
    QTest::newRow("factory save") << "BtnSaveFactoryClick" << 1 << 7;
    QTest::newRow("last identification") << "ReadBoardInfo" << 2 << 8;
}

void TstProduction::cancelStopsAtTheCheckPoints()
{
    QFETCH(QString, step);
    QFETCH(int, occurrence);
    QFETCH(int, stepsRun);
    m_steps->onStep = [this, step, occurrence](const QString& name) {
        if (name == step && m_steps->calls.count(name) == occurrence)
            m_link->host.cancelFlag = 1;
    };
    m_production->ProdProgClick(kFirmware, "0");
    QCOMPARE(m_steps->calls,
             (QStringList{"ClearConsole", "ReopenLink"} + kBoardSteps.mid(0, stepsRun)));
    QVERIFY(!boxTexts().contains(kSuccessBox));
    QVERIFY(!lines().contains("Done."));
}

void TstProduction::cancelWhileTheToolRunsStopsBeforeTheBoard_data()
{
    QTest::addColumn<int>("cancelledRun");
    QTest::addColumn<int>("toolRuns");
    // The signature check is followed by a check of its own; the flash
    // command by the run's check before the board is reached.
    QTest::newRow("signature check") << 1 << 1;
    QTest::newRow("flash and EEPROM") << 3 << 3;
}

void TstProduction::cancelWhileTheToolRunsStopsBeforeTheBoard()
{
    QFETCH(int, cancelledRun);
    QFETCH(int, toolRuns);
    m_steps->onToolRun = [this, cancelledRun](const FakeProductionSteps::ToolRun&) {
        if (m_steps->toolRuns.size() == cancelledRun)
            m_link->host.cancelFlag = 1;
    };
    m_production->ProdProgClick(kFirmware, "0");
    QCOMPARE(m_steps->toolRuns.size(), toolRuns);
    QCOMPARE(m_steps->calls, QStringList{"ClearConsole"});
    QCOMPARE(boxTexts(), QStringList{kCablesBox});
    QVERIFY(lines().filter("##### Error").isEmpty());
    QVERIFY(!lines().contains("Done."));
}

void TstProduction::resultBoxByCountedErrors_data()
{
    QTest::addColumn<TErrorKind>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing counted")
        << TErrorKind::FlashErr << 0 << Icon::Information
        << "Operation succesfull.\rSome text.\rZR5 board ready for test.";
    QTest::newRow("minor, kind reset since")
        << TErrorKind::noErr << 2 << Icon::Warning
        << "2 minor Error(s) of type noErr occured.\rSome text.\rRepeat procedure if ZR5 board "
           "fails test.";
    QTest::newRow("minor") << TErrorKind::SyncErr << 1 << Icon::Warning
                           << "1 minor Error(s) of type SyncErr occured.\rSome text.\rRepeat "
                              "procedure if ZR5 board fails test.";
    QTest::newRow("first severe kind")
        << TErrorKind::TxErr << 3 << Icon::Error
        << "3 severe Error(s) of type TxErr occured.\rSome text.\rRepeat update procedure.";
    QTest::newRow("last kind") << TErrorKind::CancelErr << 1 << Icon::Error
                               << "1 severe Error(s) of type CancelErr occured.\rSome "
                                  "text.\rRepeat update procedure.";
}

void TstProduction::resultBoxByCountedErrors()
{
    QFETCH(TErrorKind, kind);
    QFETCH(int, count);
    QFETCH(Icon, icon);
    QFETCH(QString, text);
    for (int i = 0; i < count; ++i)
        com().SetError(TErrorKind::FileErr);
    com().SetErrorKind(kind);

    m_production->ShowProductionResult("Some text.");

    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].icon, icon);
    QCOMPARE(m_prompter.messages[0].text, text);
    QCOMPARE(m_prompter.messages[0].buttons, Prompter::Buttons::Ok);
}

void TstProduction::commandsWhileOneRunsAreIgnored()
{
    QVERIFY(m_link->open());
    int toolRunsInside = -1;
    m_steps->onStep = [this, &toolRunsInside](const QString& name) {
        if (name != "ProductionFpgaUpdate")
            return;
        // Clicks that the window handles while the run waits.
        const int boxes = int(m_prompter.messages.size());
        const int toolRuns = int(m_steps->toolRuns.size());
        m_production->ProdProgClick(kFirmware, "0");
        m_production->BtnAVRonlyClick(kFirmware, "0");
        m_production->BtnSetFuseBits("0");
        m_production->BtnWriteBasicsClick();
        QCOMPARE(m_prompter.messages.size(), boxes);
        toolRunsInside = int(m_steps->toolRuns.size()) - toolRuns;
    };
    m_production->ProdProgClick(kFirmware, "0");
    QCOMPARE(toolRunsInside, 0);
    QCOMPARE(m_steps->calls, QStringList{"ClearConsole"} + kBoardSteps);
    QCOMPARE(boxTexts().last(), kSuccessBox);

    // Once the run is over, the commands work again.
    m_steps->onStep = nullptr;
    m_production->BtnSetFuseBits("0");
    QCOMPARE(m_steps->toolRuns.size(), 4);
}

void TstProduction::finalizeWritesThreeSettingsAndSavesDefaults_data()
{
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<int>("value481");
    const QString header = "Number,Name,Value,Editor,Max,Comment";
    QTest::newRow("all three rows") << QStringList{header, "477,Core,2,None,7,",
                                                   "481,Pins,165,None,255,", "492,Analog,1,None,3,"}
                                    << 165;
    QTest::newRow("organ page without 481")
        << QStringList{header, "477,Core,2,None,7,", "492,Analog,1,None,3,"} << 0;
}

void TstProduction::finalizeWritesThreeSettingsAndSavesDefaults()
{
    QFETCH(QStringList, table);
    QFETCH(int, value481);
    QVERIFY(TPageTableFile::fillFromLines(table, m_pages.organ(), "organ").ok());
    QVERIFY(m_link->open());
    m_board->setValue(481, 77, false);
    m_link->host.cancelFlag = 1;

    m_production->BtnWriteBasicsClick();

    QCOMPARE(m_link->host.cancelFlag, 0);
    QCOMPARE(lines(), QStringList({"Finalizing...", "Set ZR5 Param 477 to 2",
                                   "Set ZR5 Param 481 to " + QString::number(value481),
                                   "Set ZR5 Param 492 to 1"}) +
                          kDone);
    const QList<QPair<int, int>> written{{477, 2}, {481, value481}, {492, 1}};
    for (const auto& [number, value] : written) {
        QCOMPARE(m_board->value(number), value);
        QVERIFY(m_board->isNonVolatile(number));
    }
    QCOMPARE(m_steps->calls,
             (QStringList{"BtnSaveFactoryClick", "BoardAlive", "ReadBoardInfo", "ShowBoardInfo"}));
}

void TstProduction::finalizeWithoutBoard()
{
    m_production->BtnWriteBasicsClick();
    QCOMPARE(lines(), QStringList{"Finalizing..."});
    QVERIFY(m_steps->calls.isEmpty());
    QVERIFY(m_board->receivedLines().isEmpty());
}

void TstProduction::avrOnlyLooksAtTheBoardWhateverHappened_data()
{
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<bool>("boardAnswers");
    QTest::addColumn<QString>("ispLine");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("separator item, board answers")
        << "------------------------------" << true << "##### Error: HEX flash file not found"
        << QStringList{"ReopenAndCheck(true)", "ReadBoardInfo", "ShowBoardInfo"};
    QTest::newRow("programmed, board silent")
        << kFirmware << false << "avrdude: Device signature = 0x1e960a"
        << QStringList{"ReopenAndCheck(true)"};
}

void TstProduction::avrOnlyLooksAtTheBoardWhateverHappened()
{
    QFETCH(QString, firmware);
    QFETCH(bool, boardAnswers);
    QFETCH(QString, ispLine);
    QFETCH(QStringList, after);
    m_steps->reopenAnswers = boardAnswers;

    m_production->BtnAVRonlyClick(firmware, "0");

    QVERIFY(lines().contains(ispLine));
    QCOMPARE(m_link->host.waits.last(), 2000);
    QCOMPARE(m_steps->calls, after);
    if (boardAnswers) {
        QCOMPARE(lines().mid(lines().size() - 3), kDone);
        QCOMPARE(lines().first(), QString("Setting AVR Fuse Bits..."));
        QCOMPARE(lines().at(1), QString("Programming AVR controller by ISP..."));
    } else {
        QCOMPARE(lines().last(), QString("##### Error: Controller not responding!"));
    }
    QVERIFY(m_prompter.messages.isEmpty());
}

void TstProduction::avrOnlyCancelledDuringItsWait()
{
    m_link->host.onWait = [this](int ms) {
        if (ms == 2000)
            m_link->host.cancelFlag = 1;
    };
    m_production->BtnAVRonlyClick(kFirmware, "0");
    QCOMPARE(m_steps->toolRuns.size(), 3);
    QVERIFY(m_steps->calls.isEmpty());
    QCOMPARE(lines().last(), QString("avrdude: Device signature = 0x1e960a"));
}

void TstProduction::fuseRepairShowsTheLog_data()
{
    QTest::addColumn<bool>("logWritten");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("log replaces the console")
        << true << (QStringList{"avrdude: Device signature = 0x1e960a"} + kDone);
    QTest::newRow("no log") << false
                            << QStringList{"earlier line", "Setting AVR Fuse Bits...",
                                           "##### Error: AVRdude log not created"};
}

void TstProduction::fuseRepairShowsTheLog()
{
    QFETCH(bool, logWritten);
    QFETCH(QStringList, expected);
    if (!logWritten)
        m_steps->log.reset();
    lines() << "earlier line";

    m_production->BtnSetFuseBits("-1");

    QCOMPARE(lines(), expected);
    QCOMPARE(m_steps->toolRuns.size(), 1);
    QCOMPARE(m_steps->toolRuns[0].parameters,
             QString("-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM-1 -V -q -U "
                     "lfuse:w:0xf7:m -U hfuse:w:0xd2:m -U efuse:w:0xfc:m -U lock:w:0xef:m  -l "
                     "\"avrdude.log\""));
    QVERIFY(m_steps->toolRuns[0].hidden);
    QCOMPARE(com().ErrorCount(), 0);
}

QTEST_GUILESS_MAIN(TstProduction)
#include "tst_production.moc"
