#pragma once

#include <QString>
#include <QStringList>

class OperationHost;
class ProductionSteps;
class TZr5Com;

// Programs the AVR controller through the DIAMEX ISP programmer with the
// programming tool: signature check with its log, fuses, then flash, EEPROM
// and lock bits. The tool's log takes the console's place, and three words
// in it tell a wrong port, a dead target and a hung programmer apart.
class TIspProgrammer
{
public:
    static const QString LogName;

    // toolProgramPath: the tool beside the program; its folder is the tool's
    // working directory, where the configuration and the log lie.
    TIspProgrammer(TZr5Com& com, OperationHost& host, ProductionSteps& steps,
                   QString toolProgramPath);

    // The tool's parameters; port is the ISP port text as typed.
    static QString SignatureCheckLine(const QString& port);
    static QString FuseLine(const QString& port);
    static QString FlashLine(const QString& port, const QString& flashFile,
                             const QString& eepromFile);
    static QString FuseRepairLine(const QString& port);
    // The flash file's name with its extension replaced by ".eep" (added
    // when it has none).
    static QString EepromFileName(const QString& flashFile);

    // True when the controller was programmed. The files are looked up in
    // the working directory; a missing one counts a FileErr, a tool failure
    // found in the log counts nothing.
    bool IspProgram(const QString& flashFile, const QString& port);

    // Runs the tool hidden with parameters that ask for the log; when the
    // log was written its lines replace the console's. False when no log.
    bool RunWithLog(const QString& parameters);

    const QString& ProgramPath() const { return m_programPath; }
    QString LogPath() const;

private:
    // How the tool, in its own working directory, finds a file of the
    // working directory: by name when the two folders are one.
    QString NameForTool(const QString& name) const;
    QString ToolDirectory() const;

    TZr5Com& m_com;
    OperationHost& m_host;
    ProductionSteps& m_steps;
    QString m_programPath;
};
