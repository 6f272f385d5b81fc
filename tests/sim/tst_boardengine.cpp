#include "BoardEngine.h"
#include "TReplySlices.h"
#include "TZr5Com.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using Fault = BoardOptions::Fault;
using Values = QMap<int, int>;

namespace {
constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();

QStringList splitLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype cr = bytes.indexOf('\r', from);
        if (cr < 0)
            cr = bytes.size() - 1;
        lines.append(QString::fromLatin1(bytes.mid(from, cr - from + 1)));
        from = cr + 1;
    }
    return lines;
}

// A host that talks to the engine one exchange at a time, with time running
// on far enough between exchanges for every delayed line to have come.
struct Host
{
    explicit Host(BoardOptions options = {}) : board(std::move(options)) {}

    // Sends the bytes as they are and collects everything that comes back.
    QStringList send(const QByteArray& bytes)
    {
        board.feed(bytes, now);
        now += 5'000'000;
        return splitLines(board.take(kAll, now));
    }
    QStringList ask(const QByteArray& line) { return send(line + '\r'); }
    // The one reply line of a query.
    QString reply(const QByteArray& line)
    {
        const QStringList lines = ask(line);
        return lines.size() == 1 ? lines.constFirst()
                                 : QStringLiteral("<%1 lines>").arg(lines.size());
    }

    BoardEngine board;
    qint64 now = 1'000'000;
};

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}
} // namespace

class TestBoardEngine : public QObject
{
    Q_OBJECT

private slots:
    void readiness();
    void firmware_data();
    void firmware();
    void fpgaVersion_data();
    void fpgaVersion();
    void fpgaReload_data();
    void fpgaReload();
    void scanCore_data();
    void scanCore();
    void scanCoreFollowsParameter477();
    void serialNumber_data();
    void serialNumber();
    void owner_data();
    void owner();

    void lines_data();
    void lines();
    void writeEnable_data();
    void writeEnable();
    void delayedSecondLines_data();
    void delayedSecondLines();
    void systemResetDropsVolatileValues();
    void laterReplyGoesBeforeDelayedLine();

    void stateFileRoundTrip();
    void badStateFile_data();
    void badStateFile();
    void unwritableStateFile();

    void factoryValuesFromShippedFiles_data();
    void factoryValuesFromShippedFiles();
    void factoryValuesUnderStateAndWrites();
    void scanCoreOptionOverFactoryValue_data();
    void scanCoreOptionOverFactoryValue();
    void missingDataFiles();

    void faults_data();
    void faults();
    void faultsChangeAtRunTime();
    void garbageNeverContainsReadiness();
    void readyFromPoll_data();
    void readyFromPoll();

    void replyTimingWithoutWire();
    void replyTimingOnWire();
    void hostBytesQueueOnWire_data();
    void hostBytesQueueOnWire();
    void repliesDoNotOverlapOnWire();
    void dropArrived_data();
    void dropArrived();
};

// --- factory values from the table files ---------------------------------

void TestBoardEngine::factoryValuesFromShippedFiles_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("value");
    QTest::newRow("organ: active scan core") << 477 << 1;
    QTest::newRow("organ: generator leakage") << 431 << 20;
    QTest::newRow("organ: panel input pins") << 481 << 47;
    QTest::newRow("rotary: next to last row") << 726 << 200;
    QTest::newRow("MIDI CC: target of CC 1") << 3001 << 907;
    QTest::newRow("MIDI CC: target of CC 7") << 3007 << 465;
    QTest::newRow("upper: first entry") << 1000 << 127;
    QTest::newRow("upper: preset 15 vibrato knob") << 1249 << 5;
    QTest::newRow("upper: preset 15 buttons") << 1250 << 16;
    QTest::newRow("lower: preset 0 drawbar 2") << 1258 << 127;
    QTest::newRow("lower: preset 1 pedal 16'") << 1281 << 95;
    QTest::newRow("lower: preset 1 buttons") << 1285 << 32;
    QTest::newRow("in no file") << 800 << 0;
}

void TestBoardEngine::factoryValuesFromShippedFiles()
{
    QFETCH(int, number);
    QFETCH(int, value);
    BoardOptions o;
    o.dataDir = QStringLiteral(ZR5_DATA_DIR);
    Host host(o);
    QVERIFY2(host.board.dataProblems().isEmpty(), qPrintable(host.board.dataProblems().join('\n')));
    QCOMPARE(TZr5Com::ParseIntReply(host.reply(QByteArray::number(number) + '?')), value);
}

