#include "PagesTestFiles.h"
#include "ScriptedPrompter.h"
#include "TPageImportExport.h"
#include "TPageTable.h"
#include "TPresetFile.h"
#include "TPresetTable.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using Page = TPageImportExport::Page;
Q_DECLARE_METATYPE(TPageImportExport::Page)

namespace {
QList<QStringList> cellsOf(const TPageTable& table)
{
    QList<QStringList> rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows << table.rowCells(row);
    return rows;
}

// Files beyond limit bytes cannot be written while it lives: the write fails
// with "File too large", also for a process that may write anywhere.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};
} // namespace

// Export and import of a table page through the file dialogs, with the
// dialogs answered by script.
class TstPagesImportExport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void dialogsAndCancel_data();
    void dialogsAndCancel();
    void exportThenImportGivesSameCells_data();
    void exportThenImportGivesSameCells();
    void headerCommaAddsColumnOnEveryRoundTrip();
    void failedExportKeepsOldFile_data();
    void failedExportKeepsOldFile();
    void failedImportKeepsTable_data();
    void failedImportKeepsTable();

private:
    // The program's two dialog templates as the window sets them up.
    Prompter::FileRequest m_open;
    Prompter::FileRequest m_save;
    ScriptedPrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstPagesImportExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompter = ScriptedPrompter();
    m_open = Prompter::FileRequest();
    m_open.initialDir = m_dir->path();
    m_open.defaultSuffix = QStringLiteral("hex");
    m_open.filters = QStringList{"FPGA Sound Engine BIT (fpga*.bit)", "Firmware HEX (zr*.hex)",
                                 "Import CSV (zr*.csv)", "ScanCore DAT (zr*.dat)"};
    m_save = Prompter::FileRequest();
    m_save.initialDir = m_dir->path();
    m_save.filters = QStringList{"Export Data (*.csv)"};
}

void TstPagesImportExport::dialogsAndCancel_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::newRow("export organ") << Page::Organ << true << "ZR5 Export Organ Data File"
                                  << "Export Data (*.csv)";
    QTest::newRow("export rotary") << Page::Rotary << true << "ZR5 Export Leslie Data File"
                                   << "Export Data (*.csv)";
    QTest::newRow("export midi cc") << Page::MidiCC << true << "ZR5 Export MIDI CC Data File"
                                    << "Export Data (*.csv)";
    QTest::newRow("import organ") << Page::Organ << false << "ZR5 Import Organ Data File"
                                  << "Import CSV (zr*.csv)";
    QTest::newRow("import rotary") << Page::Rotary << false << "ZR5 Import Leslie Data File"
                                   << "Import CSV (zr*.csv)";
    QTest::newRow("import midi cc") << Page::MidiCC << false << "ZR5 Import MIDI CC Data File"
                                    << "Import CSV (zr*.csv)";
}

void TstPagesImportExport::dialogsAndCancel()
{
    QFETCH(Page, page);
    QFETCH(bool, save);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    TPageTable table(3, 3);
    table.setRowCells(1, {"430", "Name", "7"});
    const QList<QStringList> before = cellsOf(table);
    QString stored = QStringLiteral("/old/zr5_table.csv");

    // No scripted file name: the user cancels.
    const std::optional<TFileResult> result =
        save ? TPageImportExport::Export(m_prompter, m_save, page, table, stored)
             : TPageImportExport::Import(m_prompter, m_open, page, table, stored);

    QVERIFY(!result);
    QCOMPARE(m_prompter.fileAsks.size(), 1);
    const ScriptedPrompter::FileAsk& ask = m_prompter.fileAsks.first();
    QCOMPARE(ask.save, save);
    QCOMPARE(ask.request.title, title);
    QCOMPARE(ask.request.filters.value(ask.request.filterIndex), filter);
    QCOMPARE(ask.request.defaultSuffix, QStringLiteral("csv"));
    QCOMPARE(ask.request.initialDir, m_dir->path());
    QCOMPARE(stored, QStringLiteral("/old/zr5_table.csv"));
    QCOMPARE(cellsOf(table), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{});
}

void TstPagesImportExport::exportThenImportGivesSameCells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("number") << "12" << QByteArray("430,12,x") << "12";
    QTest::newRow("blank inside") << "Key Click" << QByteArray("430,\"Key Click\",x")
                                  << "Key Click";
    QTest::newRow("comma") << "Vib, Chorus" << QByteArray("430,\"Vib, Chorus\",x") << "Vib, Chorus";
    QTest::newRow("double quotes")
        << "say \"hi\"" << QByteArray("430,\"say \"\"hi\"\"\",x") << "say \"hi\"";
    QTest::newRow("single space") << " " << QByteArray("430,\" \",x") << " ";
    // Comes back as a single space, which reads as 0 just as well.
    QTest::newRow("empty") << "" << QByteArray("430,,x") << " ";
}

