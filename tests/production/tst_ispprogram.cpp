#include "BoardEngine.h"
#include "FakeProductionSteps.h"
#include "SimBoardBackend.h"
#include "TDiamexPort.h"
#include "TIspProgrammer.h"
#include "TProductionFiles.h"
#include "TZR5Record.h"
#include "TestLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const char kFlash[] = "ZR5mk3_std_b.hex";
const char kEeprom[] = "ZR5mk3_std_b.eep";

const QStringList kProductionFiles{"fpga_24061201.bit", "ZR5mk3_std_b.hex",  "ZR5mk3_std_b.eep",
                                   "dsp_rev.bin",       "zr_midi.dat",       "fir_coeff.dat",
                                   "taper_levels1.dat", "taper_levels2.dat", "taper_levels3.dat",
                                   "taper_levels4.dat"};
} // namespace

// The production file check and the ISP programming stage: what the tool is
// told, how its log decides, and the ISP port on this platform.
class TstIspProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void productionFilesReportEachMissingOne_data();
    void productionFilesReportEachMissingOne();
    void productionFilesTakeTheFirstConfiguration();

    void commandLinesAsTheToolGetsThem_data();
    void commandLinesAsTheToolGetsThem();
    void fileNamesForTheTool();

    void logDecidesWhetherToProgram_data();
    void logDecidesWhetherToProgram();
    void missingFirmwareFilesStopBeforeTheTool_data();
    void missingFirmwareFilesStopBeforeTheTool();
    void cancelBeforeTheToolStops();
    void staleLogDoesNotCount();

    void diamexPortOnThisPlatform_data();
    void diamexPortOnThisPlatform();

private:
    void writeFile(const QString& name, const QByteArray& content = "x");
    QStringList& lines() { return m_link->host.lines; }
    TZr5Com& com() { return *m_link->com; }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<TestLink> m_link;
    std::unique_ptr<FakeProductionSteps> m_steps;
    std::unique_ptr<TIspProgrammer> m_programmer;
    TZR5Record m_record;
};

void TstIspProgram::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_link = std::make_unique<TestLink>(
        std::make_shared<SimBoardBackend>(std::make_shared<BoardEngine>()));
    m_steps = std::make_unique<FakeProductionSteps>(m_link->host, *m_link->com);
    m_programmer =
        std::make_unique<TIspProgrammer>(com(), m_link->host, *m_steps, m_dir->filePath("avrdude"));
    m_record = TZR5Record();
}

