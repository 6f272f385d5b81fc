#include "TCommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

TCommandLine TCommandLine::Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "ZR5 Remote: editor and update utility for the ZR5 organ module.");
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"}, "Show these options and exit.");
    const QCommandLineOption port(
        "port", "Offer the serial port PATH in the device list beside the USB cables (repeatable).",
        "PATH");
    const QCommandLineOption simulate(
        "simulate", "Start the board simulator zr5-board-sim that lies beside the program and "
                    "offer its port in the device list.");
    const QCommandLineOption simulateArg("simulate-arg",
                                         "Pass ARG to the board simulator (repeatable).", "ARG");
    const QCommandLineOption connect(
        "connect", "Once the window is shown, connect to the device used last, or else the "
                   "first one listed, without the device dialog.");
    parser.addOption(help);
    parser.addOption(port);
    parser.addOption(simulate);
    parser.addOption(simulateArg);
    const QCommandLineOption screenshots(
        "screenshots",
        "Connect as --connect does, save pictures of the Organ, MIDI Custom CC, "
        "Upper, Advanced and Factory tabs as organ.png, midicc.png, upper.png, "
        "advanced.png and factory.png in DIR, and exit.",
        "DIR");
    parser.addOption(connect);
    parser.addOption(screenshots);
    // The options are read before the toolkit starts (so that --help works
    // without a display); the toolkit's own options are left to it.
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                             "geometry", "style", "stylesheet", "session", "name", "title"}) {
        QCommandLineOption toolkit(QString::fromLatin1(name), QString(), "value");
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkit);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption toolkit(QString::fromLatin1(name));
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkit);
    }

    TCommandLine result;
    const QString program =
        arguments.isEmpty() ? QStringLiteral("zr5remote") : QFileInfo(arguments.first()).fileName();
    // The parser names the running executable (or none before the toolkit
    // starts); the usage line names the program as it was called.
    QString text = parser.helpText();
    text.remove(0, text.indexOf(QLatin1Char('\n')) + 1);
    result.m_helpText = QStringLiteral("Usage: %1 [options]\n").arg(program) + text;
    if (!parser.parse(arguments)) {
        result.m_error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.m_error =
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return result;
    }
    result.m_help = parser.isSet(help);
    result.m_ports = parser.values(port);
    result.m_simulate = parser.isSet(simulate);
    result.m_simulatorArguments = parser.values(simulateArg);
    result.m_connect = parser.isSet(connect);
    result.m_screenshotDir = parser.value(screenshots);
    if (parser.isSet(screenshots) && result.m_screenshotDir.isEmpty())
        result.m_error = QStringLiteral("--screenshots needs a folder.");
    if (!result.m_simulate && !result.m_simulatorArguments.isEmpty())
        result.m_error = QStringLiteral("--simulate-arg needs --simulate.");
    return result;
}
