#include "BoardEngine.h"
#include "PtyServer.h"
#include "SimCommandLine.h"

#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    SimCommandLine commandLine;
    switch (commandLine.parse(arguments)) {
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

    // Before anything exists that a stop would have to clean up.
    PtyServer::installStopSignals();

    BoardEngine engine(commandLine.options());
    PtyServer server(engine);
    server.setVerbose(commandLine.verbose());
    QString error;
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
