#include "BoardEngine.h"
#include "IdentificationView.h"
#include "RecordingHost.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TBlockTransfer.h"
#include "TDataFlashUploads.h"
#include "TDspUpdate.h"
#include "TFileBuffer.h"
#include "TFpgaUpdate.h"
#include "TIdentification.h"
#include "TLink.h"
#include "TZR5Record.h"
#include "TZr5Com.h"
#include "TestBoard.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using State = SimDataFlash::State;

namespace {
const QString kCancelled = QStringLiteral("##### Warning: Process cancelled by user");

class InfoView : public IdentificationView
{
public:
    void ShowFpgaVersion(const QString& text) override { fpga = text; }
    void ShowFirmwareVersion(const QString& text) override { firmware = text; }
    void ShowSerialNumber(const QString& text) override { serial = text; }
    void ShowOwner(const QString& text) override { owner = text; }
    void ShowScanCore(int index) override { scanCore = index; }
    void SetOrganValueOf(int, int) override {}
    void PlaceEditors() override {}
    void SetUploadButtonsEnabled(bool enabled) override { uploadsEnabled = enabled; }
    QString OwnerText() const override { return owner; }
    QString SerialNumberText() const override { return serial; }
    QString FirmwareVersionText() const override { return firmware; }
    QString FpgaVersionText() const override { return fpga; }
    QString ScanCoreText() const override { return QString::number(scanCore); }

    QString fpga, firmware, serial, owner;
    int scanCore = 1;
    bool uploadsEnabled = true;
};

// An image of n bytes that differs from block to block.
QByteArray image(int n, char seed = 1)
{
    QByteArray bytes(n, '\0');
    for (int i = 0; i < n; ++i)
        bytes[i] = char(seed + i * 31 + i / 128);
    return bytes;
}

// What the board holds after an upload of bytes into a fresh buffer: whole
// blocks, the tail of the last one zero.
QByteArray asBlocks(const QByteArray& bytes)
{
    QByteArray out = bytes;
    out.resize(qMax<qsizetype>(128, (bytes.size() + 127) / 128 * 128), '\0');
    return out;
}

// A configuration image that tells the simulated board its version.
QByteArray configuration(const QByteArray& version)
{
    QByteArray bytes = image(600, 5);
    bytes.replace(40, 13, "FPGA#" + version);
    return bytes;
}
} // namespace

// The DataFlash uploads, the FPGA and the reverb DSP updates against the
// in-process simulated board, on simulated time.
class TestUploads : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogs_data();
    void dialogs();
    void separatorDoesNothing();
    void singleCoreLandsInTheSelectedSlot_data();
    void singleCoreLandsInTheSelectedSlot();
    void updateAllWithOneFile();
    void fileSetFromTheCurrentDirectory();
    void tablesAndHornFilter_data();
    void tablesAndHornFilter();
    void cancelDuringATable_data();
    void cancelDuringATable();
    void fpgaUpdate_data();
    void fpgaUpdate();
    void productionFpga_data();
    void productionFpga();
    void configurationDate_data();
    void configurationDate();
    void dspUpdate();
    void dspCancelledAfterTheFirstBox();
    void dspReplyRule_data();
    void dspReplyRule();
    void productionDsp_data();
    void productionDsp();
    void cablePulledMidTransfer();

private:
    enum Handler
    {
        ScanCore,
        UpdateAll,
        Taper1,
        Taper2,
        Taper3,
        Taper4,
        Fir,
        Dsp,
        Fpga
    };
    void run(Handler handler);
    QString write(const QString& name, const QByteArray& bytes, const QString& folder = {});
    BoardEngine& board() const { return m_sim->engine(); }
    const SimDataFlash& flash() const { return m_sim->engine().dataFlash(); }
    QStringList sent() const { return m_sim->sentLines(); }
    int count(const QString& prefix) const;

    std::unique_ptr<TestBoard> m_sim;
    std::unique_ptr<TLink> m_link;
    RecordingHost m_host;
    std::unique_ptr<TZr5Com> m_com;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TFileBuffer> m_buffer;
    std::unique_ptr<TBlockTransfer> m_transfer;
    TZR5Record m_record;
    InfoView m_view;
    std::unique_ptr<TIdentification> m_identification;
    Prompter::FileRequest m_dialog;
    std::unique_ptr<TDataFlashUploads> m_uploads;
    std::unique_ptr<TFpgaUpdate> m_fpga;
    std::unique_ptr<TDspUpdate> m_dsp;
    QString m_oldCurrent;
};

