#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "TestBoard.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TClickPanel.h"
#include "TForm1.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TPageModel.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TValueEditors.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// One row of each editor kind, in file order: the row numbers below are
// these lines.
const QByteArray kOrganFile = "Number,Name,Value,Editor,Max,Comment\r\n"
                              "431,Slider,200,TrackBar,127,c\r\n"   // 1
                              "450,Toggle,1,Button,255,c\r\n"       // 2
                              "451,Toggle2,256,Button,255,c\r\n"    // 3
                              "460,Pins,421,CheckBits,255,c\r\n"    // 4
                              "470,Model,5,OrganModel,3,c\r\n"      // 5
                              "471,ModelAgain,1,organmodel,1,c\r\n" // 6
                              "472,Taper,1,Tapering,1,c\r\n"        // 7
                              "480,Typed,0,None,255,c\r\n"          // 8
                              "x,Broken,10,TrackBar,127,c\r\n"      // 9
                              "481,Broken2,0,Unknown,3,c\r\n";      // 10
const QByteArray kRotaryFile = "Number,Name,Value\r\n"
                               "600,Horn,48\r\n"
                               "601,Drum,300\r\n";
const QByteArray kMenuFile = "OrganModel=Vintage\r\n"
                             "OrganModel=Clean\r\n"
                             "OrganModel=Transistor\r\n"
                             "OrganModel=Combo\r\n"
                             "OrganModel=Extra\r\n"
                             "Tapering=TG1\r\n"
                             "Tapering=TG2\r\n";

enum Row
{
    SliderRow = 1,
    ButtonRow = 2,
    Button256Row = 3,
    BitsRow = 4,
    MenuRow = 5,
    SameMenuRow = 6,
    OtherMenuRow = 7,
    NoneRow = 8,
    BrokenRow = 9,
    UnknownMenuRow = 10,
};

