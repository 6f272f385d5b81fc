#include "RecordingHost.h"
#include "TDecimal.h"
#include "TPageModel.h"
#include "TPageTable.h"
#include "TPageTableFile.h"

#include <QTest>

namespace {

// An organ table from CSV lines, as a file would give it.
TPageTable organFrom(const QStringList& lines)
{
    TPageTable table(1, 1);
    if (!TPageTableFile::fillFromLines(lines, table, "fixture").ok())
        qFatal("bad fixture");
    return table;
}

const QString kHeader = QStringLiteral("Number,Name,Value,Editor,Max,Comment");

} // namespace

class TstPagesTable : public QObject
{
    Q_OBJECT

private slots:
    void decimal_data();
    void decimal();

    void initialSizes();
    void resizeKeepsCells();
    void outsideCellsAreSafe();

    void organValueOf_data();
    void organValueOf();
    void setOrganValueOfWritesFirstMatch();
    void setOrganValueOfMissingNumberChangesNothing();
    void malformedRowIsSkippedNotTakenForZero();
    void malformedRowReportedByModel();
    void malformedRowBelowMatchNotReported();
};

void TstPagesTable::decimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "477" << true << 477;
    QTest::newRow("negative") << "-999" << true << -999;
    QTest::newRow("plus") << "+12" << true << 12;
    QTest::newRow("surrounding spaces") << " 12 " << true << 12;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("lowest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("highest") << "2147483647" << true << 2147483647;
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("underflow") << "-2147483649" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("single space") << " " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("word") << "TrackBar" << false << 0;
    QTest::newRow("trailing text") << "12a" << false << 0;
    QTest::newRow("inner space") << "1 2" << false << 0;
    QTest::newRow("hex") << "0x10" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("arabic-indic digit") << "\u0661" << false << 0;
}

void TstPagesTable::decimal()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(int, value);
    const std::optional<qint32> parsed = TDecimal::parse(text);
    QCOMPARE(parsed.has_value(), isNumber);
    QCOMPARE(TDecimal::orZero(text), value);

    TPageTable table(2, 3);
    table.setCell(2, 1, text);
    QCOMPARE(table.CellInt(2, 1), value);
}

void TstPagesTable::initialSizes()
{
    const TPageModel model;
    QCOMPARE(model.organ().rowCount(), 129);
    QCOMPARE(model.organ().columnCount(), 6);
    QCOMPARE(model.rotary().rowCount(), 129);
    QCOMPARE(model.rotary().columnCount(), 3);
    QCOMPARE(model.midiCC().rowCount(), 129);
    QCOMPARE(model.midiCC().columnCount(), 4);
    QCOMPARE(model.organ().dataRowCount(), 128);
}

void TstPagesTable::resizeKeepsCells()
{
    TPageTable table(2, 2);
    table.setCell(1, 1, "x");
    table.setRowCount(5);
    table.setColumnCount(4);
    QCOMPARE(table.cell(1, 1), QStringLiteral("x"));
    QCOMPARE(table.rowCells(4), (QStringList{"", "", "", ""}));
    table.setColumnCount(1);
    table.setColumnCount(2);
    QCOMPARE(table.cell(1, 1), QString());
}

void TstPagesTable::outsideCellsAreSafe()
{
    TPageTable table(2, 2);
    QCOMPARE(table.cell(2, 0), QString());
    QCOMPARE(table.cell(0, -1), QString());
    QVERIFY(!table.setCell(0, 2, "x"));
    QVERIFY(!table.setCell(-1, 0, "x"));
    QCOMPARE(table.CellInt(5, 5), 0);
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.columnCount(), 2);
}

