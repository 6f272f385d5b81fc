#include "PagesTestFiles.h"
#include "RecordingHost.h"
#include "TPageModel.h"

#include <QTest>

namespace {

// A program folder with small page files; each test removes or spoils some.
struct Folder
{
    QTemporaryDir dir;
    TPageFilePaths paths = TPageFilePaths::defaults(dir.path());

    Folder()
    {
        writeFixture(
            dir, "zr5_organ_defaults.csv",
            "Number,Name,Value,Editor,Max\r\n477,Core,2,ScanCore,7\r\n481,Pins,5,None,255\r\n");
        writeFixture(dir, "zr5_rotary_defaults.csv", "Number,Name,Value\r\n600,Horn,48\r\n");
        writeFixture(dir, "zr5_midi_cc_defaults.csv",
                     "Number,Controller,Target,Note\r\n3000,CC0,477,x\r\n");
        writeFixture(dir, "zr5_upper_presets.csv",
                     QByteArray("Preset0_Drawbar0=127\r\n").repeated(256));
        writeFixture(dir, "zr5_lower_presets.csv",
                     QByteArray("Preset0_Drawbar0=64\r\n").repeated(256));
        writeFixture(dir, "zr5_buttons.csv", "906=Leslie Run\r\n");
        writeFixture(dir, "zr5_dropdown_menus.csv",
                     "ScanCore=OrganScan61\r\nScanCore=MIDI input\r\n");
    }
    void remove(const QString& name) { QVERIFY(QFile::remove(dir.filePath(name))); }
};

const QStringList kAllUsed{
    "Using Organ Param file: zr5_organ_defaults.csv",
    "Using Rotary Param file: zr5_rotary_defaults.csv",
    "Using MIDI CC file: zr5_midi_cc_defaults.csv",
    "Using Upper Presets file: zr5_upper_presets.csv",
    "Using Lower Presets file: zr5_lower_presets.csv",
};

} // namespace

class TstPagesLoader : public QObject
{
    Q_OBJECT

private slots:
    void loadsAllPagesInOrder();
    void missingFilesReportedAndTablesKept_data();
    void missingFilesReportedAndTablesKept();
    void emptyOrganFileReportedAndTableKept();
    void eachLoadedPageIsAnnouncedBeforeItsLine();
    void reloadRebuildsTargetsWithButtonsOnce();
    void sideTablesMissing();
    void menuTableEmptiedWhenMissing();
    void userChosenFileNamedWithoutFolder();
};

void TstPagesLoader::loadsAllPagesInOrder()
{
    Folder folder;
    TPageModel model;
    RecordingHost host;
    const TPageModel::Pages pages = model.LoadPageTables(folder.paths, host);
    QCOMPARE(host.lines, kAllUsed);
    QCOMPARE(pages, TPageModel::Pages(TPageModel::OrganPage | TPageModel::RotaryPage |
                                      TPageModel::MidiCCPage | TPageModel::UpperPage |
                                      TPageModel::LowerPage));
    QCOMPARE(model.organ().rowCount(), 3);
    QCOMPARE(model.organ().columnCount(), 5);
    QCOMPARE(model.rotary().cell(2, 1), QStringLiteral("48"));
    QCOMPARE(model.midiCC().CellInt(2, 1), 477);
    QCOMPARE(model.upperPresets().at(255), 127);
    QCOMPARE(model.lowerPresets().at(0), 64);
    QCOMPARE(model.midiTargets().lines(),
             (QStringList{"0=(not assigned)", "477=Core", "481=Pins"}));
}

void TstPagesLoader::missingFilesReportedAndTablesKept_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("page");
    QTest::newRow("organ") << "zr5_organ_defaults.csv" << 0 << int(TPageModel::OrganPage);
    QTest::newRow("rotary") << "zr5_rotary_defaults.csv" << 1 << int(TPageModel::RotaryPage);
    QTest::newRow("midi cc") << "zr5_midi_cc_defaults.csv" << 2 << int(TPageModel::MidiCCPage);
    QTest::newRow("upper") << "zr5_upper_presets.csv" << 3 << int(TPageModel::UpperPage);
    QTest::newRow("lower") << "zr5_lower_presets.csv" << 4 << int(TPageModel::LowerPage);
}

void TstPagesLoader::missingFilesReportedAndTablesKept()
{
    QFETCH(QString, missing);
    QFETCH(int, line);
    QFETCH(int, page);
    Folder folder;
    folder.remove(missing);
    TPageModel model;
    model.organ().setCell(1, 5, "kept");
    model.upperPresets().setAt(3, 9);
    model.lowerPresets().setAt(3, 9);
    RecordingHost host;
    const TPageModel::Pages pages = model.LoadPageTables(folder.paths, host);

    QStringList expected = kAllUsed;
    expected[line] = "##### Error: Missing file " + missing;
    QCOMPARE(host.lines, expected);
    QVERIFY(!pages.testFlag(TPageModel::Page(page)));
    if (page == TPageModel::OrganPage)
        QCOMPARE(model.organ().cell(1, 5), QStringLiteral("kept"));
    if (page == TPageModel::UpperPage)
        QCOMPARE(model.upperPresets().at(3), 9);
    if (page == TPageModel::LowerPage)
        QCOMPARE(model.lowerPresets().at(3), 9);
}