// Rows enough for both grids to scroll.
QByteArray withFillerRows(QByteArray file, const QByteArray& rowTail, int firstNumber)
{
    for (int i = 0; i < 40; ++i)
        file += QByteArray::number(firstNumber + i) + rowTail;
    return file;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The value editors over the Organ and Rotary grids, with the window on
// simulated time and a simulated board behind the link.
class TstAppEditors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placementShowsEditorOfRowKind_data();
    void placementShowsEditorOfRowKind();
    void editorsSitOverTheValueCell_data();
    void editorsSitOverTheValueCell();
    void placementFollowsItsTriggers_data();
    void placementFollowsItsTriggers();
    void rotaryScrollMovesSliderOnly();
    void onOffButtonDrawsItsState_data();
    void onOffButtonDrawsItsState();
    void onOffClickSendsZeroThen255();
    void editStepWritesCellAndSends_data();
    void editStepWritesCellAndSends();
    void sliderDragSendsEveryPosition();
    void nonVolatileWriteEnablesFirst();
    void menuListIsBuiltOncePerMenu();
    void typingSendsOnlyForNoneRows_data();
    void typingSendsOnlyForNoneRows();
    void windowClosesWithCellEditorOpen();

private:
    void connectBoard();
    QStringList sentLines() const { return m_sim->sentLines(); }
    void select(int tab, int row, int col = 2);
    // Which editors are visible, as "slider", "button", "bits", "list".
    QStringList shownEditors() const;
    void perform(const QString& action);

    TPageArea* area() const { return m_form->PageArea(); }
    TStringGrid* organ() const { return area()->OrganPage()->StringGrid1(); }
    TStringGrid* rotary() const { return area()->RotaryPage()->StringGrid2(); }
    QScrollBar* slider() const { return area()->ScrollBar1(); }
    TClickPanel* button() const { return area()->Panel1(); }
    QComboBox* list() const { return area()->ComboBox1(); }
    QCheckBox* bit(int n) const { return area()->OrganPage()->CheckBit(n); }

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppEditors::init()
{
    m_sim = std::make_unique<TestBoard>();
    writeFile(m_sim->dir.filePath("zr5_organ_defaults.csv"),
              withFillerRows(kOrganFile, ",Filler,0,None,255,c\r\n", 500));
    writeFile(m_sim->dir.filePath("zr5_rotary_defaults.csv"),
              withFillerRows(kRotaryFile, ",Filler,0\r\n", 700));
    writeFile(m_sim->dir.filePath("zr5_dropdown_menus.csv"), kMenuFile);
    TAppEnvironment env;
    env.appPath = m_sim->dir.path();
    env.toolSearchPath = {QStringLiteral("/nonexistent-folder")};
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TstAppEditors::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppEditors::connectBoard()
{
    QVERIFY(m_sim->open(m_form->Link()));
    m_sim->board->engine().clearReceived();
}

void TstAppEditors::select(int tab, int row, int col)
{
    area()->PageControl1()->setCurrentIndex(tab);
    TStringGrid* grid = tab == TPageArea::RotaryTab ? rotary() : organ();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(col, row).center());
    QCOMPARE(grid->Row(), row);
    QCOMPARE(grid->Col(), col);
}

QStringList TstAppEditors::shownEditors() const
{
    QStringList shown;
    if (!slider()->isHidden())
        shown << "slider";
    if (!button()->isHidden())
        shown << "button";
    for (int n = 0; n < 8; ++n) {
        if (!bit(n)->isHidden()) {
            shown << "bits";
            break;
        }
    }
    if (!list()->isHidden())
        shown << "list";
    return shown;
}

void TstAppEditors::placementShowsEditorOfRowKind_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("value");  // slider position, ON/OFF state, bits, list index
    QTest::addColumn<int>("extent"); // slider maximum, list entries

    const int o = TPageArea::OrganTab;
    QTest::newRow("slider beyond its maximum shows at the end")
        << o << int(SliderRow) << 2 << QStringList{"slider"} << 127 << 127;
    QTest::newRow("button 1 shows ON")
        << o << int(ButtonRow) << 2 << QStringList{"button"} << 1 << 0;
    QTest::newRow("button 256 shows OFF")
        << o << int(Button256Row) << 2 << QStringList{"button"} << 0 << 0;
    QTest::newRow("bits show the low byte of 421")
        << o << int(BitsRow) << 2 << QStringList{"bits"} << 165 << 0;
    QTest::newRow("menu with maximum 3 and value 5 selects none")
        << o << int(MenuRow) << 2 << QStringList{"list"} << -1 << 4;
    QTest::newRow("menu name of any case")
        << o << int(SameMenuRow) << 2 << QStringList{"list"} << 1 << 2;
    QTest::newRow("typed row") << o << int(NoneRow) << 2 << QStringList{} << 0 << 0;
    QTest::newRow("kind naming no menu")
        << o << int(UnknownMenuRow) << 2 << QStringList{} << 0 << 0;
    QTest::newRow("slider row, kind column") << o << int(SliderRow) << 3 << QStringList{} << 0 << 0;
    QTest::newRow("bits row, maximum column") << o << int(BitsRow) << 4 << QStringList{} << 0 << 0;
    QTest::newRow("rotary slider beyond 255")
        << int(TPageArea::RotaryTab) << 2 << 2 << QStringList{"slider"} << 255 << 255;
    QTest::newRow("midi cc page") << int(TPageArea::MidiCCTab) << 1 << 2 << QStringList{} << 0 << 0;
}

void TstAppEditors::placementShowsEditorOfRowKind()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QStringList, shown);
    QFETCH(int, value);
    QFETCH(int, extent);
    connectBoard();
    // Every editor shows something else first, so that placement has to
    // change each one it shows.
    select(TPageArea::OrganTab, BitsRow);
    select(TPageArea::OrganTab, ButtonRow);
    select(TPageArea::OrganTab, SliderRow);
    const TPageTable organBefore = m_form->Pages().organ();
    const TPageTable rotaryBefore = m_form->Pages().rotary();

    select(tab, row, col);

    QCOMPARE(shownEditors(), shown);
    const QString kind = shown.value(0);
    if (kind == "slider") {
        QCOMPARE(slider()->value(), value);
        QCOMPARE(slider()->maximum(), extent);
        QCOMPARE(slider()->minimum(), 0);
    } else if (kind == "button") {
        QCOMPARE(m_form->PageArea()->ValueEditors()->Panel1State() != 0, value != 0);
    } else if (kind == "bits") {
        int ticked = 0;
        for (int n = 0; n < 8; ++n)
            ticked |= bit(n)->isChecked() ? 1 << n : 0;
        QCOMPARE(ticked, value);
    } else if (kind == "list") {
        QCOMPARE(list()->currentIndex(), value);
        QCOMPARE(list()->count(), extent);
    }
    // Showing a value writes no cell and sends nothing.
    for (int r = 0; r < organBefore.rowCount(); ++r)
        QCOMPARE(m_form->Pages().organ().rowCells(r), organBefore.rowCells(r));
    for (int r = 0; r < rotaryBefore.rowCount(); ++r)
        QCOMPARE(m_form->Pages().rotary().rowCells(r), rotaryBefore.rowCells(r));
    QCOMPARE(sentLines(), QStringList{});
}

