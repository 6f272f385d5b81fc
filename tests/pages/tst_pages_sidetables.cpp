#include "PagesTestFiles.h"
#include "RecordingHost.h"
#include "TButtonTable.h"
#include "TMenuTable.h"
#include "TMidiTargetList.h"
#include "TPageModel.h"
#include "TPageTableFile.h"

#include <QTest>

namespace {

const QStringList kMenuLines{
    "Vibrato=V1",          "Vibrato=C1",       "Vibrato=V2",  "ScanCore=OrganScan61",
    "ScanCore=MIDI input", "x=Fatar, 61 keys", "Reverb=Room", "Reverb=Hall",
};

TMenuTable menus()
{
    TMenuTable table;
    table.setLines(kMenuLines);
    return table;
}

} // namespace

class TstPagesSideTables : public QObject
{
    Q_OBJECT

private slots:
    void menuEntries_data();
    void menuEntries();
    void menuForOrganRow();
    void menuFileKeepsCommasAndSpaces();

    void buttonLineParts_data();
    void buttonLineParts();
    void buttonLineWithoutEqualsWarned();

    void midiTargetListOrder();
    void midiTargetIndexOfTarget_data();
    void midiTargetIndexOfTarget();
    void buttonChoiceStoresNumber();
    void loadButtonTableAppendsToTargets();
};

void TstPagesSideTables::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("whole menu") << "Vibrato" << 2 << QStringList{"V1", "C1", "V2"};
    QTest::newRow("lower maximum") << "Vibrato" << 0 << QStringList{"V1"};
    QTest::newRow("case ignored") << "SCANCORE" << 1 << QStringList{"OrganScan61", "MIDI input"};
    QTest::newRow("lower case") << "vibrato" << 1 << QStringList{"V1", "C1"};
    // Only the first line's name is compared: the run goes on into the next menu.
    QTest::newRow("run goes on") << "ScanCore" << 3
                                 << QStringList{"OrganScan61", "MIDI input", "Fatar, 61 keys",
                                                "Room"};
    QTest::newRow("starts at first match only") << "Reverb" << 1 << QStringList{"Room", "Hall"};
    QTest::newRow("maximum past the end stops at the last line")
        << "Reverb" << 5 << QStringList{"Room", "Hall"};
    QTest::newRow("unknown menu") << "Chorus" << 3 << QStringList{};
    QTest::newRow("negative maximum") << "Vibrato" << -1 << QStringList{};
    QTest::newRow("name of a later line in the run is no menu start")
        << "x" << 0 << QStringList{"Fatar, 61 keys"};
    QTest::newRow("empty name names no menu") << "" << 2 << QStringList{};
    QTest::newRow("blank name names no menu") << " " << 2 << QStringList{};
}

void TstPagesSideTables::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(int, maximum);
    QFETCH(QStringList, entries);
    QCOMPARE(menus().entries(menu, maximum), entries);
}

void TstPagesSideTables::menuForOrganRow()
{
    TPageModel model;
    QTemporaryDir dir;
    writeFixture(dir, "zr5_dropdown_menus.csv", kMenuLines.join("\r\n").toLatin1());
    RecordingHost host;
    QVERIFY(model.LoadMenuTable(dir.path(), host));
    QVERIFY(host.lines.isEmpty());
    TPageTableFile::fillFromLines({"n,name,value,kind,max", "410,Knob,1,VIBRATO,1",
                                   "411,\"None row\",1,None,3", "412,\"No max\",0,Vibrato,"},
                                  model.organ(), "fixture");
    QCOMPARE(model.MenuEntriesForOrganRow(1), (QStringList{"V1", "C1"}));
    QCOMPARE(model.MenuEntriesForOrganRow(2), QStringList{});
    // An empty maximum reads as 0: the first entry only.
    QCOMPARE(model.MenuEntriesForOrganRow(3), QStringList{"V1"});
}

void TstPagesSideTables::menuFileKeepsCommasAndSpaces()
{
    QTemporaryDir dir;
    TMenuTable table;
    const QString path = writeFixture(
        dir, "m.csv", "Preamp=Tube, hot \r\nPreamp=\"quoted\"\nPreamp=a=b\rPreamp=\xE9");
    QVERIFY(table.read(path).ok());
    QCOMPARE(table.entries("preamp", 3),
             (QStringList{"Tube, hot ", "\"quoted\"", "a=b", "\u00E9"}));
}

void TstPagesSideTables::buttonLineParts_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "906=Leslie Run"
                           << "906"
                           << "Leslie Run";
    QTest::newRow("commas are text") << "914=Rev I, hall"
                                     << "914"
                                     << "Rev I, hall";
    QTest::newRow("first equals splits") << "915=a=b"
                                         << "915"
                                         << "a=b";
    QTest::newRow("no equals") << "916 JackConf"
                               << ""
                               << "";
    QTest::newRow("empty name") << "917="
                                << "917"
                                << "";
}

