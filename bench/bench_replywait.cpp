// bench_replywait: CPU use of the reply waits.
//
// Starts zr5-board-sim with --wire-timing (every byte paced at 57 600 bit/s),
// connects to its pseudo-terminal the way the program does (serial back end,
// device list, open) and sends a page of parameter queries. While a query
// waits for its reply the line is idle almost all of the time, so a wait that
// sleeps on the device keeps the process CPU time to a few percent of the wall
// time; a wait that polls the driver in a loop burns a whole core and shows up
// here as close to 100 %.
//
//   bench_replywait [--sim PATH] [--first N] [--count N] [-- SIMULATOR-OPTIONS...]
//
// Exit code: 0 when every reply was real and the CPU share stayed below the
// target, 1 when not, 2 when the measurement could not be made.

#include "BenchPort.h"
#include "D2xxLibrary.h"
#include "OperationHost.h"
#include "SerialPortBackend.h"
#include "TLink.h"
#include "TSimulatorProcess.h"
#include "TZr5Com.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr double kTargetPercent = 5.0;
constexpr double kBitsPerByte = 10.0; // 8N1: start bit, 8 data bits, stop bit
constexpr double kBitRate = 57600.0;

// Queries need no window; nothing here is ever asked of the host.
class QuietHost : public OperationHost
{
public:
    void WaitMs(int) override {}
    void FlashBusyLed() override {}
    void ConsoleLine(const QString&) override {}
    void VerboseLine(const QString&) override {}
    void ReportDone() override {}
    void ReportCancelled() override {}
    void ReportTimedOut() override {}
    bool CancelRequested() const override { return false; }
    void SetCancelFlag(int) override {}
    void SetProgress(int) override {}
    void SetProgressMax(int) override {}
};

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double seconds(const timeval& tv)
{
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6;
}

int fail(const QString& text)
{
    std::fprintf(stderr, "bench_replywait: %s\n", qPrintable(text));
    return 2;
}

// A reply line the board really sent: not the no-reply text, ended by its CR,
// with the value after an "=".
bool isRealReply(const QString& reply)
{
    return reply != TZr5Com::NoReply && reply.endsWith(QLatin1Char('\r'))
           && reply.contains(QLatin1Char('='));
}

QString printable(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
}

} // namespace

int main(int argc, char** argv)
{
    // Line by line even into a pipe, so that results and errors keep their order.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QCoreApplication app(argc, argv);

    QString simPath = QDir(QCoreApplication::applicationDirPath())
                          .filePath(QStringLiteral("zr5-board-sim"));
    // The upper preset table, parameters 1000 to 1255: one page read of the program.
    int first = 1000;
    int count = 256;
    QStringList simArgs{QStringLiteral("--wire-timing")};

    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--sim") && hasValue) {
            simPath = args.at(++i);
        } else if (a == QLatin1String("--first") && hasValue) {
            first = args.at(++i).toInt();
        } else if (a == QLatin1String("--count") && hasValue) {
            count = args.at(++i).toInt();
        } else if (a == QLatin1String("--")) {
            simArgs += args.mid(i + 1);
            break;
        } else {
            std::fprintf(stderr,
                         "usage: bench_replywait [--sim PATH] [--first N] [--count N]"
                         " [-- SIMULATOR-OPTIONS...]\n");
            return 2;
        }
    }
    if (count <= 0)
        return fail(QStringLiteral("--count must be positive"));
    if (!QFileInfo(simPath).isExecutable())
        return fail(QStringLiteral("no simulator at %1 (build it: cmake --build build "
                                   "--target zr5-board-sim)")
                        .arg(simPath));

    TSimulatorProcess sim(simPath);
    if (!sim.Start(simArgs))
        return fail(sim.Error());

    TLink link;
    if (const QString problem = OpenSimulatorPort(link, sim.PortPath()); !problem.isEmpty())
        return fail(problem);

    QuietHost host;
    TZr5Com com(link, host);

    if (!SimulatorAnswers(com))
        return fail(QStringLiteral("the simulator on %1 does not answer 253?").arg(sim.PortPath()));

    std::printf("bench_replywait: %d queries (parameters %d to %d) to %s %s\n", count, first,
                first + count - 1, qPrintable(QFileInfo(simPath).fileName()),
                qPrintable(simArgs.join(QLatin1Char(' '))));
    std::printf("  port %s\n", qPrintable(sim.PortPath()));

    int real = 0;
    QString firstBad;
    qint64 wireBytes = 0;
    double slowestMs = 0;
    double fastestMs = 1e9;
    long long valueSum = 0;

    rusage ruBefore{};
    getrusage(RUSAGE_SELF, &ruBefore);
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();

    for (int i = 0; i < count; ++i) {
        const int number = first + i;
        const qint64 t0 = wall.nsecsElapsed();
        const QString reply = com.QueryParam(number);
        const double ms = static_cast<double>(wall.nsecsElapsed() - t0) * 1e-6;
        slowestMs = std::max(slowestMs, ms);
        fastestMs = std::min(fastestMs, ms);
        // The query line out and the reply line back.
        wireBytes += QByteArray::number(number).size() + 2 + reply.size();
        if (isRealReply(reply)) {
            ++real;
            valueSum += TZr5Com::ParseIntReply(reply); // what GetParamInt returns
        } else if (firstBad.isEmpty()) {
            firstBad = QStringLiteral("%1? -> \"%2\"").arg(number).arg(printable(reply));
        }
    }

    const double wallS = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
    const double cpuS = processCpuSeconds() - cpuBefore;
    rusage ruAfter{};
    getrusage(RUSAGE_SELF, &ruAfter);
    const double userS = seconds(ruAfter.ru_utime) - seconds(ruBefore.ru_utime);
    const double sysS = seconds(ruAfter.ru_stime) - seconds(ruBefore.ru_stime);
    const double percent = wallS > 0 ? 100.0 * cpuS / wallS : 0.0;
    const double wireS = static_cast<double>(wireBytes) * kBitsPerByte / kBitRate;

    std::printf("  wall time      %8.3f s  (%.2f ms per query, fastest %.2f, slowest %.2f)\n",
                wallS, 1000.0 * wallS / count, fastestMs, slowestMs);
    std::printf("  bytes on wire  %8.3f s  at 57 600 bit/s (%lld bytes)\n", wireS,
                static_cast<long long>(wireBytes));
    std::printf("  CPU time       %8.3f s  (user %.3f s, sys %.3f s)\n", cpuS, userS, sysS);
    std::printf("  CPU / wall     %8.2f %%  target < %.0f %%: %s\n", percent, kTargetPercent,
                percent < kTargetPercent ? "met" : "NOT met");
    std::printf("  replies        %d of %d real%s%s  (sum of values %lld)\n", real, count,
                real == count ? "" : ", first missing: ", qPrintable(firstBad), valueSum);

    // Without the pacing the waits are too short for the share to mean much.
    if (wallS < 0.8 * wireS || wallS * 1000.0 / count < 1.0)
        std::printf("  warning: the replies came faster than the line speed allows; "
                    "is --wire-timing in effect?\n");

    link.ReleaseFtdi();
    sim.Stop();

    const bool ok = real == count && percent < kTargetPercent;
    std::printf("bench_replywait: %s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
