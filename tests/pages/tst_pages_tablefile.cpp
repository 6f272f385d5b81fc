#include "PagesTestFiles.h"
#include "TPageTable.h"
#include "TPageTableFile.h"

#include <QTest>

namespace {

QList<QStringList> cellsOf(const TPageTable& table)
{
    QList<QStringList> rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows.append(table.rowCells(row));
    return rows;
}

} // namespace

class TstPagesTableFile : public QObject
{
    Q_OBJECT

private slots:
    void columnCount_data();
    void columnCount();
    void splitFields_data();
    void splitFields();

    void fieldsBeyondColumnCountDropped();
    void missingFieldsLeaveCellsEmpty();
    void emptyLineIsEmptyRow();
    void adjacentCommasReadAsZeroAndWriteAsQuotedSpace();

    void readFileBytes_data();
    void readFileBytes();
    void emptyFileKeepsTable();
    void missingFileKeepsTable();
    void tooManyColumnsKeepsTable();

    void formatCell_data();
    void formatCell();
    void writesExactBytes();
    void writeThenReadGivesSameCells();
    void quotedHeaderCommaAddsColumnOnEveryReimport();
};

void TstPagesTableFile::columnCount_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("columns");
    QTest::newRow("five commas") << "a,b,c,d,e,f" << 6;
    QTest::newRow("no comma") << "Number" << 1;
    QTest::newRow("empty header") << "" << 1;
    QTest::newRow("quoted comma counts") << "a,\"b,c\",d" << 4;
    QTest::newRow("trailing comma counts") << "a,b," << 3;
    QTest::newRow("spaces do not count") << "a b c" << 1;
}

void TstPagesTableFile::columnCount()
{
    QFETCH(QString, header);
    QFETCH(int, columns);
    QCOMPARE(TPageTableFile::columnCountOf(header), columns);
}

void TstPagesTableFile::splitFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << "430,Name,12" << QStringList{"430", "Name", "12"};
    QTest::newRow("unquoted space splits")
        << "1,Key Click,3" << QStringList{"1", "Key", "Click", "3"};
    QTest::newRow("quoted space stays")
        << "1,\"Key Click\",3" << QStringList{"1", "Key Click", "3"};
    QTest::newRow("quoted comma stays") << "\"a,b\",c" << QStringList{"a,b", "c"};
    QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x" << QStringList{"say \"hi\"", "x"};
    QTest::newRow("quote inside unquoted field") << "ab\"c,d" << QStringList{"ab\"c", "d"};
    QTest::newRow("adjacent commas") << "a,,b" << QStringList{"a", " ", "b"};
    QTest::newRow("leading comma") << ",a" << QStringList{" ", "a"};
    QTest::newRow("trailing comma adds a field") << "a,b," << QStringList{"a", "b", " "};
    QTest::newRow("lone comma") << "," << QStringList{" ", " "};
    QTest::newRow("comma then space at end adds none") << "a, " << QStringList{"a"};
    QTest::newRow("blanks around fields") << "  a ,\t b  ,c" << QStringList{"a", "b", "c"};
    QTest::newRow("control chars separate") << "a\001b" << QStringList{"a", "b"};
    QTest::newRow("empty quoted is empty field") << "a,\"\",b" << QStringList{"a", " ", "b"};
    QTest::newRow("quoted space is a space") << "a,\" \",b" << QStringList{"a", " ", "b"};
    QTest::newRow("text right after closing quote") << "\"ab\"cd" << QStringList{"ab", "cd"};
    QTest::newRow("unclosed quote runs to end") << "a,\"b,c" << QStringList{"a", "b,c"};
    QTest::newRow("only blanks") << "   " << QStringList{};
    QTest::newRow("empty line") << "" << QStringList{};
    QTest::newRow("non-ascii is text")
        << "\u00E9t\u00E9,\u20AC" << QStringList{"\u00E9t\u00E9", "\u20AC"};
}

void TstPagesTableFile::splitFields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(TPageTableFile::splitFields(line), fields);
}

