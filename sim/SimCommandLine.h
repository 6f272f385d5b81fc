#pragma once

#include "BoardOptions.h"

#include <QString>
#include <QStringList>

// The command line of zr5-board-sim: board options, where to publish the pty,
// logging. Kept apart from the server so every option can be tested without
// opening a terminal.
class SimCommandLine
{
public:
    enum class Outcome
    {
        Run,
        Help,
        Error
    };

    // arguments[0] is the program name, as in argv. Without --data the
    // factory values come from defaultDataDir ("" = none).
    Outcome parse(const QStringList& arguments, const QString& defaultDataDir = {});

    const BoardOptions& options() const { return m_options; }
    // Symbolic link to the pty that clients can open by a fixed name ("" = none).
    const QString& linkPath() const { return m_linkPath; }
    // Control channel of MIDI messages to inject ("" = none, "-" = stdin).
    const QString& midiInPath() const { return m_midiInPath; }
    // Where to write a flash file and its ".eep" twin instead of serving
    // ("" = serve).
    const QString& makeFirmwarePath() const { return m_makeFirmwarePath; }
    // Log every line and reply on stderr.
    bool verbose() const { return m_verbose; }
    // What was wrong with the arguments, after Outcome::Error.
    const QString& errorText() const { return m_error; }

    static QString helpText();
    static bool parseFault(const QString& name, BoardOptions::Fault* fault);

private:
    bool fail(const QString& text);

    BoardOptions m_options;
    QString m_linkPath;
    QString m_midiInPath;
    QString m_makeFirmwarePath;
    bool m_verbose = false;
    QString m_error;
};
