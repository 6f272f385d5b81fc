#pragma once

#include <QString>
#include <QStringList>

// The program's options:
//   --port PATH          list a serial port beside the USB cables (repeatable)
//   --simulate           start the board simulator and list its port
//   --simulate-arg ARG   pass ARG to the simulator (repeatable)
//   --connect            connect once the window is shown, without the dialog
//   --screenshots DIR    connect, save pictures of three tabs into DIR, exit
//   --help               show the options
class TCommandLine
{
public:
    static constexpr int kUsageExitCode = 2;

    // arguments[0] is the program itself.
    static TCommandLine Parse(const QStringList& arguments);

    bool Ok() const { return m_error.isEmpty(); }
    const QString& Error() const { return m_error; }
    bool HelpRequested() const { return m_help; }
    const QString& HelpText() const { return m_helpText; }

    const QStringList& Ports() const { return m_ports; }
    bool Simulate() const { return m_simulate; }
    const QStringList& SimulatorArguments() const { return m_simulatorArguments; }
    bool ConnectAtStart() const { return m_connect; }
    // Empty unless pictures of the window are to be taken.
    const QString& ScreenshotDir() const { return m_screenshotDir; }

private:
    QString m_error;
    bool m_help = false;
    QString m_helpText;
    QStringList m_ports;
    bool m_simulate = false;
    QStringList m_simulatorArguments;
    bool m_connect = false;
    QString m_screenshotDir;
};
