#pragma once

#include "ConnectionView.h"

#include <functional>

class TForm1;

// The main window as the connect and disconnect flows see it: the device
// dialog, the console, the device name beside the buttons, the Factory
// page's device and port boxes, and the window's state procedures.
class TConnectionView : public ConnectionView
{
public:
    // Answers the device choice instead of the dialog: the chosen row, or -1.
    using Chooser = std::function<int(const QList<DeviceRow>& rows)>;

    // Without a chooser the dialog asks; without the dialog as well, the
    // choice counts as cancelled.
    TConnectionView(TForm1& form, Chooser chooser);

    // While set, the remembered device is taken (or the first one when it is
    // not in the list), without asking anybody.
    void SetChooseAutomatically(bool automatic) { m_automatic = automatic; }
    static int RememberedOrFirst(int remembered, int rowCount);

    int ChooseDevice(const QList<DeviceRow>& rows) override;
    void ClearConsole() override;
    void SetDeviceView(const QString& text) override;
    void ShowDevice(int device) override;
    void ShowComPort(int comPort) override;
    void ShowFirstTab() override;
    void ShowConnectedState() override;
    void ShowDisconnectedState() override;

    // The window's identification and its read of the page shown.
    void ReadBoardInfo() override;
    void ShowBoardInfo() override;
    void ReadDisplayedPage() override;

private:
    int AskWithDialog(const QList<DeviceRow>& rows);

    TForm1& m_form;
    Chooser m_chooser;
    bool m_automatic = false;
};
