#pragma once

#include "Prompter.h"

#include <QString>
#include <QStringList>

#include <functional>

class OperationHost;
class SoundPlayer;
class TIdentification;
class TPageModel;
class TZr5Com;
struct TZR5Record;

// What the controller update needs of the main window.
class AvrUpdateView
{
public:
    virtual ~AvrUpdateView() = default;

    virtual void ShowConnectedState() = 0;
    virtual void ShowDisconnectedState() = 0;
    virtual void SetDeviceView(const QString& text) = 0;
    // Lets the window draw itself before the tool takes over.
    virtual void Repaint() = 0;
    // The organ and MIDI CC grids show their tables again.
    virtual void ShowTables() = 0;
    // The preset pages and tables, see TPresetPages.
    virtual void StateToControls() = 0;
    virtual void ControlsToState() = 0;
};

// Updates the controller's flash and EEPROM through its boot loader with the
// programming tool, keeping the settings the user chose (the restore boxes,
// mirrored in the state record) across it: they are read into the pages
// first, written to a backup file, and sent back once the new firmware runs.
class TAvrUpdate
{
public:
    // Below this the firmware cannot be asked to start its boot loader.
    static constexpr double kBootRequestVersion = 3.52;

    // Runs the tool and returns when it has ended; portMap rewrites the
    // value of its "-P" option. The window's runner is TExternalTool.
    using ToolRunner =
        std::function<void(const QString& programPath, const QString& parameters,
                           const std::function<QString(const QString& port)>& portMap)>;

    TAvrUpdate(TZr5Com& com, TZR5Record& record, OperationHost& host, Prompter& prompter,
               SoundPlayer& sound, TIdentification& identification, TPageModel& pages,
               AvrUpdateView& view, Prompter::FileRequest& openDialog);

    // programPath: the tool beside the program; fallback: the tool found on
    // the search path at start (empty when none).
    void SetToolPaths(const QString& programPath, const QString& fallback);
    void SetToolRunner(ToolRunner runner) { m_runner = std::move(runner); }
    // Where the backup files go; created when missing.
    void SetBackupFolder(const QString& folder) { m_backupFolder = folder; }

    // "Update FW" and "Update AVR Firmware".
    void UpdateAVRClick();
    void BackupBoardData();
    void RestoreBoardData();

    // The tool's command line for this port and these files.
    static QString CommandLine(int comPort, const QString& flashFile, const QString& eepromFile);
    // The flash file's path with its extension replaced by ".eep".
    static QString EepromFileOf(const QString& flashFile);
    // Writes the tables that the backup read into the backup folder, one
    // file each, and names them on the console. The files returned.
    QStringList WriteBackupFiles();

private:
    bool ToolExists() const;
    void RunTool(const QString& parameters, const QString& cablePath);
    bool BackupPresets();
    bool RestorePresets();

    TZr5Com& m_com;
    TZR5Record& m_record;
    OperationHost& m_host;
    Prompter& m_prompter;
    SoundPlayer& m_sound;
    TIdentification& m_identification;
    TPageModel& m_pages;
    AvrUpdateView& m_view;
    Prompter::FileRequest& m_openDialog;
    QString m_programPath;
    QString m_fallback;
    QString m_backupFolder;
    ToolRunner m_runner;
};
