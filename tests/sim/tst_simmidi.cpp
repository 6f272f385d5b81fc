#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "RecordingHost.h"
#include "SerialPortBackend.h"
#include "SimCommandLine.h"
#include "SimMidiInput.h"
#include "TLink.h"
#include "TMidiMessage.h"
#include "TZr5Com.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <memory>

using Kind = SimMidiInput::Parsed::Kind;
Q_DECLARE_METATYPE(SimMidiInput::Parsed::Kind)

namespace {
// The board's answer to the monitor query, read as the program reads it.
QString monitorText(BoardEngine& engine)
{
    engine.feed("9000?\r", 0);
    const QString reply = QString::fromLatin1(engine.take(1000, 1'000'000));
    return TMidiMessage::Unpack(TZr5Com::ParseIntReply(reply)).Text();
}
} // namespace

// The simulated board's MIDI input: the control channel's lines, what query
// 9000 reports, and the channel of the simulator program (a FIFO or its
// standard input) reaching a program on its terminal.
class TstSimMidi : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void linesReachTheMonitorQuery();
    void commandLine_data();
    void commandLine();
    void simulatorChannel_data();
    void simulatorChannel();
};

void TstSimMidi::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("data1");
    QTest::addColumn<int>("data2");
    QTest::addColumn<QString>("error"); // part of the reason

    QTest::newRow("control change") << "cc 1 7 100" << Kind::Message << 0xB0 << 7 << 100 << "";
    QTest::newRow("channel 16, blanks, letter case")
        << "  CC\t16  127 0 " << Kind::Message << 0xBF << 127 << 0 << "";
    QTest::newRow("note on") << "note 2 60 64" << Kind::Message << 0x91 << 60 << 64 << "";
    QTest::newRow("note off") << "noteoff 1 60 10" << Kind::Message << 0x80 << 60 << 10 << "";
    QTest::newRow("note off, no velocity")
        << "noteoff 3 61" << Kind::Message << 0x82 << 61 << 0 << "";
    QTest::newRow("empty") << "   " << Kind::Nothing << 0 << 0 << 0 << "";
    QTest::newRow("comment") << "# moves the swell" << Kind::Nothing << 0 << 0 << 0 << "";
    QTest::newRow("unknown word") << "pb 1 0 64" << Kind::Error << 0 << 0 << 0 << "'pb'";
    QTest::newRow("channel 0") << "cc 0 7 100" << Kind::Error << 0 << 0 << 0 << "channel '0'";
    QTest::newRow("channel 17") << "cc 17 7 100" << Kind::Error << 0 << 0 << 0 << "channel '17'";
    QTest::newRow("controller 128")
        << "cc 1 128 1" << Kind::Error << 0 << 0 << 0 << "controller '128'";
    QTest::newRow("value -1") << "cc 1 7 -1" << Kind::Error << 0 << 0 << 0 << "value '-1'";
    QTest::newRow("velocity a word")
        << "note 1 60 loud" << Kind::Error << 0 << 0 << 0 << "velocity 'loud'";
    QTest::newRow("too few numbers") << "cc 1 7" << Kind::Error << 0 << 0 << 0 << "three";
    QTest::newRow("too many numbers") << "note 1 2 3 4" << Kind::Error << 0 << 0 << 0 << "three";
}

void TstSimMidi::parseLine()
{
    QFETCH(QString, line);
    QFETCH(Kind, kind);
    QFETCH(int, status);
    QFETCH(int, data1);
    QFETCH(int, data2);
    QFETCH(QString, error);
    const SimMidiInput::Parsed parsed = SimMidiInput::parseLine(line);
    QCOMPARE(parsed.kind, kind);
    if (kind == Kind::Message) {
        QCOMPARE(int(parsed.message.status), status);
        QCOMPARE(int(parsed.message.data1), data1);
        QCOMPARE(int(parsed.message.data2), data2);
    }
    if (kind == Kind::Error)
        QVERIFY2(parsed.error.contains(error), qPrintable(parsed.error));
}

