#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "RecordingHost.h"
#include "SimBoardBackend.h"
#include "TLink.h"
#include "TZr5Com.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>

using Fault = BoardOptions::Fault;

// The simulated board behind the real device layer and line layer, on
// simulated time: what the program itself will see of it.
class TestSimBoardLink : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readinessPoll();
    void volatileWrite();
    void nonVolatileWrite();
    void silentBoardCostsTheTimeout_data();
    void silentBoardCostsTheTimeout();
    void fpgaReloadFitsTheReplyWaits_data();
    void fpgaReloadFitsTheReplyWaits();
    void systemReset();
    void lateReplyWaitsInTheQueue();
    void replyWithoutCrIsNoReply();
    void boardComingUp();
    void unpluggedBoard();

private:
    void connectBoard(const BoardOptions& options = {});

    std::unique_ptr<FakeClock> m_clock;
    std::shared_ptr<BoardEngine> m_engine;
    std::shared_ptr<SimBoardBackend> m_backend;
    std::unique_ptr<TLink> m_link;
    RecordingHost m_host;
    std::unique_ptr<TZr5Com> m_com;
};

void TestSimBoardLink::init()
{
    m_clock = std::make_unique<FakeClock>();
}

void TestSimBoardLink::cleanup()
{
    m_com.reset();
    m_link.reset();
    D2xxLibrary::instance().clearBackends();
    m_backend.reset();
    m_engine.reset();
    m_clock.reset();
}

void TestSimBoardLink::connectBoard(const BoardOptions& options)
{
    m_engine = std::make_shared<BoardEngine>(options);
    m_backend = std::make_shared<SimBoardBackend>(m_engine);
    D2xxLibrary::instance().clearBackends();
    D2xxLibrary::instance().addBackend(m_backend);
    m_link = std::make_unique<TLink>();
    m_link->BuildDeviceList();
    QCOMPARE(m_link->DeviceCount(), 1u);
    QCOMPARE(m_link->DeviceSerial(0), QString::fromLatin1(SimBoardBackend::kSerial));
    m_link->OpenDevice(0);
    QVERIFY(m_link->Connected());
    m_com = std::make_unique<TZr5Com>(*m_link, m_host);
}

void TestSimBoardLink::readinessPoll()
{
    connectBoard();
    if (QTest::currentTestFailed())
        return;
    const qint64 start = m_clock->nowMs();
    const QString reply = m_com->QueryParam(253);
    QVERIFY2(reply.contains(QLatin1String("253")), qPrintable(reply));
    QVERIFY(m_clock->nowMs() - start <= 2);
}

void TestSimBoardLink::volatileWrite()
{
    connectBoard();
    if (QTest::currentTestFailed())
        return;
    QString reply;
    m_com->SetParam(477, 2, false, reply);
    QCOMPARE(reply, QStringLiteral("477=2\r"));
    QCOMPARE(m_com->GetParamInt(477), 2);
    QVERIFY(!m_engine->isNonVolatile(477));
    QCOMPARE(m_engine->receivedLines().size(), 2);
    QCOMPARE(m_engine->receivedLines().at(0).text, QByteArray("477=2!"));
}

void TestSimBoardLink::nonVolatileWrite()
{
    connectBoard();
    if (QTest::currentTestFailed())
        return;
    QString reply;
    m_com->SetParam(481, 7, true, reply);
    QCOMPARE(reply, QStringLiteral("481=7\r")); // the answer to wen=1 was purged
    QVERIFY(m_engine->isNonVolatile(481));
    m_engine->reset();
    QCOMPARE(m_com->GetParamInt(481), 7);
}

void TestSimBoardLink::silentBoardCostsTheTimeout_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("timeoutMs");
    QTest::newRow("query") << false << 500;
    QTest::newRow("write") << true << 200;
}

