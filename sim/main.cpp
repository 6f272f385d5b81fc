#include "BoardEngine.h"
#include "PtyServer.h"
#include "SimCommandLine.h"
#include "SimFirmwareImage.h"
#include "SimMidiInput.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // The table files ship beside the program, so its own folder is where
    // the factory values are found unless --data says otherwise.
    QString ownFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (ownFolder.isEmpty() && !arguments.isEmpty())
        ownFolder = QFileInfo(arguments.constFirst()).absolutePath();

    SimCommandLine commandLine;
    switch (commandLine.parse(arguments, ownFolder)) {
    case SimCommandLine::Outcome::Help:
        std::fputs(qPrintable(SimCommandLine::helpText()), stdout);
        return 0;
    case SimCommandLine::Outcome::Error:
        std::fprintf(stderr, "zr5-board-sim: %s\nTry 'zr5-board-sim --help'.\n",
                     qPrintable(commandLine.errorText()));
        return 2;
    case SimCommandLine::Outcome::Run:
        break;
    }

    if (!commandLine.makeFirmwarePath().isEmpty()) {
        QString error;
        if (!SimFirmwareImage::writePair(commandLine.makeFirmwarePath(),
                                         commandLine.options().firmwareText, {}, &error)) {
            std::fprintf(stderr, "zr5-board-sim: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }

    // Before anything exists that a stop would have to clean up.
    PtyServer::installStopSignals();

    BoardEngine engine(commandLine.options());
    // A board without factory values still serves; its parameters read 0.
    for (const QString& problem : engine.dataProblems())
        std::fprintf(stderr, "zr5-board-sim: factory values: %s\n", qPrintable(problem));
    PtyServer server(engine);
    server.setVerbose(commandLine.verbose());
    QString error;
    SimMidiInput midiInput(engine);
    if (!commandLine.midiInPath().isEmpty()) {
        if (!midiInput.open(commandLine.midiInPath(), &error)) {
            std::fprintf(stderr, "zr5-board-sim: %s\n", qPrintable(error));
            return 1;
        }
        midiInput.setOnProblem([](const QString& problem) {
            std::fprintf(stderr, "zr5-board-sim: %s\n", qPrintable(problem));
        });
        if (commandLine.verbose()) {
            midiInput.setOnMessage([](const SimMidiInput::Message& m, const QByteArray& line) {
                std::fprintf(stderr, "zr5-board-sim: MIDI in %s = %02X %02X %02X\n",
                             line.trimmed().constData(), m.status, m.data1, m.data2);
            });
        }
        server.setMidiInput(&midiInput);
    }
    if (!server.open(&error) ||
        (!commandLine.linkPath().isEmpty() && !server.makeLink(commandLine.linkPath(), &error))) {
        std::fprintf(stderr, "zr5-board-sim: %s\n", qPrintable(error));
        return 1;
    }
    // Whoever started us waits for this line to know where the board is.
    std::printf("%s\n", qPrintable(server.slavePath()));
    std::fflush(stdout);
    return server.run();
}
