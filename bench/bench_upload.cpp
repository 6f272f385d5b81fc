// bench_upload: throughput of a DataFlash upload against the line speed.
//
// Starts zr5-board-sim with --wire-timing (every byte paced at 57 600 bit/s)
// and a flash folder, connects to its pseudo-terminal the way the program
// does (serial back end, device list, open) and uploads an image with the
// program's own block transfer into a DataFlash slot. Each 128-byte block
// travels in a 132-byte packet and is answered with one byte, so the line
// carries at most 128 payload bytes per 133 byte times; the bench prints the
// payload rate of the block stream, its ratio to that limit and the CPU share
// of the process while it ran, and checks that the slot holds the image.
//
//   bench_upload [--sim PATH] [--kib N] [--slot N] [-- SIMULATOR-OPTIONS...]
//
// Exit code: 0 when the image arrived whole and the ratio reached the target,
// 1 when not, 2 when the measurement could not be made.

#include "Clock.h"
#include "BenchPort.h"
#include "D2xxLibrary.h"
#include "OperationHost.h"
#include "Prompter.h"
#include "SerialPortBackend.h"
#include "TBlockTransfer.h"
#include "TFileBuffer.h"
#include "TLink.h"
#include "TSimulatorProcess.h"
#include "TZr5Com.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <time.h>

#include <cstdio>
#include <memory>

namespace {

constexpr double kTargetRatio = 0.90;
constexpr double kBitsPerByte = 10.0; // 8N1: start bit, 8 data bits, stop bit
constexpr double kBitRate = 57600.0;
constexpr double kPayload = 128.0;
constexpr double kBytesPerBlock = 132.0 + 1.0; // the packet and its answer

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

int fail(const QString& text)
{
    std::fprintf(stderr, "bench_upload: %s\n", qPrintable(text));
    return 2;
}

// The window's part without a window: waits really wait, console lines are
// kept for the report. It notes when the block stream starts (the transfer
// sets the progress maximum to the last block right before the first packet)
// and ends (the first pause after it, once EOT is acknowledged).
class BenchHost : public OperationHost
{
public:
    void WaitMs(int ms) override
    {
        if (m_streaming && m_endNs < 0) {
            m_endNs = m_wall.nsecsElapsed();
            m_cpuEnd = processCpuSeconds();
        }
        Clock::current().sleepMs(ms);
    }
    void FlashBusyLed() override { ++flashes; }
    void ConsoleLine(const QString& text) override { lines << text; }
    void VerboseLine(const QString& text) override { lines << text; }
    void ReportDone() override {}
    void ReportCancelled() override { lines << QStringLiteral("cancelled"); }
    void ReportTimedOut() override { lines << QStringLiteral("timed out"); }
    bool CancelRequested() const override { return false; }
    void SetCancelFlag(int) override {}
    void SetProgress(int position) override { lastProgress = position; }
    void SetProgressMax(int maximum) override
    {
        // The first call is the file read's; the transfer's comes after DFX.
        if (++m_maxCalls == 2) {
            m_streaming = true;
            m_wall.start();
            m_cpuStart = processCpuSeconds();
            lastBlock = maximum;
        }
    }

    double streamSeconds() const { return m_endNs > 0 ? double(m_endNs) * 1e-9 : 0.0; }
    double streamCpuSeconds() const { return m_cpuEnd - m_cpuStart; }

    QStringList lines;
    int flashes = 0;
    int lastProgress = 0;
    int lastBlock = -1;

private:
    QElapsedTimer m_wall;
    bool m_streaming = false;
    int m_maxCalls = 0;
    qint64 m_endNs = -1;
    double m_cpuStart = 0;
    double m_cpuEnd = 0;
};

class CountingPrompter : public Prompter
{
public:
    Answer MessageBox(Icon, const QString& text, Buttons) override
    {
        boxes << text;
        return Answer::Ok;
    }
    QString OpenFileName(const FileRequest&) override { return {}; }
    QString SaveFileName(const FileRequest&) override { return {}; }
    QStringList boxes;
};

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QCoreApplication app(argc, argv);