void TstPagesTableFile::fieldsBeyondColumnCountDropped()
{
    TPageTable table(1, 1);
    QVERIFY(TPageTableFile::fillFromLines({"a,b,c,d,e,f", "1,2,3,4,5,6,7,8"}, table, "t").ok());
    QCOMPARE(table.columnCount(), 6);
    QCOMPARE(table.rowCells(1), (QStringList{"1", "2", "3", "4", "5", "6"}));
}

void TstPagesTableFile::missingFieldsLeaveCellsEmpty()
{
    TPageTable table(5, 9);
    table.setCell(4, 1, "old");
    QVERIFY(TPageTableFile::fillFromLines({"a,b,c,d,e,f", "1,2,3"}, table, "t").ok());
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.rowCells(1), (QStringList{"1", "2", "3", "", "", ""}));
}

void TstPagesTableFile::emptyLineIsEmptyRow()
{
    TPageTable table(1, 1);
    QVERIFY(TPageTableFile::fillFromLines({"a,b", "", "1,2"}, table, "t").ok());
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.rowCells(1), (QStringList{"", ""}));
    QCOMPARE(table.rowCells(2), (QStringList{"1", "2"}));
}

void TstPagesTableFile::adjacentCommasReadAsZeroAndWriteAsQuotedSpace()
{
    TPageTable table(1, 1);
    QVERIFY(TPageTableFile::fillFromLines({"n,name,value", "430,,7"}, table, "t").ok());
    QCOMPARE(table.cell(1, 1), QStringLiteral(" "));
    QCOMPARE(table.CellInt(1, 1), 0);
    QCOMPARE(TPageTableFile::toBytes(table), QByteArray("n,name,value\r\n430,\" \",7\r\n"));
}

void TstPagesTableFile::readFileBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    const QList<QStringList> plain{{"h", "v"}, {"1", "2"}};
    QTest::newRow("CR LF") << QByteArray("h,v\r\n1,2\r\n") << plain;
    QTest::newRow("LF") << QByteArray("h,v\n1,2\n") << plain;
    QTest::newRow("CR") << QByteArray("h,v\r1,2\r") << plain;
    QTest::newRow("no final break") << QByteArray("h,v\r\n1,2") << plain;
    QTest::newRow("blank line is a row")
        << QByteArray("h,v\r\n\r\n1,2\r\n") << QList<QStringList>{{"h", "v"}, {"", ""}, {"1", "2"}};
    const QList<QStringList> accents{{"h", "v"}, {"\u20AC", "\u00E9"}};
    QTest::newRow("1252") << QByteArray("h,v\r\n\x80,\xE9\r\n") << accents;
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBFh,v\r\n\xE2\x82\xAC,\xC3\xA9\r\n")
                                << accents;
    QTest::newRow("utf-16 le mark")
        << QByteArray("\xFF\xFEh\0,\0v\0\r\0\n\0\xAC\x20,\0\xE9\0", 18) << accents;
    QTest::newRow("utf-16 be mark")
        << QByteArray("\xFE\xFF\0h\0,\0v\0\r\0\n\x20\xAC\0,\0\xE9", 18) << accents;
}

void TstPagesTableFile::readFileBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    QTemporaryDir dir;
    TPageTable table(129, 6);
    const TFileResult result = TPageTableFile::read(writeFixture(dir, "t.csv", bytes), table);
    QVERIFY2(result.ok(), qPrintable(result.message()));
    QCOMPARE(cellsOf(table), rows);
}

void TstPagesTableFile::emptyFileKeepsTable()
{
    QTemporaryDir dir;
    TPageTable table(3, 2);
    table.setCell(1, 2, "kept");
    const TFileResult result = TPageTableFile::read(writeFixture(dir, "empty.csv", ""), table);
    QVERIFY(!result.ok());
    QVERIFY(result.message().contains("empty.csv"));
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(table.cell(1, 2), QStringLiteral("kept"));
}

