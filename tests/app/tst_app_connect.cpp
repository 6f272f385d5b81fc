#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "EZr5Error.h"
#include "FakeClock.h"
#include "RecordingSound.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TConnectionView.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TTopStrip.h"
#include "Tdeviceselectbox.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using DeviceRow = ConnectionView::DeviceRow;

namespace {
const QString kNotSelected = QStringLiteral("(not selected)");
const QString kClosed = QStringLiteral("Closed FTDI device. Ready to unplug USB cable from PC.");
const QString kSimView = QStringLiteral("ZR5SIM01 - ZR5 simulated board on COM5");
} // namespace

// The connect and disconnect flows in the real main window, driven through
// its buttons and menu items, with the in-process simulated board on
// simulated time and the dialogs answered by script.
class TstAppConnect : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectsAndCloses_data();
    void connectsAndCloses();
    void cancelledChoiceLeavesItDisconnected();
    void noDeviceFound();
    void silentBoardEndsDisconnected();
    void raisedErrorEndsTheHandlerWithABox();
    void deviceDialog_data();
    void deviceDialog();
    void connectAtStartTakesNoDialog_data();
    void connectAtStartTakesNoDialog();
    void rememberedOrFirst_data();
    void rememberedOrFirst();

private:
    void makeForm(bool connectAtStart = false);
    void showForm();
    // A cable without a board behind it, listed before the simulated board.
    void addSilentCableFirst();
    template <typename T = QWidget> T* find(const QString& name) const
    {
        T* child = m_form->findChild<T*>(name);
        if (!child)
            qWarning("no component %s", qPrintable(name));
        return child;
    }
    QStringList consoleLines() const { return m_form->ConsoleBox()->Lines(); }
    void verifyDisconnected() const;

    std::unique_ptr<FakeClock> m_clock;
    std::shared_ptr<SimBoardBackend> m_board;
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    // What the scripted chooser saw and answers.
    QList<QList<DeviceRow>> m_asked;
    std::function<int(const QList<DeviceRow>&)> m_answer;
    std::unique_ptr<Tdeviceselectbox> m_deviceBox;
    std::unique_ptr<TForm1> m_form;
};

void TstAppConnect::init()
{
    m_clock = std::make_unique<FakeClock>();
    m_board = std::make_shared<SimBoardBackend>(std::make_shared<BoardEngine>());
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(m_board);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompter = ScriptedPrompter();
    m_sound = RecordingSound();
    m_asked.clear();
    m_answer = [](const QList<DeviceRow>&) { return 0; };
}

void TstAppConnect::cleanup()
{
    m_form.reset();
    m_deviceBox.reset();
    D2xxLibrary::instance().clearBackends();
    m_board.reset();
    m_dir.reset();
    m_clock.reset();
}

void TstAppConnect::makeForm(bool connectAtStart)
{
    TAppEnvironment env;
    env.appPath = m_dir->path();
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    env.chooseDevice = [this](const QList<DeviceRow>& rows) {
        m_asked.append(rows);
        return m_answer(rows);
    };
    env.connectAtStart = connectAtStart;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
    // No tty ever changes here, so the port stays the one remembered.
    m_form->Link().setDeviceRoot(m_dir->filePath("dev"));
    m_form->ZR5Record().ComPort = 5;
}

void TstAppConnect::showForm()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->Timer1()->stop();
}

void TstAppConnect::addSilentCableFirst()
{
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(std::make_shared<ScriptedBackend>(
        std::make_shared<ScriptedDevice>(), "A50285BI", "FT232R USB UART"));
    D2xxLibrary::instance().addBackend(m_board);
}

namespace {
// The buttons of commands that need a board.
const QStringList kBoardCommands{"ReadAll",        "SendAll",          "UpdateFPGA",
                                 "BtnRefresh",     "BtnScanCore",      "UpdateAVR",
                                 "BtnWriteBasics", "BtnTaper1",        "BtnTaper2",
                                 "BtnTaper3",      "BtnTaper4",        "BtnFIR",
                                 "BtnSaveFactory", "BtnRestoreFactory", "BtnDSP"};
} // namespace