void TstAppEditors::editorsSitOverTheValueCell_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QRect>("offsets"); // left, top, width change, height change

    QTest::newRow("slider") << int(TPageArea::OrganTab) << int(SliderRow) << "slider"
                            << QRect(35, 0, -35, 0);
    QTest::newRow("rotary slider")
        << int(TPageArea::RotaryTab) << 2 << "slider" << QRect(35, 0, -35, 0);
    QTest::newRow("list") << int(TPageArea::OrganTab) << int(MenuRow) << "list"
                          << QRect(35, 0, -36, 0);
    QTest::newRow("button") << int(TPageArea::OrganTab) << int(ButtonRow) << "button"
                            << QRect(50, 0, -100, 0);
    for (int n = 0; n < 8; ++n) {
        QTest::addRow("bit %d", n)
            << int(TPageArea::OrganTab) << int(BitsRow) << QStringLiteral("bit%1").arg(n)
            << QRect(36 + 15 * (7 - n), 3, 15, 15);
    }
}

void TstAppEditors::editorsSitOverTheValueCell()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(QString, editor);
    QFETCH(QRect, offsets);

    select(tab, row);

    TStringGrid* grid = tab == TPageArea::RotaryTab ? rotary() : organ();
    QWidget* placed = editor == "slider"   ? static_cast<QWidget*>(slider())
                      : editor == "list"   ? static_cast<QWidget*>(list())
                      : editor == "button" ? static_cast<QWidget*>(button())
                                           : static_cast<QWidget*>(bit(editor.mid(3).toInt()));
    QVERIFY(!placed->isHidden());
    const QRect cell = grid->CellRect(2, row);
    const QPoint cellTopLeft = grid->viewport()->mapTo(placed->parentWidget(), cell.topLeft());
    QCOMPARE(placed->x(), cellTopLeft.x() + offsets.x());
    QCOMPARE(placed->y(), cellTopLeft.y() + offsets.y());
    const bool fixedSize = editor.startsWith("bit");
    QCOMPARE(placed->width(), fixedSize ? offsets.width() : cell.width() + offsets.width());
    QCOMPARE(placed->height(), fixedSize ? offsets.height() : cell.height() + offsets.height());
    // In front of the grid, so that it can be clicked.
    const QWidget* siblings = placed->parentWidget();
    QCOMPARE(siblings->childAt(placed->geometry().center()), placed);
}

void TstAppEditors::placementFollowsItsTriggers_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("click on the selected cell") << "click";
    QTest::newRow("enter key") << "enter";
    QTest::newRow("organ grid scroll") << "scroll";
    QTest::newRow("called directly") << "call";
}

void TstAppEditors::placementFollowsItsTriggers()
{
    QFETCH(QString, trigger);
    select(TPageArea::OrganTab, MenuRow);
    QCOMPARE(shownEditors(), QStringList{"list"});
    // Code changes the row's kind behind the editors' back; only a new
    // placement shows the slider it now asks for.
    m_form->Pages().organ().setCell(3, MenuRow, "TrackBar");
    const int topBefore = list()->y();

    if (trigger == "click") {
        QTest::mouseClick(organ()->viewport(), Qt::LeftButton, {},
                          organ()->CellRect(2, MenuRow).center());
    } else if (trigger == "enter") {
        QTest::keyClick(organ(), Qt::Key_Return);
    } else if (trigger == "scroll") {
        organ()->verticalScrollBar()->setValue(1);
    } else {
        area()->ValueEditors()->StringGrid1TopLeftChanged();
    }

    QCOMPARE(shownEditors(), QStringList{"slider"});
    // Value 5 of maximum 3.
    QCOMPARE(slider()->value(), 3);
    QCOMPARE(slider()->y(), trigger == "scroll" ? topBefore - TStringGrid::kRowHeight : topBefore);
}

void TstAppEditors::rotaryScrollMovesSliderOnly()
{
    connectBoard();
    select(TPageArea::RotaryTab, 2);
    QCOMPARE(slider()->value(), 255);
    const int topBefore = slider()->y();

    rotary()->verticalScrollBar()->setValue(1);

    QCOMPARE(slider()->y(), topBefore - TStringGrid::kRowHeight);
    QCOMPARE(slider()->value(), 255);
    QCOMPARE(slider()->maximum(), 255);
    QCOMPARE(m_form->Pages().rotary().cell(2, 2), QStringLiteral("300"));
    QCOMPARE(sentLines(), QStringList{});
}

