#include "D2xxLibrary.h"
#include "IdentificationView.h"
#include "QuietIdentificationView.h"
#include "RecordingHost.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SerialPortBackend.h"
#include "SimFirmwareImage.h"
#include "TAvrUpdate.h"
#include "TIdentification.h"
#include "TLink.h"
#include "TPageModel.h"
#include "TPageTableFile.h"
#include "TPresetFile.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {
class QuietAvrView : public AvrUpdateView
{
public:
    void ShowConnectedState() override {}
    void ShowDisconnectedState() override {}
    void SetDeviceView(const QString&) override {}
    void Repaint() override {}
    void ShowTables() override {}
    void StateToControls() override {}
    void ControlsToState() override {}
};
} // namespace

// The whole controller update on real time: the simulator program on a
// pseudo-terminal, and the real avrdude flashing it through its boot loader.
class TestAvrUpdateAvrdude : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void update_data();
    void update();

private:
    QString startSim(const QStringList& extra);

    QString m_avrdude;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_sim;
};

void TestAvrUpdateAvrdude::initTestCase()
{
    m_avrdude = QStandardPaths::findExecutable(QStringLiteral("avrdude"));
    if (m_avrdude.isEmpty())
        QSKIP("avrdude is not installed (scripts/test installs it)");
}

void TestAvrUpdateAvrdude::cleanup()
{
    D2xxLibrary::instance().clearBackends();
    if (m_sim && m_sim->state() != QProcess::NotRunning) {
        m_sim->terminate();
        if (!m_sim->waitForFinished(5000)) {
            m_sim->kill();
            m_sim->waitForFinished(5000);
        }
    }
    m_sim.reset();
    m_dir.reset();
}

QString TestAvrUpdateAvrdude::startSim(const QStringList& extra)
{
    m_sim = std::make_unique<QProcess>();
    m_sim->setProgram(QStringLiteral(ZR5_BOARD_SIM));
#ifdef __linux__
    m_sim->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    const QString link = m_dir->filePath(QStringLiteral("zr5"));
    m_sim->setArguments(QStringList{"--link", link, "--data", ZR5_DATA_DIR} + extra);
    m_sim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sim->start();
    if (!m_sim->waitForStarted(5000))
        return {};
    QElapsedTimer waited;
    waited.start();
    while (!m_sim->canReadLine() && waited.elapsed() < 5000)
        m_sim->waitForReadyRead(100);
    return m_sim->canReadLine() ? link : QString();
}

void TestAvrUpdateAvrdude::update_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<bool>("restore");
    QTest::newRow("3.74 asked into its boot loader, settings restored") << QStringList() << true;
    QTest::newRow("3.51 reset as the tool opens the port")
        << QStringList{"--firmware", "3.51", "--firmware-text", "ZR5 Firmware 3.51",
                       "--reset-on-open"}
        << false;
}

void TestAvrUpdateAvrdude::update()
{
    QFETCH(QStringList, simArguments);
    QFETCH(bool, restore);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString port = startSim(simArguments);
    QVERIFY(!port.isEmpty());

    D2xxLibrary& lib = D2xxLibrary::instance();
    lib.clearBackends();
    lib.addBackend(std::make_shared<SerialPortBackend>(QStringList{port},
                                                       m_dir->filePath(QStringLiteral("no-sys"))));
    TLink link;
    RecordingHost host;
    TZr5Com com(link, host);
    link.BuildDeviceList();
    link.OpenDevice(0);
    QVERIFY(link.Connected());

    TZR5Record record;
    record.Device = 0;
    record.ComPort = 7; // whatever it is, the tool gets the cable's own node
    record.RestoreOrgan = restore;
    record.RestoreMidi = restore;
    record.RestorePresets = restore;
    ScriptedPrompter prompter;
    RecordingSound sound;
    QuietIdentificationView infoView;
    QuietAvrView view;
    TPageModel pages;
    QVERIFY(
        TPageModel::LoadPageTableFile(pages.organ(), ZR5_DATA_DIR "/zr5_organ_defaults.csv").ok());
    QVERIFY(TPageModel::LoadPageTableFile(pages.midiCC(), ZR5_DATA_DIR "/zr5_midi_cc_defaults.csv")
                .ok());
    Prompter::FileRequest openDialog;
    TIdentification identification(com, record, host, prompter, infoView);
    TAvrUpdate update(com, record, host, prompter, sound, identification, pages, view, openDialog);
    // Nothing beside the "program": the tool found on the path runs.
    update.SetToolPaths(m_dir->filePath(QStringLiteral("avrdude")), m_avrdude);
    update.SetBackupFolder(m_dir->filePath(QStringLiteral("backup")));

    // The user's settings, different from what new firmware starts with.
    const QList<QPair<int, int>> settings{{430, 3}, {3005, 44}, {1003, 55}, {1256 + 17, 66}};
    QMap<int, int> factory;
    for (const auto& [number, value] : settings) {
        factory[number] = com.GetParamInt(number);
        QVERIFY(factory[number] != value);
        com.SetParam(number, value, true);
    }
    identification.ReadBoardInfo();
    const double before = record.FirmwareVersion;

    const QString hex = m_dir->filePath(QStringLiteral("zr5 e2e.hex"));
    QString error;
    QVERIFY2(SimFirmwareImage::writePair(hex, "ZR5 Firmware 3.81 (e2e)", {}, &error),
             qPrintable(error));
    prompter.fileNames.enqueue(hex);
    update.UpdateAVRClick();

    const QString console = host.lines.join('\n');
    QVERIFY2(link.Connected(), qPrintable(console));
    QVERIFY2(record.FirmwareVersion == 3.81, qPrintable(console));
    QVERIFY(before != 3.81);
    // The tool's own lines came to the console.
    QVERIFY2(console.contains("bytes of flash verified"), qPrintable(console));
    QVERIFY2(console.contains("bytes of eeprom verified"), qPrintable(console));
    QCOMPARE(host.lines.value(host.lines.size() - 2), QStringLiteral("Done."));

    for (const auto& [number, value] : settings)
        QCOMPARE(com.GetParamInt(number), restore ? value : factory[number]);
    const QStringList backups =
        QDir(m_dir->filePath(QStringLiteral("backup"))).entryList(QDir::Files, QDir::Name);
    if (!restore) {
        QVERIFY(backups.isEmpty());
        return;
    }
    QCOMPARE(backups.size(), 4);
    TPageTable organ(0, 0);
    QVERIFY(TPageTableFile::read(m_dir->filePath("backup/" + backups.value(2)), organ).ok());
    QCOMPARE(organ.OrganValueOf(430), 3);
    TPresetTable upper(TPresetTable::Side::Upper);
    QVERIFY(TPresetFile::read(m_dir->filePath("backup/" + backups.value(3)), upper).ok());
    QCOMPARE(upper.at(3), 55);
}

QTEST_GUILESS_MAIN(TestAvrUpdateAvrdude)
#include "tst_avrupdate_avrdude.moc"