void TstAppConnect::verifyDisconnected() const
{
    QVERIFY(!m_form->Link().Connected());
    QVERIFY(!m_board->isOpen());
    QVERIFY(find<QPushButton>("BtnClose")->isHidden());
    QVERIFY(!find<QPushButton>("BtnRescan")->isHidden());
    QVERIFY(find<QPushButton>("BtnRescan")->isEnabled());
    QVERIFY(!m_form->MainMenu1()->Actions1()->isEnabled());
    QCOMPARE(find<QLineEdit>("DeviceView")->text(), kNotSelected);
    for (const QString& name : kBoardCommands)
        QVERIFY2(!find<QPushButton>(name)->isEnabled(), qPrintable(name));
}

void TstAppConnect::connectsAndCloses_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("buttons") << false;
    QTest::newRow("Actions menu") << true;
}

void TstAppConnect::connectsAndCloses()
{
    QFETCH(bool, byMenu);
    makeForm();
    showForm();
    auto* tabs = find<QTabWidget>("PageControl1");
    tabs->setCurrentIndex(3);

    if (byMenu)
        m_form->MainMenu1()->Connect1()->trigger();
    else
        QTest::mouseClick(find<QPushButton>("BtnRescan"), Qt::LeftButton);

    QCOMPARE(m_asked.size(), 1);
    QCOMPARE(m_asked[0].size(), 1);
    QCOMPARE(m_asked[0][0].caption, QStringLiteral("Device 0"));
    QCOMPARE(m_asked[0][0].serial, QStringLiteral("ZR5SIM01"));
    QCOMPARE(m_asked[0][0].description, QStringLiteral("ZR5 simulated board"));
    QVERIFY(m_form->Link().Connected());
    QVERIFY(m_board->isOpen());
    QVERIFY(!find<QPushButton>("BtnClose")->isHidden());
    QVERIFY(find<QPushButton>("BtnRescan")->isHidden());
    QVERIFY(m_form->MainMenu1()->Actions1()->isEnabled());
    // Every command that needs a board is usable now, and only now.
    for (const QString& name : kBoardCommands)
        QVERIFY2(find<QPushButton>(name)->isEnabled(), qPrintable(name));
    QCOMPARE(find<QLineEdit>("DeviceView")->text(), kSimView);
    QCOMPARE(find<QLineEdit>("EditFTDIdevice")->text(), QStringLiteral("0"));
    QCOMPARE(find<QLineEdit>("EditFTDIcom")->text(), QStringLiteral("5"));
    QCOMPARE(tabs->currentIndex(), 0);
    // The console was emptied when the device opened; the board was then
    // identified and the Organ page (without a table file here) read.
    QCOMPARE(
        consoleLines(),
        (QStringList{"Using FTDI Device #0 on COM port #5", "", "Read info from ZR5...",
                     "Found Firmware \"ZR5 Firmware 3.74\" on ZR5", "", "Customer Name: Brackwell",
                     "Serial Number: 1234", "Firmware Version: ZR5 Firmware 3.74 #3.74",
                     "FPGA Version: #24061201", "Scan Version: MIDI input #23", "",
                     "Reading all page parameters...", "", "Done.", ""}));
    QVERIFY(m_sound.played.isEmpty());
    QVERIFY(m_prompter.messages.isEmpty());

    if (byMenu)
        m_form->MainMenu1()->Disconnect1()->trigger();
    else
        QTest::mouseClick(find<QPushButton>("BtnClose"), Qt::LeftButton);

    verifyDisconnected();
    const QStringList lines = consoleLines();
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{kClosed, ""}));
    // The device number and port stay on show for the next connect.
    QCOMPARE(find<QLineEdit>("EditFTDIdevice")->text(), QStringLiteral("0"));
}

