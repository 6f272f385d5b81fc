#include "BoardEngine.h"
#include "IdentificationView.h"
#include "QuietIdentificationView.h"
#include "RecordingHost.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "SimFirmwareImage.h"
#include "TAvrUpdate.h"
#include "TIdentification.h"
#include "TLink.h"
#include "TPageModel.h"
#include "TPageTableFile.h"
#include "TPresetFile.h"
#include "TZR5Record.h"
#include "TZr5Com.h"
#include "TestLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
class RecordingAvrView : public AvrUpdateView
{
public:
    void ShowConnectedState() override { states << "connected"; }
    void ShowDisconnectedState() override { states << "disconnected"; }
    void SetDeviceView(const QString& text) override { deviceViews << text; }
    void Repaint() override {}
    void ShowTables() override { ++tablesShown; }
    void StateToControls() override { states << "state to controls"; }
    void ControlsToState() override { states << "controls to state"; }

    QStringList states;
    QStringList deviceViews;
    int tablesShown = 0;
};

const QString kDone = QStringLiteral("Done.");

QByteArray stkFrame(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (const int b : bytes)
        out += char(b);
    return out + char(0x20);
}
} // namespace

// The controller update on the in-process simulated board and simulated
// time. The tool is played by the test: it speaks the boot loader's
// protocol into the board as the real one would (tst_avrupdate_avrdude runs
// the real one).
class TestAvrUpdate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bootLoaderEntry_data();
    void bootLoaderEntry();
    void settingsComeBackAfterTheUpdate();
    void missingEepromFileStopsAfterTheBackup();
    void allRestoreBoxesOff();
    void toolMissing();
    void notConnected();
    void dialogCancelled();
    void cancelDuringTheBackup();
    void failedToolStillRestores();
    void runsTheToolBesideTheProgram_data();
    void runsTheToolBesideTheProgram();
    void eepromFileName_data();
    void eepromFileName();

private:
    QString makeFirmwarePair(const QString& name, const QString& text, bool withEeprom = true);
    void boxes(bool organ, bool midi, bool presets);
    // The tool: programs the board with the pair, unless told not to.
    void programBoard(const QString& firmwareText);
    void identify();
    QStringList sentLines() const;
    int countSent(const QString& prefix) const;

    std::shared_ptr<BoardEngine> m_engine;
    std::unique_ptr<TestLink> m_t;
    RecordingHost* m_host = nullptr;
    TZR5Record m_record;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    QuietIdentificationView m_infoView;
    RecordingAvrView m_view;
    TPageModel m_pages;
    Prompter::FileRequest m_openDialog;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TIdentification> m_identification;
    std::unique_ptr<TAvrUpdate> m_update;

    struct ToolRun
    {
        QString program;
        QString parameters;
        QString port;
        bool boardInLoader;
    };
    QList<ToolRun> m_runs;
    // What the played tool flashes; empty: it fails without touching the board.
    QString m_toolFirmware = QStringLiteral("ZR5 Firmware 3.81 (test)");
    bool m_resetOnOpen = false;
};

void TestAvrUpdate::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_engine = std::make_shared<BoardEngine>();
    m_t = std::make_unique<TestLink>(std::make_shared<SimBoardBackend>(m_engine));
    m_host = &m_t->host;
    m_record = TZR5Record();
    m_record.Device = 0;
    m_record.ComPort = 5;
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
    m_view = RecordingAvrView();
    m_pages = TPageModel();
    m_runs.clear();
    m_resetOnOpen = false;
    m_toolFirmware = QStringLiteral("ZR5 Firmware 3.81 (test)");
    const QString data = QStringLiteral(ZR5_DATA_DIR);
    QVERIFY(TPageModel::LoadPageTableFile(m_pages.organ(), data + "/zr5_organ_defaults.csv").ok());
    QVERIFY(
        TPageModel::LoadPageTableFile(m_pages.midiCC(), data + "/zr5_midi_cc_defaults.csv").ok());
    m_openDialog = Prompter::FileRequest();
    m_openDialog.filters =
        QStringList{"FPGA Sound Engine BIT (fpga*.bit)", "Firmware HEX (zr*.hex)"};

    m_identification =
        std::make_unique<TIdentification>(*m_t->com, m_record, *m_host, m_prompter, m_infoView);
    m_update = std::make_unique<TAvrUpdate>(*m_t->com, m_record, *m_host, m_prompter, m_sound,
                                            *m_identification, m_pages, m_view, m_openDialog);
    // The tool "exists" as this test's program file; the runner is the test.
    m_update->SetToolPaths(QCoreApplication::applicationFilePath(), QString());
    m_update->SetBackupFolder(m_dir->filePath("backup"));
    m_update->SetToolRunner([this](const QString& program, const QString& parameters,
                                   const std::function<QString(const QString&)>& portMap) {
        // Like a cable that resets the board as the tool opens the port.
        if (m_resetOnOpen)
            m_engine->pressReset(Clock::current().nowMs() * 1000);
        m_runs.append(
            {program, parameters, portMap(QStringLiteral("COM5")), m_engine->inBootLoader()});
        if (!m_toolFirmware.isEmpty())
            programBoard(m_toolFirmware);
    });
    QVERIFY(m_t->open());
    identify();
}

