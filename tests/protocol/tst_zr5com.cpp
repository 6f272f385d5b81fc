#include "D2xxLibrary.h"
#include "EZr5Error.h"
#include "FakeClock.h"
#include "TestLink.h"
#include "RecordingHost.h"
#include "ScriptedBackend.h"
#include "ScriptedDevice.h"
#include "TLink.h"
#include "TZr5Com.h"

#include <QLocale>
#include <QTest>

// The line layer against a scripted device on simulated time: every byte on
// the wire and every deadline is checked to the millisecond.
class TestZr5Com : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parseIntReply_data();
    void parseIntReply();
    void parseFloatReply_data();
    void parseFloatReply();
    void parseFloatReplyIgnoresSystemLocale();
    void parseFloatReplyRaisesOnNonNumbers_data();
    void parseFloatReplyRaisesOnNonNumbers();

    void setParamBytesOnTheWire_data();
    void setParamBytesOnTheWire();
    void setParamWhileDisconnectedSendsNothing();
    void setParamDropsTheWriteEnableAnswer();

    void replyDeadline_data();
    void replyDeadline();
    void partialReplyIsDroppedAndLateBytesWait();
    void queryParamDiscardsWaitingBytes();
    void sendCommandEmptiesQueueAndReadsOneLine();
    void replyOfSeveralLines();
    void sendLineOnlyWhileConnected();
    void readByte();
    void withoutWrapperNothingIsSentAndNoReplyComes();
    void errorsCountAndReset();

private:
    QString queryAfter(const QByteArray& reply, qint64 delayMs);

    std::unique_ptr<TestLink> m_t;
    std::shared_ptr<ScriptedDevice> m_device;
};

void TestZr5Com::init()
{
    m_device = std::make_shared<ScriptedDevice>();
    m_t = std::make_unique<TestLink>(std::make_shared<ScriptedBackend>(m_device));
    QVERIFY(m_t->open());
    m_device->written.clear();
    m_device->purges.clear();
}

void TestZr5Com::cleanup()
{
    m_t.reset();
}

void TestZr5Com::parseIntReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("value");
    QTest::newRow("value and CR") << "477=12\r" << 12;
    QTest::newRow("value ends at first space") << "477=12 [scan core]\r" << 12;
    QTest::newRow("negative") << "9998=-1 [missing]\r" << -1;
    QTest::newRow("no reply loses last digit") << TZr5Com::NoReply << -999;
    QTest::newRow("lone equals sign") << "=\r" << 0;
    QTest::newRow("letters without equals") << "abc\r" << 0;
    QTest::newRow("digits without equals") << "253\r" << 253;
    QTest::newRow("space before equals") << "a b=5\r" << 0;
    QTest::newRow("second equals is part of value") << "1=2=3\r" << 0;
    QTest::newRow("hexadecimal is no number") << "5=$10\r" << 0;
    QTest::newRow("empty text") << "" << 0;
    QTest::newRow("no CR drops last character") << "477=12" << 1;
}

void TestZr5Com::parseIntReply()
{
    QFETCH(QString, reply);
    QFETCH(int, value);
    QCOMPARE(TZr5Com::ParseIntReply(reply), value);
}

void TestZr5Com::parseFloatReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<double>("value");
    QTest::newRow("firmware") << "254=3.62\r" << 3.62;
    QTest::newRow("firmware with text") << "254=3.74 [Ver, ZR5 Firmware 3.74]\r" << 3.74;
    QTest::newRow("integer") << "254=4\r" << 4.0;
    QTest::newRow("no reply") << TZr5Com::NoReply << -999.0;
}

void TestZr5Com::parseFloatReply()
{
    QFETCH(QString, reply);
    QFETCH(double, value);
    QCOMPARE(TZr5Com::ParseFloatReply(reply), value);
}

void TestZr5Com::parseFloatReplyIgnoresSystemLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const double value = TZr5Com::ParseFloatReply(QStringLiteral("254=3.62\r"));
    bool raised = false;
    try {
        TZr5Com::ParseFloatReply(QStringLiteral("254=3,62\r"));
    } catch (const EZr5Error&) {
        raised = true;
    }
    QLocale::setDefault(saved);
    QCOMPARE(value, 3.62);
    QVERIFY2(raised, "a comma is no decimal separator on the wire");
}

