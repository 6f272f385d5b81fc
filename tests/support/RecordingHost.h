#pragma once

#include "OperationHost.h"

#include <QStringList>

#include <functional>

// An operation host without a window: console lines are collected, waits run
// on the program clock, the cancel flag can be set from a test (also from
// inside a wait, through onWait).
class RecordingHost : public OperationHost
{
public:
    void WaitMs(int ms) override;
    void FlashBusyLed() override
    {
        ++busyFlashes;
        if (onFlash)
            onFlash();
    }
    void ConsoleLine(const QString& text) override { lines.append(text); }
    void VerboseLine(const QString& text) override
    {
        if (verbose)
            lines.append(text);
    }
    void ReportDone() override;
    void ReportCancelled() override;
    void ReportTimedOut() override;
    bool CancelRequested() const override { return cancelFlag != 0; }
    void SetCancelFlag(int flag) override { cancelFlag = flag; }
    void SetProgress(int position) override { progress = position; }
    void SetProgressMax(int maximum) override { progressMax = maximum; }

    QStringList lines;
    QList<int> waits;
    bool verbose = false;
    int busyFlashes = 0;
    int cancelFlag = 0;
    int progress = 0;
    int progressMax = 128;
    // Runs at the start of every wait; lets a test act "while the window is live".
    std::function<void(int ms)> onWait;
    // Runs at every busy flash, where the window handles the user's clicks.
    std::function<void()> onFlash;
};
