#include "SimCommandLine.h"

#include <QTest>

using Fault = BoardOptions::Fault;
using Outcome = SimCommandLine::Outcome;

class TestSimCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void everyOption();
    void dataFlashOptions();
    void firmwareUpdateOptions();
    void faults_data();
    void faults();
    void help_data();
    void help();
    void badArguments_data();
    void badArguments();
};

namespace {
Outcome parse(SimCommandLine& commandLine, QStringList arguments)
{
    arguments.prepend(QStringLiteral("zr5-board-sim"));
    return commandLine.parse(arguments);
}
} // namespace

void TestSimCommandLine::defaults()
{
    SimCommandLine c;
    QCOMPARE(parse(c, {}), Outcome::Run);
    const BoardOptions expected;
    const BoardOptions& o = c.options();
    QCOMPARE(o.firmwareVersion, expected.firmwareVersion);
    QCOMPARE(o.fpgaVersion, expected.fpgaVersion);
    QCOMPARE(o.fault, Fault::None);
    QVERIFY(!o.wireTiming);
    QVERIFY(o.stateFile.isEmpty());
    QVERIFY(o.dataDir.isEmpty());
    QVERIFY(!o.scanCoreGiven);
    QVERIFY(c.linkPath().isEmpty());
    QVERIFY(!c.verbose());

    // The program passes its own folder as the data folder.
    QCOMPARE(c.parse({"zr5-board-sim"}, "/opt/zr5"), Outcome::Run);
    QCOMPARE(c.options().dataDir, QStringLiteral("/opt/zr5"));
    QCOMPARE(c.parse({"zr5-board-sim", "--data", "/tmp/tables"}, "/opt/zr5"), Outcome::Run);
    QCOMPARE(c.options().dataDir, QStringLiteral("/tmp/tables"));
}

void TestSimCommandLine::everyOption()
{
    SimCommandLine c;
    QCOMPARE(parse(c, {"--link",
                       "/tmp/zr5",
                       "--state=/tmp/zr5.state",
                       "--data",
                       "/tmp/tables",
                       "--firmware",
                       "3.805",
                       "--firmware-text",
                       "Test, build 2",
                       "--fpga",
                       "FFFFFFFF",
                       "--serial",
                       "0",
                       "--owner",
                       "Jane Q. Organist",
                       "--scan-core",
                       "9",
                       "--scan-version",
                       "41",
                       "--wire-timing",
                       "--reply-delay-us",
                       "0",
                       "--fault",
                       "slow",
                       "--slow-ms",
                       "1500",
                       "--ready-from-poll",
                       "4",
                       "--verbose"}),
             Outcome::Run);
    const BoardOptions& o = c.options();
    QCOMPARE(c.linkPath(), QStringLiteral("/tmp/zr5"));
    QCOMPARE(o.stateFile, QStringLiteral("/tmp/zr5.state"));
    QCOMPARE(o.dataDir, QStringLiteral("/tmp/tables"));
    QVERIFY(o.firmwareVersion == 3.805);
    QCOMPARE(o.firmwareText, QStringLiteral("Test, build 2"));
    QCOMPARE(o.fpgaVersion, QStringLiteral("FFFFFFFF"));
    QCOMPARE(o.serialNumber, 0);
    QCOMPARE(o.owner, QStringLiteral("Jane Q. Organist"));
    QCOMPARE(o.scanCore, 9);
    QVERIFY(o.scanCoreGiven);
    QCOMPARE(o.scanVersion, QStringLiteral("41"));
    QVERIFY(o.wireTiming);
    QCOMPARE(o.replyDelayUs, 0);
    QCOMPARE(o.fault, Fault::Slow);
    QCOMPARE(o.slowMs, 1500);
    QCOMPARE(o.readyFromPoll, 4);
    QVERIFY(c.verbose());
}

void TestSimCommandLine::firmwareUpdateOptions()
{
    SimCommandLine c;
    QCOMPARE(parse(c, {}), Outcome::Run);
    QVERIFY(!c.options().resetOnOpen);
    QVERIFY(c.makeFirmwarePath().isEmpty());
    QCOMPARE(parse(c, {"--reset-on-open", "--make-firmware", "/tmp/zr5.hex"}), Outcome::Run);
    QVERIFY(c.options().resetOnOpen);
    QCOMPARE(c.makeFirmwarePath(), QStringLiteral("/tmp/zr5.hex"));
    QCOMPARE(parse(c, {"--make-firmware="}), Outcome::Error);
    QVERIFY(SimCommandLine::helpText().contains(QLatin1String("--reset-on-open")));
    QVERIFY(SimCommandLine::helpText().contains(QLatin1String("--make-firmware")));
}

