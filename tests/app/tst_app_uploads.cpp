#include "BoardEngine.h"
#include "BoardWindow.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TAdvancedPage.h"
#include "TBoardInfoBox.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TPageArea.h"
#include "TProgressBox.h"
#include "TTopStrip.h"
#include "TUpdateBox.h"
#include "TestBoard.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
QByteArray image(int n, char seed)
{
    QByteArray bytes(n, '\0');
    for (int i = 0; i < n; ++i)
        bytes[i] = char(seed + i * 17 + i / 128);
    return bytes;
}
} // namespace

// The Advanced tab's uploads and "Update FPGA" in the real main window,
// against the in-process simulated board on simulated time.
class TstAppUploads : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void uploadButtonsReachTheirSlots_data();
    void uploadButtonsReachTheirSlots();
    void updateFpgaByMenuOnlyWhileEnabled_data();
    void updateFpgaByMenuOnlyWhileEnabled();
    void unreadableFileEndsWithABox();
    void cablePulledMidTransfer();

private:
    void makeForm();
    QString write(const QString& name, const QByteArray& bytes);
    TAdvancedPage* advanced() const { return m_form->PageArea()->AdvancedPage(); }
    QPushButton* button(const char* name) const
    {
        return m_form->findChild<QPushButton*>(QLatin1String(name));
    }
    QStringList consoleLines() const { return m_form->ConsoleBox()->Lines(); }
    const SimDataFlash& flash() const { return m_sim->engine().dataFlash(); }

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppUploads::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
}

void TstAppUploads::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppUploads::makeForm()
{
    m_form = MakeBoardWindow(m_sim->dir, m_prompter, m_sound);
}

QString TstAppUploads::write(const QString& name, const QByteArray& bytes)
{
    QFile file(m_sim->dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

void TstAppUploads::uploadButtonsReachTheirSlots_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("blocks");
    // 80 blocks: the bar moves in steps of 8.
    QTest::newRow("scan core into Scan16/49") << "BtnScanCore" << 4 << 4 << 80;
    QTest::newRow("TG2") << "BtnTaper2" << -1 << 12 << 80;
    QTest::newRow("horn FIR") << "BtnFIR" << -1 << 15 << 80;
    QTest::newRow("reverb DSP") << "BtnDSP" << -1 << 10 << 80;
    QTest::newRow("one block") << "BtnTaper4" << -1 << 14 << 1;
}

void TstAppUploads::uploadButtonsReachTheirSlots()
{
    QFETCH(QString, buttonName);
    QFETCH(int, comboIndex);
    QFETCH(int, slot);
    QFETCH(int, blocks);
    makeForm();
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ShowConnectedState();
    if (comboIndex >= 0)
        advanced()->ComboBoxScancore()->setCurrentIndex(comboIndex);
    const QByteArray bytes = image(128 * blocks, char(slot));
    m_prompter.fileNames << write("upload.dat", bytes);
    QList<int> progress;
    QProgressBar* bar = m_form->ProgressBox()->TransferProgress();
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) { progress << value; });

    QTest::mouseClick(button(buttonName.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(flash().contents(slot), bytes);
    if (blocks > 72)
        QVERIFY2(progress.contains(8) && progress.contains(72),
                 qPrintable(QString::number(progress.size())));
    QCOMPARE(bar->value(), 0);
    // An empty bar, not a busy indicator left running.
    QVERIFY(bar->maximum() > bar->minimum());
    QCOMPARE(consoleLines().value(consoleLines().size() - 2), QStringLiteral("Done."));
    QVERIFY(consoleLines().contains(QStringLiteral("Packets sent: %1").arg(blocks)));
}

void TstAppUploads::updateFpgaByMenuOnlyWhileEnabled_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("connected") << true;
    QTest::newRow("not connected") << false;
}

void TstAppUploads::updateFpgaByMenuOnlyWhileEnabled()
{
    QFETCH(bool, connected);
    makeForm();
    if (connected) {
        QVERIFY(m_sim->open(m_form->Link()));
        m_form->ShowConnectedState();
        m_form->ReadBoardInfo();
    }
    QByteArray config = image(128 * 12, 3);
    config.replace(100, 13, "FPGA#24123101");
    QDir(m_sim->dir.path()).mkdir("release");
    m_prompter.fileNames << write("release/fpga_24123101.bit", config);
    write("release/taper_levels4.dat", image(256, 8));
    m_form->Console().ClearConsole();

    m_form->MainMenu1()->UpdateFPGAandScanCores1()->trigger();

    if (!connected) {
        QVERIFY(m_prompter.fileAsks.isEmpty());
        QVERIFY(consoleLines().isEmpty());
        return;
    }
    QCOMPARE(m_prompter.fileAsks.size(), 1);
    QCOMPARE(flash().contents(SimDataFlash::kFpgaArea), config);
    QCOMPARE(flash().contents(14), image(256, 8));
    QCOMPARE(m_form->BoardInfoBox()->FPGAversion()->text(), QStringLiteral("24123101"));
    QCOMPARE(consoleLines().value(0), QStringLiteral("Processing FPGA/SoundEngine update..."));
    QCOMPARE(consoleLines().value(consoleLines().size() - 2), QStringLiteral("Done."));
}

void TstAppUploads::unreadableFileEndsWithABox()
{
    makeForm();
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ShowConnectedState();
    // A folder where a file was expected cannot be read.
    QDir(m_sim->dir.path()).mkdir("fir_coeff.dat");
    m_prompter.fileNames << m_sim->dir.filePath("fir_coeff.dat");

    QTest::mouseClick(advanced()->BtnFIR(), Qt::LeftButton);

    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].icon, Prompter::Icon::Error);
    QVERIFY(m_prompter.messages[0].text.contains("fir_coeff.dat"));
    QVERIFY(!consoleLines().contains("Done."));
    QCOMPARE(flash().state(15), SimDataFlash::State::Factory);
}

// The cable goes in the middle of an image: the usual no-response box, the
// window shows the disconnected state, and no retry box follows.
void TstAppUploads::cablePulledMidTransfer()
{
    makeForm();
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ShowConnectedState();
    m_sim->engine().options().hangUpAfterPacket = 10;
    m_sim->engine().dataFlash().onHangUp = [this] { m_sim->board->setPlugged(false); };
    m_prompter.fileNames << write("taper_levels1.dat", image(128 * 50, 1));
    const qint64 start = m_sim->clock.nowMs();

    QTest::mouseClick(advanced()->BtnTaper(1), Qt::LeftButton);

    QCOMPARE(m_prompter.messages.size(), 1);
    QVERIFY(m_prompter.messages[0].text.startsWith(
        "No response from FTDI cable or ZR5 USB extension!"));
    QVERIFY(
        consoleLines().contains("##### Error: Xmodem Out of sync at Packet 9 - connection lost"));
    QVERIFY(
        consoleLines().contains("##### Error: No response from FTDI cable or ZR5 USB extension!"));
    QVERIFY(!m_form->Link().Connected());
    QVERIFY(m_form->TopStrip()->BtnRescan()->isEnabled());
    QVERIFY(!advanced()->BtnTaper(1)->isEnabled());
    QVERIFY2(m_sim->clock.nowMs() - start < 15'000,
             qPrintable(QString::number(m_sim->clock.nowMs() - start)));
}

QTEST_MAIN(TstAppUploads)
#include "tst_app_uploads.moc"