void TestAvrUpdate::identify()
{
    // What the connect flow found.
    m_identification->ReadBoardInfo();
    m_host->lines.clear();
    m_engine->clearReceived();
}

void TestAvrUpdate::cleanup()
{
    m_update.reset();
    m_identification.reset();
    m_t.reset();
    m_dir.reset();
}

QString TestAvrUpdate::makeFirmwarePair(const QString& name, const QString& text, bool withEeprom)
{
    const QString hex = m_dir->filePath(name);
    QString error;
    if (!SimFirmwareImage::writePair(hex, text, {}, &error))
        qWarning("%s", qPrintable(error));
    if (!withEeprom)
        QFile::remove(TAvrUpdate::EepromFileOf(hex));
    return hex;
}

void TestAvrUpdate::boxes(bool organ, bool midi, bool presets)
{
    m_record.RestoreOrgan = organ;
    m_record.RestoreMidi = midi;
    m_record.RestorePresets = presets;
}

void TestAvrUpdate::programBoard(const QString& firmwareText)
{
    qint64 now = Clock::current().nowMs() * 1000;
    const auto send = [&](const QByteArray& bytes) {
        m_engine->feed(bytes, now);
        now += 10'000;
        m_engine->take(m_engine->available(now), now);
    };
    const auto page = [&](char memory, int address, const QByteArray& data) {
        send(stkFrame({0x55, address & 0xff, address >> 8}));
        send(QByteArray(1, char(0x64)) + char(data.size() >> 8) + char(data.size() & 0xff) +
             memory + data + char(0x20));
    };
    send(stkFrame({0x30}));
    send(stkFrame({0x50}));
    send(stkFrame({0x56, 0xac, 0x80, 0, 0}));
    const QByteArray flash = SimFirmwareImage::flashImage(firmwareText);
    for (int at = 0; at < flash.size(); at += 256)
        page('F', at / 2, flash.mid(at, 256));
    const QByteArray eeprom = SimFirmwareImage::eepromImage({});
    for (int at = 0; at < eeprom.size(); at += 8)
        page('E', at, eeprom.mid(at, 8));
    send(stkFrame({0x51}));
}

QStringList TestAvrUpdate::sentLines() const
{
    QStringList lines;
    for (const BoardEngine::ReceivedLine& line : m_engine->receivedLines())
        lines << QString::fromLatin1(line.text);
    return lines;
}

int TestAvrUpdate::countSent(const QString& prefix) const
{
    int n = 0;
    for (const QString& line : sentLines())
        n += line.startsWith(prefix) ? 1 : 0;
    return n;
}

void TestAvrUpdate::bootLoaderEntry_data()
{
    QTest::addColumn<double>("firmware");
    QTest::addColumn<QString>("fpga");
    QTest::addColumn<QStringList>("boxes");
    const QString reset = QStringLiteral("Insert RESET Jumper and pull same time when clicking OK");
    QTest::newRow("3.51: reset by hand") << 3.51 << "24061201" << QStringList{reset};
    QTest::newRow("3.52: asked by command") << 3.52 << "24061201" << QStringList();
    QTest::newRow("3.51 without FPGA configuration")
        << 3.51 << "00000000"
        << QStringList{"FPGA configuration is corrupted. Please insert CONF_DIS jumper before "
                       "continuing!",
                       reset, "Please remove CONF_DIS jumper and click OK when done!"};
    QTest::newRow("3.56 without FPGA configuration") << 3.56 << "00000000" << QStringList();
}

