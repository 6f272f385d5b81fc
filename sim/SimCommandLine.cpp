#include "SimCommandLine.h"

#include <QCommandLineParser>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
struct FaultName
{
    const char* name;
    BoardOptions::Fault fault;
};

const FaultName kFaults[] = {
    {"none", BoardOptions::Fault::None},       {"silent", BoardOptions::Fault::Silent},
    {"garbage", BoardOptions::Fault::Garbage}, {"no-cr", BoardOptions::Fault::NoCr},
    {"slow", BoardOptions::Fault::Slow},
};

// Texts end up inside a reply line; a line break would split it.
bool fitsInLine(const QString& text)
{
    return !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'));
}
} // namespace

bool SimCommandLine::parseFault(const QString& name, BoardOptions::Fault* fault)
{
    for (const FaultName& f : kFaults) {
        if (name == QLatin1String(f.name)) {
            *fault = f.fault;
            return true;
        }
    }
    return false;
}

bool SimCommandLine::fail(const QString& text)
{
    m_error = text;
    return false;
}

SimCommandLine::Outcome SimCommandLine::parse(const QStringList& arguments,
                                              const QString& defaultDataDir)
{
    m_options = {};
    m_linkPath.clear();
    m_midiInPath.clear();
    m_makeFirmwarePath.clear();
    m_verbose = false;
    m_error.clear();

    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption link(QStringLiteral("link"), {}, QStringLiteral("path"));
    const QCommandLineOption state(QStringLiteral("state"), {}, QStringLiteral("file"));
    const QCommandLineOption data(QStringLiteral("data"), {}, QStringLiteral("dir"));
    const QCommandLineOption firmware(QStringLiteral("firmware"), {}, QStringLiteral("v"));
    const QCommandLineOption firmwareText(QStringLiteral("firmware-text"), {},
                                          QStringLiteral("text"));
    const QCommandLineOption fpga(QStringLiteral("fpga"), {}, QStringLiteral("v"));
    const QCommandLineOption serial(QStringLiteral("serial"), {}, QStringLiteral("n"));
    const QCommandLineOption owner(QStringLiteral("owner"), {}, QStringLiteral("text"));
    const QCommandLineOption scanCore(QStringLiteral("scan-core"), {}, QStringLiteral("n"));
    const QCommandLineOption scanVersion(QStringLiteral("scan-version"), {},
                                         QStringLiteral("text"));
    const QCommandLineOption wireTiming(QStringLiteral("wire-timing"), {});
    const QCommandLineOption replyDelay(QStringLiteral("reply-delay-us"), {}, QStringLiteral("us"));
    const QCommandLineOption fault(QStringLiteral("fault"), {}, QStringLiteral("kind"));
    const QCommandLineOption slowMs(QStringLiteral("slow-ms"), {}, QStringLiteral("ms"));
    const QCommandLineOption readyFromPoll(QStringLiteral("ready-from-poll"), {},
                                           QStringLiteral("n"));
    const QCommandLineOption midiIn(QStringLiteral("midi-in"), {}, QStringLiteral("path"));
    const QCommandLineOption resetOnOpen(QStringLiteral("reset-on-open"), {});
    const QCommandLineOption makeFirmware(QStringLiteral("make-firmware"), {},
                                          QStringLiteral("path"));
    parser.addOptions({resetOnOpen, makeFirmware});
    const QCommandLineOption flashDir(QStringLiteral("flash-dir"), {}, QStringLiteral("dir"));
    const QCommandLineOption nakEvery(QStringLiteral("nak-every"), {}, QStringLiteral("n"));
    const QCommandLineOption canEvery(QStringLiteral("can-every"), {}, QStringLiteral("n"));
    const QCommandLineOption packetFault(QStringLiteral("packet-fault"), {},
                                         QStringLiteral("kind"));
    const QCommandLineOption hangUpAfter(QStringLiteral("hang-up-after-packet"), {},
                                         QStringLiteral("n"));
    const QCommandLineOption dspFails(QStringLiteral("dsp-fails"), {});
    parser.addOptions({flashDir, nakEvery, canEvery, packetFault, hangUpAfter, dspFails});
    const QCommandLineOption verbose(QStringLiteral("verbose"), {});
    parser.addOptions({help, link, state, data, firmware, firmwareText, fpga, serial, owner,
                       scanCore, scanVersion, wireTiming, replyDelay, fault, slowMs, readyFromPoll,
                       midiIn, verbose});

    const auto error = [this](const QString& text) {
        fail(text);
        return Outcome::Error;
    };
    if (!parser.parse(arguments))
        return error(parser.errorText());
    if (parser.isSet(help))
        return Outcome::Help;
    if (!parser.positionalArguments().isEmpty())
        return error(QStringLiteral("unexpected argument '%1'")
                         .arg(parser.positionalArguments().constFirst()));

    const auto integer = [&](const QCommandLineOption& option, int minimum, int* out) {
        bool ok = false;
        const QString text = parser.value(option);
        const int v = text.toInt(&ok, 10);
        if (!ok || v < minimum) {
            return fail(minimum == std::numeric_limits<int>::min()
                            ? QStringLiteral("--%1: '%2' is not an integer")
                                  .arg(option.names().constFirst(), text)
                            : QStringLiteral("--%1: '%2' is not an integer of at least %3")
                                  .arg(option.names().constFirst(), text)
                                  .arg(minimum));
        }
        *out = v;
        return true;
    };
    const auto text = [&](const QCommandLineOption& option, QString* out) {
        const QString v = parser.value(option);
        if (!fitsInLine(v))
            return fail(QStringLiteral("--%1: the text must not contain a line break")
                            .arg(option.names().constFirst()));
        *out = v;
        return true;
    };
    constexpr int anyInt = std::numeric_limits<int>::min();

    BoardOptions& o = m_options;
    m_linkPath = parser.value(link);
    o.stateFile = parser.value(state);
    if (parser.isSet(link) && m_linkPath.isEmpty())
        return error(QStringLiteral("--link: the path is empty"));
    o.dataDir = parser.isSet(data) ? parser.value(data) : defaultDataDir;
    if (parser.isSet(data) && o.dataDir.isEmpty())
        return error(QStringLiteral("--data: the folder is empty"));
    if (parser.isSet(firmware)) {
        bool ok = false;
        const QString v = parser.value(firmware);
        o.firmwareVersion = QLocale::c().toDouble(v, &ok);
        if (!ok || !std::isfinite(o.firmwareVersion) || o.firmwareVersion < 0)
            return error(QStringLiteral("--firmware: '%1' is not a version like 3.74").arg(v));
    }
    if (parser.isSet(firmwareText) && !text(firmwareText, &o.firmwareText))
        return Outcome::Error;
    if (parser.isSet(fpga)) {
        const QString v = parser.value(fpga);
        // The program takes exactly eight characters after "[#" up to "]".
        const bool plain =
            v.size() == 8 && std::all_of(v.begin(), v.end(), [](QChar c) {
                return c.unicode() > 0x20 && c.unicode() < 0x7f && c != QLatin1Char(']');
            });
        if (!plain)
            return error(
                QStringLiteral("--fpga: '%1' is not eight characters like 24061201").arg(v));
        o.fpgaVersion = v;
    }
    if (parser.isSet(serial) && !integer(serial, anyInt, &o.serialNumber))
        return Outcome::Error;
    if (parser.isSet(owner) && !text(owner, &o.owner))
        return Outcome::Error;
    if (parser.isSet(scanCore) && !integer(scanCore, anyInt, &o.scanCore))
        return Outcome::Error;
    o.scanCoreGiven = parser.isSet(scanCore);
    if (parser.isSet(scanVersion) && !text(scanVersion, &o.scanVersion))
        return Outcome::Error;
    o.wireTiming = parser.isSet(wireTiming);
    if (parser.isSet(replyDelay) && !integer(replyDelay, 0, &o.replyDelayUs))
        return Outcome::Error;
    if (parser.isSet(fault) && !parseFault(parser.value(fault), &o.fault))
        return error(QStringLiteral("--fault: '%1' is none of none, silent, garbage, no-cr, slow")
                         .arg(parser.value(fault)));
    if (parser.isSet(slowMs) && !integer(slowMs, 0, &o.slowMs))
        return Outcome::Error;
    if (parser.isSet(readyFromPoll) && !integer(readyFromPoll, 1, &o.readyFromPoll))
        return Outcome::Error;
    m_midiInPath = parser.value(midiIn);
    if (parser.isSet(midiIn) && m_midiInPath.isEmpty())
        return error(QStringLiteral("--midi-in: the path is empty"));
    o.resetOnOpen = parser.isSet(resetOnOpen);
    m_makeFirmwarePath = parser.value(makeFirmware);
    if (parser.isSet(makeFirmware) && m_makeFirmwarePath.isEmpty())
        return error(QStringLiteral("--make-firmware: the path is empty"));
    o.flashDir = parser.value(flashDir);
    if (parser.isSet(flashDir) && o.flashDir.isEmpty())
        return error(QStringLiteral("--flash-dir: the folder is empty"));
    if (parser.isSet(nakEvery) && !integer(nakEvery, 0, &o.nakEvery))
        return Outcome::Error;
    if (parser.isSet(canEvery) && !integer(canEvery, 0, &o.canEvery))
        return Outcome::Error;
    if (parser.isSet(packetFault) &&
        (!parseFault(parser.value(packetFault), &o.packetFault) ||
         o.packetFault == BoardOptions::Fault::NoCr))
        return error(QStringLiteral("--packet-fault: '%1' is none of none, silent, garbage, slow")
                         .arg(parser.value(packetFault)));
    if (parser.isSet(hangUpAfter) && !integer(hangUpAfter, 0, &o.hangUpAfterPacket))
        return Outcome::Error;
    o.dspFails = parser.isSet(dspFails);
    m_verbose = parser.isSet(verbose);
    return Outcome::Run;
}