void TstPagesTable::organValueOf_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("value");
    const QStringList plain{kHeader, "430,A,5", "477,Core,3", "481,B,200"};
    QTest::newRow("found") << plain << 477 << 3;
    QTest::newRow("last row") << plain << 481 << 200;
    QTest::newRow("missing number") << plain << 999 << 0;
    QTest::newRow("header not a row") << QStringList{"477,h,9", "1,A,5"} << 477 << 0;
    QTest::newRow("duplicate takes first")
        << QStringList{kHeader, "477,first,1", "477,second,2"} << 477 << 1;
    QTest::newRow("value not a number") << QStringList{kHeader, "477,Core,abc"} << 477 << 0;
    QTest::newRow("value empty field") << QStringList{kHeader, "477,Core,,"} << 477 << 0;
    QTest::newRow("real parameter 0") << QStringList{kHeader, "0,Zero,4"} << 0 << 4;
    QTest::newRow("only header") << QStringList{kHeader} << 477 << 0;
}

void TstPagesTable::organValueOf()
{
    QFETCH(QStringList, lines);
    QFETCH(int, number);
    QFETCH(int, value);
    QCOMPARE(organFrom(lines).OrganValueOf(number), value);
}

void TstPagesTable::setOrganValueOfWritesFirstMatch()
{
    TPageTable organ = organFrom({kHeader, "430,A,5", "477,first,1", "477,second,2"});
    QCOMPARE(organ.SetOrganValueOf(477, -7), 2);
    QCOMPARE(organ.cell(2, 2), QStringLiteral("-7"));
    QCOMPARE(organ.cell(2, 3), QStringLiteral("2"));
    QCOMPARE(organ.OrganValueOf(477), -7);
}

void TstPagesTable::setOrganValueOfMissingNumberChangesNothing()
{
    const QStringList lines{kHeader, "430,A,5", "477,Core,1"};
    TPageTable organ = organFrom(lines);
    QCOMPARE(organ.SetOrganValueOf(999, 3), -1);
    for (int row = 0; row < organ.rowCount(); ++row)
        QCOMPARE(organ.rowCells(row), organFrom(lines).rowCells(row));
}

void TstPagesTable::malformedRowIsSkippedNotTakenForZero()
{
    // An empty field and a word in column 0: neither may stand for parameter 0.
    TPageTable organ = organFrom({kHeader, ",Blank,8", "abc,Word,9", "477,Core,3", "0,Zero,4"});
    QList<int> skipped;
    QCOMPARE(organ.OrganValueOf(477, &skipped), 3);
    QCOMPARE(skipped, (QList<int>{1, 2}));
    QCOMPARE(organ.OrganValueOf(0), 4);
    QCOMPARE(organ.SetOrganValueOf(0, 11), 4);
    QCOMPARE(organ.cell(2, 1), QStringLiteral("8"));
    QCOMPARE(organ.cell(2, 2), QStringLiteral("9"));
    QVERIFY(!organ.ParameterNumberOf(1).has_value());
    QCOMPARE(organ.ParameterNumberOf(3), std::optional<int>(477));
}

void TstPagesTable::malformedRowReportedByModel()
{
    TPageModel model;
    TPageTableFile::fillFromLines({kHeader, "430,A,5", "x12,Bad,9", "477,Core,3"}, model.organ(),
                                  "fixture");
    RecordingHost host;
    QCOMPARE(model.OrganValueOf(477, &host), 3);
    QCOMPARE(host.lines,
             QStringList{"##### Error: Organ table row 2 has no parameter number (\"x12\")"});
    host.lines.clear();
    QCOMPARE(model.SetOrganValueOf(481, 1, &host), -1);
    QCOMPARE(host.lines.size(), 1);
    QCOMPARE(model.SetOrganValueOf(477, 5, nullptr), 3);
    QCOMPARE(model.OrganValueOf(477), 5);
}

void TstPagesTable::malformedRowBelowMatchNotReported()
{
    TPageModel model;
    TPageTableFile::fillFromLines({kHeader, "477,Core,3", "bad,Bad,9"}, model.organ(), "fixture");
    RecordingHost host;
    QCOMPARE(model.OrganValueOf(477, &host), 3);
    QVERIFY(host.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TstPagesTable)
#include "tst_pages_table.moc"