void TstSimMidi::linesReachTheMonitorQuery()
{
    BoardEngine engine;
    SimMidiInput input(engine);
    QStringList problems;
    int messages = 0;
    input.setOnProblem([&](const QString& problem) { problems << problem; });
    input.setOnMessage([&](const SimMidiInput::Message&, const QByteArray&) { ++messages; });

    QCOMPARE(monitorText(engine), QStringLiteral("0:0:0 [$00:$00:$00]"));
    // A line split over two reads counts once it is complete.
    input.feed("cc 1 7 ");
    QCOMPARE(monitorText(engine), QStringLiteral("0:0:0 [$00:$00:$00]"));
    input.feed("100\r\n");
    QCOMPARE(monitorText(engine), QStringLiteral("176:7:100 [$B0:$07:$64]"));
    // A refused line keeps the last message; the next good one counts.
    input.feed("cc 1 200 5\rnote 10 64 127\n\n# done\n");
    QCOMPARE(monitorText(engine), QStringLiteral("153:64:127 [$99:$40:$7F]"));
    QCOMPARE(messages, 2);
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems.first().contains(QLatin1String("cc 1 200 5")), qPrintable(problems.first()));

    engine.injectMidi(0xB2, 0xFF, 0x80);
    QCOMPARE(engine.lastMidiMessage(), 0xB27F00);
}

void TstSimMidi::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList{} << true << "";
    QTest::newRow("a FIFO") << QStringList{"--midi-in", "/tmp/zr5-midi"} << true << "/tmp/zr5-midi";
    QTest::newRow("standard input") << QStringList{"--midi-in", "-"} << true << "-";
    QTest::newRow("empty path") << QStringList{"--midi-in", ""} << false << "";
}

void TstSimMidi::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, runs);
    QFETCH(QString, path);
    SimCommandLine commandLine;
    const SimCommandLine::Outcome outcome =
        commandLine.parse(QStringList{"zr5-board-sim"} + arguments);
    QCOMPARE(outcome == SimCommandLine::Outcome::Run, runs);
    if (runs)
        QCOMPARE(commandLine.midiInPath(), path);
    else
        QVERIFY(commandLine.errorText().contains(QLatin1String("--midi-in")));
}

void TstSimMidi::simulatorChannel_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("FIFO made by the simulator") << true;
    QTest::newRow("standard input") << false;
}

void TstSimMidi::simulatorChannel()
{
    QFETCH(bool, fifo);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("zr5"));
    const QString channel = dir.filePath(QStringLiteral("midi"));

    QProcess sim;
    sim.setProgram(QStringLiteral(ZR5_BOARD_SIM));
#ifdef __linux__
    sim.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    sim.setArguments({"--link", link, "--midi-in", fifo ? channel : QStringLiteral("-")});
    sim.start();
    QVERIFY(sim.waitForStarted(5000));
    QElapsedTimer waited;
    waited.start();
    while (!sim.canReadLine() && waited.elapsed() < 5000)
        sim.waitForReadyRead(100);
    QVERIFY(!sim.readLine().trimmed().isEmpty());
    if (fifo)
        QVERIFY(QFileInfo(channel).exists());

    D2xxLibrary& lib = D2xxLibrary::instance();
    lib.clearBackends();
    lib.addBackend(
        std::make_shared<SerialPortBackend>(QStringList{link}, dir.filePath(QStringLiteral("no"))));
    RecordingHost host;
    {
        TLink tlink;
        tlink.BuildDeviceList();
        tlink.OpenDevice(0);
        QVERIFY(tlink.Connected());
        TZr5Com com(tlink, host);
        QCOMPARE(com.GetParamInt(9000), 0);

        const QByteArray lines = "cc 3 11 90\nbad line\n";
        if (fifo) {
            // Two writers one after the other: the channel stays open between them.
            for (const QByteArray& part : {QByteArray("note 1 60 1\n"), lines}) {
                const int fd = ::open(channel.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
                QVERIFY(fd >= 0);
                QCOMPARE(::write(fd, part.constData(), size_t(part.size())), ssize_t(part.size()));
                ::close(fd);
            }
        } else {
            sim.write(lines);
            sim.waitForBytesWritten(1000);
        }
        const QString expected = QStringLiteral("178:11:90 [$B2:$0B:$5A]");
        QString shown;
        for (waited.restart(); waited.elapsed() < 3000; QTest::qWait(20)) {
            shown = TMidiMessage::Unpack(com.GetParamInt(9000)).Text();
            if (shown == expected)
                break;
        }
        QCOMPARE(shown, expected);
    }
    lib.clearBackends();

    ::kill(static_cast<pid_t>(sim.processId()), SIGTERM);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
    QVERIFY2(err.contains(QLatin1String("\"bad line\"")), qPrintable(err));
    if (fifo)
        QVERIFY2(!QFileInfo::exists(channel), "the FIFO the simulator made is removed at exit");
}

QTEST_GUILESS_MAIN(TstSimMidi)
#include "tst_simmidi.moc"
