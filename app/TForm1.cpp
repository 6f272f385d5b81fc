#include "TForm1.h"

#include "TAboutBox.h"
#include "TAdvancedPage.h"
#include "TBeepSound.h"
#include "TBoardInfoBox.h"
#include "TClickPanel.h"
#include "TClipboardActions.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TDialogPrompter.h"
#include "TFactoryPage.h"
#include "TFinalizeBox.h"
#include "THandlerGuard.h"
#include "TLowerPage.h"
#include "TMainMenu.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TProgressBox.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TToolLocator.h"
#include "TTopStrip.h"
#include "TUpdateBox.h"
#include "TUpperPage.h"
#include "TZr5Com.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kButtonTableFile = QStringLiteral("zr5_buttons.csv");
const QString kMenuTableFile = QStringLiteral("zr5_dropdown_menus.csv");
} // namespace

TForm1::TForm1(const TAppEnvironment& environment, QWidget* parent)
    : QMainWindow(parent), m_appPath(TAppEnvironment::WithTrailingSlash(environment.appPath)),
      m_toolSearchPath(environment.toolSearchPath)
{
    if (environment.prompter) {
        m_prompter = environment.prompter;
    } else {
        m_ownPrompter = std::make_unique<TDialogPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    if (environment.sound) {
        m_sound = environment.sound;
    } else {
        m_ownSound = std::make_unique<TBeepSound>();
        m_sound = m_ownSound.get();
    }
    BuildWindow();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

OperationHost& TForm1::Host() const
{
    return *m_console;
}

void TForm1::BuildWindow()
{
    setObjectName("Form1");
    setWindowTitle("ZR5.4 Remote");
    QFont base("Arial");
    base.setPixelSize(12);
    setFont(base);

    m_mainMenu = new TMainMenu(this);
    setMenuBar(m_mainMenu);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName("StatusBar");
    m_statusBar->setSizeGripEnabled(false);
    setStatusBar(m_statusBar);

    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    m_topStrip = new TTopStrip(central);
    m_pageArea = new TPageArea(central);
    m_pageArea->setFixedWidth(kLeftWidth);
    m_boardInfo = new TBoardInfoBox(central);
    m_progressBox = new TProgressBox(central);
    m_updateBox = new TUpdateBox(central);
    m_consoleBox = new TConsoleBox(central);
    m_finalizeBox = new TFinalizeBox(central);

    auto* right = new QVBoxLayout;
    right->addWidget(m_boardInfo);
    right->addWidget(m_progressBox);
    right->addWidget(m_updateBox);
    right->addWidget(m_consoleBox, 1);
    right->addWidget(m_finalizeBox);
    auto* halves = new QHBoxLayout;
    halves->addWidget(m_pageArea);
    halves->addLayout(right, 1);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(m_topStrip);
    layout->addLayout(halves, 1);
    setCentralWidget(central);

    setMinimumWidth(kWidth);
    setMaximumWidth(kWidth);
    setMinimumHeight(kMinHeight);
    resize(kWidth, kMinHeight);

    m_console = std::make_unique<TConsole>(*m_consoleBox, *m_progressBox,
                                           *m_pageArea->AdvancedPage()->CheckVerbose());
    m_progressBox->SetHost(m_console.get());
    m_com = std::make_unique<TZr5Com>(m_link, *m_console);

    m_clipboard = new TClipboardActions(m_mainMenu->EditCut1(), m_mainMenu->EditCopy1(),
                                        m_mainMenu->EditPaste1(), this);
    connect(m_mainMenu->FileExit1(), &QAction::triggered, this, &TForm1::FileExit1Execute);
    connect(m_mainMenu->HelpAbout1(), &QAction::triggered, this, &TForm1::HelpAbout1Execute);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName("Timer1");
    m_timer1->setInterval(10);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

// The order matters: later steps read what earlier ones set (the settings
// decide the table paths, the state procedure runs before the tables exist,
// the column widths are set before a file can bring its own columns).
void TForm1::FormCreate()
{
    // The program folder came with the environment; dialogs open there.
    m_openDialog1.initialDir = m_appPath;
    m_openDialog1.defaultSuffix = QStringLiteral("hex");
    m_openDialog1.filters = QStringList{"FPGA Sound Engine BIT (fpga*.bit)",
                                        "Firmware HEX (zr*.hex)",
                                        "Import CSV (zr*.csv)",
                                        "ScanCore DAT (zr*.dat)",
                                        "Reverb BIN (dsp*.bin)",
                                        "FIR Horn Filter DAT (fir*.dat)",
                                        "TaperLevels DAT (taper*.dat)"};
    m_saveDialog1.initialDir = m_appPath;
    m_saveDialog1.defaultSuffix = QStringLiteral("csv");
    m_saveDialog1.filters = QStringList{"Export Data (*.csv)"};

    SetDefaultSettings();
    LoadSettings(true);
    m_console->SetCancelFlag(0);

    m_console->ClearConsole();
    m_console->ConsoleLine(QStringLiteral("Welcome to ZR5 Remote!"));
    // A missing organ table means the stored paths are stale.
    if (!QFileInfo(m_record.OrganParamFile).isFile()) {
        m_console->ConsoleLine(
            QStringLiteral("##### Error: Files not found - Resetting File Info"));
        LoadSettings(true);
    }

    m_console->FlashBusyLed();
    SizeFileBuffer();
    m_midiPollCountdown = 10;
    ShowDisconnectedState();
    // The production controls follow the ISP port as loaded.
    m_pageArea->FactoryPage()->EditDiamexChange();

    m_buttonTable.clear();
    m_midiTargetList.clear();
    m_menuTable.clear();

    TStringGrid* organ = m_pageArea->OrganPage()->StringGrid1();
    organ->SetColWidth(1, 200);
    organ->SetColWidth(2, 162);
    organ->SetColWidth(3, 80);
    organ->SetColWidth(4, 36);
    TStringGrid* rotary = m_pageArea->RotaryPage()->StringGrid2();
    rotary->SetColWidth(1, 200);
    rotary->SetColWidth(2, 162);

    m_record.ScanCore = 0;
    StateToControls();
    LoadPageTables();
    m_pageArea->PageControl1()->setCurrentIndex(TPageArea::OrganTab);

    // The side tables and the tool are reported in this order when missing.
    LoadButtonTable();
    LoadMenuTable();
    FindProgrammingTool();

    // Set up what the first page and the MIDI CC hint show.
    PageControl1Change();
    StringGrid3Click();

    m_timer1->start();
}

void TForm1::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_timer1->stop();
    m_console->SetCancelFlag(1);
    ControlsToState();
    m_console->SetProgress(0);
    SaveSettings();
    // The wrapper raises on closing a device it does not hold open; here,
    // on the way out, that must not happen, so its own state is asked too.
    if (m_link.Connected() && m_link.Ftdi() && m_link.Ftdi()->connected())
        m_link.Ftdi()->closeDevice();
    m_link.setConnected(false);
    m_link.ReleaseFtdi();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormDestroy();
    event->accept();
}

bool TForm1::Guarded(const std::function<void()>& body)
{
    return THandlerGuard::Run(*m_prompter, body);
}

void TForm1::ReportMissingFile(const QString& name)
{
    m_console->ConsoleLine(QStringLiteral("##### Error: Missing file ") + name);
}

void TForm1::SetDefaultSettings()
{
    m_record.OrganParamFile = m_appPath + QStringLiteral("zr5_organ_defaults.csv");
    m_record.LeslieParamFile = m_appPath + QStringLiteral("zr5_rotary_defaults.csv");
    m_record.MidiCCFile = m_appPath + QStringLiteral("zr5_midi_cc_defaults.csv");
    m_record.UpperPresetFile = m_appPath + QStringLiteral("zr5_upper_presets.csv");
    m_record.LowerPresetFile = m_appPath + QStringLiteral("zr5_lower_presets.csv");
    m_record.RestoreOrgan = false;
    m_record.RestoreMidi = false;
    m_record.ScanCore = 1;
    m_record.ComPort = 0;
    m_record.Owner = QStringLiteral("Brackwell");
    m_record.SerialNumber = 0;
    m_record.Device = -1;
    m_record.SaveDF = true;
    m_record.FirmwareVersion = 0.0;
    m_record.FPGAversion = QStringLiteral("00000000");
    move(50, 100);
    TFactoryPage* factory = m_pageArea->FactoryPage();
    factory->EditDiamex()->setText(QStringLiteral("0"));
    factory->dd_FirmwareType()->setCurrentIndex(1);
    m_pageArea->AdvancedPage()->CheckVerbose()->setChecked(false);
    factory->EditFTDIdevice()->setText(QString::number(m_record.Device));
    factory->EditFTDIcom()->setText(QString::number(m_record.ComPort));
}

void TForm1::ShowConnectedState()
{
    const bool connected = m_link.Connected();
    TAdvancedPage* advanced = m_pageArea->AdvancedPage();
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_pageArea->ReadAll(), m_pageArea->SendAll(), m_updateBox->UpdateFPGA(),
             advanced->BtnRefresh(), advanced->BtnScanCore(), m_updateBox->UpdateAVR(),
             m_finalizeBox->BtnWriteBasics()})
        control->setEnabled(true);
    m_mainMenu->Actions1()->setEnabled(true);
    m_topStrip->BtnClose()->setVisible(connected);
    m_topStrip->BtnRescan()->setVisible(!connected);
    m_topStrip->BtnRescan()->setEnabled(false);
    for (int n = 1; n <= 4; ++n)
        advanced->BtnTaper(n)->setEnabled(true);
    for (QWidget* control : std::initializer_list<QWidget*>{
             advanced->BtnFIR(), advanced->BtnSaveFactory(), advanced->BtnRestoreFactory(),
             advanced->BtnScanCore(), advanced->BtnDSP(), m_pageArea->SendAll(),
             m_pageArea->ReadAll()})
        control->setEnabled(true);
    ClearSwitches();
}

