#pragma once

#include "OperationHost.h"

class QCheckBox;
class TConsoleBox;
class TProgressBox;

// The console and progress operations that every operation reports with,
// on the console box, the progress box and the verbose check box of the
// main window.
class TConsole : public OperationHost
{
public:
    TConsole(TConsoleBox& console, TProgressBox& progress, QCheckBox& verbose);

    void WaitMs(int ms) override;
    void FlashBusyLed() override;

    void ConsoleLine(const QString& text) override;
    void VerboseLine(const QString& text) override;
    void ReportDone() override;
    void ReportCancelled() override;
    void ReportTimedOut() override;

    bool CancelRequested() const override;
    void SetCancelFlag(int flag) override;
    int CancelFlag() const;

    void SetProgress(int position) override;
    void SetProgressMax(int maximum) override;

    void SetBusyLed(bool on);
    void ClearConsole();

private:
    TConsoleBox& m_console;
    TProgressBox& m_progress;
    QCheckBox& m_verbose;
};