void TstPagesTableFile::missingFileKeepsTable()
{
    QTemporaryDir dir;
    TPageTable table(3, 2);
    table.setCell(1, 2, "kept");
    QVERIFY(!TPageTableFile::read(dir.filePath("absent.csv"), table).ok());
    QCOMPARE(table.cell(1, 2), QStringLiteral("kept"));
}

void TstPagesTableFile::tooManyColumnsKeepsTable()
{
    TPageTable table(3, 2);
    const QString header(TPageTableFile::maxColumns, u',');
    QVERIFY(!TPageTableFile::fillFromLines({header, "1"}, table, "t").ok());
    QCOMPARE(table.columnCount(), 2);
    QVERIFY(TPageTableFile::fillFromLines({header.left(TPageTableFile::maxColumns - 1)}, table, "t")
                .ok());
    QCOMPARE(table.columnCount(), TPageTableFile::maxColumns);
}

void TstPagesTableFile::formatCell_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "TrackBar"
                           << "TrackBar";
    QTest::newRow("empty is nothing") << ""
                                      << "";
    QTest::newRow("single space quoted") << " "
                                         << "\" \"";
    QTest::newRow("space") << "Key Click"
                           << "\"Key Click\"";
    QTest::newRow("comma") << "a,b"
                           << "\"a,b\"";
    QTest::newRow("quote doubled") << "say \"hi\""
                                   << "\"say \"\"hi\"\"\"";
    QTest::newRow("tab") << "a\tb"
                         << "\"a\tb\"";
    QTest::newRow("accent needs no quotes") << "\u00E9t\u00E9"
                                            << "\u00E9t\u00E9";
}

void TstPagesTableFile::formatCell()
{
    QFETCH(QString, cell);
    QFETCH(QString, written);
    QCOMPARE(TPageTableFile::formatCell(cell), written);
}

void TstPagesTableFile::writesExactBytes()
{
    QTemporaryDir dir;
    TPageTable table(2, 3);
    table.setRowCells(0, {"Number", "Name", "Value"});
    table.setRowCells(1, {"430", "Caf\u00E9 \u20AC", ""});
    const QString path = dir.filePath("out.csv");
    QVERIFY(TPageTableFile::write(path, table).ok());
    // No byte-order mark, 1252 bytes, CR LF after the last line too.
    QCOMPARE(readFixture(path), QByteArray("Number,Name,Value\r\n430,\"Caf\xE9 \x80\",\r\n"));
}

void TstPagesTableFile::writeThenReadGivesSameCells()
{
    TPageTable table(4, 4);
    table.setRowCells(0, {"Number", "Name", "Value", "Editor"});
    table.setRowCells(1, {"430", "Key Click", "12", "TrackBar"});
    table.setRowCells(2, {"431", "a \"quoted\" name", "-5", "Vib, Chorus"});
    table.setRowCells(3, {"432", " ", "\u00E9\u20AC\u0152", "x"});
    QTemporaryDir dir;
    const QString path = dir.filePath("round.csv");
    QVERIFY(TPageTableFile::write(path, table).ok());

    TPageTable again(1, 1);
    QVERIFY(TPageTableFile::read(path, again).ok());
    QCOMPARE(cellsOf(again), cellsOf(table));
}

void TstPagesTableFile::quotedHeaderCommaAddsColumnOnEveryReimport()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("h.csv");
    TPageTable table(1, 1);
    QVERIFY(TPageTableFile::fillFromLines({"\"a,b\",c", "1,2"}, table, "t").ok());
    QCOMPARE(table.columnCount(), 3);
    QVERIFY(TPageTableFile::write(path, table).ok());
    QVERIFY(TPageTableFile::read(path, table).ok());
    QCOMPARE(table.columnCount(), 4);
    QCOMPARE(table.rowCells(0), (QStringList{"a,b", "c", " ", ""}));
}

QTEST_GUILESS_MAIN(TstPagesTableFile)
#include "tst_pages_tablefile.moc"
