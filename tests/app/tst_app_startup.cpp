#include "EZr5Error.h"
#include "ScriptedPrompter.h"
#include "TCommandLine.h"
#include "THandlerGuard.h"
#include "TSimulatorProcess.h"
#include "TToolLocator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace {

QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

QString makeFile(const QString& folder, const QString& name, bool executable)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

bool processAlive(qint64 pid)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

} // namespace

class TstAppStartup : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void screenshotsOption_data();
    void screenshotsOption();

    void toolIsFoundBesideProgramFirstThenOnPath();
    void toolLookupSkipsWhatCannotRun();

    void raisedErrorEndsHandlerWithErrorBox();
    void otherHandlersRunWithoutBox();

    void simulatorNamesItsPortAndGetsItsArguments();
    void simulatorFailures_data();
    void simulatorFailures();
    void simulatorIsStoppedWithItsOwner();
};

void TstAppStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("help");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<bool>("simulate");
    QTest::addColumn<QStringList>("simulatorArguments");

    QTest::newRow("nothing") << QStringList{} << true << false << QStringList{} << false
                             << QStringList{};
    QTest::newRow("two ports") << QStringList{"--port", "/dev/ttyUSB3", "--port=/tmp/pty one"}
                               << true << false << QStringList{"/dev/ttyUSB3", "/tmp/pty one"}
                               << false << QStringList{};
    QTest::newRow("simulator with options")
        << QStringList{"--simulate", "--simulate-arg", "--fault=silent", "--simulate-arg",
                       "--wire-timing"}
        << true << false << QStringList{} << true << QStringList{"--fault=silent", "--wire-timing"};
    QTest::newRow("help") << QStringList{"--help"} << true << true << QStringList{} << false
                          << QStringList{};
    QTest::newRow("connect to the simulator at start")
        << QStringList{"--simulate", "--connect"} << true << false << QStringList{} << true
        << QStringList{};
    QTest::newRow("connect with a value")
        << QStringList{"--connect=0"} << false << false << QStringList{} << false << QStringList{};
    QTest::newRow("toolkit option left to the toolkit")
        << QStringList{"-platform", "offscreen", "--port", "/dev/ttyS0"} << true << false
        << QStringList{"/dev/ttyS0"} << false << QStringList{};
    QTest::newRow("unknown option")
        << QStringList{"--bogus"} << false << false << QStringList{} << false << QStringList{};
    QTest::newRow("port without path")
        << QStringList{"--port"} << false << false << QStringList{} << false << QStringList{};
    QTest::newRow("stray argument")
        << QStringList{"file.csv"} << false << false << QStringList{} << false << QStringList{};
    QTest::newRow("simulator option without simulator")
        << QStringList{"--simulate-arg", "--fault=silent"} << false << false << QStringList{}
        << false << QStringList{};
}

void TstAppStartup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(bool, help);
    QFETCH(QStringList, ports);
    QFETCH(bool, simulate);
    QFETCH(QStringList, simulatorArguments);

    const TCommandLine line = TCommandLine::Parse(QStringList{"/opt/zr5/zr5remote"} + arguments);
    QCOMPARE(line.Ok(), ok);
    QCOMPARE(line.Error().isEmpty(), ok);
    QVERIFY(line.HelpText().startsWith("Usage: zr5remote"));
    QVERIFY(line.HelpText().contains("--simulate-arg"));
    if (!ok)
        return;
    QCOMPARE(line.HelpRequested(), help);
    QCOMPARE(line.Ports(), ports);
    QCOMPARE(line.Simulate(), simulate);
    QCOMPARE(line.SimulatorArguments(), simulatorArguments);
    QCOMPARE(line.ConnectAtStart(), arguments.contains("--connect"));
}

void TstAppStartup::screenshotsOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("folder");
    QTest::newRow("none") << QStringList{"--simulate"} << true << QString();
    QTest::newRow("into a folder")
        << QStringList{"--simulate", "--screenshots", "docs/shots"} << true << "docs/shots";
    QTest::newRow("without a folder") << QStringList{"--screenshots"} << false << QString();
    QTest::newRow("empty folder") << QStringList{"--screenshots="} << false << QString();
}

void TstAppStartup::screenshotsOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(QString, folder);
    const TCommandLine line = TCommandLine::Parse(QStringList{"zr5remote"} + arguments);
    QCOMPARE(line.Ok(), ok);
    QVERIFY(line.HelpText().contains("--screenshots <DIR>"));
    if (ok)
        QCOMPARE(line.ScreenshotDir(), folder);
}