void TestBoardEngine::factoryValuesUnderStateAndWrites()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("zr5_organ_defaults.csv"),
              "Number,Name,Value\r\n431,Leakage,20\r\n432,Crosstalk,12\r\n"
              "word,\"Not a parameter\",9\r\n,\"Empty number\",8\r\n");
    const QString state = dir.filePath("board.state");
    writeFile(state, "432=3\n");
    BoardOptions o;
    o.dataDir = dir.path();
    o.stateFile = state;
    Host host(o);
    BoardEngine& board = host.board;

    QCOMPARE(board.value(431), 20);
    QVERIFY(board.isNonVolatile(431));
    // The state file is applied over the factory values.
    QCOMPARE(board.value(432), 3);
    // Rows without a number name no parameter, least of all parameter 0.
    QCOMPARE(board.value(0), 0);

    host.ask("431=99!");
    QCOMPARE(board.value(431), 99);
    QVERIFY(!board.isNonVolatile(431));
    host.ask("9999?");
    QCOMPARE(board.value(431), 20);

    // The state file keeps only what was written, not the factory values.
    host.ask("wen=1");
    host.ask("433=5!");
    QFile file(state);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY2(saved.contains("432=3") && saved.contains("433=5"), saved.constData());
    QVERIFY2(!saved.contains("431="), saved.constData());
}

void TestBoardEngine::scanCoreOptionOverFactoryValue_data()
{
    QTest::addColumn<bool>("given");
    QTest::addColumn<bool>("inFile");
    QTest::addColumn<int>("expected");
    QTest::newRow("file value") << false << true << 3;
    QTest::newRow("option given wins") << true << true << 6;
    QTest::newRow("not in the file: option default") << false << false << 6;
}

void TestBoardEngine::scanCoreOptionOverFactoryValue()
{
    QFETCH(bool, given);
    QFETCH(bool, inFile);
    QFETCH(int, expected);
    QTemporaryDir dir;
    writeFile(dir.filePath("zr5_organ_defaults.csv"),
              inFile ? "Number,Name,Value\n477,ScanCore,3\n" : "Number,Name,Value\n");
    BoardOptions o;
    o.dataDir = dir.path();
    o.scanCore = 6;
    o.scanCoreGiven = given;
    Host host(o);
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("477?")), expected);
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("9900?")), expected);
    // A write still wins over both.
    host.ask("477=2!");
    QCOMPARE(host.board.value(477), 2);
}

void TestBoardEngine::missingDataFiles()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("zr5_rotary_defaults.csv"), "Number,Name,Value\n600,HornSlow,48\n");
    BoardOptions o;
    o.dataDir = dir.path();
    Host host(o);
    const QStringList problems = host.board.dataProblems();
    QCOMPARE(problems.size(), 4);
    for (const char* name : {"zr5_organ_defaults.csv", "zr5_midi_cc_defaults.csv",
                             "zr5_upper_presets.csv", "zr5_lower_presets.csv"})
        QVERIFY2(problems.join('\n').contains(QLatin1String(name)), name);
    QCOMPARE(host.board.value(600), 48);
    QCOMPARE(host.board.value(431), 0);
    QCOMPARE(host.board.value(477), 1);

    // Without a data folder nothing is looked for.
    QVERIFY(Host().board.dataProblems().isEmpty());
}

// --- identification replies, read with the program's own parsers ---------

void TestBoardEngine::readiness()
{
    Host host;
    const QString reply = host.reply("253?");
    QVERIFY2(reply.contains(QLatin1String("253")), qPrintable(reply));
    QVERIFY(reply.endsWith(QLatin1Char('\r')));
    QCOMPARE(TZr5Com::ParseIntReply(reply), 1);
}

void TestBoardEngine::firmware_data()
{
    QTest::addColumn<double>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("3.74") << 3.74 << "ZR5 Firmware 3.74";
    QTest::newRow("3.805, first with factory defaults") << 3.805 << "ZR5 Firmware 3.805";
    QTest::newRow("3.55, old") << 3.55 << "Old";
    QTest::newRow("whole number") << 4.0 << "Four";
    QTest::newRow("comma in the text") << 3.6 << "Build 7, test";
    QTest::newRow("empty text") << 3.74 << "";
}

