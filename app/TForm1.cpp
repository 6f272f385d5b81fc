#include "TForm1.h"

#include "TAboutBox.h"
#include "TAdvancedPage.h"
#include "TAvrUpdate.h"
#include "TAvrUpdateView.h"
#include "TBlockTransfer.h"
#include "TBeepSound.h"
#include "TBoardInfoBox.h"
#include "TClickPanel.h"
#include "TClipboardActions.h"
#include "TConnection.h"
#include "TConnectionView.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TDataFlashUploads.h"
#include "TDialogPrompter.h"
#include "TDspUpdate.h"
#include "TFactoryPage.h"
#include "TFileBuffer.h"
#include "TFinalizeBox.h"
#include "TFpgaUpdate.h"
#include "THandlerGuard.h"
#include "TIdentification.h"
#include "TIdentificationView.h"
#include "TLowerPage.h"
#include "TMainMenu.h"
#include "TMaintenance.h"
#include "TMaintenanceView.h"
#include "TMidiCCPage.h"
#include "TMidiMonitor.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TPageFiles.h"
#include "TPageReadSend.h"
#include "TProduction.h"
#include "TProductionView.h"
#include "TPresetPages.h"
#include "TProgressBox.h"
#include "TRotaryPage.h"
#include "TSettingsStore.h"
#include "TStringGrid.h"
#include "TTabChoice.h"
#include "TToolLocator.h"
#include "TTopStrip.h"
#include "TUpdateBox.h"
#include "TUpperPage.h"
#include "TWindowSettings.h"
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
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

TForm1::TForm1(const TAppEnvironment& environment, QWidget* parent)
    : QMainWindow(parent), m_appPath(TAppEnvironment::WithTrailingSlash(environment.appPath)),
      m_toolSearchPath(environment.toolSearchPath), m_settingsFile(environment.settingsFile),
      m_userSettings(environment.userSettings)
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
    BuildConnection(environment);
    BuildBoardCommands();
    BuildMaintenance(environment);
    BuildUploads();
    BuildPageFiles();
    BuildMidiCCPage();
    BuildProduction();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
    // The controls outlive the members they edit: a cell editor that closes
    // while the window comes apart must find nothing to write or send to.
    m_pageArea->Bind(nullptr, nullptr);
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
    m_pageArea->Bind(&m_pages, m_com.get());

    m_clipboard = new TClipboardActions(m_mainMenu->EditCut1(), m_mainMenu->EditCopy1(),
                                        m_mainMenu->EditPaste1(), this);
    connect(m_mainMenu->FileExit1(), &QAction::triggered, this, &TForm1::FileExit1Execute);
    connect(m_mainMenu->HelpAbout1(), &QAction::triggered, this, &TForm1::HelpAbout1Execute);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName("Timer1");
    m_timer1->setInterval(10);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    // Last: it wires itself to the preset tabs, the switches and the menu.
    m_presetPages = new TPresetPages(*this);
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

void TForm1::BuildConnection(const TAppEnvironment& environment)
{
    m_connectionView = std::make_unique<TConnectionView>(*this, environment.chooseDevice);
    m_connection = std::make_unique<TConnection>(*m_com, m_record, Host(), Prompt(), Sound(),
                                                 *m_connectionView);
    m_topStrip->SetConnection(m_connection.get(),
                              [this](const std::function<void()>& body) { return Guarded(body); });
    connect(m_mainMenu->Connect1(), &QAction::triggered, m_topStrip, &TTopStrip::BtnRescanClick);
    connect(m_mainMenu->Disconnect1(), &QAction::triggered, m_topStrip, &TTopStrip::BtnCloseClick);
    m_connectAtStart = environment.connectAtStart;
}

void TForm1::ConnectWithoutDialog()
{
    m_connectionView->SetChooseAutomatically(true);
    m_topStrip->BtnRescanClick();
    m_connectionView->SetChooseAutomatically(false);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_connectAtStart) {
        m_connectAtStart = false;
        // Queued, so that the window is on the screen while the board is asked.
        QTimer::singleShot(0, this, &TForm1::ConnectWithoutDialog);
    }
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
    TWindowSettings window;
    TSettingsStore::SetDefaultSettings(m_record, window, m_appPath);
    ShowWindowSettings(window);
    TFactoryPage* factory = m_pageArea->FactoryPage();
    factory->EditFTDIdevice()->setText(QString::number(m_record.Device));
    factory->EditFTDIcom()->setText(QString::number(m_record.ComPort));
}

