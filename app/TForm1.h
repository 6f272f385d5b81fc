#pragma once

#include "Prompter.h"
#include "TAppEnvironment.h"
#include "TLink.h"
#include "TZR5Record.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class OperationHost;
class QStatusBar;
class QTimer;
class SoundPlayer;
class TAboutBox;
class TBoardInfoBox;
class TClipboardActions;
class TConsole;
class TConsoleBox;
class TFinalizeBox;
class TMainMenu;
class TPageArea;
class TProgressBox;
class TTopStrip;
class TUpdateBox;
class TZr5Com;
class Tdeviceselectbox;

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
    const QString& AppPath() const { return m_appPath; }
    // The programming tool found at start; empty when it is missing.
    const QString& AvrdudePath() const { return m_avrdudePath; }
    QStringList& ButtonTable() { return m_buttonTable; }
    QStringList& MidiTargetList() { return m_midiTargetList; }
    QStringList& MenuTable() { return m_menuTable; }
    std::array<int, 32>& ComPortProbes() { return m_comPortProbes; }
    int MidiPollCountdown() const { return m_midiPollCountdown; }

    // Templates for the file dialogs; a handler sets title and filter and
    // passes a copy to the prompter.
    Prompter::FileRequest& OpenDialog1() { return m_openDialog1; }
    Prompter::FileRequest& SaveDialog1() { return m_saveDialog1; }

    // Runs a handler body; a raised EZr5Error ends it with an error box.
    bool Guarded(const std::function<void()>& body);

    void ReportMissingFile(const QString& name);
    void SetDefaultSettings();
    void ShowConnectedState();
    void ShowDisconnectedState();
    void ClearSwitches();

    void Timer1Timer();
    void FileExit1Execute();
    void HelpAbout1Execute();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void FormCreate();
    void FormDestroy();

    void LoadButtonTable();
    void LoadMenuTable();
    void FindProgrammingTool();

    // Empty until their features exist; each stands at its place in
    // start-up, the timer step or shut-down.
    void LoadSettings(bool reset);
    void SaveSettings();
    void SizeFileBuffer();
    void ControlsToState();
    void StateToControls();
    void LoadPageTables();
    void ReadButtonTable(const QString& path);
    void ReadMenuTable(const QString& path);
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
    QString m_avrdudePath;
    QStringList m_buttonTable;
    QStringList m_midiTargetList;
    QStringList m_menuTable;
    std::array<int, 32> m_comPortProbes{};
    int m_midiPollCountdown = 10;
    Prompter::FileRequest m_openDialog1;
    Prompter::FileRequest m_saveDialog1;
    bool m_destroyed = false;
};