void TstPagesLoader::emptyOrganFileReportedAndTableKept()
{
    Folder folder;
    writeFixture(folder.dir, "zr5_organ_defaults.csv", "");
    TPageModel model;
    RecordingHost host;
    const TPageModel::Pages pages = model.LoadPageTables(folder.paths, host);
    QVERIFY(!pages.testFlag(TPageModel::OrganPage));
    QVERIFY(host.lines.first().startsWith("##### Error: File "));
    QVERIFY(host.lines.first().contains("zr5_organ_defaults.csv is empty"));
    QCOMPARE(host.lines.mid(1), kAllUsed.mid(1));
    QCOMPARE(model.organ().rowCount(), 129);
    QCOMPARE(model.organ().columnCount(), 6);
}

void TstPagesLoader::eachLoadedPageIsAnnouncedBeforeItsLine()
{
    Folder folder;
    folder.remove("zr5_rotary_defaults.csv");
    writeFixture(folder.dir, "zr5_midi_cc_defaults.csv", "");
    TPageModel model;
    RecordingHost host;
    QStringList seen;
    model.LoadPageTables(folder.paths, host, [&](TPageModel::Page page) {
        // The lower file is not read yet when the upper table is announced.
        seen << QStringLiteral("%1 after %2 lines, lower %3")
                    .arg(int(page))
                    .arg(host.lines.size())
                    .arg(model.lowerPresets().at(0));
    });
    // Organ first; the missing rotary and the empty MIDI CC file are not
    // announced; the lower table is new when its own turn comes.
    QCOMPARE(seen, (QStringList{"1 after 0 lines, lower 0", "8 after 3 lines, lower 0",
                                "16 after 4 lines, lower 64"}));
}

void TstPagesLoader::reloadRebuildsTargetsWithButtonsOnce()
{
    Folder folder;
    TPageModel model;
    RecordingHost host;
    model.LoadPageTables(folder.paths, host);
    QVERIFY(model.LoadButtonTable(folder.dir.path(), host));
    const QStringList withButtons{"0=(not assigned)", "477=Core", "481=Pins", "906=Leslie Run"};
    QCOMPARE(model.midiTargets().lines(), withButtons);

    model.LoadPageTables(folder.paths, host);
    QCOMPARE(model.midiTargets().lines(), withButtons);
}

void TstPagesLoader::sideTablesMissing()
{
    QTemporaryDir empty;
    TPageModel model;
    RecordingHost host;
    QVERIFY(!model.LoadButtonTable(empty.path(), host));
    QVERIFY(!model.LoadMenuTable(empty.path(), host));
    QCOMPARE(host.lines, (QStringList{"##### Error: Missing file zr5_buttons.csv",
                                      "##### Error: Missing file zr5_dropdown_menus.csv"}));
    // Without buttons the MIDI CC page offers the organ names only.
    model.RebuildMidiTargetList();
    QCOMPARE(model.midiTargets().count(), 1 + model.organ().dataRowCount());
}

void TstPagesLoader::menuTableEmptiedWhenMissing()
{
    Folder folder;
    TPageModel model;
    RecordingHost host;
    QVERIFY(model.LoadMenuTable(folder.dir.path(), host));
    QVERIFY(model.menus().hasMenu("scancore"));
    folder.remove("zr5_dropdown_menus.csv");
    QVERIFY(!model.LoadMenuTable(folder.dir.path(), host));
    QVERIFY(model.menus().lines().isEmpty());
}

void TstPagesLoader::userChosenFileNamedWithoutFolder()
{
    Folder folder;
    QVERIFY(QDir(folder.dir.path()).mkdir("mine"));
    folder.paths.rotary = folder.dir.filePath("mine/zr_rotary_live.csv");
    writeFixture(folder.dir, "mine/zr_rotary_live.csv", "n,name,value\r\n");
    folder.paths.midiCC = folder.dir.filePath("mine/gone.csv");
    TPageModel model;
    RecordingHost host;
    model.LoadPageTables(folder.paths, host);
    QCOMPARE(host.lines[1], QStringLiteral("Using Rotary Param file: zr_rotary_live.csv"));
    QCOMPARE(host.lines[2], QStringLiteral("##### Error: Missing file gone.csv"));
    QCOMPARE(model.rotary().rowCount(), 1);
}

QTEST_GUILESS_MAIN(TstPagesLoader)
#include "tst_pages_loader.moc"