TWindowSettings TForm1::WindowSettings() const
{
    TWindowSettings window;
    window.top = y();
    window.left = x();
    TFactoryPage* factory = m_pageArea->FactoryPage();
    window.diamexComPort = factory->EditDiamex()->text();
    window.firmwareType = factory->dd_FirmwareType()->currentIndex();
    window.debugMessages = m_pageArea->AdvancedPage()->CheckVerbose()->isChecked();
    return window;
}

void TForm1::ShowWindowSettings(const TWindowSettings& window)
{
    move(window.left, window.top);
    TFactoryPage* factory = m_pageArea->FactoryPage();
    factory->EditDiamex()->setText(window.diamexComPort);
    // Also when the text was there already: the production controls follow
    // the port whatever the box showed before.
    factory->EditDiamexChange();
    factory->dd_FirmwareType()->setCurrentIndex(window.firmwareType);
    m_pageArea->AdvancedPage()->CheckVerbose()->setChecked(window.debugMessages);
}

std::unique_ptr<QSettings> TForm1::OpenSettings() const
{
    if (!m_settingsFile.isEmpty())
        return std::make_unique<QSettings>(m_settingsFile, QSettings::IniFormat);
    if (m_userSettings)
        return std::make_unique<QSettings>(QStringLiteral("Brackwell"), QStringLiteral("ZR5remote"));
    return nullptr;
}

void TForm1::RestFileInfoBtnClick()
{
    SetDefaultSettings();
    m_console->ConsoleLine(QStringLiteral("Reset import file info..."));
    LoadSettings(true);
    LoadPageTables();
    m_record.Owner = QStringLiteral("Brackwell");
}

