#include "D2xxLibrary.h"
#include "RecordingHost.h"
#include "SerialPortBackend.h"
#include "TLink.h"
#include "TPageTable.h"
#include "TPageTableFile.h"
#include "TZr5Com.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <memory>

// The simulator program on a real pseudo-terminal, reached the way the
// program reaches a serial port named on its command line.
class TestPtyRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void roundTrip();
    void nonVolatileWriteSurvivesRestart();
    void factoryValuesFromDataFolder_data();
    void factoryValuesFromDataFolder();
    void stopSignals_data();
    void stopSignals();
    void staleLinkIsReplaced();
    void fileAtLinkPathIsKept();
    void clientCanReopen();
    void deadClientGivesThePortBack();
    void killedSimulatorGivesNoReply();
    void wireTimingPacesTheReply();
    void idleSimulatorUsesNoCpu();
    void commandLineOutcomes_data();
    void commandLineOutcomes();

private:
    QString linkPath() const { return m_dir->filePath(QStringLiteral("zr5")); }
    QString statePath() const { return m_dir->filePath(QStringLiteral("zr5.state")); }
    std::unique_ptr<QProcess> newProcess() const;
    // Starts the simulator on the test's link and state file; returns the pty path.
    QString startSim(const QStringList& extra = {});
    void stopSim(int signal = SIGTERM);
    void openLink();
    void closeLink();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_sim;
    std::unique_ptr<TLink> m_link;
    RecordingHost m_host;
    std::unique_ptr<TZr5Com> m_com;
};

void TestPtyRoundTrip::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestPtyRoundTrip::cleanup()
{
    closeLink();
    D2xxLibrary::instance().clearBackends();
    if (m_sim) {
        if (m_sim->state() != QProcess::NotRunning) {
            m_sim->kill();
            m_sim->waitForFinished(5000);
        }
        m_sim.reset();
    }
    m_dir.reset();
}

std::unique_ptr<QProcess> TestPtyRoundTrip::newProcess() const
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QStringLiteral(ZR5_BOARD_SIM));
#ifdef __linux__
    // Should this test die before its cleanup, the simulator goes with it.
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    return process;
}

QString TestPtyRoundTrip::startSim(const QStringList& extra)
{
    m_sim = newProcess();
    m_sim->setArguments(QStringList{"--link", linkPath(), "--state", statePath()} + extra);
    m_sim->start();
    if (!m_sim->waitForStarted(5000))
        return {};
    QElapsedTimer waited;
    waited.start();
    while (!m_sim->canReadLine() && waited.elapsed() < 5000)
        m_sim->waitForReadyRead(100);
    const QString path = QString::fromLocal8Bit(m_sim->readLine()).trimmed();
    return path;
}

void TestPtyRoundTrip::stopSim(int signal)
{
    ::kill(static_cast<pid_t>(m_sim->processId()), signal);
    QVERIFY(m_sim->waitForFinished(5000));
    QCOMPARE(m_sim->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_sim->exitCode(), 0);
}

void TestPtyRoundTrip::openLink()
{
    D2xxLibrary& lib = D2xxLibrary::instance();
    lib.clearBackends();
    // No sysfs tree: only the port named here is listed, whatever is plugged in.
    lib.addBackend(std::make_shared<SerialPortBackend>(QStringList{linkPath()},
                                                       m_dir->filePath(QStringLiteral("no-sys"))));
    m_link = std::make_unique<TLink>();
    m_link->BuildDeviceList();
    QCOMPARE(m_link->DeviceCount(), 1u);
    QCOMPARE(m_link->DeviceSerial(0), QString::fromLatin1(SerialPortBackend::extraPortSerial(0)));
    m_link->OpenDevice(0);
    QVERIFY(m_link->Connected());
    m_com = std::make_unique<TZr5Com>(*m_link, m_host);
}

void TestPtyRoundTrip::closeLink()
{
    m_com.reset();
    m_link.reset();
}

