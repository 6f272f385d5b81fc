#include "TIspProgrammer.h"

#include "OperationHost.h"
#include "ProductionSteps.h"
#include "TExternalTool.h"
#include "TZr5Com.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString TIspProgrammer::LogName = QStringLiteral("avrdude.log");

namespace {
const QString kToolHead = QStringLiteral("-C \"avrdude.conf\" -pm644p -cstk500v2 ");

QStringList LinesOf(const QByteArray& bytes)
{
    QStringList lines = QString::fromLocal8Bit(bytes).split(QLatin1Char('\n'));
    // A final line break ends the last line; it opens no new one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

struct LogWord
{
    const char* word;
    const char* errorLine;
};

// In the order their error lines are written.
const LogWord kLogWords[] = {
    {"ser_open", "##### Error: AVRdude COM. Is DIAMEX port# correct?"},
    {"failed", "##### Error: AVRdude device. Is CONF_DIS JP5 set?"},
    {"timeout", "##### Error: AVRdude timeout. Unplug DIAMEX from USB and reconnect."},
};
} // namespace

TIspProgrammer::TIspProgrammer(TZr5Com& com, OperationHost& host, ProductionSteps& steps,
                               QString toolProgramPath)
    : m_com(com), m_host(host), m_steps(steps), m_programPath(std::move(toolProgramPath))
{
}

QString TIspProgrammer::SignatureCheckLine(const QString& port)
{
    return kToolHead + QStringLiteral("-B100 -P COM") + port +
           QStringLiteral(" -n -q -l \"avrdude.log\"");
}

QString TIspProgrammer::FuseLine(const QString& port)
{
    return kToolHead + QStringLiteral("-B100 -P COM") + port +
           QStringLiteral(" -V -q -U lfuse:w:0xf7:m -U hfuse:w:0xd2:m -U efuse:w:0xfc:m");
}

QString TIspProgrammer::FlashLine(const QString& port, const QString& flashFile,
                                  const QString& eepromFile)
{
    return kToolHead + QStringLiteral("-B2 -P COM") + port + QStringLiteral(" -U flash:w:\"") +
           TExternalTool::QuoteInside(flashFile) + QStringLiteral("\":i -U eeprom:w:\"") +
           TExternalTool::QuoteInside(eepromFile) + QStringLiteral("\":i -U lock:w:0xef:m");
}

QString TIspProgrammer::FuseRepairLine(const QString& port)
{
    return kToolHead + QStringLiteral("-B100 -P COM") + port +
           QStringLiteral(" -V -q -U lfuse:w:0xf7:m -U hfuse:w:0xd2:m -U efuse:w:0xfc:m -U "
                          "lock:w:0xef:m  -l \"avrdude.log\"");
}

QString TIspProgrammer::EepromFileName(const QString& flashFile)
{
    const qsizetype dot = flashFile.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash =
        std::max(flashFile.lastIndexOf(QLatin1Char('/')), flashFile.lastIndexOf(QLatin1Char('\\')));
    const QString stem = dot > slash ? flashFile.left(dot) : flashFile;
    return stem + QStringLiteral(".eep");
}

QString TIspProgrammer::ToolDirectory() const
{
    return QFileInfo(m_programPath).absolutePath();
}

QString TIspProgrammer::LogPath() const
{
    return QDir(ToolDirectory()).filePath(LogName);
}

QString TIspProgrammer::NameForTool(const QString& name) const
{
    const QDir work = QDir::current();
    const QString toolDir = QDir(ToolDirectory()).canonicalPath();
    if (!toolDir.isEmpty() && work.canonicalPath() == toolDir && QFileInfo(name).isRelative())
        return name;
    return QDir::toNativeSeparators(work.absoluteFilePath(name));
}

bool TIspProgrammer::RunWithLog(const QString& parameters)
{
    // A log of an earlier run must not stand in for one this run did not write.
    QFile::remove(LogPath());
    m_steps.RunExternalTool(m_programPath, parameters, true);
    QFile log(LogPath());
    if (!log.open(QIODevice::ReadOnly)) {
        m_host.ConsoleLine(QStringLiteral("##### Error: AVRdude log not created"));
        return false;
    }
    m_steps.ReplaceConsole(LinesOf(log.readAll()));
    return true;
}

bool TIspProgrammer::IspProgram(const QString& flashFile, const QString& port)
{
    const QDir work = QDir::current();
    if (!QFileInfo(work.filePath(flashFile)).isFile()) {
        m_host.ConsoleLine(QStringLiteral("##### Error: HEX flash file not found"));
        m_com.SetError(TErrorKind::FileErr);
        return false;
    }
    const QString eepromFile = EepromFileName(flashFile);
    if (!QFileInfo(work.filePath(eepromFile)).isFile()) {
        m_host.ConsoleLine(QStringLiteral("##### Error: EEPROM file not found"));
        m_com.SetError(TErrorKind::FileErr);
        return false;
    }

    m_host.FlashBusyLed();
    m_host.WaitMs(50);
    if (m_host.CancelRequested())
        return false;

    m_host.ConsoleLine(QStringLiteral("Programming with DIAMEX ISP on COM ") + port);
    m_host.ConsoleLine(QStringLiteral("Flash ´file: ") + flashFile);
    m_host.ConsoleLine(QStringLiteral("EEPROM file: ") + eepromFile);
    m_steps.ProcessMessages();

    RunWithLog(SignatureCheckLine(port));
    if (m_host.CancelRequested())
        return false;

    // Without a log the words are looked for in what the console held.
    const QString text = m_steps.ConsoleText();
    bool found[std::size(kLogWords)] = {};
    bool anyFound = false;
    for (std::size_t i = 0; i < std::size(kLogWords); ++i) {
        found[i] = text.contains(QLatin1String(kLogWords[i].word), Qt::CaseSensitive);
        anyFound = anyFound || found[i];
    }

    if (!anyFound) {
        m_steps.RunExternalTool(m_programPath, FuseLine(port), true);
        m_steps.RunExternalTool(
            m_programPath, FlashLine(port, NameForTool(flashFile), NameForTool(eepromFile)), false);
    }
    for (std::size_t i = 0; i < std::size(kLogWords); ++i) {
        if (found[i])
            m_host.ConsoleLine(QString::fromLatin1(kLogWords[i].errorLine));
    }
    return !anyFound;
}
