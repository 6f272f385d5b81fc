#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TConsole.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TTopStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The window with a simulated board connected through the link.
class TstAppShutdown : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void quitWhileConnectedClosesTheDevice_data();
    void quitWhileConnectedClosesTheDevice();
    void quitWhileDisconnectedReleasesTheWrapper();
    void connectedStateClearsSwitchesOnTheBoard();

private:
    void connect();

    std::shared_ptr<SimBoardBackend> m_board;
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppShutdown::init()
{
    m_board = std::make_shared<SimBoardBackend>(std::make_shared<BoardEngine>());
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(m_board);
    TAppEnvironment env;
    env.appPath = m_dir.path();
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
}

void TstAppShutdown::cleanup()
{
    m_form.reset();
    D2xxLibrary::instance().clearBackends();
    m_board.reset();
}

void TstAppShutdown::connect()
{
    TLink& link = m_form->Link();
    link.BuildDeviceList();
    QCOMPARE(link.DeviceCount(), 1u);
    link.OpenDevice(0);
    QVERIFY(link.Connected());
    QVERIFY(m_board->isOpen());
}

void TstAppShutdown::quitWhileConnectedClosesTheDevice_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Quit entry") << "quit";
    QTest::newRow("window closed") << "close";
    QTest::newRow("window destroyed") << "destroy";
}

void TstAppShutdown::quitWhileConnectedClosesTheDevice()
{
    QFETCH(QString, how);
    connect();
    m_form->Host().SetProgress(50);

    if (how == "quit") {
        m_form->MainMenu1()->FileExit1()->trigger();
    } else if (how == "close") {
        m_form->close();
    } else {
        m_form.reset();
        QVERIFY(!m_board->isOpen());
        return;
    }

    QVERIFY(!m_board->isOpen());
    QVERIFY(!m_form->Link().Connected());
    QVERIFY(!m_form->Link().Ftdi());
    QVERIFY(m_form->Host().CancelRequested());
    QCOMPARE(m_form->findChild<QProgressBar*>("TransferProgress")->value(), 0);
    QVERIFY(!m_form->Timer1()->isActive());
}

void TstAppShutdown::quitWhileDisconnectedReleasesTheWrapper()
{
    m_form->Link().BuildDeviceList();
    QVERIFY(m_form->Link().Ftdi());
    m_form->FileExit1Execute();
    QVERIFY(!m_form->Link().Ftdi());
    QVERIFY(m_prompter.messages.isEmpty());
}

void TstAppShutdown::connectedStateClearsSwitchesOnTheBoard()
{
    connect();
    m_board->engine().clearReceived();

    m_form->ShowConnectedState();

    QVERIFY(!m_form->TopStrip()->BtnClose()->isHidden());
    QVERIFY(m_form->TopStrip()->BtnRescan()->isHidden());
    QVERIFY(!m_form->TopStrip()->BtnRescan()->isEnabled());
    QVERIFY(m_form->MainMenu1()->Actions1()->isEnabled());
    for (const char* name : {"ReadAll", "SendAll", "UpdateFPGA", "UpdateAVR", "BtnWriteBasics",
                             "BtnRefresh", "BtnScanCore", "BtnDSP", "BtnTaper1", "BtnTaper4",
                             "BtnFIR", "BtnSaveFactory", "BtnRestoreFactory"})
        QVERIFY2(m_form->findChild<QWidget*>(name)->isEnabled(), name);
    QStringList lines;
    for (const BoardEngine::ReceivedLine& line : m_board->engine().receivedLines())
        lines << QString::fromLatin1(line.text).trimmed();
    QCOMPARE(lines, (QStringList{"909=0!", "919=0!"}));

    // Back to disconnected: nothing more goes to the board.
    m_form->Link().Ftdi()->closeDevice();
    m_form->Link().setConnected(false);
    m_board->engine().clearReceived();
    m_form->ShowDisconnectedState();
    QVERIFY(m_form->TopStrip()->BtnClose()->isHidden());
    QVERIFY(m_form->TopStrip()->BtnRescan()->isEnabled());
    QVERIFY(m_board->engine().receivedLines().isEmpty());
}

QTEST_MAIN(TstAppShutdown)
#include "tst_app_shutdown.moc"
