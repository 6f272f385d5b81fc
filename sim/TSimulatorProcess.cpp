#include "TSimulatorProcess.h"

#include <QDeadlineTimer>
#include <QFileInfo>

TSimulatorProcess::TSimulatorProcess(QString program) : m_program(std::move(program))
{
    // Its diagnostics belong on our error output; its standard output
    // carries the port name.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

TSimulatorProcess::~TSimulatorProcess()
{
    Stop();
}

bool TSimulatorProcess::Start(const QStringList& arguments, int timeoutMs)
{
    m_portPath.clear();
    m_error.clear();
    m_process.setProgram(m_program);
    m_process.setArguments(arguments);
    m_process.start(QIODevice::ReadWrite);
    if (!m_process.waitForStarted(timeoutMs))
        return Fail(QStringLiteral("Cannot start the board simulator %1: %2")
                        .arg(m_program, m_process.errorString()));

    const QString ended =
        QStringLiteral("The board simulator %1 ended without naming its port.").arg(m_program);
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired())
            return Fail(QStringLiteral("The board simulator %1 named no port within %2 s.")
                            .arg(m_program)
                            .arg(timeoutMs / 1000.0));
        if (m_process.state() == QProcess::NotRunning)
            return Fail(ended);
        const int remaining = static_cast<int>(qMax<qint64>(1, deadline.remainingTime()));
        if (!m_process.waitForReadyRead(remaining) && m_process.state() == QProcess::NotRunning &&
            !m_process.canReadLine())
            return Fail(ended);
    }
    m_portPath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (m_portPath.isEmpty())
        return Fail(QStringLiteral("The board simulator %1 named an empty port.").arg(m_program));
    if (!QFileInfo::exists(m_portPath))
        return Fail(QStringLiteral("The board simulator %1 named the port \"%2\", which does not "
                                   "exist.")
                        .arg(m_program, m_portPath));
    // Anything it prints later is of no interest, but must not pile up.
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_process.readAllStandardOutput(); });
    return true;
}

bool TSimulatorProcess::Fail(const QString& error)
{
    m_error = error;
    Stop();
    return false;
}

void TSimulatorProcess::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}