void TestSimCommandLine::dataFlashOptions()
{
    SimCommandLine c;
    QCOMPARE(parse(c, {}), Outcome::Run);
    QVERIFY(c.options().flashDir.isEmpty());
    QCOMPARE(c.options().nakEvery, 0);
    QCOMPARE(c.options().hangUpAfterPacket, 0);
    QVERIFY(!c.options().dspFails);
    QCOMPARE(parse(c, {"--flash-dir", "/tmp/flash", "--nak-every", "3", "--can-every", "7",
                       "--packet-fault", "garbage", "--hang-up-after-packet", "40", "--dsp-fails"}),
             Outcome::Run);
    const BoardOptions& o = c.options();
    QCOMPARE(o.flashDir, QStringLiteral("/tmp/flash"));
    QCOMPARE(o.nakEvery, 3);
    QCOMPARE(o.canEvery, 7);
    QCOMPARE(o.packetFault, Fault::Garbage);
    QCOMPARE(o.hangUpAfterPacket, 40);
    QVERIFY(o.dspFails);
    // The line fault is a separate thing.
    QCOMPARE(o.fault, Fault::None);
}

void TestSimCommandLine::faults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Fault>("fault");
    QTest::newRow("none") << "none" << Fault::None;
    QTest::newRow("silent") << "silent" << Fault::Silent;
    QTest::newRow("garbage") << "garbage" << Fault::Garbage;
    QTest::newRow("no-cr") << "no-cr" << Fault::NoCr;
    QTest::newRow("slow") << "slow" << Fault::Slow;
}

void TestSimCommandLine::faults()
{
    QFETCH(QString, name);
    QFETCH(Fault, fault);
    SimCommandLine c;
    QCOMPARE(parse(c, {"--fault", name}), Outcome::Run);
    QCOMPARE(c.options().fault, fault);
}

void TestSimCommandLine::help_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("long") << "--help";
    QTest::newRow("short") << "-h";
}

void TestSimCommandLine::help()
{
    QFETCH(QString, option);
    SimCommandLine c;
    QCOMPARE(parse(c, {"--serial", "5", option}), Outcome::Help);
    // Every option the parser takes is explained.
    for (const char* name :
         {"--link", "--state", "--data", "--firmware ", "--firmware-text", "--fpga", "--serial",
          "--owner", "--scan-core", "--scan-version", "--wire-timing", "--reply-delay-us",
          "--fault", "--slow-ms", "--ready-from-poll", "--verbose"})
        QVERIFY2(SimCommandLine::helpText().contains(QLatin1String(name)), name);
}

void TestSimCommandLine::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("unknown option") << QStringList{"--colour"} << "colour";
    QTest::newRow("missing value") << QStringList{"--serial"} << "serial";
    QTest::newRow("stray argument") << QStringList{"board"} << "board";
    QTest::newRow("empty link") << QStringList{"--link", ""} << "link";
    QTest::newRow("empty data folder") << QStringList{"--data", ""} << "data";
    QTest::newRow("unknown fault") << QStringList{"--fault", "flaky"} << "flaky";
    QTest::newRow("firmware with a comma") << QStringList{"--firmware", "3,74"} << "3,74";
    QTest::newRow("firmware not a number") << QStringList{"--firmware", "new"} << "firmware";
    QTest::newRow("negative firmware") << QStringList{"--firmware", "-1"} << "firmware";
    QTest::newRow("FPGA version too short") << QStringList{"--fpga", "1234567"} << "fpga";
    QTest::newRow("FPGA version too long") << QStringList{"--fpga", "123456789"} << "fpga";
    QTest::newRow("FPGA version with a blank") << QStringList{"--fpga", "1234 678"} << "fpga";
    QTest::newRow("FPGA version with a bracket") << QStringList{"--fpga", "1234]678"} << "fpga";
    QTest::newRow("serial not a number") << QStringList{"--serial", "12a"} << "serial";
    QTest::newRow("scan core not a number") << QStringList{"--scan-core", "x"} << "scan-core";
    QTest::newRow("owner with a line break") << QStringList{"--owner", "a\rb"} << "owner";
    QTest::newRow("negative reply delay") << QStringList{"--reply-delay-us", "-1"} << "reply";
    QTest::newRow("negative slow-ms") << QStringList{"--slow-ms", "-5"} << "slow-ms";
    QTest::newRow("ready from poll 0") << QStringList{"--ready-from-poll", "0"} << "ready";
    QTest::newRow("empty flash folder") << QStringList{"--flash-dir", ""} << "flash-dir";
    QTest::newRow("negative nak-every") << QStringList{"--nak-every", "-1"} << "nak-every";
    QTest::newRow("packet fault no-cr") << QStringList{"--packet-fault", "no-cr"} << "no-cr";
    QTest::newRow("hang-up not a number")
        << QStringList{"--hang-up-after-packet", "soon"} << "hang-up";
}

void TestSimCommandLine::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    SimCommandLine c;
    QCOMPARE(parse(c, arguments), Outcome::Error);
    QVERIFY2(c.errorText().contains(mentions), qPrintable(c.errorText()));
}

QTEST_GUILESS_MAIN(TestSimCommandLine)
#include "tst_simcommandline.moc"
