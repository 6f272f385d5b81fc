#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TPageModel.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TToolLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kMissing = QStringLiteral("##### Error: Missing file ");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The three table grids of the main window: what start-up loads into them
// from the table files beside the program, and how they stay bound to the
// page tables.
class TstAppGrids : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startupReportsEachPageFile_data();
    void startupReportsEachPageFile();
    void shippedGridsShowTheirTables_data();
    void shippedGridsShowTheirTables();
    void midiListOffersOrganParametersThenButtons();
    void gridTakesShapeOfLoadedFile_data();
    void gridTakesShapeOfLoadedFile();
    void fixedColumnsCannotBeSelectedOrTypedInto();
    void typedTextReachesTheTable_data();
    void typedTextReachesTheTable();
    void setOrganValueOfSelectsRowThenWrites();
    void setOrganValueOfUnknownNumberChangesNothing();

private:
    // Copies the shipped table files beside the program, except those named.
    void copyShippedFiles(const QStringList& except = {});
    void makeForm();
    TStringGrid* grid(const QString& name) const { return m_form->findChild<TStringGrid*>(name); }
    void typeInto(TStringGrid* grid, int col, int row, const QString& text);

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppGrids::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // A runnable tool beside the program keeps its line out of the console.
    const QString tool = m_dir->filePath(TToolLocator::ProgramFileName("avrdude"));
    writeFile(tool, "");
    QFile(tool).setPermissions(QFile(tool).permissions() | QFileDevice::ExeOwner);
}

void TstAppGrids::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TstAppGrids::copyShippedFiles(const QStringList& except)
{
    const QDir data(QStringLiteral(ZR5_DATA_DIR));
    const QStringList files = data.entryList({"*.csv"}, QDir::Files);
    QVERIFY(files.size() >= 7);
    for (const QString& name : files) {
        if (!except.contains(name))
            QVERIFY(QFile::copy(data.filePath(name), m_dir->filePath(name)));
    }
}

void TstAppGrids::makeForm()
{
    TAppEnvironment env;
    env.appPath = m_dir->path();
    env.toolSearchPath = {QStringLiteral("/nonexistent-folder")};
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TstAppGrids::typeInto(TStringGrid* grid, int col, int row, const QString& text)
{
    grid->setCurrentCell(row - 1, col);
    // The first key opens the cell's editor and lands in it.
    QTest::keyClick(grid, text.at(0).toLatin1());
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    // Enter commits and closes the editor from the event loop.
    QCoreApplication::processEvents();
}

void TstAppGrids::startupReportsEachPageFile_data()
{
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QStringList>("expected");

    const QString organ = "Using Organ Param file: zr5_organ_defaults.csv";
    const QString rotary = "Using Rotary Param file: zr5_rotary_defaults.csv";
    const QString midi = "Using MIDI CC file: zr5_midi_cc_defaults.csv";
    const QString upper = "Using Upper Presets file: zr5_upper_presets.csv";
    const QString lower = "Using Lower Presets file: zr5_lower_presets.csv";
    const QString welcome = "Welcome to ZR5 Remote!";

    QTest::newRow("all shipped") << QStringList{}
                                 << QStringList{welcome, organ, rotary, midi, upper, lower};
    QTest::newRow("rotary and lower missing")
        << QStringList{"zr5_rotary_defaults.csv", "zr5_lower_presets.csv"}
        << QStringList{welcome, organ, kMissing + "zr5_rotary_defaults.csv",
                       midi,    upper, kMissing + "zr5_lower_presets.csv"};
    QTest::newRow("side tables missing") << QStringList{"zr5_buttons.csv", "zr5_dropdown_menus.csv"}
                                         << QStringList{welcome,
                                                        organ,
                                                        rotary,
                                                        midi,
                                                        upper,
                                                        lower,
                                                        kMissing + "zr5_buttons.csv",
                                                        kMissing + "zr5_dropdown_menus.csv"};
}

void TstAppGrids::startupReportsEachPageFile()
{
    QFETCH(QStringList, absent);
    QFETCH(QStringList, expected);
    copyShippedFiles(absent);
    makeForm();

    QCOMPARE(m_form->ConsoleBox()->Lines(), expected);
    // A missing page file leaves its grid as designed.
    if (absent.contains("zr5_rotary_defaults.csv")) {
        QCOMPARE(grid("StringGrid2")->RowCount(), 129);
        QCOMPARE(grid("StringGrid2")->Cell(1, 1), QString());
    }
}

void TstAppGrids::shippedGridsShowTheirTables_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("firstName");

    QTest::newRow("organ") << "StringGrid1" << 129 << 6 << "Number"
                           << "Organ Model";
    QTest::newRow("rotary") << "StringGrid2" << 129 << 3 << "Number"
                            << "Cab1 Horn Slow Speed";
    QTest::newRow("midi cc") << "StringGrid3" << 129 << 4 << "Number"
                             << "CC 0 Bank Select";
}