void TestUploads::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    m_link = std::make_unique<TLink>();
    m_host = RecordingHost();
    m_com = std::make_unique<TZr5Com>(*m_link, m_host);
    QVERIFY(m_sim->open(*m_link));
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
    m_buffer = std::make_unique<TFileBuffer>();
    m_transfer = std::make_unique<TBlockTransfer>(*m_com, m_host, m_prompter, *m_buffer);
    m_record = TZR5Record();
    m_view = InfoView();
    m_identification =
        std::make_unique<TIdentification>(*m_com, m_record, m_host, m_prompter, m_view);
    m_dialog = Prompter::FileRequest();
    m_dialog.filters = QStringList{"FPGA Sound Engine BIT (fpga*.bit)", "ScanCore DAT (zr*.dat)"};
    m_uploads =
        std::make_unique<TDataFlashUploads>(*m_transfer, *m_com, m_host, m_prompter, m_dialog);
    m_fpga = std::make_unique<TFpgaUpdate>(*m_transfer, *m_uploads, *m_identification, *m_com,
                                           m_record, m_host, m_prompter, m_view, m_dialog);
    m_dsp =
        std::make_unique<TDspUpdate>(*m_transfer, *m_com, m_host, m_prompter, m_sound, m_dialog);
    m_oldCurrent = QDir::currentPath();
}

void TestUploads::cleanup()
{
    QDir::setCurrent(m_oldCurrent);
    m_dsp.reset();
    m_fpga.reset();
    m_uploads.reset();
    m_identification.reset();
    m_transfer.reset();
    m_com.reset();
    if (m_link->Ftdi() && m_link->Ftdi()->connected())
        m_link->Ftdi()->closeDevice();
    m_link.reset();
    m_sim.reset();
}

void TestUploads::run(Handler handler)
{
    switch (handler) {
    case ScanCore:
        m_uploads->BtnScanCoreClick(3);
        break;
    case UpdateAll:
        m_uploads->BtnScanCoreClick(TDataFlashUploads::kUpdateAllIndex);
        break;
    case Taper1:
        m_uploads->BtnTaperClick(1);
        break;
    case Taper2:
        m_uploads->BtnTaperClick(2);
        break;
    case Taper3:
        m_uploads->BtnTaperClick(3);
        break;
    case Taper4:
        m_uploads->BtnTaperClick(4);
        break;
    case Fir:
        m_uploads->BtnFIRClick();
        break;
    case Dsp:
        m_dsp->BtnDSPClick();
        break;
    case Fpga:
        m_fpga->UpdateFPGAClick();
        break;
    }
}