void TstAppConnect::cancelledChoiceLeavesItDisconnected()
{
    makeForm();
    m_answer = [](const QList<DeviceRow>&) { return -1; };
    QTest::mouseClick(find<QPushButton>("BtnRescan"), Qt::LeftButton);

    QCOMPARE(m_asked.size(), 1);
    verifyDisconnected();
    QCOMPARE(consoleLines().last(), QStringLiteral("Open FTDI device..."));
    QCOMPARE(find<QLineEdit>("EditFTDIdevice")->text(), QStringLiteral("-1"));
    QCOMPARE(m_form->ZR5Record().Device, -1);
    QVERIFY(m_prompter.messages.isEmpty());
}

void TstAppConnect::noDeviceFound()
{
    makeForm();
    m_board->setPlugged(false);
    QTest::mouseClick(find<QPushButton>("BtnRescan"), Qt::LeftButton);

    QVERIFY(m_asked.isEmpty());
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].text,
             QStringLiteral("No FTDI cable or ZR5 USB extension found!"));
    QCOMPARE(m_prompter.messages[0].buttons, Prompter::Buttons::Ok);
    verifyDisconnected();
    QCOMPARE(consoleLines().last(), QStringLiteral("Open FTDI device..."));
}

void TstAppConnect::silentBoardEndsDisconnected()
{
    makeForm();
    m_board->engine().options().fault = BoardOptions::Fault::Silent;
    QTest::mouseClick(find<QPushButton>("BtnRescan"), Qt::LeftButton);

    verifyDisconnected();
    QCOMPARE(m_sound.played, QStringList{"ding.wav"});
    QCOMPARE(consoleLines(), (QStringList{"Using FTDI Device #0 on COM port #5", "",
                                          "No response from ZR5 serial port driver!",
                                          "ZR5 Board might be new or empty. Otherwise, ",
                                          "try unplugging USB cable from PC and reconnect.",
                                          kClosed, "", "", "Done.", ""}));
    QVERIFY(m_prompter.messages.isEmpty());
}

void TstAppConnect::raisedErrorEndsTheHandlerWithABox()
{
    makeForm();
    m_answer = [](const QList<DeviceRow>&) -> int {
        throw EZr5Error(QStringLiteral("tftdichip.openDeviceBySerial: Already open"));
    };
    QTest::mouseClick(find<QPushButton>("BtnRescan"), Qt::LeftButton);

    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages[0].icon, Prompter::Icon::Error);
    QCOMPARE(m_prompter.messages[0].text,
             QStringLiteral("tftdichip.openDeviceBySerial: Already open"));
    verifyDisconnected();
    // The window goes on: the next connect works.
    m_answer = [](const QList<DeviceRow>&) { return 0; };
    QTest::mouseClick(find<QPushButton>("BtnRescan"), Qt::LeftButton);
    QVERIFY(m_form->Link().Connected());
}

void TstAppConnect::deviceDialog_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("device"); // opened; -1 = none
    QTest::newRow("OK takes the preselected first row") << "ok" << 0;
    QTest::newRow("double click on the second row") << "double click 1" << 1;
    QTest::newRow("OK without a selection") << "ok unselected" << -1;
    QTest::newRow("Cancel") << "cancel" << -1;
}