void TForm1::ShowDisconnectedState()
{
    const bool connected = m_link.Connected();
    TAdvancedPage* advanced = m_pageArea->AdvancedPage();
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_pageArea->ReadAll(), m_pageArea->SendAll(), m_updateBox->UpdateFPGA(),
             advanced->BtnDSP(), advanced->BtnRefresh(), advanced->BtnScanCore(),
             m_updateBox->UpdateAVR()})
        control->setEnabled(false);
    m_mainMenu->Actions1()->setEnabled(false);
    m_finalizeBox->BtnWriteBasics()->setEnabled(false);
    m_topStrip->BtnClose()->setVisible(connected);
    m_topStrip->BtnRescan()->setVisible(!connected);
    m_topStrip->BtnRescan()->setEnabled(true);
    for (int n = 1; n <= 4; ++n)
        advanced->BtnTaper(n)->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{
             advanced->BtnFIR(), advanced->BtnSaveFactory(), advanced->BtnRestoreFactory()})
        control->setEnabled(false);
    m_pageArea->ScrollBar1()->hide();
    m_pageArea->Panel1()->hide();
    m_pageArea->ComboBox1()->hide();
    m_pageArea->SendAll()->setEnabled(false);
    m_pageArea->ReadAll()->setEnabled(false);
    ClearSwitches();
}