void TestBoardEngine::firmware()
{
    QFETCH(double, version);
    QFETCH(QString, text);
    BoardOptions o;
    o.firmwareVersion = version;
    o.firmwareText = text;
    Host host(o);
    const QString reply = host.reply("254?");
    QVERIFY2(reply.startsWith(QLatin1String("254=")), qPrintable(reply));
    // Exactly: the program compares versions against thresholds like 3.805.
    QVERIFY2(TZr5Com::ParseFloatReply(reply) == version, qPrintable(reply));
    QCOMPARE(TReplySlices::FirmwareText(reply), text);
}

void TestBoardEngine::fpgaVersion_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("reloadStatus");
    QTest::newRow("valid") << "24061201" << 1;
    QTest::newRow("erased, zeros") << "00000000" << -1;
    QTest::newRow("erased, ones") << "FFFFFFFF" << -1;
    QTest::newRow("lower-case ones are a version") << "ffffffff" << 1;
}

void TestBoardEngine::fpgaVersion()
{
    QFETCH(QString, version);
    BoardOptions o;
    o.fpgaVersion = version;
    Host host(o);
    const QString reply = host.reply("3?");
    QCOMPARE(TReplySlices::FpgaVersion(reply), version);
    QCOMPARE(TZr5Com::ParseIntReply(reply), 0);
}

void TestBoardEngine::fpgaReload_data()
{
    fpgaVersion_data();
}

void TestBoardEngine::fpgaReload()
{
    QFETCH(QString, version);
    QFETCH(int, reloadStatus);
    BoardOptions o;
    o.fpgaVersion = version;
    Host host(o);
    const QStringList lines = host.ask("9998?");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(TZr5Com::ParseIntReply(lines.at(0)), 0);
    QCOMPARE(TZr5Com::ParseIntReply(lines.at(1)), reloadStatus);
    QVERIFY(lines.at(1).endsWith(QLatin1Char('\r')));
}

void TestBoardEngine::scanCore_data()
{
    QTest::addColumn<int>("core");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << "23"
                       << "OrganScan61";
    QTest::newRow("1, default") << 1 << "23"
                                << "MIDI input";
    QTest::newRow("5") << 5 << "07"
                       << "Scan16/61";
    QTest::newRow("7") << 7 << "23"
                       << "Opto or XB2";
    QTest::newRow("8, separator") << 8 << "23"
                                  << "--------------";
    QTest::newRow("9, all") << 9 << "41"
                            << "Update ALL";
    QTest::newRow("negative") << -1 << "23"
                              << "";
    QTest::newRow("past the list") << 10 << "23"
                                   << "";
}

void TestBoardEngine::scanCore()
{
    QFETCH(int, core);
    QFETCH(QString, version);
    QFETCH(QString, name);
    BoardOptions o;
    o.scanCore = core;
    o.scanVersion = version;
    Host host(o);
    const QString reply = host.reply("9900?");
    QCOMPARE(TZr5Com::ParseIntReply(reply), core);
    QCOMPARE(TReplySlices::ScanVersion(reply), version);
    QCOMPARE(TReplySlices::ScanText(reply), QLatin1Char('#') + version + QLatin1Char(' ') + name);
}

void TestBoardEngine::scanCoreFollowsParameter477()
{
    BoardOptions o;
    o.scanCore = 2;
    Host host(o);
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("477?")), 2);
    host.ask("477=5!");
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("9900?")), 5);
    QCOMPARE(TReplySlices::ScanText(host.reply("9900?")), QStringLiteral("#23 Scan16/61"));
    host.board.reset();
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("9900?")), 2);
    host.ask("wen=1");
    host.ask("477=6!");
    host.board.reset();
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("9900?")), 6);
}

void TestBoardEngine::serialNumber_data()
{
    QTest::addColumn<int>("serial");
    QTest::newRow("0, never set") << 0;
    QTest::newRow("1234") << 1234;
    QTest::newRow("negative") << -5;
}

void TestBoardEngine::serialNumber()
{
    QFETCH(int, serial);
    BoardOptions o;
    o.serialNumber = serial;
    Host host(o);
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("9952?")), serial);
}

void TestBoardEngine::owner_data()
{
    QTest::addColumn<QString>("owner");
    QTest::newRow("one word") << "Brackwell";
    QTest::newRow("blanks and a dot") << "Jane Q. Organist";
    QTest::newRow("empty") << "";
}

