#include "TReplySlices.h"

#include <QTest>

// Text parts of identification replies, sliced exactly as the board's
// replies are laid out; the odd cases are the ones boards really produce.
class TestReplySlices : public QObject
{
    Q_OBJECT

private slots:
    void slices_data();
    void slices();
};

void TestReplySlices::slices_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("text");

    QTest::newRow("firmware name after comma and blank")
        << "firmware" << "254=3.74 [Ver, ZR5 Firmware]\r" << "ZR5 Firmware";
    QTest::newRow("firmware without comma starts at second character")
        << "firmware" << "254=3.74 [old]\r" << "54=3.74 [old";
    QTest::newRow("firmware without bracket ends before CR")
        << "firmware" << "254=3.6, plain\r" << "plain";
    QTest::newRow("firmware of no reply") << "firmware" << "-9999" << "999";
    QTest::newRow("fpga version") << "fpga" << "3=0 [#24061201]\r" << "24061201";
    QTest::newRow("fpga empty configuration") << "fpga" << "3=0 [#00000000]\r" << "00000000";
    QTest::newRow("fpga of no reply") << "fpga" << "-9999" << "999";
    QTest::newRow("scan text") << "scan" << "9900=1 [#23 MIDI input]\r" << "#23 MIDI input";
    QTest::newRow("scan version after hash") << "scanVersion" << "9900=1 [#23 MIDI input]\r"
                                             << "23";
    QTest::newRow("scan version without hash") << "scanVersion" << "9900=1 [V7 old]\r" << "V7";
    QTest::newRow("owner") << "owner" << "9990=0 [Owner: Brackwell]\r" << "Brackwell";
    QTest::newRow("owner slice past its end is empty") << "owner" << "9990=0 [x]\r" << "";
    QTest::newRow("bracket before start gives nothing") << "fpga" << "3]=[#12\r" << "";
}

void TestReplySlices::slices()
{
    QFETCH(QString, kind);
    QFETCH(QString, reply);
    QFETCH(QString, text);
    QString got;
    if (kind == "firmware")
        got = TReplySlices::FirmwareText(reply);
    else if (kind == "fpga")
        got = TReplySlices::FpgaVersion(reply);
    else if (kind == "scan")
        got = TReplySlices::ScanText(reply);
    else if (kind == "scanVersion")
        got = TReplySlices::ScanVersion(reply);
    else
        got = TReplySlices::OwnerText(reply);
    QCOMPARE(got, text);
}

QTEST_GUILESS_MAIN(TestReplySlices)
#include "tst_replyslices.moc"
