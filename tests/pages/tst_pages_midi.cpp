#include "TButtonTable.h"
#include "TMidiCCRow.h"
#include "TMidiMessage.h"
#include "TMidiMonitor.h"
#include "TMidiTargetList.h"
#include "TPageTable.h"
#include "TPageTableFile.h"

#include <QTest>

// The MIDI CC page without widgets: the monitor reply, what the monitor
// selects, and the row step.
class TstPagesMidi : public QObject
{
    Q_OBJECT

private slots:
    void messageText_data();
    void messageText();
    void shouldPoll_data();
    void shouldPoll();
    void monitorSelects_data();
    void monitorSelects();
    void rowStep_data();
    void rowStep();
};

void TstPagesMidi::messageText_data()
{
    QTest::addColumn<int>("reply");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("controlChange");
    QTest::newRow("controller 7 to 100, channel 1")
        << 0xB00764 << "176:7:100 [$B0:$07:$64]" << true;
    QTest::newRow("controller on channel 16") << 0xBF0102 << "191:1:2 [$BF:$01:$02]" << true;
    QTest::newRow("note-on") << 0x903C40 << "144:60:64 [$90:$3C:$40]" << false;
    // A query without reply: only the status byte is all ones.
    QTest::newRow("no reply") << -999 << "255:124:25 [$FF:$7C:$19]" << false;
    QTest::newRow("nothing received yet") << 0 << "0:0:0 [$00:$00:$00]" << false;
    // Bit 7 of either data byte and everything above the status are not used.
    QTest::newRow("unused bits") << 0x7FB0FFFF << "176:127:127 [$B0:$7F:$7F]" << true;
}

void TstPagesMidi::messageText()
{
    QFETCH(int, reply);
    QFETCH(QString, text);
    QFETCH(bool, controlChange);
    const TMidiMessage message = TMidiMessage::Unpack(reply);
    QCOMPARE(message.Text(), text);
    QCOMPARE(message.IsControlChange(), controlChange);
}

void TstPagesMidi::shouldPoll_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<double>("firmware");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("polls");
    QTest::newRow("3.54, shown") << true << 3.54 << true << true;
    QTest::newRow("3.8, shown") << true << 3.8 << true << true;
    QTest::newRow("3.53") << true << 3.53 << true << false;
    QTest::newRow("another tab") << true << 3.74 << false << false;
    QTest::newRow("no board") << false << 3.74 << true << false;
}

void TstPagesMidi::shouldPoll()
{
    QFETCH(bool, connected);
    QFETCH(double, firmware);
    QFETCH(bool, shown);
    QFETCH(bool, polls);
    QCOMPARE(TMidiMonitor::ShouldPoll(connected, firmware, shown), polls);
}

void TstPagesMidi::monitorSelects_data()
{
    QTest::addColumn<QList<int>>("replies");
    QTest::addColumn<int>("lastRow");
    // Per reply: the row selected (0 = none) and the gauge value.
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<int>("lastValue");

    QTest::newRow("controller through several values")
        << QList<int>{0xB0050A, 0xB00514, 0xB0051E} << 128 << QList<int>{6, 6, 6}
        << QList<int>{10, 20, 30} << 30;
    QTest::newRow("equal value from another controller")
        << QList<int>{0xB0050A, 0xB0090A} << 128 << QList<int>{6, 0} << QList<int>{10, 0} << 10;
    QTest::newRow("first control change to 0")
        << QList<int>{0xB00500} << 128 << QList<int>{0} << QList<int>{0} << 0;
    QTest::newRow("any channel") << QList<int>{0xB37F01} << 128 << QList<int>{128} << QList<int>{1}
                                 << 1;
    QTest::newRow("note-on and no reply")
        << QList<int>{0x903C40, -999} << 128 << QList<int>{0, 0} << QList<int>{0, 0} << 0;
    // The table's last row is 4: controller 10 moves nothing, not even the
    // last value, so the same value from controller 2 still counts.
    QTest::newRow("beyond the last row")
        << QList<int>{0xB00A32, 0xB00232} << 4 << QList<int>{0, 3} << QList<int>{0, 50} << 50;
}

void TstPagesMidi::monitorSelects()
{
    QFETCH(QList<int>, replies);
    QFETCH(int, lastRow);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, values);
    QFETCH(int, lastValue);
    TMidiMonitor monitor;
    QCOMPARE(monitor.LastMidiValue(), 0);
    for (int i = 0; i < replies.size(); ++i) {
        const TMidiMonitor::Step step = monitor.Take(replies[i], lastRow);
        QCOMPARE(step.text, TMidiMessage::Unpack(replies[i]).Text());
        QCOMPARE(step.row, rows[i]);
        QCOMPARE(step.value, values[i]);
    }
    QCOMPARE(monitor.LastMidiValue(), lastValue);
}

void TstPagesMidi::rowStep_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("listIndex");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("parameter"); // -1: none

    QTest::newRow("organ target") << 6 << "12" << 2 << "MIDI CC 5 translated to Reverb Level" << 12
                                  << 3005;
    QTest::newRow("not assigned") << 1 << "0" << 0 << "MIDI CC 0 translated to (not assigned)" << 0
                                  << 3000;
    QTest::newRow("button target")
        << 128 << "900" << 3 << "MIDI CC 127 translated to Perc On" << 900 << 3127;
    QTest::newRow("blanks around a number")
        << 6 << " 12" << -1 << "MIDI CC 5 translated to " << 12 << 3005;
    QTest::newRow("single space") << 6 << " " << -1 << "MIDI CC 5 translated to " << 0 << 3005;
    QTest::newRow("unknown target")
        << 6 << "4711" << -1 << "MIDI CC 5 translated to " << 4711 << 3005;
    // A row past controller 127 names no translation slot.
    QTest::newRow("beyond controller 127")
        << 129 << "12" << 2 << "MIDI CC 128 translated to Reverb Level" << 12 << -1;
}

void TstPagesMidi::rowStep()
{
    QFETCH(int, row);
    QFETCH(QString, target);
    QFETCH(int, listIndex);
    QFETCH(QString, hint);
    QFETCH(int, value);
    QFETCH(int, parameter);
    TPageTable organ(1, 1);
    QVERIFY(
        TPageTableFile::fillFromLines(
            {"Number,Name,Value", "430,\"Organ Model\",0", "12,\"Reverb Level\",3"}, organ, "organ")
            .ok());
    TButtonTable buttons;
    buttons.setLines({"900=Perc On"});
    TMidiTargetList targets;
    targets.rebuild(organ, buttons);
    TPageTable midiCC(130, 4);
    midiCC.setCell(TPageTable::valueColumn, row, target);

    const TMidiCCRow::Step step = TMidiCCRow::Describe(midiCC, targets, row);
    QCOMPARE(step.listIndex, listIndex);
    QCOMPARE(step.hint, hint);
    QCOMPARE(step.value, value);
    QCOMPARE(step.parameter.value_or(-1), parameter);
}

QTEST_GUILESS_MAIN(TstPagesMidi)
#include "tst_pages_midi.moc"
