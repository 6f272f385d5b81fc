#include "ConnectionView.h"
#include "D2xxLibrary.h"
#include "RecordingHost.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SerialPortBackend.h"
#include "TBlockTransfer.h"
#include "TConnection.h"
#include "TDataFlashUploads.h"
#include "TFileBuffer.h"
#include "TLink.h"
#include "TZR5Record.h"
#include "TZr5Com.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <memory>

namespace {
class QuietView : public ConnectionView
{
public:
    int ChooseDevice(const QList<DeviceRow>&) override { return 0; }
    void ClearConsole() override {}
    void SetDeviceView(const QString&) override {}
    void ShowDevice(int) override {}
    void ShowComPort(int) override {}
    void ShowFirstTab() override {}
    void ShowConnectedState() override {}
    void ShowDisconnectedState() override { ++disconnectedShown; }
    void ReadBoardInfo() override {}
    void ShowBoardInfo() override {}
    void ReadDisplayedPage() override {}
    int disconnectedShown = 0;
};

QByteArray image(int n)
{
    QByteArray bytes(n, '\0');
    for (int i = 0; i < n; ++i)
        bytes[i] = char(i * 7 + i / 128);
    return bytes;
}
} // namespace

// Uploads through the simulator program on a real pseudo-terminal, in real
// time: an image that arrives whole, and a line cut in the middle of one.
class TestUploadPty : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void imageArrivesWhole();
    void lineCutMidTransfer();

private:
    bool startSim(const QStringList& extra);
    void openLink();
    QString flashDir() const { return m_dir->filePath(QStringLiteral("flash")); }
    QString write(const QString& name, const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_sim;
    QString m_pty;
    std::unique_ptr<TLink> m_link;
    RecordingHost m_host;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    TZR5Record m_record;
    QuietView m_view;
    std::unique_ptr<TZr5Com> m_com;
    std::unique_ptr<TConnection> m_connection;
    std::unique_ptr<TFileBuffer> m_buffer;
    std::unique_ptr<TBlockTransfer> m_transfer;
    Prompter::FileRequest m_dialog;
    std::unique_ptr<TDataFlashUploads> m_uploads;
};

void TestUploadPty::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_host = RecordingHost();
    m_prompter = ScriptedPrompter();
    m_view = QuietView();
}

void TestUploadPty::cleanup()
{
    m_uploads.reset();
    m_transfer.reset();
    m_connection.reset();
    m_com.reset();
    if (m_link && m_link->Ftdi() && m_link->Ftdi()->connected())
        m_link->Ftdi()->closeDevice();
    m_link.reset();
    D2xxLibrary::instance().clearBackends();
    if (m_sim && m_sim->state() != QProcess::NotRunning) {
        m_sim->kill();
        m_sim->waitForFinished(5000);
    }
    m_sim.reset();
    m_dir.reset();
}

bool TestUploadPty::startSim(const QStringList& extra)
{
    m_sim = std::make_unique<QProcess>();
    m_sim->setProgram(QStringLiteral(ZR5_BOARD_SIM));
#ifdef __linux__
    m_sim->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    m_sim->setArguments(QStringList{"--flash-dir", flashDir()} + extra);
    m_sim->start();
    if (!m_sim->waitForStarted(5000))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (!m_sim->canReadLine() && waited.elapsed() < 5000)
        m_sim->waitForReadyRead(100);
    m_pty = QString::fromLocal8Bit(m_sim->readLine()).trimmed();
    return m_pty.startsWith(QLatin1String("/dev/"));
}

void TestUploadPty::openLink()
{
    D2xxLibrary& lib = D2xxLibrary::instance();
    lib.clearBackends();
    lib.addBackend(std::make_shared<SerialPortBackend>(QStringList{m_pty},
                                                       m_dir->filePath(QStringLiteral("no-sys"))));
    m_link = std::make_unique<TLink>();
    m_link->BuildDeviceList();
    QCOMPARE(m_link->DeviceCount(), 1u);
    m_link->OpenDevice(0);
    QVERIFY(m_link->Connected());
    m_com = std::make_unique<TZr5Com>(*m_link, m_host);
    m_connection =
        std::make_unique<TConnection>(*m_com, m_record, m_host, m_prompter, m_sound, m_view);
    m_buffer = std::make_unique<TFileBuffer>();
    m_transfer = std::make_unique<TBlockTransfer>(*m_com, m_host, m_prompter, *m_buffer);
    m_transfer->SetLinkLostHandler([this] { m_connection->LinkLost(); });
    m_uploads =
        std::make_unique<TDataFlashUploads>(*m_transfer, *m_com, m_host, m_prompter, m_dialog);
}

QString TestUploadPty::write(const QString& name, const QByteArray& bytes)
{
    QFile file(m_dir->filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

void TestUploadPty::imageArrivesWhole()
{
    QVERIFY(startSim({}));
    openLink();
    if (QTest::currentTestFailed())
        return;
    const QByteArray bytes = image(128 * 300);
    m_prompter.fileNames << write("fir_coeff.dat", bytes);

    m_uploads->BtnFIRClick();

    QVERIFY(m_host.lines.contains("Packets sent: 300"));
    QCOMPARE(m_host.lines.at(m_host.lines.size() - 2), QStringLiteral("Done."));
    QFile slot(QDir(flashDir()).filePath("slot15.bin"));
    QVERIFY(slot.open(QIODevice::ReadOnly));
    QCOMPARE(slot.readAll(), bytes);
    QFile listing(QDir(flashDir()).filePath("listing.txt"));
    QVERIFY(listing.open(QIODevice::ReadOnly));
    const QByteArray sum = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    QVERIFY(listing.readAll().contains("  15  written    38400 " + sum));
}

void TestUploadPty::lineCutMidTransfer()
{
    QVERIFY(startSim({"--hang-up-after-packet", "5"}));
    openLink();
    if (QTest::currentTestFailed())
        return;
    m_prompter.fileNames << write("taper_levels2.dat", image(128 * 40));
    QElapsedTimer elapsed;
    elapsed.start();

    m_uploads->BtnTaperClick(2);

    // Given up after one packet's transmissions, not after six attempts.
    QVERIFY2(elapsed.elapsed() < 15'000, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(m_host.lines.contains("##### Error: Xmodem Out of sync at Packet 4 - connection lost"));
    QVERIFY(
        m_host.lines.contains("##### Error: No response from FTDI cable or ZR5 USB extension!"));
    QVERIFY(!m_host.lines.contains("Packets sent: 40"));
    QCOMPARE(m_prompter.messages.size(), 1);
    QVERIFY(m_prompter.messages[0].text.startsWith("No response from FTDI cable"));
    QVERIFY(!m_link->Connected());
    QCOMPARE(m_view.disconnectedShown, 1);
    QCOMPARE(m_com->ErrorKind(), TErrorKind::ComErr);

    // The simulator ended as a pulled cable does, and said why.
    if (m_sim->state() != QProcess::NotRunning)
        QVERIFY(m_sim->waitForFinished(5000));
    QCOMPARE(m_sim->exitCode(), 0);
    QVERIFY(
        QString::fromLocal8Bit(m_sim->readAllStandardError()).contains("line cut after packet 5"));
}

QTEST_GUILESS_MAIN(TestUploadPty)
#include "tst_upload_pty.moc"