void TestZr5Com::parseFloatReplyRaisesOnNonNumbers_data()
{
    QTest::addColumn<QString>("reply");
    QTest::newRow("word") << "254=abc\r";
    QTest::newRow("empty value") << "254=\r";
    QTest::newRow("lone equals") << "=\r";
    QTest::newRow("thousands separator") << "254=1,000\r";
}

void TestZr5Com::parseFloatReplyRaisesOnNonNumbers()
{
    QFETCH(QString, reply);
    QVERIFY_THROWS_EXCEPTION(EZr5Error, TZr5Com::ParseFloatReply(reply));
}

void TestZr5Com::setParamBytesOnTheWire_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("nonVolatile");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("volatile") << 477 << 2 << false << QByteArray("477=2!\r");
    QTest::newRow("negative value") << 3005 << -1 << false << QByteArray("3005=-1!\r");
    QTest::newRow("zero") << 909 << 0 << false << QByteArray("909=0!\r");
    QTest::newRow("non-volatile") << 477 << 2 << true << QByteArray("wen=1\r477=2!\r");
}

void TestZr5Com::setParamBytesOnTheWire()
{
    QFETCH(int, number);
    QFETCH(int, value);
    QFETCH(bool, nonVolatile);
    QFETCH(QByteArray, bytes);

    QString reply;
    m_t->com->SetParam(number, value, nonVolatile, reply);
    QCOMPARE(m_device->allWritten(), bytes);
    QCOMPARE(reply, TZr5Com::NoReply);
    if (nonVolatile) {
        QCOMPARE(m_device->written.size(), 2);
        QCOMPARE(m_device->written[0].bytes, QByteArray("wen=1\r"));
        QVERIFY(m_device->written[1].atMs - m_device->written[0].atMs >= 20);
        QCOMPARE(m_t->host.waits, QList<int>{20});
    } else {
        QCOMPARE(m_device->written.size(), 1);
        QVERIFY(m_t->host.waits.isEmpty());
    }
}

void TestZr5Com::setParamWhileDisconnectedSendsNothing()
{
    m_t->link->setConnected(false);
    QString reply = QStringLiteral("unchanged");
    m_t->com->SetParam(477, 2, true, reply);
    m_t->com->SendLine(QStringLiteral("DFS=1!"));
    QCOMPARE(reply, QStringLiteral("unchanged"));
    QVERIFY(m_device->written.isEmpty());
    QVERIFY(m_t->host.waits.isEmpty());
}

void TestZr5Com::setParamDropsTheWriteEnableAnswer()
{
    const qint64 t0 = m_t->clock.nowMs();
    m_device->schedule("wen=1\r", t0 + 5);
    m_device->schedule("477=2\r", t0 + 30);
    QString reply;
    m_t->com->SetParam(477, 2, true, reply);
    QCOMPARE(reply, QStringLiteral("477=2\r"));
}

QString TestZr5Com::queryAfter(const QByteArray& reply, qint64 delayMs)
{
    m_device->schedule(reply, m_t->clock.nowMs() + delayMs);
    return m_t->com->QueryParam(253);
}

void TestZr5Com::replyDeadline_data()
{
    QTest::addColumn<qint64>("delayMs");
    QTest::addColumn<QString>("result");
    QTest::newRow("next millisecond") << qint64(1) << "253=1\r";
    QTest::newRow("well within") << qint64(120) << "253=1\r";
    QTest::newRow("CR exactly at the deadline") << qint64(500) << "253=1\r";
    QTest::newRow("CR just after the deadline") << qint64(501) << TZr5Com::NoReply;
    QTest::newRow("far too late") << qint64(2000) << TZr5Com::NoReply;
}

void TestZr5Com::replyDeadline()
{
    QFETCH(qint64, delayMs);
    QFETCH(QString, result);
    const qint64 t0 = m_t->clock.nowMs();
    QCOMPARE(queryAfter("253=1\r", delayMs), result);
    // A missing reply costs the whole wait and not a millisecond more than
    // one clock step past it.
    if (result == TZr5Com::NoReply)
        QVERIFY(m_t->clock.nowMs() - t0 >= 500 && m_t->clock.nowMs() - t0 <= 502);
}

void TestZr5Com::partialReplyIsDroppedAndLateBytesWait()
{
    const qint64 t0 = m_t->clock.nowMs();
    m_device->schedule("477=1", t0 + 10);
    m_device->schedule("2\r", t0 + 700);
    QCOMPARE(m_t->com->ReadReply(500), TZr5Com::NoReply);
    // What came after the deadline is still queued for the next read.
    QCOMPARE(m_t->com->ReadReply(500), QStringLiteral("2\r"));
}

