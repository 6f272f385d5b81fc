#include "PagesTestFiles.h"
#include "TPresetFile.h"
#include "TPresetTable.h"

#include <QTest>

using Side = TPresetTable::Side;
Q_DECLARE_METATYPE(TPresetTable::Side)

namespace {

QStringList numberedLines(int count, int firstValue)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("Line%1=%2").arg(i).arg(firstValue + i));
    return lines;
}

void fillDistinct(TPresetTable& table)
{
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat)
        table.setAt(flat, (flat % 2 ? -1 : 1) * (flat * 7 + 1));
}

} // namespace

class TstPagesPresets : public QObject
{
    Q_OBJECT

private slots:
    void indexing();
    void outOfRangeIsSafe();

    void entryName_data();
    void entryName();
    void writesPresetBlocks_data();
    void writesPresetBlocks();
    void exportThenImportZeroesDummies_data();
    void exportThenImportZeroesDummies();

    void readLineCounts_data();
    void readLineCounts();
    void readOnlyOrderCounts();
    void malformedLinesReadAsZeroAndWarned();
    void unreadableFileKeepsTable();
    void exportFailureKeepsOldFile();
};

void TstPagesPresets::indexing()
{
    TPresetTable lower(Side::Lower);
    lower.setEntry(2, 4, 64);
    QCOMPARE(lower.at(36), 64);
    QCOMPARE(lower.parameterOf(36), 1292);
    QCOMPARE(lower.parameterOf(255), 1511);
    const TPresetTable upper(Side::Upper);
    QCOMPARE(upper.parameterOf(0), 1000);
    QCOMPARE(upper.parameterOf(255), 1255);
    for (qint32 value : upper.entries())
        QCOMPARE(value, 0);
}

void TstPagesPresets::outOfRangeIsSafe()
{
    TPresetTable table(Side::Upper);
    table.setAt(256, 5);
    table.setAt(-1, 5);
    table.setEntry(16, 0, 5);
    table.setEntry(0, 16, 5);
    QCOMPARE(table.at(256), 0);
    QCOMPARE(table.entry(0, 16), 0);
    for (qint32 value : table.entries())
        QCOMPARE(value, 0);
}

void TstPagesPresets::entryName_data()
{
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("flat");
    QTest::addColumn<QString>("name");
    QTest::newRow("upper drawbar") << Side::Upper << 48 << "Preset3_Drawbar0";
    QTest::newRow("upper drawbar 8") << Side::Upper << 8 << "Preset0_Drawbar8";
    QTest::newRow("upper vib knob") << Side::Upper << 9 << "Preset0_VibKnob";
    QTest::newRow("upper buttons") << Side::Upper << 10 << "Preset0_Buttons";
    QTest::newRow("upper dummy") << Side::Upper << 11 << "Preset0_Dummy";
    QTest::newRow("upper last") << Side::Upper << 255 << "Preset15_Dummy";
    QTest::newRow("lower pedal") << Side::Lower << 16 + 12 << "Preset1_Drawbar12";
    QTest::newRow("lower buttons") << Side::Lower << 13 << "Preset0_Buttons";
    QTest::newRow("lower dummy") << Side::Lower << 14 << "Preset0_Dummy";
}

void TstPagesPresets::entryName()
{
    QFETCH(Side, side);
    QFETCH(int, flat);
    QFETCH(QString, name);
    QCOMPARE(TPresetFile::entryName(side, flat), name);
}

void TstPagesPresets::writesPresetBlocks_data()
{
    QTest::addColumn<Side>("side");
    QTest::addColumn<QByteArray>("firstBlock");
    QTest::newRow("upper") << Side::Upper
                           << QByteArray("Preset0_Drawbar0=1\r\nPreset0_Drawbar1=-8\r\n"
                                         "Preset0_Drawbar2=15\r\nPreset0_Drawbar3=-22\r\n"
                                         "Preset0_Drawbar4=29\r\nPreset0_Drawbar5=-36\r\n"
                                         "Preset0_Drawbar6=43\r\nPreset0_Drawbar7=-50\r\n"
                                         "Preset0_Drawbar8=57\r\nPreset0_VibKnob=-64\r\n"
                                         "Preset0_Buttons=71\r\nPreset0_Dummy=0\r\n"
                                         "Preset0_Dummy=0\r\nPreset0_Dummy=0\r\n"
                                         "Preset0_Dummy=0\r\nPreset0_Dummy=0\r\n");
    QTest::newRow("lower") << Side::Lower
                           << QByteArray("Preset0_Drawbar0=1\r\nPreset0_Drawbar1=-8\r\n"
                                         "Preset0_Drawbar2=15\r\nPreset0_Drawbar3=-22\r\n"
                                         "Preset0_Drawbar4=29\r\nPreset0_Drawbar5=-36\r\n"
                                         "Preset0_Drawbar6=43\r\nPreset0_Drawbar7=-50\r\n"
                                         "Preset0_Drawbar8=57\r\nPreset0_Drawbar9=-64\r\n"
                                         "Preset0_Drawbar10=71\r\nPreset0_Drawbar11=-78\r\n"
                                         "Preset0_Drawbar12=85\r\nPreset0_Buttons=-92\r\n"
                                         "Preset0_Dummy=0\r\nPreset0_Dummy=0\r\n");
}

