#include "D2xxLibrary.h"
#include "SerialPortBackend.h"
#include "TCommandLine.h"
#include "TForm1.h"
#include "TProgram.h"
#include "TScreenshots.h"
#include "TSimulatorProcess.h"
#include "TStopSignals.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <memory>

int main(int argc, char* argv[])
{
    // Read before the toolkit starts, so that --help and mistakes need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TCommandLine options = TCommandLine::Parse(arguments);
    QTextStream err(stderr);
    if (!options.Ok()) {
        err << options.Error() << "\nTry '" << arguments.value(0) << " --help'.\n";
        return TCommandLine::kUsageExitCode;
    }
    if (options.HelpRequested()) {
        QTextStream(stdout) << options.HelpText();
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("ZR5 Remote");
    QApplication::setApplicationVersion("4.10");

    QStringList ports = options.Ports();
    // Declared before the windows so that it outlives them: the link to its
    // port is closed before the simulator goes.
    std::unique_ptr<TSimulatorProcess> simulator;
    if (options.Simulate()) {
        simulator = std::make_unique<TSimulatorProcess>(QApplication::applicationDirPath() +
                                                        QStringLiteral("/zr5-board-sim"));
        if (!simulator->Start(options.SimulatorArguments())) {
            err << simulator->Error() << "\n";
            return 1;
        }
        ports << simulator->PortPath();
    }
    D2xxLibrary::instance().addBackend(std::make_shared<SerialPortBackend>(ports));

    TAppEnvironment environment = TAppEnvironment::FromApplication();
    const QString screenshotDir = options.ScreenshotDir();
    // The pictures connect by themselves, once the window is on the screen.
    environment.connectAtStart = options.ConnectAtStart() && screenshotDir.isEmpty();
    TProgram program(environment);
    // Interrupted from a terminal, the program still shuts down in order.
    TStopSignals stopSignals;
    QObject::connect(&stopSignals, &TStopSignals::StopRequested, &program.Form1(), [&program] {
        program.Form1().FileExit1Execute();
        // Also ends the loops of open dialogs.
        QCoreApplication::quit();
    });
    program.Form1().show();
    if (!screenshotDir.isEmpty()) {
        QTimer::singleShot(0, &program.Form1(), [&program, &err, screenshotDir] {
            const QString error = TScreenshots::Take(program.Form1(), screenshotDir);
            if (!error.isEmpty())
                err << error << Qt::endl;
            program.Form1().FileExit1Execute();
            QCoreApplication::exit(error.isEmpty() ? 0 : 1);
        });
    }
    return QApplication::exec();
}