void TestZr5Com::queryParamDiscardsWaitingBytes()
{
    const qint64 t0 = m_t->clock.nowMs();
    m_device->schedule("stale=7\r", t0);
    m_device->schedule("481=3\r", t0 + 5);
    m_t->clock.advance(1);
    QCOMPARE(m_t->com->GetParamInt(481), 3);
    QCOMPARE(m_device->allWritten(), QByteArray("481?\r"));
    QCOMPARE(m_device->purges.first(), d2xx::PurgeRx);
}

void TestZr5Com::sendCommandEmptiesQueueAndReadsOneLine()
{
    const qint64 t0 = m_t->clock.nowMs();
    m_device->schedule("old\r", t0);
    m_device->schedule("DFS ok\r", t0 + 3);
    m_t->clock.advance(1);
    QCOMPARE(m_t->com->SendCommand(QStringLiteral("DFS=1!"), 100), QStringLiteral("DFS ok\r"));
    QCOMPARE(m_device->allWritten(), QByteArray("DFS=1!\r"));
    QCOMPARE(m_device->purges, QList<quint32>{d2xx::PurgeRx});
}

void TestZr5Com::replyOfSeveralLines()
{
    const qint64 t0 = m_t->clock.nowMs();
    m_device->schedule("9998=0 [FPGA reload]\r9998=1 [FPGA loaded]\r", t0 + 4);
    QCOMPARE(m_t->com->QueryParam(9998), QStringLiteral("9998=0 [FPGA reload]\r"));
    QCOMPARE(m_t->com->ReadReply(1000), QStringLiteral("9998=1 [FPGA loaded]\r"));
    QCOMPARE(m_t->com->ReadReply(100), TZr5Com::NoReply);
}

void TestZr5Com::sendLineOnlyWhileConnected()
{
    m_t->com->SendLine(QStringLiteral("9980=0"));
    QCOMPARE(m_device->allWritten(), QByteArray("9980=0\r"));
    QVERIFY(m_device->purges.isEmpty());
}

void TestZr5Com::readByte()
{
    const qint64 t0 = m_t->clock.nowMs();
    m_device->schedule(QByteArray(1, '\x06'), t0 + 30);
    QCOMPARE(m_t->com->ReadByte(), quint8(0x06));
    QCOMPARE(m_t->clock.nowMs(), t0 + 30);

    const qint64 t1 = m_t->clock.nowMs();
    QCOMPARE(m_t->com->ReadByte(), quint8(0));
    QVERIFY(m_t->clock.nowMs() - t1 > 500);

    m_t->com->SendByte(0x04);
    QCOMPARE(m_device->allWritten(), QByteArray(1, '\x04'));
}

void TestZr5Com::withoutWrapperNothingIsSentAndNoReplyComes()
{
    m_t->link->ReleaseFtdi();
    QCOMPARE(m_t->com->QueryParam(253), TZr5Com::NoReply);
    QCOMPARE(m_t->com->ReadReply(100), TZr5Com::NoReply);
    QCOMPARE(m_t->com->ReadByte(), quint8(0));
    QVERIFY(m_device->written.isEmpty());
}

void TestZr5Com::errorsCountAndReset()
{
    QCOMPARE(m_t->com->ErrorKind(), TErrorKind::noErr);
    m_t->com->SetError(TErrorKind::SyncErr);
    m_t->com->SetError(TErrorKind::CancelErr);
    QCOMPARE(m_t->com->ErrorKind(), TErrorKind::CancelErr);
    QCOMPARE(m_t->com->ErrorCount(), 2);
    m_t->com->SetErrorKind(TErrorKind::SyncErr);
    QCOMPARE(m_t->com->ErrorCount(), 2);
    m_t->com->ResetErrors();
    QCOMPARE(m_t->com->ErrorKind(), TErrorKind::noErr);
    QCOMPARE(m_t->com->ErrorCount(), 0);

    const QStringList names = {"noErr",  "SyncErr",  "TxErr",      "TimeOutErr", "FileErr",
                               "ComErr", "FlashErr", "VersionErr", "CancelErr"};
    for (int k = 0; k < names.size(); ++k)
        QCOMPARE(ErrorName(static_cast<TErrorKind>(k)), names[k]);
    QVERIFY(TErrorKind::FileErr > TErrorKind::SyncErr);
}

QTEST_GUILESS_MAIN(TestZr5Com)
#include "tst_zr5com.moc"