void TstIspProgram::cleanup()
{
    m_programmer.reset();
    m_steps.reset();
    m_link.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TstIspProgram::writeFile(const QString& name, const QByteArray& content)
{
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void TstIspProgram::productionFilesReportEachMissingOne_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("counted");

    QTest::newRow("nothing missing") << ""
                                     << "" << 0;
    QTest::newRow("configuration") << "fpga_24061201.bit"
                                   << "##### Error: Missing FPGA file" << 1;
    QTest::newRow("firmware") << "ZR5mk3_std_b.hex"
                              << "##### Error: Missing firmware HEX file(s)" << 1;
    QTest::newRow("tool") << "(tool)"
                          << "##### Error: Missing file AVRdude.exe" << 1;
    QTest::newRow("reverb program") << "dsp_rev.bin"
                                    << "##### Error: Missing file dsp_rev.bin" << 0;
    QTest::newRow("MIDI table") << "zr_midi.dat"
                                << "##### Error: Missing file zr_midi.dat" << 1;
    QTest::newRow("horn filter") << "fir_coeff.dat"
                                 << "##### Error: Missing file fir_coeff.dat" << 1;
    QTest::newRow("taper 1") << "taper_levels1.dat"
                             << "##### Error: Missing file taper_levels1.dat" << 0;
    QTest::newRow("taper 2") << "taper_levels2.dat"
                             << "##### Error: Missing file taper_levels2.dat" << 1;
    QTest::newRow("taper 3") << "taper_levels3.dat"
                             << "##### Error: Missing file taper_levels3.dat" << 1;
    QTest::newRow("taper 4") << "taper_levels4.dat"
                             << "##### Error: Missing file taper_levels4.dat" << 1;
}

void TstIspProgram::productionFilesReportEachMissingOne()
{
    QFETCH(QString, missing);
    QFETCH(QString, line);
    QFETCH(int, counted);
    for (const QString& name : kProductionFiles) {
        if (name != missing)
            writeFile(name);
    }
    // A folder of the right name is no file.
    if (missing.endsWith(".dat"))
        QVERIFY(QDir(m_dir->path()).mkdir(missing));
    m_steps->toolFound = missing != "(tool)";
    m_record.fpga_filename = "fpga_old.bit";
    m_record.avr_filename = "old.hex";

    TProductionFiles files(com(), m_record, m_link->host, *m_steps);
    QCOMPARE(files.CheckProductionFiles(QDir::current()), !missing.isEmpty());

    QStringList expected;
    if (missing != "fpga_24061201.bit")
        expected << "Found FPGA BIT file: fpga_24061201.bit";
    if (missing != "ZR5mk3_std_b.hex")
        expected << "Found firmware HEX file(s)";
    if (!line.isEmpty())
        expected.insert(missing == "fpga_24061201.bit"  ? 0
                        : missing == "ZR5mk3_std_b.hex" ? 1
                                                        : 2,
                        line);
    QCOMPARE(lines(), expected);
    QCOMPARE(com().ErrorCount(), counted);
    QCOMPARE(com().ErrorKind(), counted ? TErrorKind::FileErr : TErrorKind::noErr);
    QCOMPARE(m_record.fpga_filename,
             missing == "fpga_24061201.bit" ? QString() : QString("fpga_24061201.bit"));
    // The firmware pattern is matched in any letter case.
    QCOMPARE(m_record.avr_filename,
             missing == "ZR5mk3_std_b.hex" ? QString() : QString("ZR5mk3_std_b.hex"));
}

void TstIspProgram::productionFilesTakeTheFirstConfiguration()
{
    writeFile("fpga_24070101.bit");
    writeFile("FPGA_24061201.BIT");
    writeFile("fpga_notes.txt");
    TProductionFiles files(com(), m_record, m_link->host, *m_steps);
    // Everything else is missing: every row still reports.
    QVERIFY(files.CheckProductionFiles(QDir::current()));
    QCOMPARE(m_record.fpga_filename, QString("FPGA_24061201.BIT"));
    QCOMPARE(lines().first(), QString("Found FPGA BIT file: FPGA_24061201.BIT"));
    QCOMPARE(lines().size(), 1 + 1 + 7);
    QCOMPARE(com().ErrorCount(), 1 + 5);
}

void TstIspProgram::commandLinesAsTheToolGetsThem_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("signature");
    QTest::addColumn<QString>("fuses");
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("repair");

    QTest::newRow("port 3")
        << "3"
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM3 -n -q -l \"avrdude.log\""
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM3 -V -q -U lfuse:w:0xf7:m -U "
           "hfuse:w:0xd2:m -U efuse:w:0xfc:m"
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B2 -P COM3 -U "
           "flash:w:\"ZR5mk3_std_b.hex\":i -U eeprom:w:\"ZR5mk3_std_b.eep\":i -U lock:w:0xef:m"
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM3 -V -q -U lfuse:w:0xf7:m -U "
           "hfuse:w:0xd2:m -U efuse:w:0xfc:m -U lock:w:0xef:m  -l \"avrdude.log\"";
    // The port text goes in as typed, blank included.
    QTest::newRow("leading blank")
        << " 3"
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM 3 -n -q -l \"avrdude.log\""
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM 3 -V -q -U lfuse:w:0xf7:m -U "
           "hfuse:w:0xd2:m -U efuse:w:0xfc:m"
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B2 -P COM 3 -U "
           "flash:w:\"ZR5mk3_std_b.hex\":i -U eeprom:w:\"ZR5mk3_std_b.eep\":i -U lock:w:0xef:m"
        << "-C \"avrdude.conf\" -pm644p -cstk500v2 -B100 -P COM 3 -V -q -U lfuse:w:0xf7:m -U "
           "hfuse:w:0xd2:m -U efuse:w:0xfc:m -U lock:w:0xef:m  -l \"avrdude.log\"";
}