void TestBoardEngine::owner()
{
    QFETCH(QString, owner);
    BoardOptions o;
    o.owner = owner;
    Host host(o);
    const QString reply = host.reply("9990?");
    QCOMPARE(TReplySlices::OwnerText(reply), owner);
    QCOMPARE(TZr5Com::ParseIntReply(reply), 0);
}

// --- command lines -------------------------------------------------------

void TestBoardEngine::lines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("replies");
    QTest::newRow("parameter never written") << QByteArray("500?\r") << QStringList{"500=0\r"};
    QTest::newRow("write, then query")
        << QByteArray("500=17!\r500?\r") << QStringList{"500=17\r", "500=17\r"};
    QTest::newRow("negative value")
        << QByteArray("501=-3!\r501?\r") << QStringList{"501=-3\r", "501=-3\r"};
    QTest::newRow("leading zeros")
        << QByteArray("0502=007!\r502?\r") << QStringList{"502=7\r", "502=7\r"};
    QTest::newRow("line feeds ignored")
        << QByteArray("500=4!\r\n500?\r\n") << QStringList{"500=4\r", "500=4\r"};
    QTest::newRow("write enable") << QByteArray("wen=1\r") << QStringList{"wen=1\r"};
    QTest::newRow("empty line") << QByteArray("\r") << QStringList{};
    QTest::newRow("no line end yet") << QByteArray("500?") << QStringList{};
    QTest::newRow("write without !")
        << QByteArray("500=3\r500?\r") << QStringList{"500=3 [not simulated]\r", "500=0\r"};
    QTest::newRow("value too large")
        << QByteArray("500=99999999999!\r") << QStringList{"500=99999999999! [not simulated]\r"};
    QTest::newRow("DataFlash open")
        << QByteArray("DFS=0!\r") << QStringList{"DFS=0 [DataFlash open]\r"};
    QTest::newRow("DataFlash erase")
        << QByteArray("DFE 1=3!\r") << QStringList{"DFE 1=3 [slot 3 erased]\r"};
    QTest::newRow("factory save") << QByteArray("SFX 1=9!\r")
                                  << QStringList{"SFX 1=0 [Save EEPROM to DataFlash]\r",
                                                 "SFX 1=1 [Factory defaults saved]\r"};
    // The firmware jumps to its boot loader without a word.
    QTest::newRow("boot loader") << QByteArray("9980=0\r") << QStringList{};
    QTest::newRow("binary bytes") << QByteArray("\x01\x02\xff\r", 4) << QStringList{"?\r"};
}

void TestBoardEngine::lines()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, replies);
    Host host;
    QCOMPARE(host.send(input), replies);
}

void TestBoardEngine::writeEnable_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("nonVolatile");
    QTest::addColumn<int>("afterReset");
    QTest::newRow("plain write") << QByteArrayList{"600=5!"} << 5 << false << 0;
    QTest::newRow("after wen=1") << QByteArrayList{"wen=1", "600=5!"} << 5 << true << 5;
    QTest::newRow("wen=1 not directly before")
        << QByteArrayList{"wen=1", "601?", "600=5!"} << 5 << false << 0;
    QTest::newRow("wen=1 covers one write")
        << QByteArrayList{"wen=1", "600=5!", "600=6!"} << 6 << false << 5;
    QTest::newRow("stored over volatile")
        << QByteArrayList{"600=6!", "wen=1", "600=5!"} << 5 << true << 5;
}

void TestBoardEngine::writeEnable()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(int, current);
    QFETCH(bool, nonVolatile);
    QFETCH(int, afterReset);
    Host host;
    for (const QByteArray& line : lines)
        host.ask(line);
    QCOMPARE(host.board.value(600), current);
    QCOMPARE(host.board.isNonVolatile(600), nonVolatile);
    host.board.reset();
    QCOMPARE(host.board.value(600), afterReset);
}

void TestBoardEngine::delayedSecondLines_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<qint64>("laterUs");
    QTest::newRow("FPGA reload") << QByteArray("9998?") << "9998=0 [FPGA reload]\r"
                                 << "9998=1 [FPGA loaded]\r" << BoardEngine::kFpgaReloadUs;
    QTest::newRow("system reset") << QByteArray("9999?") << "9999=0 [Reset]\r"
                                  << "9999=1 [ZR5 ready]\r" << BoardEngine::kRestartUs;
    QTest::newRow("generator reload")
        << QByteArray("9996?") << "9996=0 [Reload]\r"
        << "9996=1 [Generators loaded]\r" << BoardEngine::kGeneratorReloadUs;
}