void TestAvrUpdate::bootLoaderEntry()
{
    QFETCH(double, firmware);
    QFETCH(QString, fpga);
    QFETCH(QStringList, boxes);
    const bool resetBox = firmware < 3.52;
    m_engine->options().firmwareVersion = firmware;
    m_engine->options().fpgaVersion = fpga;
    identify();
    this->boxes(false, false, false);
    const QString hex = makeFirmwarePair("zr5_new.hex", m_toolFirmware);
    m_prompter.fileNames.enqueue(hex);
    // Old firmware needs the reset: here, the tool's opening the port.
    m_resetOnOpen = resetBox;
    m_update->UpdateAVRClick();

    QCOMPARE(countSent("9980=0"), resetBox ? 0 : 1);
    QStringList shown;
    for (const ScriptedPrompter::Message& m : m_prompter.messages)
        shown << m.text;
    QCOMPARE(shown, boxes);
    QCOMPARE(m_runs.size(), 1);
    QVERIFY(m_runs.at(0).boardInLoader);
    QCOMPARE(m_record.FirmwareVersion, 3.81);
    QCOMPARE(m_prompter.fileAsks.at(0).request.title,
             QStringLiteral("Open ZR5 controller firmware (HEX):"));
    QCOMPARE(m_prompter.fileAsks.at(0).request.filterIndex, 1);
}

void TestAvrUpdate::settingsComeBackAfterTheUpdate()
{
    boxes(true, true, true);
    // The user's settings on the board, different from the factory values.
    m_engine->setValue(430, 3, true);
    m_engine->setValue(3005, 44, true);
    m_engine->setValue(1003, 55, true);
    m_engine->setValue(1256 + 17, 66, true);
    const QString hex = makeFirmwarePair("zr5 new \"fw\".hex", m_toolFirmware);
    m_prompter.fileNames.enqueue(hex);
    m_engine->clearReceived();
    m_update->UpdateAVRClick();

    // The new firmware started from its own EEPROM and got them back.
    QCOMPARE(m_record.FirmwareVersion, 3.81);
    QCOMPARE(m_engine->value(430), 3);
    QCOMPARE(m_engine->value(3005), 44);
    QCOMPARE(m_engine->value(1003), 55);
    QCOMPARE(m_engine->value(1256 + 17), 66);
    QVERIFY(m_engine->isNonVolatile(430));
    // One read and one write per data row and preset entry, nothing else.
    int rows = 0;
    for (const TPageTable* table : {&m_pages.organ(), &m_pages.midiCC()})
        for (int row = 1; row <= table->dataRowCount(); ++row)
            rows += table->ParameterNumberOf(row) ? 1 : 0;
    QCOMPARE(m_pages.organ().dataRowCount(), 128);
    QCOMPARE(countSent("wen=1"), rows + 2 * 256);
    QCOMPARE(countSent("430?"), 1);
    QCOMPARE(countSent("0?"), 0);
    QCOMPARE(countSent("0="), 0);

    QCOMPARE(m_runs.size(), 1);
    QCOMPARE(m_runs.at(0).parameters,
             TAvrUpdate::CommandLine(5, hex, TAvrUpdate::EepromFileOf(hex)));
    QVERIFY(m_runs.at(0).parameters.startsWith(
        "-C \"avrdude.conf\" -pm644p -cstk500v1 -P COM5 -b57600 -U flash:w:\""));
    // The in-process board has no device node: the port's own name is given.
    QCOMPARE(m_runs.at(0).port, m_t->link->ComPortName(5));
    QCOMPARE(m_view.deviceViews,
             (QStringList{"(in use by AVRdude)", "ZR5SIM01, ZR5 simulated board on COM5"}));
    QCOMPARE(m_view.states.count("connected"), 1);
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});

    const QStringList& lines = m_host->lines;
    QVERIFY(lines.contains("Flash \u00b4file: " + hex));
    QVERIFY(lines.contains("EEPROM file: " + TAvrUpdate::EepromFileOf(hex)));
    QVERIFY(lines.contains("Reading current ZR5 data"));
    QVERIFY(lines.contains("Restore ZR5 data"));
    QCOMPARE(lines.mid(lines.size() - 4), (QStringList{"Click <Finalize> to set Factory Defaults",
                                                       QString(), kDone, QString()}));

    // The backup on disk holds what was on the board before the update.
    const QStringList backups = QDir(m_dir->filePath("backup")).entryList(QDir::Files);
    QCOMPARE(backups.size(), 4);
    for (const QString& name : backups)
        QVERIFY2(lines.contains("Backup file: " +
                                QDir::toNativeSeparators(m_dir->filePath("backup/" + name))),
                 qPrintable(name));
    const auto backupFile = [&](const QString& suffix) {
        for (const QString& name : backups)
            if (name.endsWith(suffix))
                return m_dir->filePath("backup/" + name);
        return QString();
    };
    TPageTable organ(0, 0);
    QVERIFY(TPageTableFile::read(backupFile("_organ.csv"), organ).ok());
    QCOMPARE(organ.OrganValueOf(430), 3);
    TPageTable midi(0, 0);
    QVERIFY(TPageTableFile::read(backupFile("_midi_cc.csv"), midi).ok());
    QCOMPARE(midi.OrganValueOf(3005), 44);
    TPresetTable upper(TPresetTable::Side::Upper);
    QVERIFY(TPresetFile::read(backupFile("_upper_presets.csv"), upper).ok());
    QCOMPARE(upper.at(3), 55);
    TPresetTable lower(TPresetTable::Side::Lower);
    QVERIFY(TPresetFile::read(backupFile("_lower_presets.csv"), lower).ok());
    QCOMPARE(lower.at(17), 66);
}