void TForm1::ClearSwitches()
{
    // Unchecking a box that was checked runs its click operation (connected
    // to the box's toggled signal by the preset pages).
    TUpperPage* upper = m_pageArea->UpperPage();
    for (int n = 0; n < TUpperPage::kSwitches; ++n)
        upper->CheckBox(n)->setChecked(false);
    m_pageArea->LowerPage()->CheckBox5()->setChecked(false);
    for (int n = TTopStrip::kFirstSwitch; n <= 11; ++n)
        m_topStrip->CheckBox(n)->setChecked(false);
    if (m_link.Connected()) {
        m_com->SetParam(909, 0, false);
        m_com->SetParam(919, 0, false);
    }
}

void TForm1::Timer1Timer()
{
    const int busy = m_progressBox->BusyLedCountdown();
    if (busy != 0)
        m_progressBox->SetBusyLedCountdown(busy - 1);
    else
        m_console->SetBusyLed(false);

    if (m_midiPollCountdown != 0) {
        --m_midiPollCountdown;
    } else {
        m_midiPollCountdown = 10;
        MidiMonitorPoll();
    }

    if (m_console->CancelFlag() == 1)
        m_console->SetProgress(0);
}

void TForm1::FileExit1Execute()
{
    m_console->SetCancelFlag(1);
    m_console->SetProgress(0);
    close();
}

void TForm1::HelpAbout1Execute()
{
    if (!m_aboutBox)
        return;
    m_aboutBox->Version()->setText(TAboutBox::kVersionText);
    m_aboutBox->exec();
}

void TForm1::LoadButtonTable()
{
    const QString path = m_appPath + kButtonTableFile;
    if (QFileInfo(path).isFile())
        ReadButtonTable(path);
    else
        ReportMissingFile(kButtonTableFile);
}

void TForm1::LoadMenuTable()
{
    m_menuTable.clear();
    const QString path = m_appPath + kMenuTableFile;
    if (QFileInfo(path).isFile())
        ReadMenuTable(path);
    else
        ReportMissingFile(kMenuTableFile);
}

void TForm1::FindProgrammingTool()
{
    const QString name = TToolLocator::ProgramFileName(QStringLiteral("avrdude"));
    m_avrdudePath = TToolLocator::Find(name, m_appPath, m_toolSearchPath);
    if (m_avrdudePath.isEmpty())
        ReportMissingFile(name);
}

// Hooks, each at its place in start-up, the timer step or shut-down: the
// settings store, the file buffer of the block transfer, the preset pages,
// the page tables and side tables, the page change and the MIDI CC page with
// its monitor fill them.

void TForm1::LoadSettings(bool reset)
{
    Q_UNUSED(reset);
}

void TForm1::SaveSettings() {}

void TForm1::SizeFileBuffer() {}

void TForm1::ControlsToState() {}

void TForm1::StateToControls() {}

void TForm1::LoadPageTables() {}

void TForm1::ReadButtonTable(const QString& path)
{
    Q_UNUSED(path);
}

void TForm1::ReadMenuTable(const QString& path)
{
    Q_UNUSED(path);
}

void TForm1::PageControl1Change() {}

void TForm1::StringGrid3Click() {}

void TForm1::MidiMonitorPoll() {}