void TestSimBoardLink::silentBoardCostsTheTimeout()
{
    QFETCH(bool, write);
    QFETCH(int, timeoutMs);
    BoardOptions o;
    o.fault = Fault::Silent;
    connectBoard(o);
    if (QTest::currentTestFailed())
        return;
    QElapsedTimer real;
    real.start();
    const qint64 start = m_clock->nowMs();
    QString reply;
    if (write)
        m_com->SetParam(600, 1, false, reply);
    else
        reply = m_com->QueryParam(253);
    QCOMPARE(reply, TZr5Com::NoReply);
    // The wait ends on the first tick past its deadline.
    const qint64 spent = m_clock->nowMs() - start;
    QVERIFY2(spent >= timeoutMs && spent <= timeoutMs + 1, qPrintable(QString::number(spent)));
    QVERIFY(real.elapsed() < 200);
}

void TestSimBoardLink::fpgaReloadFitsTheReplyWaits_data()
{
    QTest::addColumn<QString>("fpga");
    QTest::addColumn<int>("status");
    QTest::newRow("valid configuration") << "24061201" << 1;
    QTest::newRow("no configuration") << "00000000" << -1;
}

void TestSimBoardLink::fpgaReloadFitsTheReplyWaits()
{
    QFETCH(QString, fpga);
    QFETCH(int, status);
    BoardOptions o;
    o.fpgaVersion = fpga;
    connectBoard(o);
    if (QTest::currentTestFailed())
        return;
    // The identification's exchange: the query, then its 1000 ms waits.
    QCOMPARE(TZr5Com::ParseIntReply(m_com->QueryParam(9998)), 0);
    QCOMPARE(TZr5Com::ParseIntReply(m_com->ReadReply(1000)), status);
    QCOMPARE(m_com->ReadReply(1000), TZr5Com::NoReply);
}

void TestSimBoardLink::systemReset()
{
    connectBoard();
    if (QTest::currentTestFailed())
        return;
    m_com->SetParam(610, 3, false);
    QCOMPARE(TZr5Com::ParseIntReply(m_com->QueryParam(9999)), 0);
    QCOMPARE(m_com->ReadReply(3000), QStringLiteral("9999=1 [ZR5 ready]\r"));
    QVERIFY(m_com->QueryParam(253).contains(QLatin1String("253")));
    QCOMPARE(m_com->GetParamInt(610), 0);
}

void TestSimBoardLink::lateReplyWaitsInTheQueue()
{
    BoardOptions o;
    o.fault = Fault::Slow;
    o.slowMs = 700;
    connectBoard(o);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_com->QueryParam(9952), TZr5Com::NoReply);
    // Still on its way at the timeout, so the next read gets it...
    QCOMPARE(m_com->ReadReply(1000), QStringLiteral("9952=1234\r"));

    QCOMPARE(m_com->QueryParam(9952), TZr5Com::NoReply);
    // ...and a prompt board's next answer is not mistaken for it: the late
    // line arrives after the new one.
    m_engine->options().fault = Fault::None;
    QCOMPARE(m_com->QueryParam(9990), QStringLiteral("9990=0 [Owner: Brackwell]\r"));
    QCOMPARE(m_com->ReadReply(1000), QStringLiteral("9952=1234\r"));
}

void TestSimBoardLink::replyWithoutCrIsNoReply()
{
    BoardOptions o;
    o.fault = Fault::NoCr;
    connectBoard(o);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_com->QueryParam(253), TZr5Com::NoReply);
}

void TestSimBoardLink::boardComingUp()
{
    BoardOptions o;
    o.readyFromPoll = 3;
    connectBoard(o);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_com->QueryParam(253), TZr5Com::NoReply);
    QCOMPARE(m_com->QueryParam(253), TZr5Com::NoReply);
    QVERIFY(m_com->QueryParam(253).contains(QLatin1String("253")));
}

void TestSimBoardLink::unpluggedBoard()
{
    connectBoard();
    if (QTest::currentTestFailed())
        return;
    m_backend->setPlugged(false);
    const qint64 start = m_clock->nowMs();
    QCOMPARE(m_com->QueryParam(253), TZr5Com::NoReply);
    QVERIFY(m_clock->nowMs() - start <= 502);
    m_link->BuildDeviceList();
    QCOMPARE(m_link->DeviceCount(), 0u);
}

QTEST_GUILESS_MAIN(TestSimBoardLink)
#include "tst_simboardlink.moc"