void TestBoardEngine::delayedSecondLines()
{
    QFETCH(QByteArray, query);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(qint64, laterUs);
    BoardOptions o;
    o.replyDelayUs = 800;
    BoardEngine board(o);
    const qint64 t = 50'000;
    board.feed(query + '\r', t);
    QCOMPARE(board.available(t + 799), 0);
    QCOMPARE(board.take(kAll, t + 800), first.toLatin1());
    QCOMPARE(board.nextArrivalUs(), t + 800 + laterUs);
    QCOMPARE(board.available(t + 800 + laterUs - 1), 0);
    QCOMPARE(board.take(kAll, t + 800 + laterUs), second.toLatin1());
    QCOMPARE(board.nextArrivalUs(), -1);
}

void TestBoardEngine::systemResetDropsVolatileValues()
{
    Host host;
    host.ask("610=1!");
    host.ask("wen=1");
    host.ask("611=2!");
    host.ask("9999?");
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("610?")), 0);
    QCOMPARE(TZr5Com::ParseIntReply(host.reply("611?")), 2);
}

void TestBoardEngine::laterReplyGoesBeforeDelayedLine()
{
    // The host may query again while the board is still reloading; the quick
    // answer must not queue behind the reload's status line.
    BoardEngine board;
    board.feed("9998?\r", 0);
    board.feed("500?\r", 100'000);
    QCOMPARE(splitLines(board.take(kAll, 10'000'000)),
             (QStringList{"9998=0 [FPGA reload]\r", "500=0\r", "9998=1 [FPGA loaded]\r"}));
}

// --- state file ----------------------------------------------------------

void TestBoardEngine::stateFileRoundTrip()
{
    QTemporaryDir dir;
    BoardOptions o;
    o.stateFile = dir.filePath(QStringLiteral("board.state"));
    {
        Host host(o);
        host.ask("wen=1");
        host.ask("700=3!");
        host.ask("wen=1");
        host.ask("701=-4!");
        host.ask("702=9!");
    }
    QFile file(o.stateFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.contains("\n700=3\n") && text.contains("\n701=-4\n"), text.constData());
    QVERIFY2(!text.contains("702"), text.constData());
    file.close();

    Host again(o);
    QCOMPARE(again.board.value(700), 3);
    QCOMPARE(again.board.value(701), -4);
    QCOMPARE(again.board.value(702), 0);
    QVERIFY(again.board.isNonVolatile(700));
    // A further write keeps what was stored before.
    again.ask("wen=1");
    again.ask("700=8!");
    Host third(o);
    QCOMPARE(third.board.value(700), 8);
    QCOMPARE(third.board.value(701), -4);
}

void TestBoardEngine::badStateFile_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Values>("values");
    QTest::newRow("missing") << false << QByteArray() << Values{};
    QTest::newRow("empty") << true << QByteArray() << Values{};
    QTest::newRow("bad lines among good ones")
        << true << QByteArray("abc\n=5\n5=\n7=8\n9=x\n 10 = 11 \n12=99999999999\n13=1=2\n")
        << Values{{7, 8}, {10, 11}};
    QTest::newRow("binary") << true << QByteArray("\x00\xff\x01=\x02\n14=15", 11)
                            << Values{{14, 15}};
    QTest::newRow("no final line feed, CR line ends")
        << true << QByteArray("20=1\r\n21=2") << Values{{20, 1}, {21, 2}};
}

void TestBoardEngine::badStateFile()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(Values, values);
    QTemporaryDir dir;
    BoardOptions o;
    o.stateFile = dir.filePath(QStringLiteral("board.state"));
    if (exists)
        writeFile(o.stateFile, content);
    BoardEngine board(o);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        QCOMPARE(board.value(it.key()), it.value());
        QVERIFY(board.isNonVolatile(it.key()));
    }
    for (const int number : {5, 9, 12, 13})
        QCOMPARE(board.value(number), 0);

    // Saving rewrites the file with the good values only.
    board.setValue(30, 31, true);
    BoardEngine reloaded(o);
    values.insert(30, 31);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        QCOMPARE(reloaded.value(it.key()), it.value());
}