void TstAppConnect::deviceDialog()
{
    QFETCH(QString, action);
    QFETCH(int, device);
    // The window's own dialog, not the scripted chooser.
    m_board.reset();
    m_board = std::make_shared<SimBoardBackend>(std::make_shared<BoardEngine>());
    auto cable = std::make_shared<ScriptedDevice>();
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(m_board);
    D2xxLibrary::instance().addBackend(
        std::make_shared<ScriptedBackend>(cable, "A50285BI", "FT232R USB UART"));
    TAppEnvironment env;
    env.appPath = m_dir->path();
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
    m_form->Link().setDeviceRoot(m_dir->filePath("dev"));
    m_deviceBox = std::make_unique<Tdeviceselectbox>();
    m_form->SetDeviceSelectBox(m_deviceBox.get());

    QStringList shown;
    QList<int> selected;
    // The flow processes events before the dialog opens; act once it is up.
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, m_deviceBox.get(), [&] {
        if (!m_deviceBox->isVisible())
            return;
        answer.stop();
        QTreeWidget* list = m_deviceBox->ListView1();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            shown << QStringList{item->text(0), item->text(1), item->text(2)}.join('|');
        }
        selected << m_deviceBox->SelectedRow();
        if (action == "ok") {
            QTest::mouseClick(m_deviceBox->OKButton(), Qt::LeftButton);
        } else if (action == "ok unselected") {
            list->clearSelection();
            QTest::mouseClick(m_deviceBox->OKButton(), Qt::LeftButton);
        } else if (action == "cancel") {
            QTest::mouseClick(m_deviceBox->CancelButton(), Qt::LeftButton);
        } else {
            QTreeWidgetItem* item = list->topLevelItem(1);
            list->setCurrentItem(item);
            emit list->itemDoubleClicked(item, 0);
        }
    });
    answer.start();
    m_form->TopStrip()->BtnRescanClick();

    QCOMPARE(shown, (QStringList{"Device 0|ZR5SIM01|ZR5 simulated board",
                                 "Device 1|A50285BI|FT232R USB UART"}));
    QCOMPARE(selected, QList<int>{0});
    QVERIFY(!m_deviceBox->isVisible());
    const QStringList lines = consoleLines();
    if (device < 0) {
        verifyDisconnected();
        QCOMPARE(lines.last(), QStringLiteral("Open FTDI device..."));
        return;
    }
    QCOMPARE(m_form->ZR5Record().Device, device);
    QCOMPARE(lines.first(), QStringLiteral("Using FTDI Device #%1 on COM port #0").arg(device));
    // Only the simulated board answers; the bare cable ends disconnected.
    QCOMPARE(m_form->Link().Connected(), device == 0);
    QCOMPARE(cable->written.isEmpty(), device == 0);
}

void TstAppConnect::connectAtStartTakesNoDialog_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<bool>("connected");
    // The simulated board is device 1, behind a cable without a board.
    QTest::newRow("remembered device") << 1 << "Using FTDI Device #1 on COM port #5" << true;
    QTest::newRow("none remembered: the first")
        << -1 << "Using FTDI Device #0 on COM port #5" << false;
    QTest::newRow("remembered one is gone: the first")
        << 2 << "Using FTDI Device #0 on COM port #5" << false;
}

void TstAppConnect::connectAtStartTakesNoDialog()
{
    QFETCH(int, remembered);
    QFETCH(QString, firstLine);
    QFETCH(bool, connected);
    addSilentCableFirst();
    makeForm(true);
    m_form->ZR5Record().Device = remembered;
    // Nothing happens before the window is shown.
    QCoreApplication::processEvents();
    QVERIFY(!consoleLines().contains("Open FTDI device..."));

    showForm();
    QTRY_VERIFY(consoleLines().contains(firstLine));
    QVERIFY(m_asked.isEmpty());
    QCOMPARE(m_form->Link().Connected(), connected);
    QCOMPARE(m_board->isOpen(), connected);
    if (connected)
        QCOMPARE(find<QLineEdit>("DeviceView")->text(), kSimView);

    // Only the start went without the dialog.
    m_form->TopStrip()->BtnCloseClick();
    m_form->TopStrip()->BtnRescanClick();
    QCOMPARE(m_asked.size(), 1);
}

void TstAppConnect::rememberedOrFirst_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("chosen");
    QTest::newRow("remembered in the list") << 1 << 2 << 1;
    QTest::newRow("remembered is the last") << 2 << 3 << 2;
    QTest::newRow("remembered past the list") << 2 << 2 << 0;
    QTest::newRow("none remembered") << -1 << 2 << 0;
    QTest::newRow("empty list") << 0 << 0 << -1;
}

void TstAppConnect::rememberedOrFirst()
{
    QFETCH(int, remembered);
    QFETCH(int, rows);
    QFETCH(int, chosen);
    QCOMPARE(TConnectionView::RememberedOrFirst(remembered, rows), chosen);
}

QTEST_MAIN(TstAppConnect)
#include "tst_app_connect.moc"