QString SimCommandLine::helpText()
{
    return QStringLiteral(
        "Usage: zr5-board-sim [options]\n"
        "\n"
        "Serves a simulated ZR5 board on a pseudo-terminal. The first line on\n"
        "standard output is the terminal's path; open it as the board's serial port.\n"
        "\n"
        "Where to find it:\n"
        "  --link PATH            also make PATH a symbolic link to the terminal\n"
        "                         (a stale link is replaced; removed at exit)\n"
        "  --state FILE           keep non-volatile parameters in FILE across runs\n"
        "  --data DIR             take the factory values from the table files in\n"
        "                         DIR (default: the simulator's own folder)\n"
        "\n"
        "What the board reports:\n"
        "  --firmware V           controller firmware version (default 3.74)\n"
        "  --firmware-text TEXT   firmware text (default \"ZR5 Firmware 3.74\")\n"
        "  --fpga V               FPGA configuration version, eight characters\n"
        "                         (default 24061201; 00000000 or FFFFFFFF: none)\n"
        "  --serial N             board serial number (default 1234)\n"
        "  --owner TEXT           owner name (default \"Brackwell\")\n"
        "  --scan-core N          active scan core until parameter 477 is written,\n"
        "                         over the data folder's value (default: that\n"
        "                         value, else 1, \"MIDI input\")\n"
        "  --scan-version TEXT    scan core version, two characters (default 23)\n"
        "\n"
        "Timing and faults:\n"
        "  --wire-timing          pace every byte at 57 600 bit/s 8N1 both ways\n"
        "  --reply-delay-us US    from a line's CR to its reply (default 500)\n"
        "  --fault KIND           none, silent, garbage, no-cr or slow (default none)\n"
        "  --slow-ms MS           extra reply delay of the slow fault (default 700)\n"
        "  --ready-from-poll N    first answer the N-th readiness poll (default 1)\n"
        "\n"
        "MIDI input:\n"
        "  --midi-in PATH         take MIDI messages to inject from PATH, one a line:\n"
        "                         \"cc CHANNEL CONTROLLER VALUE\", \"note CHANNEL NOTE\n"
        "                         VELOCITY\", \"noteoff CHANNEL NOTE [VELOCITY]\"; a FIFO\n"
        "                         is made at PATH when nothing is there; - reads\n"
        "                         standard input\n"
        "\n"
        "Firmware update:\n"
        "  --reset-on-open        reset the board whenever a client opens the port,\n"
        "                         so that its boot loader comes up (firmware below\n"
        "                         3.52 has no command for it)\n"
        "  --make-firmware PATH   write a flash file PATH and its .eep twin that\n"
        "                         carry --firmware-text, then exit\n"
        "\n"
        "DataFlash:\n"
        "  --flash-dir DIR        keep what each DataFlash area holds in DIR across\n"
        "                         runs: fpga.bin, slot00.bin ... slot15.bin and\n"
        "                         listing.txt with their sizes and SHA-256 sums\n"
        "  --nak-every N          answer NAK to every N-th packet (default 0: never)\n"
        "  --can-every N          answer CAN to every N-th packet (default 0: never)\n"
        "  --packet-fault KIND    none, silent, garbage or slow packet answers\n"
        "  --hang-up-after-packet N\n"
        "                         close the terminal when the N-th packet has come\n"
        "                         (a cable pulled mid-transfer); the simulator ends\n"
        "  --dsp-fails            the copy into the reverb DSP (SFX=10) fails\n"
        "\n"
        "  --verbose              log every line and reply on standard error\n"
        "  -h, --help             show this text\n"
        "\n"
        "Bad options end the program with exit code 2.\n");
}