void TstAppGrids::shippedGridsShowTheirTables()
{
    QFETCH(QString, name);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QString, header);
    QFETCH(QString, firstName);
    copyShippedFiles();
    makeForm();

    TStringGrid* shown = grid(name);
    const TPageTable* table = shown->Table();
    QVERIFY(table);
    QCOMPARE(shown->RowCount(), rows);
    QCOMPARE(shown->ColCount(), cols);
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(shown->Cell(0, 0), header);
    QCOMPARE(shown->Cell(1, 1), firstName);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col)
            QCOMPARE(shown->Cell(col, row), table->cell(col, row));
    }
    QCOMPARE(shown->rowHeight(rows - 2), 20);
    // A fresh grid has the first editable cell selected.
    QCOMPARE(shown->Row(), 1);
    QCOMPARE(shown->Col(), 2);
}

void TstAppGrids::midiListOffersOrganParametersThenButtons()
{
    copyShippedFiles();
    makeForm();

    QListWidget* list = m_form->PageArea()->MidiCCPage()->MidiCCListBox();
    const TPageModel& pages = m_form->Pages();
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    QCOMPARE(shown, pages.midiTargets().displayNames());
    QCOMPARE(shown.size(), 1 + pages.organ().dataRowCount() + pages.buttons().count());
    QCOMPARE(shown.first(), QStringLiteral("(not assigned)"));
    QCOMPARE(shown.at(1), QStringLiteral("Organ Model"));
    QCOMPARE(shown.last(), QStringLiteral("Split On"));
    QCOMPARE(pages.midiTargets().lines().last(), QStringLiteral("917=Split On"));
}

void TstAppGrids::gridTakesShapeOfLoadedFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("widths");

    // Widths set at start stay for the columns a file keeps; new columns
    // come at the grid's default width.
    QTest::newRow("organ wider and shorter")
        << "zr5_organ_defaults.csv" << QByteArray("a,b,c,d,e,f,g,h\r\n1,x,2\r\n3,y,4\r\n")
        << "StringGrid1" << 3 << QList<int>{32, 200, 162, 80, 36, 32, 32, 32};
    QTest::newRow("organ narrower") << "zr5_organ_defaults.csv" << QByteArray("a,b,c\n1,x,2\n")
                                    << "StringGrid1" << 2 << QList<int>{32, 200, 162};
    QTest::newRow("rotary wider") << "zr5_rotary_defaults.csv"
                                  << QByteArray("a,b,c,d\n600,x,1\n601,y,2\n602,z,3\n")
                                  << "StringGrid2" << 4 << QList<int>{32, 200, 162, 32};
    QTest::newRow("midi cc wider")
        << "zr5_midi_cc_defaults.csv" << QByteArray("a,b,c,d,e\n3000,x,0\n") << "StringGrid3" << 2
        << QList<int>{40, 186, 40, 40, 40};
}

void TstAppGrids::gridTakesShapeOfLoadedFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, name);
    QFETCH(int, rows);
    QFETCH(QList<int>, widths);
    writeFile(m_dir->filePath("zr5_organ_defaults.csv"), "Number,Name,Value,Editor,Max,Comment\n");
    writeFile(m_dir->filePath(file), contents);
    makeForm();

    TStringGrid* shown = grid(name);
    QCOMPARE(shown->RowCount(), rows);
    QCOMPARE(shown->ColCount(), widths.size());
    for (int col = 0; col < widths.size(); ++col)
        QCOMPARE(shown->ColWidth(col), widths.at(col));
}