void TestBoardEngine::unwritableStateFile()
{
    QTemporaryDir dir;
    BoardOptions o;
    o.stateFile = dir.filePath(QStringLiteral("no/such/folder/board.state"));
    Host host(o);
    host.ask("wen=1");
    QCOMPARE(host.reply("700=3!"), QStringLiteral("700=3\r"));
    QCOMPARE(host.board.value(700), 3);
}

// --- faults --------------------------------------------------------------

void TestBoardEngine::faults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("expected"); // empty: nothing or junk, see junk
    QTest::addColumn<bool>("junk");
    QTest::addColumn<qint64>("arrivalUs"); // of the first byte after the CR, -1: none
    const QByteArray line = "254=3.74 [Ver, ZR5 Firmware 3.74]";
    QTest::newRow("none") << Fault::None << line + '\r' << false << qint64(500);
    QTest::newRow("silent") << Fault::Silent << QByteArray() << false << qint64(-1);
    QTest::newRow("garbage") << Fault::Garbage << QByteArray() << true << qint64(500);
    QTest::newRow("no CR") << Fault::NoCr << line << false << qint64(500);
    QTest::newRow("slow") << Fault::Slow << line + '\r' << false << qint64(500 + 250'000);
}

void TestBoardEngine::faults()
{
    QFETCH(Fault, fault);
    QFETCH(QByteArray, expected);
    QFETCH(bool, junk);
    QFETCH(qint64, arrivalUs);
    BoardOptions o;
    o.fault = fault;
    o.slowMs = 250;
    BoardEngine board(o);
    board.feed("254?\r", 0);
    QCOMPARE(board.nextArrivalUs(), arrivalUs);
    const QByteArray bytes = board.take(kAll, 10'000'000);
    if (junk) {
        QVERIFY(bytes.endsWith('\r'));
        QCOMPARE(bytes.count('\r'), 1);
        QVERIFY(!bytes.startsWith("254="));
    } else {
        QCOMPARE(bytes, expected);
    }
    // Faults spoil the answer, not the board: the line was taken all the same.
    QCOMPARE(board.receivedLines().size(), 1);
}

void TestBoardEngine::faultsChangeAtRunTime()
{
    Host host;
    host.board.options().fault = Fault::Silent;
    QCOMPARE(host.ask("620=4!"), QStringList{});
    host.board.options().fault = Fault::None;
    QCOMPARE(host.reply("620?"), QStringLiteral("620=4\r"));
}

void TestBoardEngine::garbageNeverContainsReadiness()
{
    BoardOptions o;
    o.fault = Fault::Garbage;
    Host host(o);
    for (int i = 0; i < 300; ++i) {
        const QStringList lines = host.ask("253?");
        QCOMPARE(lines.size(), 1);
        QVERIFY2(!lines.constFirst().contains(QLatin1String("253")),
                 qPrintable(lines.constFirst()));
    }
    for (int i = 0; i < 2000; ++i) {
        const QByteArray junk = BoardEngine::garbageLine();
        QVERIFY(!junk.contains("253"));
        QCOMPARE(junk.indexOf('\r'), junk.size() - 1);
    }
}

void TestBoardEngine::readyFromPoll_data()
{
    QTest::addColumn<int>("readyFrom");
    QTest::newRow("at once") << 1;
    QTest::newRow("third poll") << 3;
}

void TestBoardEngine::readyFromPoll()
{
    QFETCH(int, readyFrom);
    BoardOptions o;
    o.readyFromPoll = readyFrom;
    Host host(o);
    for (int poll = 1; poll < readyFrom; ++poll) {
        QCOMPARE(host.ask("253?"), QStringList{});
        // Other queries are answered meanwhile and do not count as polls.
        QCOMPARE(host.reply("9952?"), QStringLiteral("9952=1234\r"));
    }
    QVERIFY(host.reply("253?").contains(QLatin1String("253")));
    QVERIFY(host.reply("253?").contains(QLatin1String("253")));
}

// --- timing --------------------------------------------------------------

