#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "TestLink.h"
#include "RecordingHost.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "TBoardPolls.h"
#include "TLink.h"
#include "TZr5Com.h"

#include <QTest>

// The readiness polls on simulated time, against a board that answers from
// a chosen poll on (or never).
class TestBoardPolls : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void waitForBoard_data();
    void waitForBoard();
    void waitForBoardCancelled();
    void boardAlive_data();
    void boardAlive();

private:
    // Answers every query from the n-th on (0: never).
    void answerFromPoll(int n);
    int queries() const;

    std::unique_ptr<TestLink> m_t;
    std::shared_ptr<ScriptedDevice> m_device;
};

void TestBoardPolls::init()
{
    m_device = std::make_shared<ScriptedDevice>();
    m_t = std::make_unique<TestLink>(std::make_shared<ScriptedBackend>(m_device));
    QVERIFY(m_t->open());
}

void TestBoardPolls::cleanup()
{
    m_t.reset();
}

int TestBoardPolls::queries() const
{
    return int(m_device->allWritten().count("253?\r"));
}

void TestBoardPolls::answerFromPoll(int n)
{
    m_device->onWrite = [this, n](const QByteArray& bytes) {
        if (bytes == "253?\r" && n > 0 && queries() >= n)
            m_device->schedule("253=1 [ZR5 ready]\r", m_t->clock.nowMs() + 5);
    };
}

void TestBoardPolls::waitForBoard_data()
{
    QTest::addColumn<int>("answerFrom");
    QTest::addColumn<int>("polls");
    QTest::addColumn<bool>("timedOut");
    QTest::newRow("first poll") << 1 << 1 << false;
    QTest::newRow("fifth poll") << 5 << 5 << false;
    QTest::newRow("25th poll") << 25 << 25 << false;
    // The 26th answer comes too late: that poll is never looked at.
    QTest::newRow("26th poll") << 26 << 26 << true;
    QTest::newRow("27th poll") << 27 << 26 << true;
    QTest::newRow("never") << 0 << 26 << true;
}

void TestBoardPolls::waitForBoard()
{
    QFETCH(int, answerFrom);
    QFETCH(int, polls);
    QFETCH(bool, timedOut);
    answerFromPoll(answerFrom);
    const qint64 t0 = m_t->clock.nowMs();
    TBoardPolls(*m_t->com, m_t->host).WaitForBoard();
    QCOMPARE(queries(), polls);
    QCOMPARE(m_t->host.lines.contains("##### Warning: No response or process timed out"), timedOut);
    QCOMPARE(m_t->host.lines.size(), timedOut ? 1 : 0);
    QCOMPARE(m_t->host.waits.first(), 500);
    QCOMPARE(m_t->host.busyFlashes, polls);
    if (answerFrom == 0) {
        // 500 ms, then per poll its full reply wait and the 250 ms pause.
        const qint64 took = m_t->clock.nowMs() - t0;
        QVERIFY2(took >= 500 + 26 * 750 && took <= 500 + 26 * 752, qPrintable(QString::number(took)));
    }
}

void TestBoardPolls::waitForBoardCancelled()
{
    answerFromPoll(0);
    m_t->host.onWait = [this](int ms) {
        if (ms == 250 && queries() == 3)
            m_t->host.cancelFlag = 1;
    };
    TBoardPolls(*m_t->com, m_t->host).WaitForBoard();
    QCOMPARE(queries(), 3);
    QCOMPARE(m_t->host.lines, QStringList{"##### Warning: Process cancelled by user"});
}

void TestBoardPolls::boardAlive_data()
{
    QTest::addColumn<int>("answerFrom");
    QTest::addColumn<int>("polls");
    QTest::addColumn<bool>("alive");
    QTest::newRow("first") << 1 << 1 << true;
    QTest::newRow("third") << 3 << 3 << true;
    QTest::newRow("fourth is too late") << 4 << 4 << false;
    QTest::newRow("never") << 0 << 11 << false;
}

void TestBoardPolls::boardAlive()
{
    QFETCH(int, answerFrom);
    QFETCH(int, polls);
    QFETCH(bool, alive);
    answerFromPoll(answerFrom);
    m_t->host.cancelFlag = 1; // not looked at
    QCOMPARE(TBoardPolls(*m_t->com, m_t->host).BoardAlive(), alive);
    QCOMPARE(queries(), polls);
    QVERIFY(m_t->host.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestBoardPolls)
#include "tst_boardpolls.moc"
