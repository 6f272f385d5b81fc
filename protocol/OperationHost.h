#pragma once

#include <QString>

// What a long board operation needs from the window around it: the console,
// the busy lamp, the progress bar, waits that keep the window live, and the
// cancel flag. The main window implements it; tests record what was asked.
class OperationHost
{
public:
    virtual ~OperationHost() = default;

    // Waits ms milliseconds on the program clock while the window handles
    // its events; 0 returns at once.
    virtual void WaitMs(int ms) = 0;
    virtual void FlashBusyLed() = 0;

    virtual void ConsoleLine(const QString& text) = 0;
    virtual void VerboseLine(const QString& text) = 0;
    virtual void ReportDone() = 0;
    virtual void ReportCancelled() = 0;
    virtual void ReportTimedOut() = 0;

    virtual bool CancelRequested() const = 0;
    virtual void SetCancelFlag(int flag) = 0;

    virtual void SetProgress(int position) = 0;
    virtual void SetProgressMax(int maximum) = 0;
};