void TestBoardEngine::replyTimingWithoutWire()
{
    BoardOptions o;
    o.replyDelayUs = 1200;
    BoardEngine board(o);
    board.feed("253?\r", 10'000);
    QCOMPARE(board.receivedLines().constLast().atUs, 10'000);
    QCOMPARE(board.nextArrivalUs(), 11'200);
    QCOMPARE(board.available(11'199), 0);
    QCOMPARE(board.available(11'200), 18);
}

void TestBoardEngine::replyTimingOnWire()
{
    BoardOptions o;
    o.wireTiming = true;
    o.replyDelayUs = 1000;
    BoardEngine board(o);
    const qint64 sent = 10'000;
    board.feed("253?\r", sent);
    const qint64 cr = sent + 5 * BoardEngine::kByteUs;
    QCOMPARE(board.receivedLines().constLast().atUs, cr);
    const QByteArray expected = "253=1 [ZR5 ready]\r";
    QByteArray got;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const qint64 at = cr + 1000 + (i + 1) * BoardEngine::kByteUs;
        QCOMPARE(board.nextArrivalUs(), at);
        QCOMPARE(board.available(at - 1), 0);
        QCOMPARE(board.available(at), 1);
        got += board.take(kAll, at);
    }
    QCOMPARE(got, expected);
    QCOMPARE(board.nextArrivalUs(), -1);
}

void TestBoardEngine::hostBytesQueueOnWire_data()
{
    QTest::addColumn<qint64>("secondSentUs");
    QTest::addColumn<qint64>("crUs");
    constexpr qint64 b = BoardEngine::kByteUs;
    // "25" sent at 0 is on the wire until 2b; "3?\r" follows.
    QTest::newRow("sent while the first bytes are on the wire") << qint64(100) << 5 * b;
    QTest::newRow("sent after they arrived") << qint64(10'000) << 10'000 + 3 * b;
}

void TestBoardEngine::hostBytesQueueOnWire()
{
    QFETCH(qint64, secondSentUs);
    QFETCH(qint64, crUs);
    BoardOptions o;
    o.wireTiming = true;
    BoardEngine board(o);
    board.feed("25", 0);
    board.feed("3?\r", secondSentUs);
    QCOMPARE(board.receivedLines().size(), 1);
    QCOMPARE(board.receivedLines().constFirst().text, QByteArray("253?"));
    QCOMPARE(board.receivedLines().constFirst().atUs, crUs);
}

void TestBoardEngine::repliesDoNotOverlapOnWire()
{
    BoardOptions o;
    o.wireTiming = true;
    o.replyDelayUs = 0;
    BoardEngine board(o);
    constexpr qint64 b = BoardEngine::kByteUs;
    board.feed("253?\r9952?\r", 0);
    // The first reply (18 bytes) is still going out when the second is due.
    const qint64 firstEnd = 5 * b + 18 * b;
    QCOMPARE(board.available(firstEnd), 18);
    QCOMPARE(board.take(kAll, firstEnd), QByteArray("253=1 [ZR5 ready]\r"));
    QCOMPARE(board.nextArrivalUs(), firstEnd + b);
    QCOMPARE(board.take(kAll, firstEnd + 10 * b), QByteArray("9952=1234\r"));
}

void TestBoardEngine::dropArrived_data()
{
    QTest::addColumn<bool>("wire");
    QTest::addColumn<qint64>("purgeUs");
    QTest::addColumn<QByteArray>("left");
    constexpr qint64 b = BoardEngine::kByteUs;
    const QByteArray reply = "9952=1234\r";
    // Times count from the CR's arrival; replies start 500 us after it.
    QTest::newRow("before the reply") << false << qint64(499) << reply;
    QTest::newRow("after the reply") << false << qint64(500) << QByteArray();
    QTest::newRow("on the wire, halfway") << true << 500 + 4 * b << reply.mid(4);
    QTest::newRow("on the wire, just before the last")
        << true << 500 + 10 * b - 1 << QByteArray("\r");
}

void TestBoardEngine::dropArrived()
{
    QFETCH(bool, wire);
    QFETCH(qint64, purgeUs);
    QFETCH(QByteArray, left);
    BoardOptions o;
    o.wireTiming = wire;
    BoardEngine board(o);
    board.feed("9952?\r", 0);
    const qint64 cr = board.receivedLines().constLast().atUs;
    board.dropArrived(cr + purgeUs);
    QCOMPARE(board.available(cr + purgeUs), 0);
    // What was still on its way comes at the time it would have come anyway.
    if (!left.isEmpty()) {
        const qint64 next = board.nextArrivalUs();
        QVERIFY(next > cr + purgeUs);
        QCOMPARE(board.take(1, next), left.left(1));
    }
    QCOMPARE(board.take(kAll, cr + 1'000'000), left.mid(1));
}

QTEST_GUILESS_MAIN(TestBoardEngine)
#include "tst_boardengine.moc"
