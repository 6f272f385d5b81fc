#include "TExternalTool.h"

#include "OperationHost.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {
// How long one wait on the tool lasts before the window gets a turn.
constexpr int kWaitSliceMs = 50;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString trimmedRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}
} // namespace

TExternalTool::TExternalTool(OperationHost& host) : m_host(host) {}

// The rules of the Windows C runtime's command-line parser: blanks separate
// arguments outside quotes; 2n backslashes before a quote give n backslashes
// and the quote opens or closes a quoted part; 2n+1 give n and a literal
// quote; two quotes inside a quoted part give one literal quote; other
// backslashes stand for themselves.
QStringList TExternalTool::SplitParameters(const QString& parameters)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    const qsizetype n = parameters.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = parameters.at(i);
        if (!quoted && isBlank(c)) {
            if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == QLatin1Char('\\')) {
            qsizetype slashes = 0;
            while (i < n && parameters.at(i) == QLatin1Char('\\')) {
                ++slashes;
                ++i;
            }
            if (i < n && parameters.at(i) == QLatin1Char('"')) {
                current.append(QString(slashes / 2, QLatin1Char('\\')));
                if (slashes % 2 == 1) {
                    current.append(QLatin1Char('"'));
                    ++i;
                }
                // An even count leaves the quote to the next round.
            } else {
                current.append(QString(slashes, QLatin1Char('\\')));
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < n && parameters.at(i + 1) == QLatin1Char('"')) {
                current.append(QLatin1Char('"'));
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current.append(c);
        ++i;
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

QString TExternalTool::QuoteInside(const QString& text)
{
    QString out;
    qsizetype slashes = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\')) {
            ++slashes;
            continue;
        }
        if (c == QLatin1Char('"')) {
            // Backslashes before a quote are doubled, and the quote escaped.
            out.append(QString(slashes * 2 + 1, QLatin1Char('\\')));
            out.append(c);
        } else {
            out.append(QString(slashes, QLatin1Char('\\')));
            out.append(c);
        }
        slashes = 0;
    }
    // The closing quote follows: trailing backslashes must not escape it.
    out.append(QString(slashes * 2, QLatin1Char('\\')));
    return out;
}

TExternalTool::Launch TExternalTool::Prepare(const QString& programPath,
                                             const QString& parameters) const
{
    Launch launch;
    const QFileInfo program(programPath);
    launch.workingDirectory = program.absolutePath();
    if (isExecutableFile(programPath))
        launch.program = program.absoluteFilePath();
    else if (!m_fallback.isEmpty() && isExecutableFile(m_fallback))
        launch.program = QFileInfo(m_fallback).absoluteFilePath();

    const QStringList split = SplitParameters(trimmedRight(parameters));
    const QDir work(launch.workingDirectory);
    for (qsizetype i = 0; i < split.size(); ++i) {
        const QString& argument = split.at(i);
        if (argument == QLatin1String("-C") && i + 1 < split.size()) {
            // Without a configuration beside the program the tool's own
            // (system) configuration applies.
            if (work.exists(split.at(i + 1))) {
                launch.arguments << argument << split.at(i + 1);
            }
            ++i;
            continue;
        }
        if (m_portMap && argument == QLatin1String("-P") && i + 1 < split.size()) {
            launch.arguments << argument << m_portMap(split.at(i + 1));
            ++i;
            continue;
        }
        if (m_portMap && argument.startsWith(QLatin1String("-P")) && argument.size() > 2) {
            launch.arguments << QStringLiteral("-P") + m_portMap(argument.mid(2));
            continue;
        }
        launch.arguments << argument;
    }
    return launch;
}

void TExternalTool::RunExternalTool(const QString& programPath, const QString& parameters,
                                    bool hidden)
{
    const Launch launch = Prepare(programPath, parameters);
    if (launch.program.isEmpty())
        return;

    QProcess process;
    process.setProgram(launch.program);
    process.setArguments(launch.arguments);
    process.setWorkingDirectory(launch.workingDirectory);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (hidden) {
        process.setStandardOutputFile(QProcess::nullDevice());
    }
    process.start();
    if (!process.waitForStarted())
        return;

    QByteArray pending;
    const auto showOutput = [&](bool flush) {
        if (hidden)
            return;
        pending += process.readAll();
        // A progress bar redraws itself with CR; each stretch counts as a
        // line only once it is finished by LF.
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            const qsizetype lastCr = line.lastIndexOf('\r');
            if (lastCr >= 0)
                line = line.mid(lastCr + 1);
            m_host.ConsoleLine(QString::fromLocal8Bit(line));
        }
        if (flush && !pending.isEmpty()) {
            m_host.ConsoleLine(QString::fromLocal8Bit(pending));
            pending.clear();
        }
    };

    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(kWaitSliceMs);
        showOutput(false);
        m_host.FlashBusyLed();
    }
    showOutput(true);
}