void TstPagesSideTables::buttonLineParts()
{
    QFETCH(QString, line);
    QFETCH(QString, number);
    QFETCH(QString, name);
    TButtonTable table;
    table.setLines({line});
    QCOMPARE(table.numberText(0), number);
    QCOMPARE(table.name(0), name);
}

void TstPagesSideTables::buttonLineWithoutEqualsWarned()
{
    QTemporaryDir dir;
    TButtonTable table;
    const TFileResult result = table.read(
        writeFixture(dir, "b.csv", "900=Perc On\r\n\r\n901 Perc Soft\r\n902=Perc Fast\r\n"));
    QVERIFY(result.ok());
    QCOMPARE(table.count(), 4);
    QCOMPARE(result.warnings().size(), 1);
    QVERIFY(result.warnings().first().endsWith(": lines 2, 3"));
}

void TstPagesSideTables::midiTargetListOrder()
{
    TPageTable organ(1, 1);
    TPageTableFile::fillFromLines({"n,name,value", "430,\"Organ Model\",0", "477,Core,1"}, organ,
                                  "t");
    TButtonTable buttons;
    buttons.setLines({"900=Perc On", "906=Leslie Run"});
    TMidiTargetList list;
    list.rebuild(organ, buttons);
    QCOMPARE(list.lines(), (QStringList{"0=(not assigned)", "430=Organ Model", "477=Core",
                                        "900=Perc On", "906=Leslie Run"}));
    QCOMPARE(list.displayNames(),
             (QStringList{"(not assigned)", "Organ Model", "Core", "Perc On", "Leslie Run"}));

    // A rebuild starts again rather than appending.
    list.rebuild(organ, buttons);
    QCOMPARE(list.count(), 5);
}

void TstPagesSideTables::midiTargetIndexOfTarget_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("not assigned") << "0" << 0;
    QTest::newRow("organ target") << "477" << 2;
    QTest::newRow("button target") << "906" << 4;
    QTest::newRow("no such target") << "12" << -1;
    QTest::newRow("single space matches nothing") << " " << -1;
    QTest::newRow("exact text only") << "0477" << -1;
}

void TstPagesSideTables::midiTargetIndexOfTarget()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    TPageTable organ(1, 1);
    TPageTableFile::fillFromLines({"n,name,value", "430,Model,0", "477,Core,1"}, organ, "t");
    TButtonTable buttons;
    buttons.setLines({"900=Perc On", "906=Leslie Run"});
    TMidiTargetList list;
    list.rebuild(organ, buttons);
    QCOMPARE(list.indexOfTarget(text), index);
}

void TstPagesSideTables::buttonChoiceStoresNumber()
{
    TPageModel model;
    QTemporaryDir dir;
    writeFixture(dir, "zr5_buttons.csv", "907=Leslie Fast\r\n");
    RecordingHost host;
    TPageTableFile::fillFromLines({"n,name,value", "430,Model,0"}, model.organ(), "t");
    model.RebuildMidiTargetList();
    QVERIFY(model.LoadButtonTable(dir.path(), host));

    const TMidiTargetList& list = model.midiTargets();
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.displayName(2), QStringLiteral("Leslie Fast"));
    QVERIFY(model.ChooseMidiTarget(8, 2));
    QCOMPARE(model.midiCC().cell(2, 8), QStringLiteral("907"));
    QVERIFY(model.ChooseMidiTarget(8, 0));
    QCOMPARE(model.midiCC().CellInt(2, 8), 0);
    QVERIFY(!model.ChooseMidiTarget(8, 3));
    QVERIFY(!model.ChooseMidiTarget(0, 1));
    QCOMPARE(model.midiCC().cell(2, 0), QString());
}

void TstPagesSideTables::loadButtonTableAppendsToTargets()
{
    TPageModel model;
    QTemporaryDir dir;
    writeFixture(dir, "zr5_buttons.csv", "900=Perc On\r\n901=Perc Soft\r\n");
    RecordingHost host;
    model.RebuildMidiTargetList();
    const int before = model.midiTargets().count();
    QVERIFY(model.LoadButtonTable(dir.path(), host));
    QCOMPARE(model.midiTargets().count(), before + 2);
    QCOMPARE(model.midiTargets().lines().last(), QStringLiteral("901=Perc Soft"));

    // A later rebuild (Reset File Info) ends with the buttons exactly once.
    model.RebuildMidiTargetList();
    QCOMPARE(model.midiTargets().count(), before + 2);
    QCOMPARE(model.midiTargets().displayNames().last(), QStringLiteral("Perc Soft"));
}

QTEST_GUILESS_MAIN(TstPagesSideTables)
#include "tst_pages_sidetables.moc"
