#include "PagesTestFiles.h"
#include "RecordingHost.h"
#include "TDecimal.h"
#include "TNameValue.h"
#include "TPageModel.h"
#include "TPageTableFile.h"
#include "TPresetFile.h"

#include <QSet>
#include <QTest>

// The table files that ship beside the program, as kept in data/. The board
// simulator takes its factory values from them too, so they are checked for
// the consistency that the editors and the board rely on.
class TstPagesShipped : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void everythingLoadsWithoutComplaint();
    void filesAreInWrittenForm_data();
    void filesAreInWrittenForm();

    void organRowsAndKinds();
    void organValuesWithinEditorRanges();
    void organCarriesBoardInfoParameters();
    void rotaryRows();
    void midiCCRows();
    void buttonTargets();
    void presetValuesInRange();

private:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QDir m_dir{QStringLiteral(ZR5_DATA_DIR)};
    TPageModel m_model;
};

void TstPagesShipped::initTestCase()
{
    RecordingHost host;
    m_model.LoadPageTables(TPageFilePaths::defaults(m_dir.path()), host);
    m_model.LoadButtonTable(m_dir.path(), host);
    m_model.LoadMenuTable(m_dir.path(), host);
}

void TstPagesShipped::everythingLoadsWithoutComplaint()
{
    TPageModel model;
    RecordingHost host;
    QCOMPARE(model.LoadPageTables(TPageFilePaths::defaults(m_dir.path()), host),
             TPageModel::Pages(TPageModel::OrganPage | TPageModel::RotaryPage |
                               TPageModel::MidiCCPage | TPageModel::UpperPage |
                               TPageModel::LowerPage));
    QVERIFY(model.LoadButtonTable(m_dir.path(), host));
    QVERIFY(model.LoadMenuTable(m_dir.path(), host));
    for (const QString& line : host.lines)
        QVERIFY2(line.startsWith("Using "), qPrintable(line));
    QCOMPARE(host.lines.size(), 5);
}

void TstPagesShipped::filesAreInWrittenForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isPresetFile");
    QTest::newRow("organ") << TPageFilePaths::organFileName << false;
    QTest::newRow("rotary") << TPageFilePaths::rotaryFileName << false;
    QTest::newRow("midi cc") << TPageFilePaths::midiCCFileName << false;
    QTest::newRow("upper") << TPageFilePaths::upperFileName << true;
    QTest::newRow("lower") << TPageFilePaths::lowerFileName << true;
}

// Reading a shipped file and exporting it again gives the same bytes: the
// files hold no empty cell, no stray blank and no value a Dummy line hides.
void TstPagesShipped::filesAreInWrittenForm()
{
    QFETCH(QString, name);
    QFETCH(bool, isPresetFile);
    const QString source = m_dir.filePath(name);
    QTemporaryDir out;
    const QString copy = out.filePath(name);
    if (isPresetFile) {
        TPresetTable table(name.contains("upper") ? TPresetTable::Side::Upper
                                                  : TPresetTable::Side::Lower);
        const TFileResult result = TPresetFile::read(source, table);
        QVERIFY(result.ok());
        QVERIFY(result.warnings().isEmpty());
        QVERIFY(TPresetFile::write(copy, table).ok());
    } else {
        TPageTable table(1, 1);
        QVERIFY(TPageTableFile::read(source, table).ok());
        QVERIFY(TPageTableFile::write(copy, table).ok());
    }
    QCOMPARE(readFixture(copy), readFixture(source));
}

void TstPagesShipped::organRowsAndKinds()
{
    const TPageTable& organ = m_model.organ();
    QCOMPARE(organ.rowCount(), 129);
    QCOMPARE(organ.columnCount(), 6);

    QSet<int> numbers;
    QSet<QString> kinds;
    QSet<QString> menus;
    for (int row = 1; row < organ.rowCount(); ++row) {
        const std::optional<int> number = organ.ParameterNumberOf(row);
        QVERIFY2(number.has_value(), qPrintable(QString::number(row)));
        QVERIFY2(!numbers.contains(*number), qPrintable(QString::number(*number)));
        numbers.insert(*number);
        QVERIFY(!organ.cell(TPageTable::nameColumn, row).trimmed().isEmpty());
        const QString kind = organ.cell(TPageTable::kindColumn, row);
        kinds.insert(kind);
        if (kind != "None" && kind != "TrackBar" && kind != "Button" && kind != "CheckBits")
            menus.insert(kind);
    }
    for (const char* kind : {"None", "TrackBar", "Button", "CheckBits"})
        QVERIFY2(kinds.contains(kind), kind);
    QVERIFY(menus.size() >= 5);
}

