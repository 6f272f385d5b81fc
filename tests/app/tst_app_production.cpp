#include "BoardEngine.h"
#include "BoardWindow.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "SimDataFlash.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TestBoard.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
// The scan core row is what Finalize writes first; 481 is left out on
// purpose: Finalize then writes 0 for it.
const char kOrganTable[] = "Number,Name,Value,Editor,Max,Comment\n"
                           "430,\"Organ Model\",2,None,3,\"\"\n"
                           "477,\"Active Scan Core\",3,None,7,\"\"\n"
                           "492,\"Analog Input Config\",1,None,3,\"\"\n";

const QString kSuccessBox = QStringLiteral(
    "Operation succesfull. \rRemove jumpers JP5, JP7 and JP8.\rDisconnect ISP programming cable "
    "from PL1. ");

// Production files with the slot each image of the file set lands in.
struct Image
{
    const char* name;
    int slot;
};
const Image kFileSet[] = {{"zr_midi.dat", 1},        {"dsp_rev.bin", 10},
                          {"taper_levels1.dat", 11}, {"taper_levels2.dat", 12},
                          {"taper_levels3.dat", 13}, {"taper_levels4.dat", 14},
                          {"fir_coeff.dat", 15}};
} // namespace

// The Factory tab's production box and "Finalize" in the real main window,
// against the in-process simulated board and the test programmer put in
// place of the programming tool.
class TstAppProduction : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ispPortEnablesTheRun_data();
    void ispPortEnablesTheRun();
    void productionRunProgramsTheWholeBoard();
    void fuseRepairShowsTheToolsLog_data();
    void fuseRepairShowsTheToolsLog();
    void finalizeWritesAndSavesTheDefaults();

private:
    void makeForm();
    void writeFile(const QString& name, const QByteArray& content);
    QByteArray imageOf(const QString& name) const;
    QPushButton* button(const char* name) const;
    QLineEdit* editDiamex() const;
    QStringList consoleLines() const { return m_form->ConsoleBox()->Lines(); }
    // Each call of the tool: its working directory, then its arguments.
    QList<QStringList> toolCalls() const;

    std::unique_ptr<TestBoard> m_sim;
    QString m_previousDir;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppProduction::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    m_previousDir = QDir::currentPath();
    // The production files are looked up in the working directory, which
    // is the program folder here, as it is when the program is started
    // from its own folder.
    QVERIFY(QDir::setCurrent(m_sim->dir.path()));
    writeFile("zr5_organ_defaults.csv", kOrganTable);
    const QString tool = m_sim->dir.filePath("avrdude");
    QVERIFY(QFile::copy(ZR5_TEST_AVRDUDE, tool));
    QVERIFY(QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner));
    writeFile("avrdude.conf", "# test configuration\n");
    qputenv("ZR5_TEST_AVRDUDE_ARGS", m_sim->dir.filePath("tool-calls.txt").toLocal8Bit());
    qputenv("ZR5_TEST_AVRDUDE_LOG", "success");
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
}

void TstAppProduction::cleanup()
{
    m_form.reset();
    QDir::setCurrent(m_previousDir);
    m_sim.reset();
    qunsetenv("ZR5_TEST_AVRDUDE_ARGS");
    qunsetenv("ZR5_TEST_AVRDUDE_LOG");
}

void TstAppProduction::makeForm()
{
    m_form = MakeBoardWindow(m_sim->dir, m_prompter, m_sound);
}