QString TestUploads::write(const QString& name, const QByteArray& bytes, const QString& folder)
{
    QDir dir(m_sim->dir.path());
    if (!folder.isEmpty()) {
        dir.mkpath(folder);
        dir.cd(folder);
    }
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

int TestUploads::count(const QString& prefix) const
{
    int n = 0;
    for (const QString& line : m_host.lines)
        n += line.startsWith(prefix) ? 1 : 0;
    return n;
}

void TestUploads::dialogs_data()
{
    QTest::addColumn<int>("handler");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    const QString core = QStringLiteral("ScanCore DAT (zr*.dat)");
    const QString taper = QStringLiteral("TaperLevels DAT (taper*.dat)");
    const QString taperTitle = QStringLiteral("Open ZR5 Tapering file (DAT):");
    const QString taperHeading = QStringLiteral("Processing TaperLevels update...");
    QTest::newRow("single core") << int(ScanCore) << "Processing ScanCore update..."
                                 << "Open ZR5 Scan Core (DAT):" << core;
    QTest::newRow("all cores") << int(UpdateAll) << "Processing ScanCore update..."
                               << "Open any ZR5 Scan Core in folder (DAT):" << core;
    QTest::newRow("TG1") << int(Taper1) << taperHeading
                         << "Open ZR5 Tapering folder (DAT):" << taper;
    QTest::newRow("TG2") << int(Taper2) << taperHeading << taperTitle << taper;
    QTest::newRow("TG3") << int(Taper3) << taperHeading << taperTitle << taper;
    QTest::newRow("TG4") << int(Taper4) << taperHeading << taperTitle << taper;
    QTest::newRow("horn FIR") << int(Fir) << "Processing FIR update..."
                              << "Open ZR5 FIR coeff file (DAT):"
                              << "FIR Horn Filter DAT (fir*.dat)";
    QTest::newRow("reverb DSP") << int(Dsp) << "Processing DSP update..."
                                << "Open FV-1 Reverb DSP binary file (BIN):"
                                << "Reverb BIN (dsp*.bin)";
    QTest::newRow("FPGA") << int(Fpga) << "Processing FPGA/SoundEngine update..."
                          << "Open ZR5 FPGA/SoundEngine config (BIT):"
                          << "FPGA Sound Engine BIT (fpga*.bit)";
}

// Each handler asks with its own title and filter; a cancelled dialog sends
// nothing and ends without "Done.".
void TestUploads::dialogs()
{
    QFETCH(int, handler);
    QFETCH(QString, heading);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    run(Handler(handler));
    QCOMPARE(m_host.lines, (QStringList{heading, kCancelled}));
    QCOMPARE(m_prompter.fileAsks.size(), 1);
    const Prompter::FileRequest& asked = m_prompter.fileAsks.constFirst().request;
    QCOMPARE(asked.title, title);
    QCOMPARE(asked.filters.value(asked.filterIndex), filter);
    QVERIFY(sent().isEmpty());
}

void TestUploads::separatorDoesNothing()
{
    m_host.cancelFlag = 1;
    m_uploads->BtnScanCoreClick(TDataFlashUploads::kSeparatorIndex);
    QCOMPARE(m_host.lines, QStringList{"Processing ScanCore update..."});
    QCOMPARE(m_host.cancelFlag, 0);
    QVERIFY(m_prompter.fileAsks.isEmpty());
    QVERIFY(sent().isEmpty());
}

void TestUploads::singleCoreLandsInTheSelectedSlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::newRow("OrganScan61") << 0;
    QTest::newRow("Scan16/44") << 3;
    QTest::newRow("Opto or XB2") << 7;
}

// The file's name would say slot 2; the selector decides.
void TestUploads::singleCoreLandsInTheSelectedSlot()
{
    QFETCH(int, slot);
    const QByteArray bytes = image(300);
    const QString path = write("zr_fatar.dat", bytes);
    m_prompter.fileNames << path;
    m_uploads->BtnScanCoreClick(slot);
    QCOMPARE(flash().contents(slot), asBlocks(bytes));
    if (slot != 2)
        QCOMPARE(flash().state(2), State::Factory);
    const QStringList lines = sent();
    QVERIFY(lines.contains(QStringLiteral("DFE 1=%1!").arg(slot)));
    QVERIFY(lines.contains(QStringLiteral("DFX 1=%1!").arg(slot)));
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{"DFS=1!", "9900?"}));
    QVERIFY(m_host.lines.contains("Reading single scan core..."));
    // The scan core reply is a plain line, verbose or not.
    QVERIFY(m_host.lines.at(m_host.lines.size() - 4).startsWith("9900=1 [#23 MIDI input]"));
    QCOMPARE(m_host.lines.constLast(), QString());
    QCOMPARE(m_host.lines.at(m_host.lines.size() - 2), QStringLiteral("Done."));
    QCOMPARE(m_host.progress, 0);
    // The dialog starts at this file the next time.
    QCOMPARE(m_dialog.fileName, path);
}