void TstPagesShipped::organValuesWithinEditorRanges()
{
    const TPageTable& organ = m_model.organ();
    for (int row = 1; row < organ.rowCount(); ++row) {
        const QString where = organ.cell(TPageTable::numberColumn, row);
        const QString kind = organ.cell(TPageTable::kindColumn, row);
        const std::optional<qint32> value =
            TDecimal::parse(organ.cell(TPageTable::valueColumn, row));
        const std::optional<qint32> maximum =
            TDecimal::parse(organ.cell(TPageTable::maximumColumn, row));
        QVERIFY2(value && maximum, qPrintable(where));
        QVERIFY2(*value >= 0 && *value <= *maximum, qPrintable(where));
        if (kind == "Button") {
            QVERIFY2(*value == 0 || *value == 255, qPrintable(where));
        } else if (kind == "CheckBits") {
            QVERIFY2(*maximum == 255, qPrintable(where));
        } else if (kind != "None" && kind != "TrackBar") {
            // A menu offers exactly entries 0 to the maximum, all of its own.
            const int first = m_model.menus().indexOfMenu(kind);
            QVERIFY2(first >= 0, qPrintable(kind));
            QCOMPARE(m_model.MenuEntriesForOrganRow(row).size(), *maximum + 1);
            const QStringList& lines = m_model.menus().lines();
            for (int i = first; i <= first + *maximum; ++i)
                QCOMPARE(TNameValue::namePart(lines[i]), kind);
            if (first + *maximum + 1 < lines.size())
                QVERIFY2(TNameValue::namePart(lines[first + *maximum + 1]) != kind,
                         qPrintable(where + " offers fewer entries than its menu has"));
        }
    }
}

void TstPagesShipped::organCarriesBoardInfoParameters()
{
    const TPageTable& organ = m_model.organ();
    for (int number : {477, 481, 485, 492})
        QVERIFY2(organ.RowOfParameter(number) > 0, qPrintable(QString::number(number)));
    const int core = organ.RowOfParameter(477);
    QCOMPARE(m_model.MenuEntriesForOrganRow(core),
             (QStringList{"OrganScan61", "MIDI input", "FatarScan", "Scan16/44", "Scan16/49",
                          "Scan16/61", "HW Test", "Opto or XB2"}));
    QCOMPARE(organ.cell(TPageTable::kindColumn, organ.RowOfParameter(481)),
             QStringLiteral("CheckBits"));
    QCOMPARE(organ.cell(TPageTable::kindColumn, organ.RowOfParameter(485)),
             QStringLiteral("Button"));
}

void TstPagesShipped::rotaryRows()
{
    const TPageTable& rotary = m_model.rotary();
    QCOMPARE(rotary.rowCount(), 129);
    QCOMPARE(rotary.columnCount(), 3);
    QSet<int> numbers;
    for (int row = 1; row < rotary.rowCount(); ++row) {
        const std::optional<int> number = rotary.ParameterNumberOf(row);
        QVERIFY(number.has_value());
        QVERIFY(!numbers.contains(*number));
        numbers.insert(*number);
        QVERIFY(m_model.organ().RowOfParameter(*number) < 0);
        const std::optional<qint32> value = TDecimal::parse(rotary.cell(2, row));
        QVERIFY(value && *value >= 0 && *value <= 255);
    }
}

void TstPagesShipped::midiCCRows()
{
    const TPageTable& midi = m_model.midiCC();
    QCOMPARE(midi.rowCount(), 129);
    QCOMPARE(midi.columnCount(), 4);
    for (int row = 1; row < midi.rowCount(); ++row) {
        const int controller = row - 1;
        QCOMPARE(midi.ParameterNumberOf(row), std::optional<int>(3000 + controller));
        QVERIFY(midi.cell(1, row).startsWith(QStringLiteral("CC %1 ").arg(controller)));
        const std::optional<qint32> target = TDecimal::parse(midi.cell(2, row));
        QVERIFY(target.has_value());
        // Every default target can be shown by name on the MIDI CC page.
        QVERIFY2(m_model.midiTargets().indexOfTarget(midi.cell(2, row)) >= 0,
                 qPrintable(midi.cell(2, row)));
    }
}

void TstPagesShipped::buttonTargets()
{
    const TButtonTable& buttons = m_model.buttons();
    QSet<int> numbers;
    for (int i = 0; i < buttons.count(); ++i) {
        const std::optional<qint32> number = TDecimal::parse(buttons.numberText(i));
        QVERIFY2(number.has_value(), qPrintable(buttons.lines()[i]));
        QVERIFY(!buttons.name(i).isEmpty());
        QVERIFY(!numbers.contains(*number));
        numbers.insert(*number);
        QVERIFY(m_model.organ().RowOfParameter(*number) < 0);
    }
    for (int live : {900, 901, 902, 903, 904, 905, 906, 907, 914, 915, 916, 917})
        QVERIFY2(numbers.contains(live), qPrintable(QString::number(live)));
}

void TstPagesShipped::presetValuesInRange()
{
    for (const TPresetTable* table : {&m_model.upperPresets(), &m_model.lowerPresets()}) {
        const bool upper = table->side() == TPresetTable::Side::Upper;
        const int drawbars = upper ? 9 : 13;
        for (int p = 0; p < TPresetTable::presetCount; ++p) {
            for (int e = 0; e < drawbars; ++e)
                QVERIFY(table->entry(p, e) >= 0 && table->entry(p, e) <= 127);
            if (upper) {
                QVERIFY(table->entry(p, 9) >= 0 && table->entry(p, 9) <= 5);
                QCOMPARE(table->entry(p, 10) & ~0x1F, 0);
            } else {
                QCOMPARE(table->entry(p, 13) & ~0x20, 0);
            }
        }
    }
}

QTEST_GUILESS_MAIN(TstPagesShipped)
#include "tst_pages_shipped.moc"