void TestPtyRoundTrip::roundTrip()
{
    const QString pty = startSim();
    QVERIFY2(pty.startsWith(QLatin1String("/dev/")), qPrintable(pty));
    QCOMPARE(QFileInfo(linkPath()).symLinkTarget(), pty);
    openLink();
    if (QTest::currentTestFailed())
        return;

    const QString ready = m_com->QueryParam(253);
    QVERIFY2(ready.contains(QLatin1String("253")), qPrintable(ready));
    QString reply;
    m_com->SetParam(477, 2, false, reply);
    QCOMPARE(reply, QStringLiteral("477=2\r"));
    QCOMPARE(m_com->GetParamInt(477), 2);
    QVERIFY(m_com->GetParamFloat(254) == 3.74);
}

void TestPtyRoundTrip::factoryValuesFromDataFolder_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::newRow("shipped table files") << true;
    QTest::newRow("folder without them") << false;
}

void TestPtyRoundTrip::factoryValuesFromDataFolder()
{
    QFETCH(bool, shipped);
    const QString data =
        shipped ? QStringLiteral(ZR5_DATA_DIR) : m_dir->filePath(QStringLiteral("no-data"));
    // What the organ page would show for the same file.
    TPageTable organ(0, 0);
    if (shipped)
        QVERIFY(TPageTableFile::read(data + "/zr5_organ_defaults.csv", organ).ok());

    QVERIFY(!startSim({"--data", data}).isEmpty());
    openLink();
    if (QTest::currentTestFailed())
        return;
    // Without the files the board still serves, with 477 at its usual 1.
    QCOMPARE(m_com->GetParamInt(477), shipped ? organ.OrganValueOf(477) : 1);
    QCOMPARE(m_com->GetParamInt(431), shipped ? organ.OrganValueOf(431) : 0);
    QVERIFY(!shipped || organ.OrganValueOf(431) != 0);

    m_sim->waitForReadyRead(100);
    const QString err = QString::fromLocal8Bit(m_sim->readAllStandardError());
    if (shipped)
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.contains(QLatin1String("zr5_organ_defaults.csv")), qPrintable(err));
}

void TestPtyRoundTrip::nonVolatileWriteSurvivesRestart()
{
    QVERIFY(!startSim().isEmpty());
    openLink();
    if (QTest::currentTestFailed())
        return;
    m_com->SetParam(481, 7, true);
    m_com->SetParam(492, 9, false);
    QCOMPARE(m_com->GetParamInt(481), 7);
    QCOMPARE(m_com->GetParamInt(492), 9);
    closeLink();
    stopSim();
    if (QTest::currentTestFailed())
        return;

    QVERIFY(!startSim().isEmpty());
    openLink();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_com->GetParamInt(481), 7);
    QCOMPARE(m_com->GetParamInt(492), 0);
}

void TestPtyRoundTrip::stopSignals_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestPtyRoundTrip::stopSignals()
{
    QFETCH(int, signal);
    QVERIFY(!startSim().isEmpty());
    QVERIFY(QFileInfo(linkPath()).isSymLink());
    stopSim(signal);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!QFileInfo(linkPath()).isSymLink());
}

void TestPtyRoundTrip::staleLinkIsReplaced()
{
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone")), linkPath()));
    const QString pty = startSim();
    QVERIFY(!pty.isEmpty());
    QCOMPARE(QFileInfo(linkPath()).symLinkTarget(), pty);
}