void TstIspProgram::commandLinesAsTheToolGetsThem()
{
    QFETCH(QString, port);
    QFETCH(QString, signature);
    QFETCH(QString, fuses);
    QFETCH(QString, flash);
    QFETCH(QString, repair);
    writeFile(kFlash);
    writeFile(kEeprom);

    QVERIFY(m_programmer->IspProgram(kFlash, port));

    QCOMPARE(m_steps->toolRuns.size(), 3);
    const QString tool = m_dir->filePath("avrdude");
    QCOMPARE(m_steps->toolRuns[0].programPath, tool);
    QCOMPARE(m_steps->toolRuns[0].parameters, signature);
    QVERIFY(m_steps->toolRuns[0].hidden);
    QCOMPARE(m_steps->toolRuns[1].parameters, fuses);
    QVERIFY(m_steps->toolRuns[1].hidden);
    QCOMPARE(m_steps->toolRuns[2].parameters, flash);
    QVERIFY(!m_steps->toolRuns[2].hidden);
    QCOMPARE(TIspProgrammer::FuseRepairLine(port), repair);
}

void TstIspProgram::fileNamesForTheTool()
{
    QCOMPARE(TIspProgrammer::EepromFileName("ZR5mk3_std_b.hex"), QString("ZR5mk3_std_b.eep"));
    QCOMPARE(TIspProgrammer::EepromFileName("fw.v2.hex"), QString("fw.v2.eep"));
    QCOMPARE(TIspProgrammer::EepromFileName("noext"), QString("noext.eep"));
    QCOMPARE(TIspProgrammer::EepromFileName("dir.d/noext"), QString("dir.d/noext.eep"));

    // With the tool in another folder than the working directory, it is
    // told where the files are.
    QTemporaryDir toolDir;
    writeFile(kFlash);
    writeFile(kEeprom);
    TIspProgrammer elsewhere(com(), m_link->host, *m_steps, toolDir.filePath("avrdude"));
    QVERIFY(elsewhere.IspProgram(kFlash, "0"));
    QCOMPARE(m_steps->toolRuns.size(), 3);
    const QStringList argumentsOfFlash = m_steps->toolRuns[2].parameters.split(' ');
    QCOMPARE(argumentsOfFlash.value(8),
             "flash:w:\"" + QDir::toNativeSeparators(m_dir->filePath(kFlash)) + "\":i");
    QCOMPARE(argumentsOfFlash.value(10),
             "eeprom:w:\"" + QDir::toNativeSeparators(m_dir->filePath(kEeprom)) + "\":i");
}

void TstIspProgram::logDecidesWhetherToProgram_data()
{
    QTest::addColumn<bool>("logWritten");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("toolRuns");

    const QString signature = "avrdude: Device signature = 0x1e960a (probably m644p)";
    QTest::newRow("clean log") << true
                               << "\r\n" + signature + "\r\n\r\navrdude done.  Thank you.\r\n"
                               << QStringList{"", signature, "", "avrdude done.  Thank you."} << 3;
    QTest::newRow("port and timeout")
        << true
        << "avrdude: stk500v2_ReceiveMessage(): timeout\navrdude: ser_open(): can't open device\n"
        << QStringList{"avrdude: stk500v2_ReceiveMessage(): timeout",
                       "avrdude: ser_open(): can't open device",
                       "##### Error: AVRdude COM. Is DIAMEX port# correct?",
                       "##### Error: AVRdude timeout. Unplug DIAMEX from USB and reconnect."}
        << 1;
    QTest::newRow("target failed")
        << true << "avrdude: initialization failed, rc=-1"
        << QStringList{"avrdude: initialization failed, rc=-1",
                       "##### Error: AVRdude device. Is CONF_DIS JP5 set?"}
        << 1;
    // Letter case as written: "Failed" is no failure word.
    QTest::newRow("other case") << true << "Failed? TIMEOUT?" << QStringList{"Failed? TIMEOUT?"}
                                << 3;
    QTest::newRow("no log") << false << ""
                            << QStringList{"earlier line", "Programming with DIAMEX ISP on COM 0",
                                           "Flash ´file: ZR5mk3_std_b.hex",
                                           "EEPROM file: ZR5mk3_std_b.eep",
                                           "##### Error: AVRdude log not created"}
                            << 3;
}