void TstPagesPresets::writesPresetBlocks()
{
    QFETCH(Side, side);
    QFETCH(QByteArray, firstBlock);
    TPresetTable table(side);
    fillDistinct(table);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.csv");
    QVERIFY(TPresetFile::write(path, table).ok());
    const QByteArray bytes = readFixture(path);
    QVERIFY(bytes.startsWith(firstBlock));
    QCOMPARE(bytes.count("\r\n"), 256);
    QVERIFY(bytes.endsWith("Preset15_Dummy=0\r\n"));
    QVERIFY(!bytes.contains("\n\n") && !bytes.contains("\r\r"));
}

void TstPagesPresets::exportThenImportZeroesDummies_data()
{
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("firstDummy");
    QTest::newRow("upper") << Side::Upper << 11;
    QTest::newRow("lower") << Side::Lower << 14;
}

void TstPagesPresets::exportThenImportZeroesDummies()
{
    QFETCH(Side, side);
    QFETCH(int, firstDummy);
    TPresetTable table(side);
    fillDistinct(table);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.csv");
    QVERIFY(TPresetFile::write(path, table).ok());

    TPresetTable back(side);
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat)
        back.setAt(flat, 12345);
    const TFileResult result = TPresetFile::read(path, back);
    QVERIFY(result.ok());
    QVERIFY(result.warnings().isEmpty());
    for (int preset = 0; preset < TPresetTable::presetCount; ++preset) {
        for (int entry = 0; entry < TPresetTable::entriesPerPreset; ++entry) {
            const qint32 expected = entry >= firstDummy ? 0 : table.entry(preset, entry);
            QCOMPARE(back.entry(preset, entry), expected);
        }
    }
}

void TstPagesPresets::readLineCounts_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("filled");
    QTest::addColumn<bool>("warnsShort");
    QTest::newRow("300 lines fill all, ignore the rest") << 300 << 256 << false;
    QTest::newRow("256 lines") << 256 << 256 << false;
    QTest::newRow("20 lines fill preset 0 and 4 of preset 1") << 20 << 20 << true;
    QTest::newRow("empty file keeps all") << 0 << 0 << true;
}

void TstPagesPresets::readLineCounts()
{
    QFETCH(int, lines);
    QFETCH(int, filled);
    QFETCH(bool, warnsShort);
    QTemporaryDir dir;
    const QString path =
        writeFixture(dir, "p.csv", numberedLines(lines, 100).join("\r\n").toLatin1());
    TPresetTable table(Side::Upper);
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat)
        table.setAt(flat, -1);
    const TFileResult result = TPresetFile::read(path, table);
    QVERIFY(result.ok());
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat)
        QCOMPARE(table.at(flat), flat < filled ? 100 + flat : -1);
    QCOMPARE(result.warnings().size(), warnsShort ? 1 : 0);
}

void TstPagesPresets::readOnlyOrderCounts()
{
    TPresetTable table(Side::Lower);
    QVERIFY(
        TPresetFile::fillFromLines({"Preset9_Buttons=5", "anything=7", "=-3", "a=b=4"}, table, "t")
            .ok());
    QCOMPARE(table.at(0), 5);
    QCOMPARE(table.at(1), 7);
    QCOMPARE(table.at(2), -3);
    QCOMPARE(table.at(3), 0);
}

void TstPagesPresets::malformedLinesReadAsZeroAndWarned()
{
    QStringList lines = numberedLines(256, 1);
    lines[3] = "Preset0_Drawbar3";
    lines[7] = "Preset0_Drawbar7=";
    lines[8] = "Preset0_Drawbar8=12x";
    lines[9] = "Preset0_VibKnob= 4";
    TPresetTable table(Side::Upper);
    const TFileResult result = TPresetFile::fillFromLines(lines, table, "presets.csv");
    QVERIFY(result.ok());
    QCOMPARE(table.at(3), 0);
    QCOMPARE(table.at(7), 0);
    QCOMPARE(table.at(8), 0);
    QCOMPARE(table.at(9), 4);
    QCOMPARE(table.at(10), 11);
    QCOMPARE(result.warningConsoleTexts(),
             QStringList{"##### Warning: No number in presets.csv, read as 0: lines 4, 8, 9"});
}

void TstPagesPresets::unreadableFileKeepsTable()
{
    QTemporaryDir dir;
    TPresetTable table(Side::Upper);
    table.setAt(5, 77);
    const TFileResult result = TPresetFile::read(dir.filePath("absent.csv"), table);
    QVERIFY(!result.ok());
    QVERIFY(result.message().contains("absent.csv"));
    QCOMPARE(table.at(5), 77);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, result.throwIfFailed());
}

void TstPagesPresets::exportFailureKeepsOldFile()
{
    // The target path is taken by a folder, so the new file cannot replace it.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken.csv"));
    writeFixture(dir, "taken.csv/inside.txt", "old");
    const TFileResult result =
        TPresetFile::write(dir.filePath("taken.csv"), TPresetTable(Side::Upper));
    QVERIFY(!result.ok());
    QCOMPARE(readFixture(dir.filePath("taken.csv/inside.txt")), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

QTEST_GUILESS_MAIN(TstPagesPresets)
#include "tst_pages_presets.moc"