void TestUploads::updateAllWithOneFile()
{
    const QByteArray bytes = image(129);
    const QString path = write("zr_midi.dat", bytes, "set");
    // The chosen file only names the folder.
    m_prompter.fileNames << path;
    m_uploads->BtnScanCoreClick(TDataFlashUploads::kUpdateAllIndex);
    QCOMPARE(count("##### Warning: File "), 13);
    QVERIFY(m_host.lines.contains(QStringLiteral("##### Warning: File %1 not found")
                                      .arg(QFileInfo(path).path() + "/fir_coeff.dat")));
    QCOMPARE(count("Transfer File "), 1);
    QCOMPARE(flash().contents(1), asBlocks(bytes));
    for (int slot : {0, 2, 10, 11, 15})
        QCOMPARE(flash().state(slot), State::Factory);
    const QStringList headings{"Reading all scan cores...", "Reading all tapering files...",
                               "Reading FIR coeff file..."};
    for (const QString& heading : headings)
        QCOMPARE(m_host.lines.count(heading), 1);
    QCOMPARE(sent().mid(sent().size() - 2), (QStringList{"DFS=1!", "9900?"}));
    QCOMPARE(m_host.lines.at(m_host.lines.size() - 2), QStringLiteral("Done."));
    QVERIFY(!m_host.lines.contains(kCancelled));
}

void TestUploads::fileSetFromTheCurrentDirectory()
{
    const QByteArray table = image(256, 9);
    write("taper_levels2.dat", table, "cwd");
    QVERIFY(QDir::setCurrent(m_sim->dir.filePath("cwd")));
    m_uploads->UploadFileSet(QString());
    QVERIFY(m_host.lines.contains("##### Warning: File zr_chain.dat not found"));
    QVERIFY(m_host.lines.contains("Transfer File taper_levels2.dat"));
    QCOMPARE(flash().contents(12), table);
}

void TestUploads::tablesAndHornFilter_data()
{
    QTest::addColumn<int>("handler");
    QTest::addColumn<int>("slot");
    QTest::newRow("TG1") << int(Taper1) << 11;
    QTest::newRow("TG2") << int(Taper2) << 12;
    QTest::newRow("TG3") << int(Taper3) << 13;
    QTest::newRow("TG4") << int(Taper4) << 14;
    QTest::newRow("horn FIR") << int(Fir) << 15;
}

void TestUploads::tablesAndHornFilter()
{
    QFETCH(int, handler);
    QFETCH(int, slot);
    const QByteArray bytes = image(1000, char(slot));
    m_prompter.fileNames << write("any_name.dat", bytes);
    run(Handler(handler));
    QCOMPARE(flash().contents(slot), asBlocks(bytes));
    QVERIFY(sent().contains(QStringLiteral("DFE 1=%1!").arg(slot)));
    QCOMPARE(sent().mid(sent().size() - 2), (QStringList{"DFS=1!", "9900?"}));
    QCOMPARE(m_host.lines.at(m_host.lines.size() - 2), QStringLiteral("Done."));
}

void TestUploads::cancelDuringATable_data()
{
    QTest::addColumn<int>("handler");
    QTest::addColumn<bool>("done");
    // TG1 has no cancel check before its final query.
    QTest::newRow("TG1") << int(Taper1) << true;
    QTest::newRow("TG3") << int(Taper3) << false;
    QTest::newRow("horn FIR") << int(Fir) << false;
}

void TestUploads::cancelDuringATable()
{
    QFETCH(int, handler);
    QFETCH(bool, done);
    m_prompter.fileNames << write("table.dat", image(128 * 40));
    // The user clicks Cancel as the window handles events during block 16.
    m_host.onFlash = [this] {
        if (flash().packetsReceived() >= 16)
            m_host.cancelFlag = 1;
    };
    run(Handler(handler));
    QVERIFY(m_host.lines.contains(kCancelled));
    QVERIFY(flash().contents(handler == Fir ? 15 : 11 + handler - Taper1).size() < 128 * 40);
    QCOMPARE(sent().constLast() == QLatin1String("9900?"), done);
    QCOMPARE(m_host.lines.contains("Done."), done);
    QVERIFY(m_prompter.messages.isEmpty());
}

