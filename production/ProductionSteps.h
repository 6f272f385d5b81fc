#pragma once

#include <QString>
#include <QStringList>

// What the production run needs of the main window and of the other parts
// it drives: the console as a whole, the programming tool, the connection
// flows, identification, the FPGA and reverb steps and the factory save.
// The window forwards each to the part that owns it; tests record them.
class ProductionSteps
{
public:
    virtual ~ProductionSteps() = default;

    // The console as a whole, beyond the line operations of OperationHost.
    virtual void ClearConsole() = 0;
    // Replaces every console line with these.
    virtual void ReplaceConsole(const QStringList& lines) = 0;
    // All console lines, joined by line breaks.
    virtual QString ConsoleText() const = 0;
    // Lets the window handle its pending events once.
    virtual void ProcessMessages() = 0;

    // True when the programming tool can be started: the production file
    // check reports it missing otherwise.
    virtual bool ProgrammingToolFound() const = 0;
    // Starts the tool and returns when it has ended (nothing when it
    // cannot be started).
    virtual void RunExternalTool(const QString& programPath, const QString& parameters,
                                 bool hidden) = 0;

    // The connect flow with its device dialog, the silent reopen of the
    // remembered device, and the reopen with the check that the board answers.
    virtual void BtnRescanClick() = 0;
    virtual void ReopenLink() = 0;
    virtual bool ReopenAndCheck(bool waitFirst) = 0;
    virtual bool BoardAlive() = 0;

    virtual void ShowConnectedState() = 0;
    virtual void ReadBoardInfo() = 0;
    virtual void ShowBoardInfo() = 0;

    virtual void ProductionFpgaUpdate() = 0;
    virtual void ProductionDspTransfer() = 0;
    virtual void BtnSaveFactoryClick() = 0;
};
