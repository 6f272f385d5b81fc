#pragma once

#include "ProductionSteps.h"
#include "TExternalTool.h"

class TForm1;

// The main window as the production run sees it: its console as a whole,
// the programming tool on the ISP programmer's port, and the connection,
// identification, update and maintenance parts it drives.
class TProductionView : public ProductionSteps
{
public:
    explicit TProductionView(TForm1& form);

    // The tool beside the program: "avrdude" (or "avrdude.exe") in AppPath.
    QString ToolProgramPath() const;

    void ClearConsole() override;
    void ReplaceConsole(const QStringList& lines) override;
    QString ConsoleText() const override;
    void ProcessMessages() override;

    bool ProgrammingToolFound() const override;
    void RunExternalTool(const QString& programPath, const QString& parameters,
                         bool hidden) override;

    void BtnRescanClick() override;
    void ReopenLink() override;
    bool ReopenAndCheck(bool waitFirst) override;
    bool BoardAlive() override;

    void ShowConnectedState() override;
    void ReadBoardInfo() override;
    void ShowBoardInfo() override;

    void ProductionFpgaUpdate() override;
    void ProductionDspTransfer() override;
    void BtnSaveFactoryClick() override;

private:
    TForm1& m_form;
    // Mutable: which fallback it runs is only known once the window has
    // looked for the tool at start.
    mutable TExternalTool m_tool;
};