void TstAppEditors::onOffButtonDrawsItsState_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<int>("shadow");

    QTest::newRow("ON") << int(ButtonRow) << "ON" << QColor(0, 255, 0) << QColor(Qt::white)
                        << int(QFrame::Sunken);
    QTest::newRow("OFF") << int(Button256Row) << "OFF" << QColor(0, 128, 0) << QColor(Qt::black)
                         << int(QFrame::Raised);
}

void TstAppEditors::onOffButtonDrawsItsState()
{
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    QFETCH(int, shadow);

    select(TPageArea::OrganTab, row);

    QCOMPARE(button()->text(), caption);
    QCOMPARE(button()->palette().color(QPalette::Window), background);
    QCOMPARE(button()->palette().color(QPalette::WindowText), text);
    QCOMPARE(int(button()->frameShadow()), shadow);
    QCOMPARE(button()->frameShape(), QFrame::Panel);
}

void TstAppEditors::onOffClickSendsZeroThen255()
{
    connectBoard();
    select(TPageArea::OrganTab, ButtonRow);
    QCOMPARE(button()->text(), QStringLiteral("ON"));

    QTest::mouseClick(button(), Qt::LeftButton);
    QCOMPARE(organ()->Cell(2, ButtonRow), QStringLiteral("0"));
    QCOMPARE(button()->text(), QStringLiteral("OFF"));
    QTest::mouseClick(button(), Qt::LeftButton);
    QCOMPARE(organ()->Cell(2, ButtonRow), QStringLiteral("255"));
    QCOMPARE(button()->text(), QStringLiteral("ON"));

    QCOMPARE(sentLines(), (QStringList{"450=0!", "450=255!"}));
    QCOMPARE(m_form->Pages().organ().cell(2, ButtonRow), QStringLiteral("255"));
    QVERIFY(!button()->isHidden());
}

void TstAppEditors::perform(const QString& action)
{
    if (action.startsWith("slider ")) {
        slider()->setValue(action.mid(7).toInt());
    } else if (action == "button") {
        QTest::mouseClick(button(), Qt::LeftButton);
    } else if (action.startsWith("choose ")) {
        const int index = action.mid(7).toInt();
        list()->setCurrentIndex(index);
        emit list()->activated(index);
    } else if (action.startsWith("clear bit ")) {
        bit(action.mid(10).toInt())->setChecked(false);
    } else if (action.startsWith("tick bit ")) {
        bit(action.mid(9).toInt())->setChecked(true);
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
}

void TstAppEditors::editStepWritesCellAndSends_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QStringList>("sent");

    struct Step
    {
        const char* name;
        int tab;
        int row;
        const char* action;
        const char* cell;
        QStringList sent;
    };
    const int o = TPageArea::OrganTab;
    const Step steps[] = {
        {"organ slider", o, SliderRow, "slider 64", "64", {"431=64!"}},
        {"rotary slider", TPageArea::RotaryTab, 1, "slider 99", "99", {"600=99!"}},
        {"button", o, ButtonRow, "button", "0", {"450=0!"}},
        {"menu entry", o, MenuRow, "choose 2", "2", {"470=2!"}},
        {"bit 0 cleared keeps bit 8", o, BitsRow, "clear bit 0", "420", {"460=420!"}},
        {"bit 1 ticked", o, BitsRow, "tick bit 1", "423", {"460=423!"}},
        {"row without parameter number", o, BrokenRow, "slider 3", "3", {}},
    };
    for (const Step& step : steps) {
        QTest::addRow("%s, connected", step.name)
            << step.tab << step.row << step.action << step.cell << step.sent;
        QTest::addRow("%s, disconnected", step.name)
            << step.tab << step.row << step.action << step.cell << QStringList{};
    }
}

void TstAppEditors::editStepWritesCellAndSends()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(QString, action);
    QFETCH(QString, cell);
    QFETCH(QStringList, sent);
    const bool connected = QString(QTest::currentDataTag()).endsWith(", connected");
    if (connected)
        connectBoard();
    select(tab, row);

    perform(action);

    TStringGrid* grid = tab == TPageArea::RotaryTab ? rotary() : organ();
    QCOMPARE(grid->Cell(2, row), cell);
    QCOMPARE(grid->Table()->cell(2, row), cell);
    QCOMPARE(sentLines(), sent);
}

