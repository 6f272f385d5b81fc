#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class OperationHost;

// Starts the AVR programming tool and waits for its end while the window
// stays live. The callers' command lines are Windows command-line texts; they
// are split into arguments exactly as a Windows program would split them and
// handed to the tool directly, never to a shell.
class TExternalTool
{
public:
    explicit TExternalTool(OperationHost& host);

    // Working directory: the folder of programPath. The executable is
    // programPath when it is there, else the fallback program (the tool found
    // on the search path at start). Hidden: the tool's output is dropped;
    // shown: each line it writes goes to the console as it comes. A tool that
    // cannot be started is not reported; the call returns at once.
    void RunExternalTool(const QString& programPath, const QString& parameters, bool hidden);

    // The tool to run when the program path names none.
    void SetFallbackProgram(const QString& program) { m_fallback = program; }
    // Rewrites the value of each "-P" option (the port) before the tool runs,
    // for example a "COM" name into the device node of the cable.
    void SetPortMap(std::function<QString(const QString& port)> map) { m_portMap = std::move(map); }

    // What the tool would be started with; empty program when none is found.
    struct Launch
    {
        QString program;
        QStringList arguments;
        QString workingDirectory;
    };
    Launch Prepare(const QString& programPath, const QString& parameters) const;

    // The arguments a Windows program gets from this command-line text.
    static QStringList SplitParameters(const QString& parameters);
    // Text to place between two double quotes of a command line so that the
    // split gives back exactly this text (quotes and backslashes escaped).
    // Plain names and Windows paths come back unchanged.
    static QString QuoteInside(const QString& text);

private:
    OperationHost& m_host;
    QString m_fallback;
    std::function<QString(const QString&)> m_portMap;
};