void TstIspProgram::logDecidesWhetherToProgram()
{
    QFETCH(bool, logWritten);
    QFETCH(QString, log);
    QFETCH(QStringList, expected);
    QFETCH(int, toolRuns);
    writeFile(kFlash);
    writeFile(kEeprom);
    m_steps->log = logWritten ? std::optional<QString>(log) : std::nullopt;
    lines() << "earlier line";

    QCOMPARE(m_programmer->IspProgram(kFlash, "0"), toolRuns == 3);
    QCOMPARE(lines(), expected);
    QCOMPARE(m_steps->toolRuns.size(), toolRuns);
    // Tool failures are not counted.
    QCOMPARE(com().ErrorCount(), 0);
}

void TstIspProgram::missingFirmwareFilesStopBeforeTheTool_data()
{
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("line");
    QTest::newRow("separator item") << "------------------------------"
                                    << "##### Error: HEX flash file not found";
    QTest::newRow("flash without EEPROM") << "ZR5mk2_std_b.hex"
                                          << "##### Error: EEPROM file not found";
}

void TstIspProgram::missingFirmwareFilesStopBeforeTheTool()
{
    QFETCH(QString, flash);
    QFETCH(QString, line);
    writeFile("ZR5mk2_std_b.hex");
    QVERIFY(!m_programmer->IspProgram(flash, "0"));
    QCOMPARE(lines(), QStringList{line});
    QCOMPARE(com().ErrorKind(), TErrorKind::FileErr);
    QCOMPARE(com().ErrorCount(), 1);
    QVERIFY(m_steps->toolRuns.isEmpty());
}

void TstIspProgram::cancelBeforeTheToolStops()
{
    writeFile(kFlash);
    writeFile(kEeprom);
    m_link->host.onWait = [this](int) { m_link->host.cancelFlag = 1; };
    QVERIFY(!m_programmer->IspProgram(kFlash, "0"));
    QCOMPARE(m_link->host.waits, QList<int>{50});
    QVERIFY(m_steps->toolRuns.isEmpty());
    QVERIFY(lines().isEmpty());
}

void TstIspProgram::staleLogDoesNotCount()
{
    writeFile("avrdude.log", "avrdude done.  Thank you.\n");
    m_steps->log.reset();
    lines() << "earlier line";
    QVERIFY(!m_programmer->RunWithLog(TIspProgrammer::FuseRepairLine("0")));
    QCOMPARE(lines(), (QStringList{"earlier line", "##### Error: AVRdude log not created"}));
}

void TstIspProgram::diamexPortOnThisPlatform_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("device");
    QTest::newRow("first") << "COM0"
                           << "/dev/ttyACM0";
    QTest::newRow("fourth") << "COM3"
                            << "/dev/ttyACM3";
    QTest::newRow("leading zero") << "COM03"
                                  << "/dev/ttyACM3";
    // What is no port number reaches the tool as typed, for it to report.
    QTest::newRow("negative") << "COM-1"
                              << "COM-1";
    QTest::newRow("no number") << "COM"
                               << "COM";
    QTest::newRow("word") << "COMabc"
                          << "COMabc";
    QTest::newRow("device node") << "/dev/ttyUSB1"
                                 << "/dev/ttyUSB1";
}

void TstIspProgram::diamexPortOnThisPlatform()
{
    QFETCH(QString, port);
    QFETCH(QString, device);
    QCOMPARE(TDiamexPort::DeviceName(port), device);
}

QTEST_GUILESS_MAIN(TstIspProgram)
#include "tst_ispprogram.moc"