void TstAppEditors::sliderDragSendsEveryPosition()
{
    connectBoard();
    select(TPageArea::OrganTab, SliderRow);

    slider()->setSliderDown(true);
    for (int position : {126, 125, 124})
        slider()->setSliderPosition(position);
    slider()->setSliderDown(false);

    QCOMPARE(sentLines(), (QStringList{"431=126!", "431=125!", "431=124!"}));
    QCOMPARE(organ()->Cell(2, SliderRow), QStringLiteral("124"));
}

void TstAppEditors::nonVolatileWriteEnablesFirst()
{
    connectBoard();
    area()->CheckboxEEwrite()->setChecked(true);
    select(TPageArea::OrganTab, ButtonRow);
    QTest::mouseClick(button(), Qt::LeftButton);

    area()->CheckboxEEwrite()->setChecked(false);
    select(TPageArea::OrganTab, SliderRow);
    slider()->setValue(7);

    QCOMPARE(sentLines(), (QStringList{"wen=1", "450=0!", "431=7!"}));
}

void TstAppEditors::menuListIsBuiltOncePerMenu()
{
    TValueEditors* editors = area()->ValueEditors();
    QCOMPARE(editors->LoadedMenuName(), QString());

    select(TPageArea::OrganTab, MenuRow);
    QCOMPARE(editors->LoadedMenuName(), QStringLiteral("OrganModel"));
    QCOMPARE(list()->count(), 4);
    QCOMPARE(list()->itemText(3), QStringLiteral("Combo"));

    // Another spelling is another name: the list is built again, for this
    // row's maximum.
    select(TPageArea::OrganTab, SameMenuRow);
    QCOMPARE(editors->LoadedMenuName(), QStringLiteral("organmodel"));
    QCOMPARE(list()->count(), 2);

    select(TPageArea::OrganTab, OtherMenuRow);
    QCOMPARE(list()->count(), 2);
    QCOMPARE(list()->itemText(1), QStringLiteral("TG2"));
    QCOMPARE(list()->currentIndex(), 1);

    // The same name again keeps the list of whichever row came first after
    // another menu, whatever this row's maximum.
    m_form->Pages().organ().setCell(3, SameMenuRow, "Tapering");
    m_form->Pages().organ().setCell(4, SameMenuRow, "0");
    select(TPageArea::OrganTab, SameMenuRow);
    QCOMPARE(list()->count(), 2);
    QCOMPARE(list()->currentIndex(), 1);
    // A row of a kind without a list leaves the name as it was.
    select(TPageArea::OrganTab, SliderRow);
    QCOMPARE(editors->LoadedMenuName(), QStringLiteral("Tapering"));
}

void TstAppEditors::typingSendsOnlyForNoneRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("value of a typed row")
        << int(NoneRow) << 2 << QStringList{"480=1!", "480=12!", "480=127!", "480=127!"};
    // The value column goes out, whichever cell of the row is typed into.
    QTest::newRow("comment of a typed row")
        << int(NoneRow) << 5 << QStringList{"480=0!", "480=0!", "480=0!", "480=0!"};
    QTest::newRow("value of a slider row") << int(SliderRow) << 2 << QStringList{};
}

void TstAppEditors::typingSendsOnlyForNoneRows()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QStringList, sent);
    connectBoard();
    select(TPageArea::OrganTab, row, col);

    QTest::keyClick(organ(), '1');
    auto* editor = organ()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "27");
    QTest::keyClick(editor, Qt::Key_Return);
    // Enter commits and closes the editor from the event loop.
    QCoreApplication::processEvents();

    QCOMPARE(sentLines(), sent);
    QCOMPARE(organ()->Cell(col, row), QStringLiteral("127"));
    QCOMPARE(m_form->Pages().organ().cell(col, row), QStringLiteral("127"));
}

void TstAppEditors::windowClosesWithCellEditorOpen()
{
    connectBoard();
    select(TPageArea::OrganTab, NoneRow);
    QTest::keyClick(organ(), '4');
    QVERIFY(organ()->viewport()->findChild<QLineEdit*>());
    QCOMPARE(sentLines(), QStringList{"480=4!"});
    // Enter leaves the commit queued, for after the window has gone.
    QTest::keyClick(organ()->viewport()->findChild<QLineEdit*>(), Qt::Key_Return);

    // Destroyed without being closed first: the editor closes on the way.
    m_form.reset();
    QCoreApplication::processEvents();
}

QTEST_MAIN(TstAppEditors)
#include "tst_app_editors.moc"