void TstAppStartup::toolIsFoundBesideProgramFirstThenOnPath()
{
    QTemporaryDir dir;
    const QString app = dir.filePath("app") + "/";
    const QString first = dir.filePath("bin1");
    const QString second = dir.filePath("bin2");
    QDir().mkpath(app);
    makeFile(second, "avrdude", true);
    QCOMPARE(TToolLocator::Find("avrdude", app, {first, second}), QDir(second).filePath("avrdude"));

    makeFile(first, "avrdude", true);
    QCOMPARE(TToolLocator::Find("avrdude", app, {first, second}), QDir(first).filePath("avrdude"));

    makeFile(app, "avrdude", true);
    QCOMPARE(TToolLocator::Find("avrdude", app, {first, second}), app + "avrdude");
}

void TstAppStartup::toolLookupSkipsWhatCannotRun()
{
    QTemporaryDir dir;
    const QString app = dir.filePath("app") + "/";
    makeFile(app, "avrdude", false);
    QDir().mkpath(dir.filePath("bin/avrdude"));
    QCOMPARE(TToolLocator::Find("avrdude", app, {dir.filePath("bin"), QString()}), QString());
    QCOMPARE(TToolLocator::ProgramFileName("avrdude"),
#ifdef Q_OS_WIN
             QStringLiteral("avrdude.exe")
#else
             QStringLiteral("avrdude")
#endif
    );
}

void TstAppStartup::raisedErrorEndsHandlerWithErrorBox()
{
    ScriptedPrompter prompter;
    bool rest = false;
    const bool completed = THandlerGuard::Run(prompter, [&] {
        throw EZr5Error("tftdichip.closeDevice: Not open");
        rest = true;
    });
    QVERIFY(!completed);
    QVERIFY(!rest);
    QCOMPARE(prompter.messages.size(), 1);
    QCOMPARE(prompter.messages[0].icon, Prompter::Icon::Error);
    QCOMPARE(prompter.messages[0].text, QStringLiteral("tftdichip.closeDevice: Not open"));
    QCOMPARE(prompter.messages[0].buttons, Prompter::Buttons::Ok);

    // The program goes on: the next handler runs normally.
    QVERIFY(THandlerGuard::Run(prompter, [] {}));
    QCOMPARE(prompter.messages.size(), 1);
}

void TstAppStartup::otherHandlersRunWithoutBox()
{
    ScriptedPrompter prompter;
    int runs = 0;
    QVERIFY(THandlerGuard::Run(prompter, [&] { ++runs; }));
    QCOMPARE(runs, 1);
    QVERIFY(prompter.messages.isEmpty());
}

void TstAppStartup::simulatorNamesItsPortAndGetsItsArguments()
{
    QTemporaryDir dir;
    const QString argsFile = dir.filePath("args");
    const QString script =
        writeScript(dir, "sim",
                    "for a in \"$@\"; do echo \"$a\" >> '" + argsFile.toLocal8Bit() +
                        "'; done\necho /dev/null\necho later output\n"
                        "exec sleep 30\n");
    TSimulatorProcess simulator(script);
    QVERIFY2(simulator.Start({"--fault=silent", "two words"}), qPrintable(simulator.Error()));
    QCOMPARE(simulator.PortPath(), QStringLiteral("/dev/null"));
    QVERIFY(simulator.Running());

    QFile args(argsFile);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(args.readAll()), QStringLiteral("--fault=silent\ntwo words\n"));
}

void TstAppStartup::simulatorFailures_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error");
    QTest::newRow("ends without port") << QByteArray("exit 3\n") << "ended without naming";
    QTest::newRow("stays silent") << QByteArray("exec sleep 30\n") << "named no port";
    QTest::newRow("names no port") << QByteArray("echo\nexec sleep 30\n") << "empty port";
    QTest::newRow("prints something else")
        << QByteArray("echo Usage: sim [options]\nexec sleep 30\n") << "does not exist";
    QTest::newRow("cannot start") << QByteArray() << "Cannot start";
}

// The scripts exec their last command: a child left behind by the shell
// would hold the test's output open.
void TstAppStartup::simulatorFailures()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString program =
        body.isEmpty() ? dir.filePath("missing-sim") : writeScript(dir, "sim", body);

    TSimulatorProcess simulator(program);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!simulator.Start({}, 600));
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY2(simulator.Error().contains(error), qPrintable(simulator.Error()));
    QVERIFY(!simulator.Running());
}

void TstAppStartup::simulatorIsStoppedWithItsOwner()
{
    QTemporaryDir dir;
    // exec: the process started is the one that has to go.
    const QString script = writeScript(dir, "sim", "echo /dev/null\nexec sleep 30\n");
    qint64 pid = 0;
    {
        TSimulatorProcess simulator(script);
        QVERIFY(simulator.Start({}));
        pid = simulator.ProcessId();
        QVERIFY(processAlive(pid));
    }
    QVERIFY(!processAlive(pid));
}

QTEST_MAIN(TstAppStartup)
#include "tst_app_startup.moc"