void TestUploads::fpgaUpdate_data()
{
    QTest::addColumn<QString>("boardFpga");
    QTest::addColumn<double>("firmware");
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("withCore");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("fpgaAfter");
    const QString insert = QStringLiteral(
        "FPGA configuration is corrupted. Please insert CONF_DIS jumper before continuing!");
    const QString remove = QStringLiteral("Please remove CONF_DIS jumper and click OK when done!");
    QTest::newRow("valid board, new firmware")
        << "24061201" << 3.74 << configuration("24070101") << true << QStringList{} << "24070101";
    QTest::newRow("folder with only the configuration")
        << "24061201" << 3.74 << configuration("24070101") << false << QStringList{} << "24070101";
    QTest::newRow("no configuration, old firmware, good image")
        << "FFFFFFFF" << 3.50 << configuration("24070101") << true << QStringList{insert}
        << "24070101";
    QTest::newRow("no configuration, old firmware, blank image")
        << "FFFFFFFF" << 3.50 << QByteArray(512, char(0xff)) << true << QStringList{insert, remove}
        << "FFFFFFFF";
    QTest::newRow("no configuration, new firmware")
        << "00000000" << 3.56 << QByteArray(512, char(0xff)) << true << QStringList{} << "FFFFFFFF";
}

void TestUploads::fpgaUpdate()
{
    QFETCH(QString, boardFpga);
    QFETCH(double, firmware);
    QFETCH(QByteArray, config);
    QFETCH(bool, withCore);
    QFETCH(QStringList, boxes);
    QFETCH(QString, fpgaAfter);
    board().options().fpgaVersion = boardFpga;
    board().options().firmwareVersion = firmware;
    m_identification->ReadBoardInfo();
    m_host.lines.clear();

    const QByteArray core = image(700, 3);
    m_prompter.fileNames << write("fpga_24070101.bit", config, "release");
    if (withCore)
        write("zr_chain.dat", core, "release");
    m_fpga->UpdateFPGAClick();

    QStringList shown;
    for (const ScriptedPrompter::Message& m : m_prompter.messages)
        shown << m.text;
    QCOMPARE(shown, boxes);
    QCOMPARE(flash().contents(SimDataFlash::kFpgaArea), asBlocks(config));
    QCOMPARE(m_record.FPGAversion, fpgaAfter);
    QCOMPARE(m_prompter.fileAsks.constFirst().request.defaultSuffix, QStringLiteral("*.bit"));
    const bool setUploaded = fpgaAfter != QLatin1String("FFFFFFFF");
    QCOMPARE(count("Transfer File "), setUploaded && withCore ? 2 : 1);
    QCOMPARE(count("##### Warning: File "), setUploaded ? (withCore ? 13 : 14) : 0);
    QCOMPARE(flash().state(0), setUploaded && withCore ? State::Written : State::Factory);
    if (setUploaded && withCore)
        QCOMPARE(flash().contents(0), asBlocks(core));
    QCOMPARE(m_host.lines.at(m_host.lines.size() - 2), QStringLiteral("Done."));
}

void TestUploads::productionFpga_data()
{
    QTest::addColumn<QString>("boardFpga");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("uploaded");
    QTest::addColumn<bool>("corrupted");
    QTest::newRow("same date") << "24061201"
                               << "fpga_24061201.bit" << configuration("24061201") << false
                               << false;
    QTest::newRow("differs only in letter case")
        << "2406ABCD"
        << "fpga_2406abcd.bit" << configuration("2406abcd") << true << false;
    QTest::newRow("older on the board")
        << "24061201"
        << "fpga_24070101.bit" << configuration("24070101") << true << false;
    QTest::newRow("corrupted by the upload")
        << "24061201"
        << "fpga_24070101.bit" << QByteArray(384, char(0xff)) << true << true;
}