void TstPagesImportExport::exportThenImportGivesSameCells()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, line);
    QFETCH(QString, readBack);
    TPageTable table(2, 3);
    table.setRowCells(0, {"Number", "Name", "Value"});
    table.setRowCells(1, {"430", cell, "x"});
    const QString path = QDir(m_dir->path()).filePath("zr_out.csv");
    QString stored;
    m_prompter.fileNames << path << path;

    const std::optional<TFileResult> written =
        TPageImportExport::Export(m_prompter, m_save, Page::Organ, table, stored);
    QVERIFY(written && written->ok());
    QCOMPARE(stored, path);
    QCOMPARE(readFixture(path), "Number,Name,Value\r\n" + line + "\r\n");

    TPageTable again(129, 6);
    stored.clear();
    const std::optional<TFileResult> read =
        TPageImportExport::Import(m_prompter, m_open, Page::Organ, again, stored);
    QVERIFY(read && read->ok());
    QCOMPARE(stored, path);
    QCOMPARE(again.rowCount(), 2);
    QCOMPARE(again.columnCount(), 3);
    QCOMPARE(again.rowCells(0), table.rowCells(0));
    QCOMPARE(again.rowCells(1), (QStringList{"430", readBack, "x"}));
}

void TstPagesImportExport::headerCommaAddsColumnOnEveryRoundTrip()
{
    TPageTable table(2, 3);
    table.setRowCells(0, {"Number", "Name, long", "Value"});
    table.setRowCells(1, {"430", "Key", "1"});
    const QString path = QDir(m_dir->path()).filePath("zr_header.csv");
    QString stored;
    for (int trip = 1; trip <= 3; ++trip) {
        m_prompter.fileNames << path << path;
        QVERIFY(TPageImportExport::Export(m_prompter, m_save, Page::Rotary, table, stored)->ok());
        QVERIFY(TPageImportExport::Import(m_prompter, m_open, Page::Rotary, table, stored)->ok());
        QCOMPARE(table.columnCount(), 3 + trip);
        QCOMPARE(table.cell(1, 0), QStringLiteral("Name, long"));
        QCOMPARE(table.cell(2, 1), QStringLiteral("1"));
    }
}

void TstPagesImportExport::failedExportKeepsOldFile_data()
{
    QTest::addColumn<bool>("presets");
    QTest::newRow("page table") << false;
    QTest::newRow("preset file") << true;
}

void TstPagesImportExport::failedExportKeepsOldFile()
{
    QFETCH(bool, presets);
    const QByteArray old("Number,Name,Value\r\n430,Old,1\r\n");
    const QString path = writeFixture(*m_dir, QStringLiteral("zr_keep.csv"), old);
    // Both new files are far larger than the limit.
    TPageTable table(400, 3);
    for (int row = 0; row < table.rowCount(); ++row)
        table.setRowCells(row, {QString::number(row), "A parameter name", "255"});
    TPresetTable presetTable(TPresetTable::Side::Upper);

    TFileResult result;
    QString stored = QStringLiteral("before");
    {
        const FileSizeLimit limit(1024);
        if (presets) {
            result = TPresetFile::write(path, presetTable);
        } else {
            m_prompter.fileNames << path;
            result = *TPageImportExport::Export(m_prompter, m_save, Page::MidiCC, table, stored);
        }
    }

    QVERIFY(!result.ok());
    QVERIFY2(result.message().endsWith(QStringLiteral("File too large")),
             qPrintable(result.message()));
    QCOMPARE(readFixture(path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"zr_keep.csv"});
    const QString shown = QDir::toNativeSeparators(path);
    QVERIFY2(result.message().contains(shown), qPrintable(result.message()));
    // The system's reason follows the file name.
    QVERIFY2(result.message().section(shown, 1).size() > 3, qPrintable(result.message()));
    if (!presets)
        QCOMPARE(stored, path);
}

void TstPagesImportExport::failedImportKeepsTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("no such file") << "zr_absent.csv" << QByteArray();
    QTest::newRow("empty file") << "zr_empty.csv" << QByteArray("");
    QTest::newRow("a folder") << "zr_folder.csv" << QByteArray();
}

void TstPagesImportExport::failedImportKeepsTable()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    const QString path = QDir(m_dir->path()).filePath(name);
    if (name == QLatin1String("zr_folder.csv"))
        QVERIFY(QDir(m_dir->path()).mkdir(name));
    else if (!contents.isNull())
        writeFixture(*m_dir, name, contents);
    TPageTable table(3, 3);
    table.setRowCells(1, {"430", "Name", "7"});
    const QList<QStringList> before = cellsOf(table);
    QString stored;
    m_prompter.fileNames << path;

    const std::optional<TFileResult> result =
        TPageImportExport::Import(m_prompter, m_open, Page::Organ, table, stored);

    QVERIFY(result && !result->ok());
    QVERIFY2(result->message().contains(QDir::toNativeSeparators(path)),
             qPrintable(result->message()));
    QCOMPARE(cellsOf(table), before);
    // Stored before the file was read.
    QCOMPARE(stored, path);
}

QTEST_GUILESS_MAIN(TstPagesImportExport)
#include "tst_pages_importexport.moc"
