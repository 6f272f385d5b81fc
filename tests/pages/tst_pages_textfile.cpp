#include "PagesTestFiles.h"
#include "TTextFile.h"
#include "TWin1252Codec.h"

#include <QTest>

class TstPagesTextFile : public QObject
{
    Q_OBJECT

private slots:
    void win1252ByteToUnicode_data();
    void win1252ByteToUnicode();
    void win1252EveryByteSurvivesRoundTrip();
    void win1252Unrepresentable_data();
    void win1252Unrepresentable();

    void decodeByMark_data();
    void decodeByMark();

    void splitLines_data();
    void splitLines();

    void readMissingFileFails();
    void readFolderFails();
    void readLeavesLinesAloneOnFailure();
    void writeIntoMissingFolderFails();
};

void TstPagesTextFile::win1252ByteToUnicode_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("ascii") << 0x41 << 0x41;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 81 passes") << 0x81 << 0x81;
    QTest::newRow("low quote") << 0x82 << 0x201A;
    QTest::newRow("undefined 8D passes") << 0x8D << 0x8D;
    QTest::newRow("undefined 8F passes") << 0x8F << 0x8F;
    QTest::newRow("undefined 90 passes") << 0x90 << 0x90;
    QTest::newRow("trade mark") << 0x99 << 0x2122;
    QTest::newRow("undefined 9D passes") << 0x9D << 0x9D;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("nbsp") << 0xA0 << 0xA0;
    QTest::newRow("e acute") << 0xE9 << 0xE9;
    QTest::newRow("y diaeresis") << 0xFF << 0xFF;
}

void TstPagesTextFile::win1252ByteToUnicode()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QString text = TWin1252Codec::decode(QByteArray(1, char(byte)));
    QCOMPARE(text.size(), 1);
    QCOMPARE(int(text[0].unicode()), unicode);
    QCOMPARE(TWin1252Codec::encode(text), QByteArray(1, char(byte)));
}

void TstPagesTextFile::win1252EveryByteSurvivesRoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(TWin1252Codec::encode(TWin1252Codec::decode(all)), all);
}

void TstPagesTextFile::win1252Unrepresentable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // U+0080 is not the euro sign: 1252 puts the euro at byte 0x80 instead.
    QTest::newRow("C1 control without code") << QString(QChar(0x80)) << QByteArray("?");
    QTest::newRow("greek omega") << QStringLiteral("a\u03A9b") << QByteArray("a?b");
    QTest::newRow("outside basic plane is one character")
        << QString::fromUcs4(U"x\U0001F3B9y") << QByteArray("x?y");
    QTest::newRow("euro and e acute") << QStringLiteral("\u20AC\u00E9") << QByteArray("\x80\xE9");
}

void TstPagesTextFile::win1252Unrepresentable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TWin1252Codec::encode(text), bytes);
}

void TstPagesTextFile::decodeByMark_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("no mark is 1252") << QByteArray("\x80\xE9") << QStringLiteral("\u20AC\u00E9");
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF\xE2\x82\xAC\xC3\xA9")
                                << QStringLiteral("\u20AC\u00E9");
    QTest::newRow("utf-16 le mark")
        << QByteArray("\xFF\xFE\xAC\x20\xE9\x00", 6) << QStringLiteral("\u20AC\u00E9");
    QTest::newRow("utf-16 be mark")
        << QByteArray("\xFE\xFF\x20\xAC\x00\xE9", 6) << QStringLiteral("\u20AC\u00E9");
    // Without its mark, UTF-8 is taken byte by byte as 1252.
    QTest::newRow("utf-8 without mark") << QByteArray("\xC3\xA9") << QStringLiteral("\u00C3\u00A9");
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << QString();
}

void TstPagesTextFile::decodeByMark()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TTextFile::decode(bytes), text);
}

void TstPagesTextFile::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty text has no line") << QString() << QStringList();
    QTest::newRow("no final break") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("final CR LF adds no line")
        << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF") << QStringLiteral("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("CR") << QStringLiteral("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QStringLiteral("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty lines kept") << QStringLiteral("\r\n\r\nx") << QStringList{"", "", "x"};
    QTest::newRow("lone break is one empty line") << QStringLiteral("\n") << QStringList{""};
}

void TstPagesTextFile::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TTextFile::splitLines(text), lines);
}

void TstPagesTextFile::readMissingFileFails()
{
    QTemporaryDir dir;
    QStringList lines;
    const TFileResult result = TTextFile::readLines(dir.filePath("absent.csv"), lines);
    QVERIFY(!result.ok());
    QVERIFY(result.message().contains("absent.csv"));
    QVERIFY(result.consoleText().startsWith("##### Error: "));
}

void TstPagesTextFile::readFolderFails()
{
    QTemporaryDir dir;
    QStringList lines;
    QVERIFY(!TTextFile::readLines(dir.path(), lines).ok());
}

void TstPagesTextFile::readLeavesLinesAloneOnFailure()
{
    QTemporaryDir dir;
    QStringList lines{"kept"};
    TTextFile::readLines(dir.filePath("absent.csv"), lines);
    QCOMPARE(lines, QStringList{"kept"});
}

void TstPagesTextFile::writeIntoMissingFolderFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("no/such/folder/out.csv");
    const TFileResult result = TTextFile::writeBytes(path, "x");
    QVERIFY(!result.ok());
    QVERIFY(result.message().contains("out.csv"));
}

QTEST_GUILESS_MAIN(TstPagesTextFile)
#include "tst_pages_textfile.moc"