void TestUploads::productionFpga()
{
    QFETCH(QString, boardFpga);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, config);
    QFETCH(bool, uploaded);
    QFETCH(bool, corrupted);
    board().options().fpgaVersion = boardFpga;
    m_identification->ReadBoardInfo();
    QCOMPARE(m_view.fpga, boardFpga);
    // Production takes the images from the working folder.
    write(fileName, config, "production");
    const QByteArray core = image(200, 7);
    write("zr_sr61.dat", core, "production");
    QVERIFY(QDir::setCurrent(m_sim->dir.filePath("production")));
    m_record.fpga_filename = fileName;
    m_host.lines.clear();
    board().clearReceived();

    m_fpga->ProductionFpgaUpdate();

    QCOMPARE(m_host.lines.constFirst(),
             "FPGA configuration date: " + TFpgaUpdate::ConfigurationDate(fileName));
    QCOMPARE(m_host.lines.contains("FPGA update skipped, was up to date."), !uploaded);
    QCOMPARE(sent().contains("DFE 2=0!"), uploaded);
    QCOMPARE(m_host.lines.contains("##### Error: FPGA corrupted. Try again"), corrupted);
    QCOMPARE(m_host.lines.contains("##### immediately without switching off!"), corrupted);
    QCOMPARE(m_com->ErrorKind() == TErrorKind::FlashErr, corrupted);
    // The set goes up only onto a working FPGA; DFS=1! and identification follow anyway.
    QCOMPARE(flash().state(5), corrupted ? State::Factory : State::Written);
    QVERIFY(sent().contains("DFS=1!"));
    QCOMPARE(sent().constLast(), corrupted ? QStringLiteral("9990?") : QStringLiteral("492?"));
}

void TestUploads::configurationDate_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("date");
    QTest::newRow("plain") << "fpga_24070101.bit"
                           << "24070101";
    QTest::newRow("path with its own marks") << "/opt/my_files.v2/fpga_2406abcd.bit"
                                             << "2406abcd";
    QTest::newRow("second underscore kept") << "fpga_2407_01.bit"
                                            << "2407_01";
    QTest::newRow("no underscore") << "fpga24070101.bit"
                                   << "";
    QTest::newRow("dot first") << "fpga.v2_1.bit"
                               << "";
}

void TestUploads::configurationDate()
{
    QFETCH(QString, fileName);
    QFETCH(QString, date);
    QCOMPARE(TFpgaUpdate::ConfigurationDate(fileName), date);
}

void TestUploads::dspUpdate()
{
    const QByteArray program = image(512, 4);
    m_prompter.fileNames << write("dsp_rev.bin", program);
    m_host.verbose = true;
    m_dsp->BtnDSPClick();
    QCOMPARE(flash().contents(TDspUpdate::kSlot), program);
    QCOMPARE(m_sound.played, (QStringList{"ding.wav", "ding.wav"}));
    QCOMPARE(m_prompter.messages.size(), 2);
    QCOMPARE(m_prompter.messages[0].text,
             QStringLiteral("Insert JP7/JP8 I2C jumpers on ZR5 board and click OK when done"));
    QCOMPARE(m_prompter.messages[1].text,
             QStringLiteral("Remove JP7/JP8 I2C jumpers from ZR5 board and click OK when done"));
    QCOMPARE(m_prompter.messages[0].buttons, Prompter::Buttons::Ok);
    const QStringList lines = sent();
    QCOMPARE(lines.mid(lines.indexOf("DFS=1!")), (QStringList{"DFS=1!", "SFX=10!"}));
    QVERIFY(m_host.lines.contains("SFX=10 [DSP program loaded]\r"));
    QCOMPARE(m_host.lines.at(m_host.lines.size() - 2), QStringLiteral("Done."));
}

