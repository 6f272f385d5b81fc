#include "BoardEngine.h"
#include "BoardWindow.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TAdvancedPage.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TFactoryPage.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TPageArea.h"
#include "TSpinButton.h"
#include "TTopStrip.h"
#include "TUpdateBox.h"
#include "TestBoard.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

// The maintenance commands and the controller update in the real main
// window, against the in-process simulated board on simulated time.
class TstAppMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reloadButtons_data();
    void reloadButtons();
    void factoryButtons();
    void resetByMenu();
    void parameterTester_data();
    void parameterTester();
    void restoreBoxesStayAsClicked();
    void updateRunsTheToolBesideTheProgram();
    void updateByMenuWithoutTool();

private:
    void makeForm();
    void connectBoard();
    QStringList consoleLines() const { return m_form->ConsoleBox()->Lines(); }
    TFactoryPage* factory() const { return m_form->PageArea()->FactoryPage(); }
    BoardEngine& board() const { return m_sim->engine(); }

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppMaintenance::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    m_prompter = ScriptedPrompter();
}

void TstAppMaintenance::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppMaintenance::makeForm()
{
    m_form = MakeBoardWindow(m_sim->dir, m_prompter, m_sound);
}

void TstAppMaintenance::connectBoard()
{
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ZR5Record().Device = 0;
    m_form->ShowConnectedState();
    board().clearReceived();
}

void TstAppMaintenance::reloadButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("first");
    QTest::newRow("Reload Gen (9996)") << 4 << "9996?";
    QTest::newRow("Reload Cores (9997)") << 1 << "9998?";
    QTest::newRow("Reload FPGA (9998)") << 2 << "9998?";
    QTest::newRow("System Reset (9999)") << 3 << "9999?";
}

void TstAppMaintenance::reloadButtons()
{
    QFETCH(int, button);
    QFETCH(QString, first);
    makeForm();
    QTest::mouseClick(factory()->BitBtn(button), Qt::LeftButton);
    QCOMPARE(consoleLines().constLast(), QStringLiteral("##### Error: Not connected!"));

    connectBoard();
    QTest::mouseClick(factory()->BitBtn(button), Qt::LeftButton);
    QCOMPARE(m_sim->sentLines().value(0), first);
    QCOMPARE(consoleLines().mid(consoleLines().size() - 2), (QStringList{"Done.", ""}));
}

void TstAppMaintenance::factoryButtons()
{
    makeForm();
    TAdvancedPage* advanced = m_form->PageArea()->AdvancedPage();
    QVERIFY(!advanced->BtnSaveFactory()->isEnabled());
    connectBoard();
    m_form->ZR5Record().FirmwareVersion = 3.81;
    QTest::mouseClick(advanced->BtnSaveFactory(), Qt::LeftButton);
    QTest::mouseClick(advanced->BtnRestoreFactory(), Qt::LeftButton);
    QCOMPARE(m_sim->sentLines(), (QStringList{"SFX 1=9!", "SFX 2=9!"}));
    QVERIFY(consoleLines().contains("Current configuration saved to Factory Defaults"));
    QVERIFY(consoleLines().contains("Configuration restored from Factory Defaults"));
}

void TstAppMaintenance::resetByMenu()
{
    makeForm();
    connectBoard();
    m_form->Console().ConsoleLine(QStringLiteral("before the reset"));
    m_form->MainMenu1()->ResetZR51()->trigger();
    QVERIFY(m_sim->sentLines().contains("9999?"));
    QCOMPARE(consoleLines().value(0), QStringLiteral("Read info from ZR5..."));
}

void TstAppMaintenance::parameterTester_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("connected") << true;
    QTest::newRow("not connected") << false;
}

void TstAppMaintenance::parameterTester()
{
    QFETCH(bool, connected);
    makeForm();
    if (connected)
        connectBoard();
    factory()->TestParam()->setText(QStringLiteral("300"));
    QCOMPARE(m_sim->sentLines(), QStringList());
    factory()->ScrollBarTestParam()->setValue(12);
    QCOMPARE(factory()->TestVal()->text(), QStringLiteral("12"));
    QTest::mouseClick(factory()->SpinButton1()->UpButton(), Qt::LeftButton);
    QCOMPARE(factory()->TestParam()->text(), QStringLiteral("255"));
    QTest::mouseClick(factory()->SpinButton1()->DownButton(), Qt::LeftButton);
    QCOMPARE(factory()->TestParam()->text(), QStringLiteral("254"));
    factory()->ScrollBarTestParam()->setValue(0);
    QCOMPARE(factory()->TestVal()->text(), QStringLiteral("0"));
    QCOMPARE(m_sim->sentLines(), connected ? (QStringList{"300=12!", "254=0!"}) : QStringList());
}

void TstAppMaintenance::restoreBoxesStayAsClicked()
{
    makeForm();
    TUpdateBox* update = m_form->UpdateBox();
    update->CheckRestorePresets()->click();
    QVERIFY(m_form->ZR5Record().RestorePresets);
    // Showing the presets again, as the backup does, keeps the user's choice.
    m_form->StateToControls();
    QVERIFY(update->CheckRestorePresets()->isChecked());
    update->CheckRestorePresets()->click();
    QVERIFY(!m_form->ZR5Record().RestorePresets);
}

void TstAppMaintenance::updateRunsTheToolBesideTheProgram()
{
    // A stand-in for the tool beside the program that notes its arguments;
    // the board stays in its boot loader, as after a failed tool.
    const QString tool = m_sim->dir.filePath("avrdude");
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> args.txt; done\necho tool ran\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    const QString hex = m_sim->dir.filePath("zr5_test.hex");
    for (const QString& path : {hex, m_sim->dir.filePath("zr5_test.eep")}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(":00000001FF\r\n");
    }
    makeForm();
    connectBoard();
    m_form->UpdateBox()->CheckRestoreOrgan()->setChecked(true);
    m_prompter.fileNames.enqueue(hex);

    QTest::mouseClick(m_form->UpdateBox()->UpdateAVR(), Qt::LeftButton);

    QFile args(m_sim->dir.filePath("args.txt"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    const QStringList got = QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(got, (QStringList{"-pm644p", "-cstk500v1", "-P", m_form->Link().ComPortName(0),
                               "-b57600", "-U", "flash:w:" + hex + ":i", "-U",
                               "eeprom:w:" + m_sim->dir.filePath("zr5_test.eep") + ":i", "-e"}));
    const QStringList lines = consoleLines();
    QVERIFY(lines.contains("tool ran"));
    QVERIFY(lines.contains("Flash \u00b4file: " + hex));
    QCOMPARE(lines.mid(lines.size() - 2), (QStringList{"Done.", ""}));
    QVERIFY(board().inBootLoader());
    QCOMPARE(m_form->TopStrip()->DeviceView()->text(),
             QStringLiteral("ZR5SIM01, ZR5 simulated board on COM0"));
    QVERIFY(m_form->UpdateBox()->UpdateAVR()->isEnabled());
    // The organ page went to a backup file before the board was touched.
    QCOMPARE(QDir(m_sim->dir.filePath("backup")).entryList(QDir::Files).size(), 1);
}

void TstAppMaintenance::updateByMenuWithoutTool()
{
    makeForm();
    connectBoard();
    m_form->MainMenu1()->UpdateAVRFirmware1()->trigger();
    QCOMPARE(m_prompter.messages.size(), 1);
    QCOMPARE(m_prompter.messages.at(0).text,
             QStringLiteral("AVRdude.exe tool not found.\nZR5 Remote not properly installed."));
}

QTEST_MAIN(TstAppMaintenance)
#include "tst_app_maintenance.moc"
