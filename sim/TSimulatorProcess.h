#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The board simulator as a child process: it names the pseudo-terminal it
// serves on its first line of output, and is stopped when this object goes.
class TSimulatorProcess
{
public:
    static constexpr int kStartTimeoutMs = 5000;

    explicit TSimulatorProcess(QString program);
    ~TSimulatorProcess();

    TSimulatorProcess(const TSimulatorProcess&) = delete;
    TSimulatorProcess& operator=(const TSimulatorProcess&) = delete;

    // Starts the simulator and waits for the port it names; false with
    // Error() when it cannot be started, ends first or stays silent.
    bool Start(const QStringList& arguments, int timeoutMs = kStartTimeoutMs);
    const QString& PortPath() const { return m_portPath; }
    const QString& Error() const { return m_error; }
    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    qint64 ProcessId() const { return m_process.processId(); }

    void Stop();

private:
    bool Fail(const QString& error);

    QString m_program;
    QProcess m_process;
    QString m_portPath;
    QString m_error;
};