void TestPtyRoundTrip::fileAtLinkPathIsKept()
{
    QFile file(linkPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    m_sim = newProcess();
    m_sim->setArguments({"--link", linkPath()});
    m_sim->start();
    QVERIFY(m_sim->waitForFinished(5000));
    QCOMPARE(m_sim->exitCode(), 1);
    QVERIFY(m_sim->readAllStandardOutput().isEmpty());
    QVERIFY(m_sim->readAllStandardError().contains("not a symbolic link"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("mine"));
}

void TestPtyRoundTrip::clientCanReopen()
{
    QVERIFY(!startSim().isEmpty());
    for (int round = 0; round < 3; ++round) {
        openLink();
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(m_com->QueryParam(253).contains(QLatin1String("253")),
                 qPrintable(QString::number(round)));
        closeLink();
    }
}

void TestPtyRoundTrip::deadClientGivesThePortBack()
{
    const QString pty = startSim();
    QVERIFY(!pty.isEmpty());
    // A client that takes the port exclusively and goes without handing it back.
    const QByteArray name = pty.toLocal8Bit();
    int fd = ::open(name.constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QCOMPARE(::ioctl(fd, TIOCEXCL), 0);
    ::close(fd);

    // Root may open an exclusive terminal anyway, so ask the terminal itself.
    int exclusive = 1;
    QElapsedTimer waited;
    waited.start();
    while (exclusive && waited.elapsed() < 2000) {
        QThread::msleep(10);
        fd = ::open(name.constData(), O_RDWR | O_NOCTTY);
        if (fd < 0)
            continue; // still refused
        if (::ioctl(fd, TIOCGEXCL, &exclusive) != 0)
            QSKIP("this kernel cannot tell whether a terminal is exclusive");
        ::close(fd);
    }
    QCOMPARE(exclusive, 0);
    openLink();
}

void TestPtyRoundTrip::killedSimulatorGivesNoReply()
{
    QVERIFY(!startSim().isEmpty());
    openLink();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(m_com->QueryParam(253).contains(QLatin1String("253")));
    m_sim->kill();
    QVERIFY(m_sim->waitForFinished(5000));

    for (int i = 0; i < 2; ++i) {
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m_com->QueryParam(253), TZr5Com::NoReply);
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    }
    QElapsedTimer timer;
    timer.start();
    QString reply;
    m_com->SetParam(477, 1, false, reply);
    QCOMPARE(reply, TZr5Com::NoReply);
    QVERIFY(timer.elapsed() < 1500);
}

void TestPtyRoundTrip::wireTimingPacesTheReply()
{
    QVERIFY(!startSim({"--wire-timing", "--reply-delay-us", "0"}).isEmpty());
    openLink();
    if (QTest::currentTestFailed())
        return;
    QElapsedTimer timer;
    timer.start();
    const QString reply = m_com->QueryParam(9990);
    const qint64 spentUs = timer.nsecsElapsed() / 1000;
    QCOMPARE(reply, QStringLiteral("9990=0 [Owner: Brackwell]\r"));
    // "9990?" and CR out, 26 bytes back, 174 us each.
    QVERIFY2(spentUs >= (6 + 26) * 174, qPrintable(QString::number(spentUs)));
}

void TestPtyRoundTrip::idleSimulatorUsesNoCpu()
{
#ifndef __linux__
    QSKIP("reads the process's CPU time from /proc");
#endif
    QVERIFY(!startSim().isEmpty());
    const auto cpuTicks = [this]() -> qint64 {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_sim->processId()));
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray text = stat.readAll();
        // Fields after the command name, which is in parentheses.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return fields.value(11).toLongLong() + fields.value(12).toLongLong(); // utime, stime
    };
    const qint64 before = cpuTicks();
    QVERIFY(before >= 0);
    QThread::msleep(600);
    const qint64 spent = cpuTicks() - before;
    // A busy loop would take about 60 ticks (of 10 ms) here.
    QVERIFY2(spent <= 5, qPrintable(QString::number(spent)));
}

void TestPtyRoundTrip::commandLineOutcomes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--wire-timing"
                          << "";
    QTest::newRow("unknown fault") << QStringList{"--fault", "flaky"} << 2 << ""
                                   << "flaky";
    QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << ""
                                    << "colour";
}

void TestPtyRoundTrip::commandLineOutcomes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutHas);
    QFETCH(QString, stderrHas);
    m_sim = newProcess();
    m_sim->setArguments(arguments);
    m_sim->start();
    QVERIFY(m_sim->waitForFinished(5000));
    QCOMPARE(m_sim->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_sim->exitCode(), exitCode);
    const QString out = QString::fromLocal8Bit(m_sim->readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(m_sim->readAllStandardError());
    QVERIFY2(out.contains(stdoutHas), qPrintable(out));
    QVERIFY2(err.contains(stderrHas), qPrintable(err));
    if (exitCode != 0)
        QVERIFY2(out.isEmpty(), qPrintable(out));
}

QTEST_GUILESS_MAIN(TestPtyRoundTrip)
#include "tst_ptyroundtrip.moc"