void TstAppGrids::fixedColumnsCannotBeSelectedOrTypedInto()
{
    copyShippedFiles();
    makeForm();
    TStringGrid* organ = grid("StringGrid1");

    for (int col = 0; col < 2; ++col) {
        const Qt::ItemFlags flags = organ->item(0, col)->flags();
        QVERIFY(!(flags & Qt::ItemIsEditable));
        QVERIFY(!(flags & Qt::ItemIsSelectable));
    }
    QVERIFY(organ->item(0, 2)->flags() & Qt::ItemIsEditable);

    // Neither the keyboard nor the mouse selects a fixed cell.
    organ->setFocus();
    organ->setCurrentCell(4, 2);
    QTest::keyClick(organ, Qt::Key_Left);
    QCOMPARE(organ->Col(), 2);
    organ->setCurrentCell(4, 4);
    QTest::keyClick(organ, Qt::Key_Home);
    QCOMPARE(organ->Col(), 2);
    QCOMPARE(organ->Row(), 5);
    const QPoint nameCell = organ->CellRect(1, 3).center();
    QTest::mouseClick(organ->viewport(), Qt::LeftButton, {}, nameCell);
    QCOMPARE(organ->Row(), 5);
    QCOMPARE(organ->Col(), 2);
    QTest::mouseClick(organ->viewport(), Qt::LeftButton, {}, organ->CellRect(3, 3).center());
    QCOMPARE(organ->Row(), 3);
    QCOMPARE(organ->Col(), 3);
}

void TstAppGrids::typedTextReachesTheTable_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("col");

    QTest::newRow("organ comment") << int(TPageArea::OrganTab) << "StringGrid1" << 5;
    QTest::newRow("rotary value") << int(TPageArea::RotaryTab) << "StringGrid2" << 2;
    QTest::newRow("midi cc target") << int(TPageArea::MidiCCTab) << "StringGrid3" << 2;
}

void TstAppGrids::typedTextReachesTheTable()
{
    QFETCH(int, tab);
    QFETCH(QString, name);
    QFETCH(int, col);
    copyShippedFiles();
    makeForm();
    m_form->PageArea()->PageControl1()->setCurrentIndex(tab);

    TStringGrid* shown = grid(name);
    typeInto(shown, col, 3, "907");
    QCOMPARE(shown->Cell(col, 3), QStringLiteral("907"));
    QCOMPARE(shown->Table()->cell(col, 3), QStringLiteral("907"));
}

void TstAppGrids::setOrganValueOfSelectsRowThenWrites()
{
    copyShippedFiles();
    makeForm();
    TStringGrid* organ = grid("StringGrid1");
    TOrganPage* page = m_form->PageArea()->OrganPage();
    const int row = m_form->Pages().organ().RowOfParameter(454); // a slider row
    QVERIFY(row > 1);
    const QString before = organ->Cell(2, row);

    QCOMPARE(page->SetOrganValueOf(454, 99), row);

    QCOMPARE(organ->Row(), row);
    QCOMPARE(organ->Col(), 2);
    QCOMPARE(organ->Cell(2, row), QStringLiteral("99"));
    QCOMPARE(m_form->Pages().OrganValueOf(454), 99);
    // The selection placed the slider before the value was written.
    QScrollBar* slider = m_form->PageArea()->ScrollBar1();
    QVERIFY(!slider->isHidden());
    QCOMPARE(slider->value(), before.toInt());
}

void TstAppGrids::setOrganValueOfUnknownNumberChangesNothing()
{
    copyShippedFiles();
    makeForm();
    TStringGrid* organ = grid("StringGrid1");
    organ->setCurrentCell(6, 3);
    const TPageTable before = m_form->Pages().organ();

    QCOMPARE(m_form->PageArea()->OrganPage()->SetOrganValueOf(9999, 5), -1);

    QCOMPARE(organ->Row(), 7);
    QCOMPARE(organ->Col(), 3);
    for (int row = 0; row < before.rowCount(); ++row)
        QCOMPARE(m_form->Pages().organ().rowCells(row), before.rowCells(row));
}

QTEST_MAIN(TstAppGrids)
#include "tst_app_grids.moc"
