#pragma once

#include <QList>
#include <QString>

// What the connect and disconnect flows need of the main window.
class ConnectionView
{
public:
    struct DeviceRow {
        QString caption;
        QString serial;
        QString description;
    };

    virtual ~ConnectionView() = default;

    // The device selection dialog with the first row preselected; the chosen
    // row, or -1 when the user did not confirm one.
    virtual int ChooseDevice(const QList<DeviceRow>& rows) = 0;

    virtual void ClearConsole() = 0;
    virtual void SetDeviceView(const QString& text) = 0;
    virtual void ShowDevice(int device) = 0;
    virtual void ShowComPort(int comPort) = 0;
    virtual void ShowFirstTab() = 0;
    virtual void ShowConnectedState() = 0;
    virtual void ShowDisconnectedState() = 0;

    // Identification and the first page read, which other parts provide.
    virtual void ReadBoardInfo() = 0;
    virtual void ShowBoardInfo() = 0;
    virtual void ReadDisplayedPage() = 0;
};
