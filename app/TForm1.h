#pragma once

#include "Prompter.h"
#include "TAppEnvironment.h"
#include "TLink.h"
#include "TPageModel.h"
#include "TZR5Record.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class OperationHost;
class QSettings;
class QStatusBar;
class QTimer;
class SoundPlayer;
class TAboutBox;
class TAvrUpdate;
class TAvrUpdateView;
class TBlockTransfer;
class TBoardInfoBox;
class TClipboardActions;
class TConnection;
class TConnectionView;
class TConsole;
class TConsoleBox;
class TDataFlashUploads;
class TDspUpdate;
class TFileBuffer;
class TFinalizeBox;
class TFpgaUpdate;
class TIdentification;
class TIdentificationView;
class TMaintenance;
class TMaintenanceView;
class TMainMenu;
class TPageArea;
class TPageFiles;
class TPageReadSend;
class TProduction;
class TProductionView;
class TPresetPages;
class TProgressBox;
class TTopStrip;
class TUpdateBox;
class TZr5Com;
class Tdeviceselectbox;
struct TWindowSettings;

// The main window. It composes the regions (top strip, page area, board
// info, progress, update, console and finalize boxes, menu and status line),
// owns the state record, the link to the board and the side tables for the
// whole run, and fills itself in a fixed order at start.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kWidth = 950;
    static constexpr int kMinHeight = 680;
    static constexpr int kLeftWidth = 575;

    explicit TForm1(const TAppEnvironment& environment, QWidget* parent = nullptr);
    ~TForm1() override;

    // The dialogs are created after the main window; they are handed over
    // once they exist.
    void SetAboutBox(TAboutBox* aboutBox) { m_aboutBox = aboutBox; }
    void SetDeviceSelectBox(Tdeviceselectbox* box) { m_deviceSelectBox = box; }
    TAboutBox* AboutBox() const { return m_aboutBox; }
    Tdeviceselectbox* DeviceSelectBox() const { return m_deviceSelectBox; }

    TMainMenu* MainMenu1() const { return m_mainMenu; }
    TTopStrip* TopStrip() const { return m_topStrip; }
    TPageArea* PageArea() const { return m_pageArea; }
    TBoardInfoBox* BoardInfoBox() const { return m_boardInfo; }
    TProgressBox* ProgressBox() const { return m_progressBox; }
    TUpdateBox* UpdateBox() const { return m_updateBox; }
    TConsoleBox* ConsoleBox() const { return m_consoleBox; }
    TFinalizeBox* FinalizeBox() const { return m_finalizeBox; }
    QStatusBar* StatusBar() const { return m_statusBar; }
    QTimer* Timer1() const { return m_timer1; }

    // The console and progress operations; what long operations report to.
    TConsole& Console() const { return *m_console; }
    OperationHost& Host() const;
    Prompter& Prompt() const { return *m_prompter; }
    SoundPlayer& Sound() const { return *m_sound; }

    TLink& Link() { return m_link; }
    TZr5Com& Com() const { return *m_com; }

    TZR5Record& ZR5Record() { return m_record; }
    // Finding, opening and closing the board's cable.
    TConnection& Connection() const { return *m_connection; }
    // The connect flow on the remembered device (or the first one), without
    // the device dialog; what --connect runs once the window is shown.
    void ConnectWithoutDialog();
    // The page, preset and side tables for the whole run.
    TPageModel& Pages() { return m_pages; }
    // The Upper and Lower tabs and the live switches at work.
    TPresetPages* PresetPages() const { return m_presetPages; }
    // Import and export of the table pages in the File menu.
    TPageFiles* PageFiles() const { return m_pageFiles; }
    const QString& AppPath() const { return m_appPath; }
    // The programming tool found at start; empty when it is missing.
    const QString& AvrdudePath() const { return m_avrdudePath; }
    int MidiPollCountdown() const { return m_midiPollCountdown; }

    // Templates for the file dialogs; a handler sets title and filter and
    // passes a copy to the prompter.
    Prompter::FileRequest& OpenDialog1() { return m_openDialog1; }
    Prompter::FileRequest& SaveDialog1() { return m_saveDialog1; }

    // Runs a handler body; a raised EZr5Error ends it with an error box.
    bool Guarded(const std::function<void()>& body);

    void ReportMissingFile(const QString& name);
    void SetDefaultSettings();
    // "Reset File Info" on the Advanced tab: default file paths, the stored
    // settings again, the default pages.
    void RestFileInfoBtnClick();

    // Board identification: the "Refresh ZR5 Info" button and F8, and the
    // connect flow's two steps after the board answered.
    void BtnRefreshClick();
    void ReadBoardInfo();
    void ShowBoardInfo();
    TIdentification& Identification() const { return *m_identification; }
    // DataFlash uploads, the FPGA and the reverb DSP updates.
    TDataFlashUploads& Uploads() const;
    TFpgaUpdate& FpgaUpdate() const;
    TDspUpdate& DspUpdate() const;
    // The image buffer of every upload and the transfer that streams it.
    TFileBuffer& FileBuffer() const { return *m_fileBuffer; }
    TBlockTransfer& BlockTransfer() const { return *m_blockTransfer; }
    // Reset, factory defaults, reloads and the parameter tester.
    TMaintenance& Maintenance() const { return *m_maintenance; }
    // The controller firmware update ("Update FW").
    TAvrUpdate& AvrUpdate() const { return *m_avrUpdate; }
    // Production programming: the Factory tab's ISP box and "Finalize".
    TProduction& Production() const { return *m_production; }
    // "Get Params" and "Send Params" (F5, F6) on the tab shown; the read
    // also ends the connect flow.
    void ReadAllClick();
    void SendAllClick();
    // Shows the tab as the user's choice of it would, board writes included.
    void ChooseTab(int tab);

    void ShowConnectedState();
    void ShowDisconnectedState();
    void ClearSwitches();
    // Preset tables and controls; see TPresetPages.
    void ControlsToState();
    void StateToControls();
    // Read a preset file into the whole table, then StateToControls. On
    // failure the table keeps its values and nothing is shown again.
    TFileResult LoadUpperPresetFile(const QString& path);
    TFileResult LoadLowerPresetFile(const QString& path);

    void Timer1Timer();
    void FileExit1Execute();
    void HelpAbout1Execute();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    void BuildConnection(const TAppEnvironment& environment);
    // Identification, page read and send, the tab change and the settings
    // buttons, with their buttons and menu items.
    void BuildBoardCommands();
    // Reset, factory defaults, reloads, the parameter tester and the
    // controller firmware update, with their buttons and menu items.
    void BuildMaintenance(const TAppEnvironment& environment);
    // The uploads of the Advanced tab, "Update FPGA" and their menu item.
    void BuildUploads();
    // The File menu's table imports and exports.
    void BuildPageFiles();
    // The MIDI Custom CC page's writes to the board.
    void BuildMidiCCPage();
    // The production box of the Factory tab and "Finalize".
    void BuildProduction();
    // The settings store, or none when the environment names none.
    std::unique_ptr<QSettings> OpenSettings() const;
    // The settings kept in the window's controls, and back into them.
    TWindowSettings WindowSettings() const;
    void ShowWindowSettings(const TWindowSettings& window);
    void FormCreate();
    void FormDestroy();

    void LoadButtonTable();
    void LoadMenuTable();
    void FindProgrammingTool();

    // Each stands at its place in start-up, the timer step or shut-down.
    void LoadSettings(bool reset);
    void SaveSettings();
    void SizeFileBuffer();
    void LoadPageTables();
    // Runs within LoadPageTables for each page whose file was read.
    void ShowLoadedPage(TPageModel::Page page);
    void PageControl1Change();
    void StringGrid3Click();
    void MidiMonitorPoll();

    QString m_appPath;
    QStringList m_toolSearchPath;
    std::unique_ptr<Prompter> m_ownPrompter;
    std::unique_ptr<SoundPlayer> m_ownSound;
    Prompter* m_prompter = nullptr;
    SoundPlayer* m_sound = nullptr;

    TMainMenu* m_mainMenu = nullptr;
    TTopStrip* m_topStrip = nullptr;
    TPageArea* m_pageArea = nullptr;
    TBoardInfoBox* m_boardInfo = nullptr;
    TProgressBox* m_progressBox = nullptr;
    TUpdateBox* m_updateBox = nullptr;
    TConsoleBox* m_consoleBox = nullptr;
    TFinalizeBox* m_finalizeBox = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QTimer* m_timer1 = nullptr;
    TClipboardActions* m_clipboard = nullptr;
    std::unique_ptr<TConsole> m_console;

    TLink m_link;
    std::unique_ptr<TZr5Com> m_com;

    TAboutBox* m_aboutBox = nullptr;
    Tdeviceselectbox* m_deviceSelectBox = nullptr;

    TZR5Record m_record;
    TPageModel m_pages;
    TPresetPages* m_presetPages = nullptr;
    TPageFiles* m_pageFiles = nullptr;
    QString m_avrdudePath;
    int m_midiPollCountdown = 10;
    Prompter::FileRequest m_openDialog1;
    Prompter::FileRequest m_saveDialog1;
    bool m_destroyed = false;
    QString m_settingsFile;
    bool m_userSettings = false;
    std::unique_ptr<TIdentificationView> m_identificationView;
    std::unique_ptr<TIdentification> m_identification;
    std::unique_ptr<TPageReadSend> m_pageReadSend;
    std::unique_ptr<TFileBuffer> m_fileBuffer;
    std::unique_ptr<TBlockTransfer> m_blockTransfer;
    std::unique_ptr<TDataFlashUploads> m_uploads;
    std::unique_ptr<TFpgaUpdate> m_fpgaUpdate;
    std::unique_ptr<TDspUpdate> m_dspUpdate;
    std::unique_ptr<TMaintenanceView> m_maintenanceView;
    std::unique_ptr<TMaintenance> m_maintenance;
    std::unique_ptr<TAvrUpdateView> m_avrUpdateView;
    std::unique_ptr<TAvrUpdate> m_avrUpdate;
    std::unique_ptr<TProductionView> m_productionView;
    std::unique_ptr<TProduction> m_production;
    // Last, so that they go before what they refer to.
    std::unique_ptr<TConnectionView> m_connectionView;
    std::unique_ptr<TConnection> m_connection;
    bool m_connectAtStart = false;
};