void TstAppProduction::writeFile(const QString& name, const QByteArray& content)
{
    QFile file(m_sim->dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TstAppProduction::imageOf(const QString& name) const
{
    // Images of whole blocks arrive as they are.
    QByteArray image = name.toLatin1() + ' ';
    while (image.size() < 2 * SimDataFlash::kBlockSize)
        image += image;
    return image.left(2 * SimDataFlash::kBlockSize);
}

QPushButton* TstAppProduction::button(const char* name) const
{
    return m_form->findChild<QPushButton*>(name);
}

QLineEdit* TstAppProduction::editDiamex() const
{
    return m_form->findChild<QLineEdit*>("EditDiamex");
}

QList<QStringList> TstAppProduction::toolCalls() const
{
    QList<QStringList> calls;
    QFile file(m_sim->dir.filePath("tool-calls.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            calls << QString::fromLocal8Bit(line).split('\t');
    }
    return calls;
}

void TstAppProduction::ispPortEnablesTheRun_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("usable");
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("abc") << "abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("3") << "3" << true;
}

void TstAppProduction::ispPortEnablesTheRun()
{
    QFETCH(QString, port);
    QFETCH(bool, usable);
    makeForm();
    editDiamex()->setText("7");
    editDiamex()->setText(port);
    QCOMPARE(button("ProdProg")->isEnabled(), usable);
    QCOMPARE(m_form->findChild<QComboBox*>("dd_FirmwareType")->isEnabled(), usable);
    QVERIFY(button("BtnAVRonly")->isEnabled());
    QVERIFY(button("BtnSetFuses")->isEnabled());
}

void TstAppProduction::productionRunProgramsTheWholeBoard()
{
    BoardEngine& board = m_sim->engine();
    board.options().firmwareVersion = 3.81;
    board.options().firmwareText = QStringLiteral("ZR5 Firmware 3.81");
    const QByteArray configuration = "FPGA#24070101 " + QByteArray(250, 'c');
    writeFile("fpga_24070101.bit", configuration);
    writeFile("ZR5mk3_expander_b.hex", ":00000001FF\n");
    writeFile("ZR5mk3_expander_b.eep", ":00000001FF\n");
    for (const Image& image : kFileSet)
        writeFile(image.name, imageOf(image.name));
    makeForm();
    editDiamex()->setText("0");
    QCOMPARE(m_form->findChild<QComboBox*>("dd_FirmwareType")->currentText(),
             QString("ZR5mk3_expander_b.hex"));
    // No device remembered: the run connects with the full connect flow.
    QCOMPARE(m_form->ZR5Record().Device, -1);

    button("ProdProg")->click();

    QVERIFY(!m_prompter.messages.isEmpty());
    QCOMPARE(m_prompter.messages.last().text, kSuccessBox);
    QCOMPARE(m_prompter.messages.last().icon, Prompter::Icon::Information);
    QCOMPARE(m_prompter.messages.size(), 3);
    const QStringList lines = consoleLines();
    QCOMPARE(lines.mid(lines.size() - 3), (QStringList{"", "Done.", ""}));
    QVERIFY(!lines.filter("##### Error").size());
    QVERIFY(m_form->Link().Connected());

    // Signature check with its log, fuses, then flash and EEPROM, on the
    // first USB ACM device, from the program folder.
    const QList<QStringList> calls = toolCalls();
    QCOMPARE(calls.size(), 3);
    const QString folder = QDir(m_sim->dir.path()).canonicalPath();
    const QStringList bitClocks{"-B100", "-B100", "-B2"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(QDir(calls[i].first()).canonicalPath(), folder);
        QCOMPARE(calls[i].mid(1, 7), (QStringList{"-C", "avrdude.conf", "-pm644p", "-cstk500v2",
                                                  bitClocks[i], "-P", "/dev/ttyACM0"}));
    }
    QCOMPARE(calls[0].mid(8), (QStringList{"-n", "-q", "-l", "avrdude.log"}));
    QVERIFY(calls[1].contains("lfuse:w:0xf7:m"));
    QCOMPARE(calls[2].mid(8),
             (QStringList{"-U", "flash:w:ZR5mk3_expander_b.hex:i", "-U",
                          "eeprom:w:ZR5mk3_expander_b.eep:i", "-U", "lock:w:0xef:m"}));

    // The board carries the configuration, the file set and its defaults.
    const SimDataFlash& flash = board.dataFlash();
    QCOMPARE(flash.state(SimDataFlash::kFpgaArea), SimDataFlash::State::Written);
    QVERIFY(flash.contents(SimDataFlash::kFpgaArea).startsWith(configuration));
    QCOMPARE(flash.fpgaVersion(QString()), QString("24070101"));
    for (const Image& image : kFileSet)
        QCOMPARE(flash.contents(image.slot), imageOf(image.name));
    QVERIFY(board.factoryDefaultsSaved());
}

void TstAppProduction::fuseRepairShowsTheToolsLog_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("last");
    QTest::newRow("log written") << QByteArray("success") << "";
    QTest::newRow("no log") << QByteArray("none") << "##### Error: AVRdude log not created";
}

void TstAppProduction::fuseRepairShowsTheToolsLog()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, last);
    qputenv("ZR5_TEST_AVRDUDE_LOG", log);
    makeForm();
    editDiamex()->setText("-1");

    button("BtnSetFuses")->click();

    const QStringList lines = consoleLines();
    if (last.isEmpty()) {
        // The log took the place of everything the console held.
        QVERIFY(!lines.contains("Welcome to ZR5 Remote!"));
        QVERIFY(!lines.contains("Setting AVR Fuse Bits..."));
        QVERIFY(lines.contains("avrdude done.  Thank you."));
        QCOMPARE(lines.mid(lines.size() - 3), (QStringList{"", "Done.", ""}));
    } else {
        QVERIFY(lines.contains("Welcome to ZR5 Remote!"));
        QCOMPARE(lines.last(), last);
    }
    const QList<QStringList> calls = toolCalls();
    QCOMPARE(calls.size(), 1);
    // Not a port number: the tool is told the port as typed.
    QCOMPARE(calls[0].mid(5, 3), (QStringList{"-B100", "-P", "COM-1"}));
    QCOMPARE(calls[0].mid(calls[0].size() - 4),
             (QStringList{"-U", "lock:w:0xef:m", "-l", "avrdude.log"}));
}

void TstAppProduction::finalizeWritesAndSavesTheDefaults()
{
    BoardEngine& board = m_sim->engine();
    board.options().firmwareVersion = 3.81;
    board.options().firmwareText = QStringLiteral("ZR5 Firmware 3.81");
    board.setValue(481, 99, false);
    makeForm();
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ShowConnectedState();
    // As identification found it; it would also bring the board's scan core
    // into the organ page.
    m_form->ZR5Record().FirmwareVersion = 3.81;
    QVERIFY(button("BtnWriteBasics")->isEnabled());

    button("BtnWriteBasics")->click();

    const QStringList lines = consoleLines();
    QVERIFY(lines.contains("Set ZR5 Param 477 to 3"));
    QVERIFY(lines.contains("Set ZR5 Param 481 to 0"));
    QVERIFY(lines.contains("Set ZR5 Param 492 to 1"));
    QVERIFY(lines.contains("Current configuration saved to Factory Defaults"));
    QCOMPARE(lines.mid(lines.size() - 3), (QStringList{"", "Done.", ""}));
    QCOMPARE(board.value(481), 0);
    QVERIFY(board.isNonVolatile(481));
    QCOMPARE(board.value(477), 3);
    QVERIFY(board.factoryDefaultsSaved());
    QCOMPARE(board.factoryDefaults().value(492), 1);
}

QTEST_MAIN(TstAppProduction)
#include "tst_app_production.moc"