void TestAvrUpdate::missingEepromFileStopsAfterTheBackup()
{
    boxes(true, false, false);
    m_prompter.fileNames.enqueue(makeFirmwarePair("zr5_new.hex", m_toolFirmware, false));
    m_update->UpdateAVRClick();

    QCOMPARE(m_host->lines.constLast(), QStringLiteral("##### Error: EEPROM file not found"));
    QVERIFY(!m_host->lines.contains(kDone));
    QCOMPARE(countSent("430?"), 1);
    QCOMPARE(countSent("9980=0"), 0);
    QVERIFY(m_runs.isEmpty());
    QVERIFY(m_t->link->Connected());
    QVERIFY(!m_engine->inBootLoader());
    QVERIFY(m_view.states.isEmpty() || !m_view.states.contains("disconnected"));
}

void TestAvrUpdate::allRestoreBoxesOff()
{
    boxes(false, false, false);
    m_prompter.fileNames.enqueue(makeFirmwarePair("zr5_new.hex", m_toolFirmware));
    m_engine->clearReceived();
    m_update->UpdateAVRClick();

    // Only the identifications are asked, and nothing is written back.
    QCOMPARE(countSent("wen=1"), 0);
    QCOMPARE(countSent("430?"), 0);
    QCOMPARE(countSent("1000?"), 0);
    QVERIFY(m_host->lines.contains("Reading current ZR5 data"));
    QVERIFY(m_host->lines.contains("Restore ZR5 data"));
    QVERIFY(!QDir(m_dir->filePath("backup")).exists() || QDir(m_dir->filePath("backup")).isEmpty());
    QCOMPARE(m_host->progress, 0);
}

void TestAvrUpdate::toolMissing()
{
    m_update->SetToolPaths(m_dir->filePath("avrdude"), m_dir->filePath("nowhere/avrdude"));
    m_update->UpdateAVRClick();
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages.at(0).icon, Prompter::Icon::Error);
    QCOMPARE(m_prompter.messages.at(0).text,
             QStringLiteral("AVRdude.exe tool not found.\nZR5 Remote not properly installed."));
    QVERIFY(m_host->lines.isEmpty());
    QVERIFY(m_prompter.fileAsks.isEmpty());
    QVERIFY(sentLines().isEmpty());
}

void TestAvrUpdate::notConnected()
{
    m_t->link->Ftdi()->closeDevice();
    m_t->link->setConnected(false);
    m_update->UpdateAVRClick();
    QCOMPARE(m_host->lines, QStringList{"Processing AVR update..."});
    QVERIFY(m_prompter.fileAsks.isEmpty());
}

void TestAvrUpdate::dialogCancelled()
{
    m_update->UpdateAVRClick();
    QCOMPARE(m_host->lines,
             (QStringList{"Processing AVR update...", "##### Warning: Process cancelled by user"}));
    QVERIFY(sentLines().isEmpty());
}