void TForm1::BuildBoardCommands()
{
    m_identificationView = std::make_unique<TIdentificationView>(*this);
    m_identification = std::make_unique<TIdentification>(*m_com, m_record, Host(), Prompt(),
                                                         *m_identificationView);
    m_pageReadSend = std::make_unique<TPageReadSend>(*this);

    const auto guarded = [this](void (TForm1::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    // Each menu item does what its button does, and only while the button
    // can be pressed: without a board nothing is read or sent.
    const auto whileEnabled = [this](QWidget* button, void (TForm1::*handler)()) {
        return [this, button, handler] {
            if (button->isEnabled())
                Guarded([this, handler] { (this->*handler)(); });
        };
    };
    TAdvancedPage* advanced = m_pageArea->AdvancedPage();
    connect(advanced->BtnRefresh(), &QPushButton::clicked, this,
            guarded(&TForm1::BtnRefreshClick));
    connect(advanced->RestFileInfoBtn(), &QPushButton::clicked, this,
            guarded(&TForm1::RestFileInfoBtnClick));
    connect(m_pageArea->ReadAll(), &QPushButton::clicked, this, guarded(&TForm1::ReadAllClick));
    connect(m_pageArea->SendAll(), &QPushButton::clicked, this, guarded(&TForm1::SendAllClick));
    connect(m_mainMenu->ReadParamstoPage(), &QAction::triggered, this,
            whileEnabled(m_pageArea->ReadAll(), &TForm1::ReadAllClick));
    connect(m_mainMenu->SendParamsfromPage(), &QAction::triggered, this,
            whileEnabled(m_pageArea->SendAll(), &TForm1::SendAllClick));
    connect(m_mainMenu->RefreshInfo1(), &QAction::triggered, this,
            whileEnabled(advanced->BtnRefresh(), &TForm1::BtnRefreshClick));

    auto* tabChoice = new TTabChoice(m_pageArea->PageControl1());
    connect(tabChoice, &TTabChoice::TabChosen, this, guarded(&TForm1::PageControl1Change));
}

void TForm1::BuildUploads()
{
    m_fileBuffer = std::make_unique<TFileBuffer>();
    m_blockTransfer = std::make_unique<TBlockTransfer>(*m_com, Host(), Prompt(), *m_fileBuffer);
    // A cable pulled in the middle of an image ends it with the usual
    // no-response procedure.
    m_blockTransfer->SetLinkLostHandler([this] { m_connection->LinkLost(); });
    m_uploads = std::make_unique<TDataFlashUploads>(*m_blockTransfer, *m_com, Host(), Prompt(),
                                                    m_openDialog1);
    m_fpgaUpdate = std::make_unique<TFpgaUpdate>(*m_blockTransfer, *m_uploads, *m_identification,
                                                 *m_com, m_record, Host(), Prompt(),
                                                 *m_identificationView, m_openDialog1);
    m_dspUpdate = std::make_unique<TDspUpdate>(*m_blockTransfer, *m_com, Host(), Prompt(), Sound(),
                                               m_openDialog1);

    const auto guard = [this](const std::function<void()>& body) { return Guarded(body); };
    m_pageArea->AdvancedPage()->SetUploads(m_uploads.get(), m_dspUpdate.get(), guard);
    m_updateBox->SetFpgaUpdate(m_fpgaUpdate.get(), guard);
    // Like the button, and only while it can be pressed.
    connect(m_mainMenu->UpdateFPGAandScanCores1(), &QAction::triggered, this, [this] {
        if (m_updateBox->UpdateFPGA()->isEnabled())
            m_updateBox->UpdateFPGAClick();
    });
}

TDataFlashUploads& TForm1::Uploads() const
{
    return *m_uploads;
}

TFpgaUpdate& TForm1::FpgaUpdate() const
{
    return *m_fpgaUpdate;
}

TDspUpdate& TForm1::DspUpdate() const
{
    return *m_dspUpdate;
}

void TForm1::BuildMaintenance(const TAppEnvironment& environment)
{
    m_maintenanceView = std::make_unique<TMaintenanceView>(*this);
    m_maintenance = std::make_unique<TMaintenance>(*m_com, m_record, Host(), *m_identification,
                                                   *m_maintenanceView);
    m_avrUpdateView = std::make_unique<TAvrUpdateView>(*this);
    m_avrUpdate =
        std::make_unique<TAvrUpdate>(*m_com, m_record, Host(), Prompt(), Sound(), *m_identification,
                                     m_pages, *m_avrUpdateView, m_openDialog1);
    m_avrUpdate->SetBackupFolder(environment.backupDir);

    const auto guard = [this](const std::function<void()>& body) { return Guarded(body); };
    m_pageArea->AdvancedPage()->SetMaintenance(m_maintenance.get(), guard);
    m_pageArea->FactoryPage()->SetMaintenance(m_maintenance.get(), guard);
    // The tool found at start is known only once the window is filled.
    m_updateBox->SetAvrUpdate(m_avrUpdate.get(), [this](const std::function<void()>& body) {
        m_avrUpdate->SetToolPaths(
            m_appPath + TToolLocator::ProgramFileName(QStringLiteral("avrdude")), m_avrdudePath);
        return Guarded(body);
    });
    connect(m_mainMenu->ResetZR51(), &QAction::triggered, this,
            [this] { Guarded([this] { m_maintenance->BtnResetClick(); }); });
    // Like the button, and only while it can be pressed.
    connect(m_mainMenu->UpdateAVRFirmware1(), &QAction::triggered, this, [this] {
        if (m_updateBox->UpdateAVR()->isEnabled())
            m_updateBox->UpdateAVRClick();
    });

    // The record follows the restore boxes as they are clicked, so that the
    // preset pages shown again in the middle of an update cannot reset them
    // to an older choice.
    TUpdateBox* update = m_updateBox;
    connect(update->CheckRestoreOrgan(), &QCheckBox::toggled, this,
            [this](bool on) { m_record.RestoreOrgan = on; });
    connect(update->CheckRestoreMidi(), &QCheckBox::toggled, this,
            [this](bool on) { m_record.RestoreMidi = on; });
    connect(update->CheckRestorePresets(), &QCheckBox::toggled, this,
            [this](bool on) { m_record.RestorePresets = on; });
}

void TForm1::BuildProduction()
{
    m_productionView = std::make_unique<TProductionView>(*this);
    m_production = std::make_unique<TProduction>(*m_com, m_record, m_pages, Host(), Prompt(),
                                                 Sound(), *m_productionView,
                                                 m_productionView->ToolProgramPath());
    const auto guard = [this](const std::function<void()>& body) { return Guarded(body); };
    m_pageArea->FactoryPage()->SetProduction(m_production.get(), guard);
    m_finalizeBox->SetProduction(m_production.get(), guard);
}

void TForm1::BtnRefreshClick()
{
    m_console->SetCancelFlag(0);
    m_console->ClearConsole();
    ReadBoardInfo();
    ShowBoardInfo();
    m_console->ReportDone();
}

void TForm1::ReadBoardInfo()
{
    m_identification->ReadBoardInfo();
}

void TForm1::ShowBoardInfo()
{
    m_identification->ShowBoardInfo();
}

void TForm1::ReadAllClick()
{
    m_pageReadSend->ReadAllClick();
}

void TForm1::SendAllClick()
{
    m_pageReadSend->SendAllClick();
}

void TForm1::ChooseTab(int tab)
{
    m_pageArea->PageControl1()->setCurrentIndex(tab);
    Guarded([this] { PageControl1Change(); });
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
    m_presetPages->ClearSwitches();
}

void TForm1::ControlsToState()
{
    m_presetPages->ControlsToState();
}

void TForm1::StateToControls()
{
    m_presetPages->StateToControls();
}

TFileResult TForm1::LoadUpperPresetFile(const QString& path)
{
    return m_presetPages->LoadUpperPresetFile(path);
}

TFileResult TForm1::LoadLowerPresetFile(const QString& path)
{
    return m_presetPages->LoadLowerPresetFile(path);
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

void TForm1::LoadPageTables()
{
    const TPageFilePaths paths{m_record.OrganParamFile, m_record.LeslieParamFile,
                               m_record.MidiCCFile, m_record.UpperPresetFile,
                               m_record.LowerPresetFile};
    m_pages.LoadPageTables(paths, Host(), [this](TPageModel::Page page) { ShowLoadedPage(page); });
    m_pageArea->ShowPageTables();
}

void TForm1::ShowLoadedPage(TPageModel::Page page)
{
    // A preset file is shown before the next one is read, as its own load
    // from the preset pages would show it.
    if (page == TPageModel::UpperPage || page == TPageModel::LowerPage)
        StateToControls();
}

void TForm1::LoadButtonTable()
{
    m_pages.LoadButtonTable(m_appPath, Host());
    m_pageArea->MidiCCPage()->ShowMidiTargets();
}

void TForm1::LoadMenuTable()
{
    m_pages.LoadMenuTable(m_appPath, Host());
}

void TForm1::FindProgrammingTool()
{
    const QString name = TToolLocator::ProgramFileName(QStringLiteral("avrdude"));
    m_avrdudePath = TToolLocator::Find(name, m_appPath, m_toolSearchPath);
    if (m_avrdudePath.isEmpty())
        ReportMissingFile(name);
}

// Hooks, each at its place in start-up, the timer step or shut-down: the
// settings store, the file buffer of the block transfer, the page tables
// and side tables, the page change and the MIDI CC page with
// its monitor fill them.

void TForm1::LoadSettings(bool reset)
{
    const std::unique_ptr<QSettings> settings = OpenSettings();
    if (settings) {
        TWindowSettings window = WindowSettings();
        TSettingsStore(*settings).LoadSettings(reset, m_record, window, m_prompter);
        ShowWindowSettings(window);
    }
    TFactoryPage* factory = m_pageArea->FactoryPage();
    factory->EditFTDIdevice()->setText(QString::number(m_record.Device));
    factory->EditFTDIcom()->setText(QString::number(m_record.ComPort));
}

void TForm1::SaveSettings()
{
    const std::unique_ptr<QSettings> settings = OpenSettings();
    if (settings)
        TSettingsStore(*settings).SaveSettings(m_record, WindowSettings());
}

void TForm1::SizeFileBuffer()
{
    // The buffer keeps its 4 MiB for the whole run; an image shorter than the
    // one before leaves the older bytes behind it, zero after start-up.
    std::fill_n(m_fileBuffer->data(), m_fileBuffer->size(), '\0');
}

void TForm1::PageControl1Change()
{
    m_pageReadSend->PageControl1Change();
}

void TForm1::BuildPageFiles()
{
    m_pageFiles = new TPageFiles(*this);
}

void TForm1::BuildMidiCCPage()
{
    m_pageArea->MidiCCPage()->SetBoard(m_com.get(), m_pageArea->CheckboxEEwrite());
}

void TForm1::StringGrid3Click()
{
    Guarded([this] { m_pageArea->MidiCCPage()->StringGrid3Click(); });
}

void TForm1::MidiMonitorPoll()
{
    const bool shown = m_pageArea->PageControl1()->currentIndex() == TPageArea::MidiCCTab;
    if (!TMidiMonitor::ShouldPoll(m_link.Connected(), m_record.FirmwareVersion, shown))
        return;
    // Not inside another exchange that is waiting with the window live: the
    // query would take the board's write enable from a non-volatile write.
    if (m_com->LineHeld())
        return;
    Guarded([this] {
        m_pageArea->MidiCCPage()->MidiMonitorStep(m_com->GetParamInt(TMidiMonitor::kQueryParam));
    });
}
