#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "TestLink.h"
#include "RecordingHost.h"
#include "SimBoardBackend.h"
#include "TLink.h"
#include "TPageTable.h"
#include "TPageTransfer.h"
#include "TPresetTable.h"
#include "TZr5Com.h"

#include <QTest>

// Whole-page reads and sends against the in-process simulated board: what
// goes on the wire, what lands in the table, and where a cancel stops.
class TestPageTransfer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readTable();
    void headerOnlyTableExchangesNothing();
    void cancelledReadKeepsLaterRows();
    void sendTableIsNonVolatile();
    void readPresetsSelectsThePresetFirst();
    void sendPresetsWritesNoSelection();

private:
    QList<QByteArray> lines() const;
    static TPageTable table(const QList<QStringList>& rows);

    std::unique_ptr<TestLink> m_t;
    std::shared_ptr<BoardEngine> m_engine;
};

void TestPageTransfer::init()
{
    m_engine = std::make_shared<BoardEngine>();
    m_t = std::make_unique<TestLink>(std::make_shared<SimBoardBackend>(m_engine));
    QVERIFY(m_t->open());
}

void TestPageTransfer::cleanup()
{
    m_t.reset();
}

QList<QByteArray> TestPageTransfer::lines() const
{
    QList<QByteArray> out;
    for (const auto& line : m_engine->receivedLines())
        out << line.text;
    return out;
}

TPageTable TestPageTransfer::table(const QList<QStringList>& rows)
{
    TPageTable t(int(rows.size()), 3);
    for (int r = 0; r < rows.size(); ++r)
        t.setRowCells(r, rows[r]);
    return t;
}

void TestPageTransfer::readTable()
{
    m_engine->setValue(600, 17, true);
    m_engine->setValue(602, 255, true);
    TPageTable t = table({{"Number", "Name", "Value"},
                          {"600", "Horn speed", "0"},
                          {"slow", "broken row", "5"},
                          {"602", "Drum speed", "0"}});
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).ReadTable(t, "Rotary"));
    QCOMPARE(lines(), (QList<QByteArray>{"600?", "602?"}));
    QCOMPARE(t.cell(2, 1), QStringLiteral("17"));
    QCOMPARE(t.cell(2, 2), QStringLiteral("5"));
    QCOMPARE(t.cell(2, 3), QStringLiteral("255"));
    QCOMPARE(m_t->host.lines,
             QStringList{"##### Warning: Rotary table row 2 has no parameter number (\"slow\") - "
                         "skipped"});
    QCOMPARE(m_t->host.progressMax, 3);
    QCOMPARE(m_t->host.progress, 2);
    QCOMPARE(m_t->host.busyFlashes, 3);

    // A silent parameter reads as the no-reply value and the read goes on.
    m_engine->options().fault = BoardOptions::Fault::Silent;
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).ReadTable(t, "Rotary"));
    QCOMPARE(t.cell(2, 1), QStringLiteral("-999"));
}

void TestPageTransfer::headerOnlyTableExchangesNothing()
{
    TPageTable t = table({{"Number", "Name", "Value"}});
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).ReadTable(t, "Organ"));
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).SendTable(t, "Organ"));
    QVERIFY(lines().isEmpty());
    QCOMPARE(m_t->host.progressMax, 0);
}

void TestPageTransfer::cancelledReadKeepsLaterRows()
{
    TPageTable t = table({{"N", "Name", "V"}, {"430", "a", "1"}, {"431", "b", "2"}, {"432", "c", "3"}});
    m_engine->setValue(430, 40, true);
    m_engine->setValue(431, 41, true);
    // The click was handled during the first row's busy flash; the flag is
    // looked at once that row is done.
    m_t->host.cancelFlag = 1;
    QVERIFY(!TPageTransfer(*m_t->com, m_t->host).ReadTable(t, "Organ"));
    QCOMPARE(lines(), QList<QByteArray>{"430?"});
    QCOMPARE(t.cell(2, 1), QStringLiteral("40"));
    QCOMPARE(t.cell(2, 2), QStringLiteral("2"));
    QCOMPARE(t.cell(2, 3), QStringLiteral("3"));
}

void TestPageTransfer::sendTableIsNonVolatile()
{
    TPageTable t = table({{"CC", "Name", "Target"}, {"3005", "CC 5", "12"}, {"3006", "CC 6", " "}});
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).SendTable(t, "MIDI CC"));
    QCOMPARE(lines(), (QList<QByteArray>{"wen=1", "3005=12!", "wen=1", "3006=0!"}));
    QVERIFY(m_engine->isNonVolatile(3005));
    QCOMPARE(m_engine->value(3005), 12);
}

void TestPageTransfer::readPresetsSelectsThePresetFirst()
{
    for (int i = 0; i < 256; ++i)
        m_engine->setValue(1256 + i, i % 128, true);
    TPresetTable lower(TPresetTable::Side::Lower);
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).ReadPresets(lower, 414, 5));
    const QList<QByteArray> sent = lines();
    QCOMPARE(sent.size(), 257);
    QCOMPARE(sent.first(), QByteArray("414=5!"));
    QCOMPARE(sent[1], QByteArray("1256?"));
    QCOMPARE(sent.last(), QByteArray("1511?"));
    QCOMPARE(lower.at(200), 200 % 128);
    QCOMPARE(m_t->host.waits, QList<int>{20});
    QCOMPARE(m_t->host.progressMax, 255);
}

void TestPageTransfer::sendPresetsWritesNoSelection()
{
    TPresetTable upper(TPresetTable::Side::Upper);
    upper.setEntry(3, 0, 127);
    QVERIFY(TPageTransfer(*m_t->com, m_t->host).SendPresets(upper));
    const QList<QByteArray> sent = lines();
    QCOMPARE(sent.size(), 512);
    QVERIFY(!sent.contains("413=0!"));
    QCOMPARE(sent[0], QByteArray("wen=1"));
    QCOMPARE(sent[1], QByteArray("1000=0!"));
    QCOMPARE(sent[2 * 48 + 1], QByteArray("1048=127!"));
    QCOMPARE(m_engine->value(1048), 127);
}

QTEST_GUILESS_MAIN(TestPageTransfer)
#include "tst_pages_transfer.moc"