    QString simPath =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zr5-board-sim"));
    int kib = 256;
    int slot = 5;
    QStringList extraArgs;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--sim") && hasValue) {
            simPath = args.at(++i);
        } else if (a == QLatin1String("--kib") && hasValue) {
            kib = args.at(++i).toInt();
        } else if (a == QLatin1String("--slot") && hasValue) {
            slot = args.at(++i).toInt();
        } else if (a == QLatin1String("--")) {
            extraArgs = args.mid(i + 1);
            break;
        } else {
            std::fprintf(stderr, "usage: bench_upload [--sim PATH] [--kib N] [--slot N]"
                                 " [-- SIMULATOR-OPTIONS...]\n");
            return 2;
        }
    }
    if (kib <= 0 || kib > 4096)
        return fail(QStringLiteral("--kib must be 1 to 4096"));
    if (slot < 0 || slot > 15)
        return fail(QStringLiteral("--slot must be 0 to 15"));
    if (!QFileInfo(simPath).isExecutable())
        return fail(QStringLiteral("no simulator at %1 (build it: cmake --build build "
                                   "--target zr5-board-sim)")
                        .arg(simPath));

    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("cannot make a temporary folder"));
    const QString flashDir = dir.filePath(QStringLiteral("flash"));
    QByteArray image(qsizetype(kib) * 1024, '\0');
    QRandomGenerator random(20240612);
    for (char& c : image)
        c = static_cast<char>(random.bounded(256));
    const QString imagePath = dir.filePath(QStringLiteral("image.dat"));
    {
        QFile f(imagePath);
        if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size())
            return fail(QStringLiteral("cannot write %1").arg(imagePath));
    }

    const QStringList simArgs =
        QStringList{QStringLiteral("--wire-timing"), QStringLiteral("--flash-dir"), flashDir} +
        extraArgs;
    TSimulatorProcess sim(simPath);
    if (!sim.Start(simArgs))
        return fail(sim.Error());

    TLink link;
    if (const QString problem = OpenSimulatorPort(link, sim.PortPath()); !problem.isEmpty())
        return fail(problem);

    BenchHost host;
    CountingPrompter prompter;
    TZr5Com com(link, host);
    if (!SimulatorAnswers(com))
        return fail(QStringLiteral("the simulator on %1 does not answer 253?").arg(sim.PortPath()));

    auto buffer = std::make_unique<TFileBuffer>();
    TBlockTransfer transfer(com, host, prompter, *buffer);

    std::printf("bench_upload: %d KiB into slot %d of %s %s\n", kib, slot,
                qPrintable(QFileInfo(simPath).fileName()), qPrintable(simArgs.join(' ')));
    QElapsedTimer whole;
    whole.start();
    transfer.TransferFile(imagePath, slot);
    const double wholeS = double(whole.nsecsElapsed()) * 1e-9;
    com.SendCommand(QStringLiteral("DFS=1!"), 100);

    const int blocks = host.lastBlock + 1;
    const double streamS = host.streamSeconds();
    const double cpuS = host.streamCpuSeconds();
    const double payload = double(blocks) * kPayload;
    const double limit = kPayload * kBitRate / (kBitsPerByte * kBytesPerBlock);
    const double rate = streamS > 0 ? payload / streamS : 0.0;
    const double ratio = rate / limit;
    const double percent = streamS > 0 ? 100.0 * cpuS / streamS : 0.0;

    QFile stored(
        QDir(flashDir).filePath(QStringLiteral("slot%1.bin").arg(slot, 2, 10, QChar('0'))));
    const bool whole_ = stored.open(QIODevice::ReadOnly) && stored.readAll() == image;

    std::printf("  blocks          %8d  (%0.f payload bytes)\n", blocks, payload);
    std::printf("  block stream    %8.3f s  (%.2f ms per block; the wire needs %.2f)\n", streamS,
                blocks > 0 ? 1000.0 * streamS / blocks : 0.0,
                1000.0 * kBytesPerBlock * kBitsPerByte / kBitRate);
    std::printf("  whole transfer  %8.3f s  (readiness waits, erase and closing included)\n",
                wholeS);
    std::printf("  payload rate    %8.0f bytes/s  wire limit %.0f bytes/s\n", rate, limit);
    std::printf("  ratio           %8.3f  target >= %.2f: %s\n", ratio, kTargetRatio,
                ratio >= kTargetRatio ? "met" : "NOT met");
    std::printf("  CPU / wall      %8.2f %%  during the block stream\n", percent);
    std::printf("  slot %-2d         %s\n", slot,
                whole_ ? "holds the image exactly" : "does NOT hold the image");
    for (const QString& line : host.lines) {
        if (line.startsWith(QLatin1String("#####")))
            std::printf("  %s\n", qPrintable(line));
    }
    for (const QString& box : prompter.boxes)
        std::printf("  box: %s\n", qPrintable(QString(box).replace('\n', ' ')));

    link.ReleaseFtdi();
    sim.Stop();
    const bool ok = whole_ && ratio >= kTargetRatio;
    std::printf("bench_upload: %s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