void TestUploads::dspCancelledAfterTheFirstBox()
{
    m_prompter.fileNames << write("dsp_rev.bin", image(128));
    m_host.onWait = [this](int ms) {
        if (ms == 200 && !m_prompter.messages.isEmpty())
            m_host.cancelFlag = 1;
    };
    m_dsp->BtnDSPClick();
    QCOMPARE(m_prompter.messages.size(), 1);
    QVERIFY(!sent().contains("SFX=10!"));
    QVERIFY(!m_host.lines.contains("Done."));
}

void TestUploads::dspReplyRule_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("failed");
    QTest::newRow("no reply") << TZr5Com::NoReply << false;
    QTest::newRow("no bracket, a mark") << "SFX=10 #2\r" << false;
    QTest::newRow("mark in the tail") << "SFX=10 [DSP transfer failed, I2C error #2]\r" << true;
    // "[" at 8: only the last 8 characters count.
    QTest::newRow("mark before the tail") << "SFX=10 [# failed]\r" << false;
    QTest::newRow("mark right after the bracket") << "ab[#\r" << true;
    QTest::newRow("loaded") << "SFX=10 [DSP program loaded]\r" << false;
}

void TestUploads::dspReplyRule()
{
    QFETCH(QString, reply);
    QFETCH(bool, failed);
    QCOMPARE(TDspUpdate::DspReplyFailed(reply), failed);
}

void TestUploads::productionDsp_data()
{
    QTest::addColumn<bool>("dspFails");
    QTest::newRow("copied") << false;
    QTest::newRow("copy failed") << true;
}

void TestUploads::productionDsp()
{
    QFETCH(bool, dspFails);
    board().options().dspFails = dspFails;
    m_dsp->ProductionDspTransfer();
    QCOMPARE(m_host.lines.constFirst(), QStringLiteral("Program transfer to Reverb DSP..."));
    QCOMPARE(sent().constFirst(), QStringLiteral("SFX=10"));
    QCOMPARE(m_host.lines.contains("##### Error: Reverb DSP transfer failed"), dspFails);
    QCOMPARE(m_com->ErrorKind(), dspFails ? TErrorKind::FlashErr : TErrorKind::noErr);
    QCOMPARE(m_com->ErrorCount(), dspFails ? 1 : 0);
    QCOMPARE(sent().constLast(), QStringLiteral("253?")); // the board is waited for
}

// The cable goes after the third packet of a set: the image is given up at
// once, the rest of the set is not tried, and no retry box comes.
void TestUploads::cablePulledMidTransfer()
{
    board().options().hangUpAfterPacket = 3;
    board().dataFlash().onHangUp = [this] { m_sim->board->setPlugged(false); };
    int lost = 0;
    m_transfer->SetLinkLostHandler([&] {
        ++lost;
        m_link->setConnected(false);
        m_com->SetError(TErrorKind::ComErr);
    });
    write("zr_chain.dat", image(128 * 20), "set");
    write("zr_midi.dat", image(128 * 20), "set");
    const qint64 start = m_sim->clock.nowMs();
    m_uploads->UploadFileSet(m_sim->dir.filePath("set") + "/");
    QCOMPARE(lost, 1);
    QVERIFY(m_host.lines.contains("##### Error: Xmodem Out of sync at Packet 2 - connection lost"));
    QVERIFY(m_host.lines.contains(
        QStringLiteral("##### Warning: File %1 not sent - no connection to ZR5")
            .arg(m_sim->dir.filePath("set") + "/zr_midi.dat")));
    QVERIFY(!m_host.lines.contains("Packets sent: 20"));
    QVERIFY(m_prompter.messages.isEmpty());
    QCOMPARE(m_com->ErrorKind(), TErrorKind::ComErr);
    // One packet's five transmissions, not six attempts of everything.
    QVERIFY2(m_sim->clock.nowMs() - start < 10'000,
             qPrintable(QString::number(m_sim->clock.nowMs() - start)));
}

QTEST_GUILESS_MAIN(TestUploads)
#include "tst_uploads.moc"