void TestAvrUpdate::cancelDuringTheBackup()
{
    boxes(true, true, true);
    m_prompter.fileNames.enqueue(makeFirmwarePair("zr5_new.hex", m_toolFirmware));
    int flashes = 0;
    m_host->onFlash = [&] {
        // A few rows into the organ table.
        if (m_host->lines.contains("Reading current ZR5 data") && ++flashes == 5)
            m_host->cancelFlag = 1;
    };
    m_engine->clearReceived();
    m_update->UpdateAVRClick();

    // The update goes on; the restore stops after its first write.
    QCOMPARE(m_runs.size(), 1);
    QCOMPARE(countSent("wen=1"), 1);
    QCOMPARE(countSent("3000?"), 0);
    QCOMPARE(m_host->lines.constLast(), QString());
    QVERIFY(m_host->lines.contains(kDone));
}

void TestAvrUpdate::failedToolStillRestores()
{
    // A tool that cannot reach the boot loader: the board stays in it and
    // the restore is tried all the same; the readiness wait gives up.
    boxes(true, false, false);
    m_toolFirmware.clear();
    m_prompter.fileNames.enqueue(makeFirmwarePair("zr5_new.hex", "ZR5 Firmware 3.81"));
    m_update->UpdateAVRClick();
    QVERIFY(m_engine->inBootLoader());
    QVERIFY(m_host->lines.contains("Restore ZR5 data"));
    QVERIFY(m_host->lines.contains("##### Warning: No response or process timed out"));
    QCOMPARE(m_host->lines.constLast(), QString());
    QVERIFY(m_record.FirmwareVersion != 3.81);
}

void TestAvrUpdate::runsTheToolBesideTheProgram_data()
{
    QTest::addColumn<bool>("confBeside");
    QTest::newRow("own configuration") << true;
    QTest::newRow("system configuration") << false;
}

void TestAvrUpdate::runsTheToolBesideTheProgram()
{
    QFETCH(bool, confBeside);
    // A stand-in tool that writes down how it was started.
    const QString folder = m_dir->filePath("program folder");
    QVERIFY(QDir().mkpath(folder));
    const QString tool = folder + "/avrdude";
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\npwd > args.txt\nfor a in \"$@\"; do echo \"$a\" >> args.txt; done\n"
                 "echo programming done\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    if (confBeside) {
        QFile conf(folder + "/avrdude.conf");
        QVERIFY(conf.open(QIODevice::WriteOnly));
    }

    TAvrUpdate update(*m_t->com, m_record, *m_host, m_prompter, m_sound, *m_identification, m_pages,
                      m_view, m_openDialog);
    update.SetToolPaths(tool, QString());
    update.SetBackupFolder(m_dir->filePath("backup"));
    boxes(false, false, false);
    const QString hex = makeFirmwarePair("zr5 \"quoted\" fw.hex", m_toolFirmware);
    m_prompter.fileNames.enqueue(hex);
    update.UpdateAVRClick();

    QFile args(folder + "/args.txt");
    QVERIFY(args.open(QIODevice::ReadOnly));
    const QStringList got = QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts);
    QStringList expected{folder};
    if (confBeside)
        expected << "-C"
                 << "avrdude.conf";
    expected << "-pm644p"
             << "-cstk500v1"
             << "-P" << m_t->link->ComPortName(5) << "-b57600"
             << "-U"
             << "flash:w:" + hex + ":i"
             << "-U"
             << "eeprom:w:" + TAvrUpdate::EepromFileOf(hex) + ":i"
             << "-e";
    QCOMPARE(got, expected);
    // Its output went to the console as it came.
    QVERIFY(m_host->lines.contains("programming done"));
}

void TestAvrUpdate::eepromFileName_data()
{
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("eeprom");
    QTest::newRow("plain") << "/a/zr5_std.hex"
                           << "/a/zr5_std.eep";
    QTest::newRow("upper case") << "/a/ZR5.HEX"
                                << "/a/ZR5.eep";
    QTest::newRow("dot in a folder") << "/a.b/zr5"
                                     << "/a.b/zr5.eep";
    QTest::newRow("two dots") << "/a/zr5.v2.hex"
                              << "/a/zr5.v2.eep";
    QTest::newRow("name ending in a dot") << "/a/zr5."
                                          << "/a/zr5.eep";
    QTest::newRow("only an extension") << "/a/.hex"
                                       << "/a/.eep";
}

void TestAvrUpdate::eepromFileName()
{
    QFETCH(QString, flash);
    QFETCH(QString, eeprom);
    QCOMPARE(TAvrUpdate::EepromFileOf(flash), eeprom);
}

QTEST_GUILESS_MAIN(TestAvrUpdate)
#include "tst_avrupdate.moc"
