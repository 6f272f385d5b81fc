#include "BoardEngine.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TMidiCCListDelegate.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TZr5Com.h"
#include "TestBoard.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
const char kOrganTable[] = "Number,Name,Value,Editor,Max,Comment\r\n"
                           "430,\"Organ Model\",2,None,3,c\r\n"
                           "12,\"Reverb Level\",3,TrackBar,127,c\r\n";
// Positions in MidiCCListBox: "(not assigned)", the organ rows, the button.
enum Target
{
    NotAssigned = 0,
    OrganModel = 1,
    ReverbLevel = 2,
    PercOn = 3
};

QByteArray midiTable(int controllers)
{
    QByteArray file = "Number,Controller,Target,\"Target Name\"\r\n";
    for (int c = 0; c < controllers; ++c)
        file += QByteArray::number(3000 + c) + ",\"CC " + QByteArray::number(c) + "\",0,\"\"\r\n";
    return file;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Records the radio marks the list's entries draw.
class RadioRecorder : public QProxyStyle
{
public:
    struct Mark
    {
        QRect rect;
        bool on;
    };
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_IndicatorRadioButton)
            marks.append({option->rect, option->state.testFlag(State_On)});
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    mutable QList<Mark> marks;
};
} // namespace

// The MIDI Custom CC page in the real window: the row step, the list choice
// and its drawing, the monitor on the timer, and the File menu's table
// imports and exports, with the simulated board on simulated time.
class TstAppMidiCC : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void monitorPollsUnderItsConditions_data();
    void monitorPollsUnderItsConditions();
    void monitorShowsAndSelects_data();
    void monitorShowsAndSelects();
    void monitorBeyondLastRowDoesNothing();
    void monitorWaitsWhileLineIsHeld();
    void typingIntoControllerRow_data();
    void typingIntoControllerRow();
    void listChoice_data();
    void listChoice();
    void clicksRunTheRowStepOnce();
    void listDrawsRadioMarks();
    void pageFileMenus_data();
    void pageFileMenus();
    void failedFileEndsWithBox_data();
    void failedFileEndsWithBox();

private:
    void makeForm(int controllers = 128);
    void connectBoard();
    void showMidiTab();
    // Up to and including the eleventh timer tick, which runs the monitor.
    void monitorStep();
    void clickCell(int row, int col = 2);
    void clickTarget(int index);
    QStringList sentLines() const { return m_sim->sentLines(); }
    BoardEngine& engine() const { return m_sim->engine(); }
    TMidiCCPage* page() const { return m_form->PageArea()->MidiCCPage(); }
    TStringGrid* grid() const { return page()->StringGrid3(); }
    QListWidget* list() const { return page()->MidiCCListBox(); }
    QAction* menuAction(const QString& name) const
    {
        return m_form->MainMenu1()->findChild<QAction*>(name);
    }

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppMidiCC::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    writeFile(m_sim->dir.filePath("zr5_organ_defaults.csv"), kOrganTable);
    writeFile(m_sim->dir.filePath("zr5_buttons.csv"), "900=Perc On\r\n");
    m_prompter = ScriptedPrompter();
}

void TstAppMidiCC::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppMidiCC::makeForm(int controllers)
{
    writeFile(m_sim->dir.filePath("zr5_midi_cc_defaults.csv"), midiTable(controllers));
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

void TstAppMidiCC::connectBoard()
{
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ZR5Record().FirmwareVersion = 3.74;
    engine().clearReceived();
}

void TstAppMidiCC::showMidiTab()
{
    m_form->PageArea()->PageControl1()->setCurrentIndex(TPageArea::MidiCCTab);
    QCoreApplication::processEvents();
}

void TstAppMidiCC::monitorStep()
{
    for (int tick = 0; tick < 11; ++tick)
        m_form->Timer1Timer();
}

void TstAppMidiCC::clickCell(int row, int col)
{
    grid()->scrollToItem(grid()->item(row - 1, col));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->CellRect(col, row).center());
    QCOMPARE(grid()->Row(), row);
    QCOMPARE(grid()->Col(), col);
}

void TstAppMidiCC::clickTarget(int index)
{
    QListWidgetItem* item = list()->item(index);
    list()->scrollToItem(item);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(item).center());
}

void TstAppMidiCC::monitorPollsUnderItsConditions_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<double>("firmware");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("polls");
    QTest::newRow("3.54 on the MIDI tab") << true << 3.54 << int(TPageArea::MidiCCTab) << true;
    QTest::newRow("3.53") << true << 3.53 << int(TPageArea::MidiCCTab) << false;
    QTest::newRow("another tab") << true << 3.74 << int(TPageArea::OrganTab) << false;
    QTest::newRow("no board") << false << 3.74 << int(TPageArea::MidiCCTab) << false;
}

void TstAppMidiCC::monitorPollsUnderItsConditions()
{
    QFETCH(bool, connected);
    QFETCH(double, firmware);
    QFETCH(int, tab);
    QFETCH(bool, polls);
    makeForm();
    if (connected)
        connectBoard();
    m_form->ZR5Record().FirmwareVersion = firmware;
    m_form->PageArea()->PageControl1()->setCurrentIndex(tab);

    for (int tick = 0; tick < 10; ++tick)
        m_form->Timer1Timer();
    QCOMPARE(sentLines(), QStringList{});
    m_form->Timer1Timer();
    QCOMPARE(sentLines(), polls ? QStringList{"9000?"} : QStringList{});
    monitorStep();
    QCOMPARE(sentLines().size(), polls ? 2 : 0);
}

void TstAppMidiCC::monitorShowsAndSelects_data()
{
    QTest::addColumn<QList<QList<int>>>("messages"); // status, data 1, data 2; {} = no reply
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("gauge");
    QTest::addColumn<QStringList>("sent");

    using Messages = QList<QList<int>>;
    QTest::newRow("control change") << Messages{{0xB0, 7, 100}} << "176:7:100 [$B0:$07:$64]" << 8
                                    << 100 << QStringList{"9000?", "3007=0!"};
    QTest::newRow("note-on is only shown")
        << Messages{{0x90, 60, 64}} << "144:60:64 [$90:$3C:$40]" << 1 << 0 << QStringList{"9000?"};
    QTest::newRow("one controller through several values")
        << Messages{{0xB0, 5, 10}, {0xB0, 5, 20}, {0xB0, 5, 30}} << "176:5:30 [$B0:$05:$1E]" << 6
        << 30 << QStringList{"9000?", "3005=0!", "9000?", "9000?"};
    QTest::newRow("equal value from another controller")
        << Messages{{0xB0, 5, 10}, {0xB1, 9, 10}} << "177:9:10 [$B1:$09:$0A]" << 6 << 10
        << QStringList{"9000?", "3005=0!", "9000?"};
    QTest::newRow("first control change to 0")
        << Messages{{0xB0, 5, 0}} << "176:5:0 [$B0:$05:$00]" << 1 << 0 << QStringList{"9000?"};
    QTest::newRow("controller of the selected row")
        << Messages{{0xB0, 0, 64}} << "176:0:64 [$B0:$00:$40]" << 1 << 64 << QStringList{"9000?"};
    QTest::newRow("no reply") << Messages{{}} << "255:124:25 [$FF:$7C:$19]" << 1 << 0
                              << QStringList{"9000?"};
}

void TstAppMidiCC::monitorShowsAndSelects()
{
    QFETCH(QList<QList<int>>, messages);
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, gauge);
    QFETCH(QStringList, sent);
    makeForm();
    connectBoard();
    showMidiTab();
    QCOMPARE(grid()->Row(), 1);

    for (const QList<int>& message : messages) {
        engine().options().fault =
            message.isEmpty() ? BoardOptions::Fault::Silent : BoardOptions::Fault::None;
        if (!message.isEmpty())
            engine().injectMidi(quint8(message[0]), quint8(message[1]), quint8(message[2]));
        monitorStep();
    }

    QCOMPARE(page()->EditMidiRec()->text(), text);
    QCOMPARE(grid()->Row(), row);
    QCOMPARE(page()->GaugeMIDIdata()->value(), gauge);
    QCOMPARE(page()->LastMidiValue(), gauge);
    QCOMPARE(sentLines(), sent);
    QCOMPARE(page()->MIDIccHint()->text(),
             QStringLiteral("MIDI CC %1 translated to (not assigned)").arg(row - 1));
    QVERIFY(m_prompter.messages.isEmpty());
}

void TstAppMidiCC::monitorBeyondLastRowDoesNothing()
{
    makeForm(4);
    connectBoard();
    showMidiTab();
    const QStringList console = m_form->ConsoleBox()->Lines();

    engine().injectMidi(0xB0, 10, 50);
    monitorStep();
    QCOMPARE(page()->EditMidiRec()->text(), QStringLiteral("176:10:50 [$B0:$0A:$32]"));
    QCOMPARE(grid()->Row(), 1);
    QCOMPARE(page()->GaugeMIDIdata()->value(), 0);
    QCOMPARE(sentLines(), QStringList{"9000?"});
    QCOMPARE(m_form->ConsoleBox()->Lines(), console);
    QVERIFY(m_prompter.messages.isEmpty());

    // The same value from a controller the table has still moves its row.
    engine().injectMidi(0xB0, 2, 50);
    monitorStep();
    QCOMPARE(grid()->Row(), 3);
    QCOMPARE(page()->GaugeMIDIdata()->value(), 50);
}

void TstAppMidiCC::monitorWaitsWhileLineIsHeld()
{
    makeForm();
    connectBoard();
    showMidiTab();
    {
        // As during the pause after a write enable.
        const TZr5Com::LineHold hold(m_form->Com());
        monitorStep();
        QCOMPARE(sentLines(), QStringList{});
    }
    monitorStep();
    QCOMPARE(sentLines(), QStringList{"9000?"});
}

void TstAppMidiCC::typingIntoControllerRow_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("nonVolatile");
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("listRow");

    QTest::newRow("target column")
        << true << false << 2 << QStringList{"3005=1!", "3005=12!", "3005=12!"} << "Reverb Level"
        << int(ReverbLevel);
    QTest::newRow("non-volatile") << true << true << 2
                                  << QStringList{"wen=1",    "3005=1!", "wen=1",
                                                 "3005=12!", "wen=1",   "3005=12!"}
                                  << "Reverb Level" << int(ReverbLevel);
    // The step reads column 2 whichever cell was typed into.
    QTest::newRow("name column") << true << false << 3
                                 << QStringList{"3005=0!", "3005=0!", "3005=0!"} << "(not assigned)"
                                 << int(NotAssigned);
    QTest::newRow("no board") << false << false << 2 << QStringList{} << "Reverb Level"
                              << int(ReverbLevel);
}

void TstAppMidiCC::typingIntoControllerRow()
{
    QFETCH(bool, connected);
    QFETCH(bool, nonVolatile);
    QFETCH(int, col);
    QFETCH(QStringList, sent);
    QFETCH(QString, target);
    QFETCH(int, listRow);
    makeForm();
    if (connected)
        connectBoard();
    showMidiTab();
    m_form->PageArea()->CheckboxEEwrite()->setChecked(nonVolatile);
    clickCell(6, col);
    engine().clearReceived();

    QTest::keyClick(grid(), '1');
    auto* editor = grid()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "2");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();

    QCOMPARE(sentLines(), sent);
    QCOMPARE(m_form->Pages().midiCC().cell(col, 6), QStringLiteral("12"));
    QCOMPARE(page()->MIDIccHint()->text(), "MIDI CC 5 translated to " + target);
    QCOMPARE(list()->currentRow(), listRow);
}

void TstAppMidiCC::listChoice_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("(not assigned)") << true << int(NotAssigned) << "0" << QStringList{"3005=0!"};
    QTest::newRow("an organ parameter")
        << true << int(OrganModel) << "430" << QStringList{"3005=430!"};
    QTest::newRow("a button") << true << int(PercOn) << "900" << QStringList{"3005=900!"};
    QTest::newRow("no board") << false << int(NotAssigned) << "0" << QStringList{};
}

void TstAppMidiCC::listChoice()
{
    QFETCH(bool, connected);
    QFETCH(int, index);
    QFETCH(QString, cell);
    QFETCH(QStringList, sent);
    makeForm();
    if (connected)
        connectBoard();
    showMidiTab();
    grid()->SetCell(2, 6, QStringLiteral("12"));
    clickCell(6);
    QCOMPARE(list()->currentRow(), int(ReverbLevel));
    engine().clearReceived();

    clickTarget(index);

    QCOMPARE(m_form->Pages().midiCC().cell(2, 6), cell);
    QCOMPARE(grid()->Cell(2, 6), cell);
    QCOMPARE(sentLines(), sent);
    QCOMPARE(list()->currentRow(), index);
    QCOMPARE(page()->MIDIccHint()->text(),
             "MIDI CC 5 translated to " + list()->item(index)->text());
}

void TstAppMidiCC::clicksRunTheRowStepOnce()
{
    makeForm();
    connectBoard();
    showMidiTab();

    clickCell(4);
    QCOMPARE(sentLines(), QStringList{"3003=0!"});
    // A click on the cell selected already runs the step as well.
    clickCell(4);
    QCOMPARE(sentLines(), (QStringList{"3003=0!", "3003=0!"}));
    QTest::keyClick(grid(), Qt::Key_Down);
    QCOMPARE(sentLines(), (QStringList{"3003=0!", "3003=0!", "3004=0!"}));
    // Selecting by code as the monitor does, and reloading the page, are
    // no choices of a target.
    grid()->SetRow(10);
    m_form->PageArea()->ShowPageTables();
    QCOMPARE(sentLines(), (QStringList{"3003=0!", "3003=0!", "3004=0!", "3009=0!"}));

    // Other buttons than the left one choose nothing, in the grid or the list.
    const QStringList before = sentLines();
    const QString target = grid()->Cell(2, 10);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        grid()->scrollToItem(grid()->item(3, 1));
        QTest::mouseClick(grid()->viewport(), button, {}, grid()->CellRect(1, 4).center());
        QListWidgetItem* item = list()->item(int(ReverbLevel));
        list()->scrollToItem(item);
        QTest::mouseClick(list()->viewport(), button, {}, list()->visualItemRect(item).center());
    }
    QCOMPARE(grid()->Row(), 10);
    QCOMPARE(grid()->Cell(2, 10), target);
    QCOMPARE(sentLines(), before);
}

void TstAppMidiCC::listDrawsRadioMarks()
{
    makeForm();
    showMidiTab();
    grid()->SetCell(2, 3, QStringLiteral("12"));
    clickCell(3);
    auto* style = new RadioRecorder;
    list()->setStyle(style);
    QCOMPARE(list()->visualItemRect(list()->item(0)).height(), TMidiCCListDelegate::kItemHeight);

    list()->viewport()->grab();

    QCOMPARE(style->marks.size(), list()->count());
    for (int i = 0; i < list()->count(); ++i) {
        const QRect item = list()->visualItemRect(list()->item(i));
        QCOMPARE(style->marks[i].on, i == int(ReverbLevel));
        QCOMPARE(style->marks[i].rect, QRect(item.left() + 1, item.top(), 12, item.height()));
    }
    list()->setStyle(nullptr);
    delete style;
}

void TstAppMidiCC::pageFileMenus_data()
{
    QTest::addColumn<QString>("exportAction");
    QTest::addColumn<QString>("importAction");
    QTest::addColumn<int>("tab");
    QTest::newRow("organ") << "ExportOrganData1"
                           << "ImportOrganData1" << int(TPageArea::OrganTab);
    QTest::newRow("rotary") << "ExportLeslieData1"
                            << "ImportLeslieData1" << int(TPageArea::RotaryTab);
    QTest::newRow("midi cc") << "ExportMIDICCData1"
                             << "ImportMIDICCData1" << int(TPageArea::MidiCCTab);
}

void TstAppMidiCC::pageFileMenus()
{
    QFETCH(QString, exportAction);
    QFETCH(QString, importAction);
    QFETCH(int, tab);
    writeFile(m_sim->dir.filePath("zr5_rotary_defaults.csv"),
              "Number,Name,Value\r\n700,\"Horn Speed\",40\r\n");
    makeForm();
    connectBoard();
    TPageArea* area = m_form->PageArea();
    TStringGrid* shown = tab == TPageArea::OrganTab    ? area->OrganPage()->StringGrid1()
                         : tab == TPageArea::RotaryTab ? area->RotaryPage()->StringGrid2()
                                                       : grid();
    TZR5Record& record = m_form->ZR5Record();
    QString& stored = tab == TPageArea::OrganTab    ? record.OrganParamFile
                      : tab == TPageArea::RotaryTab ? record.LeslieParamFile
                                                    : record.MidiCCFile;
    const QStringList targets = m_form->Pages().midiTargets().lines();
    const QStringList console = m_form->ConsoleBox()->Lines();
    const QString path = QDir(m_sim->dir.path()).filePath("zr_page.csv");
    m_prompter.fileNames << path << path;

    menuAction(exportAction)->trigger();
    QCOMPARE(stored, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    QVERIFY2(text.startsWith("Number,"), text.constData());
    // As a user would edit it: the first value, and a row of its own.
    const QByteArray firstValue = shown->Cell(2, 1).toLatin1();
    const int cut = text.indexOf("\r\n") + 2;
    const int valueAt = text.indexOf(',', text.indexOf(',', cut) + 1) + 1;
    text.replace(valueAt, firstValue.size(), "77");
    text += "9999,\"Added Row\",5\r\n";
    writeFile(path, text);
    stored.clear();

    menuAction(importAction)->trigger();

    QCOMPARE(stored, path);
    QCOMPARE(shown->Cell(2, 1), QStringLiteral("77"));
    QCOMPARE(shown->Cell(1, shown->RowCount() - 1), QStringLiteral("Added Row"));
    QCOMPARE(shown->Table()->cell(2, 1), QStringLiteral("77"));
    // Nothing went to the board, the console and the target list stay.
    QCOMPARE(sentLines(), QStringList{});
    QCOMPARE(m_form->ConsoleBox()->Lines(), console);
    QCOMPARE(m_form->Pages().midiTargets().lines(), targets);
    QVERIFY(m_prompter.messages.isEmpty());
    QCOMPARE(m_prompter.fileAsks.size(), 2);
    QVERIFY(m_prompter.fileAsks[0].save);
    QVERIFY(!m_prompter.fileAsks[1].save);

    // A page send takes the imported values to the board.
    m_form->ChooseTab(tab);
    engine().clearReceived();
    m_form->SendAllClick();
    const QString first = shown->Cell(0, 1);
    QVERIFY2(sentLines().contains(first + "=77!"), qPrintable(sentLines().join(' ')));
    QVERIFY2(sentLines().contains("9999=5!"), qPrintable(sentLines().join(' ')));
}

void TstAppMidiCC::failedFileEndsWithBox_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::newRow("export over a folder") << "ExportOrganData1"
                                          << "zr_folder";
    QTest::newRow("export into a missing folder") << "ExportMIDICCData1"
                                                  << "missing/zr_out.csv";
    QTest::newRow("import of a missing file") << "ImportLeslieData1"
                                              << "zr_absent.csv";
}

void TstAppMidiCC::failedFileEndsWithBox()
{
    QFETCH(QString, action);
    QFETCH(QString, name);
    makeForm();
    QVERIFY(QDir(m_sim->dir.path()).mkdir("zr_folder"));
    const QString path = QDir(m_sim->dir.path()).filePath(name);
    m_prompter.fileNames << path;

    menuAction(action)->trigger();

    QCOMPARE(m_prompter.messages.size(), 1);
    const ScriptedPrompter::Message& box = m_prompter.messages.first();
    QCOMPARE(box.icon, Prompter::Icon::Error);
    const QString shown = QDir::toNativeSeparators(path);
    QVERIFY2(box.text.contains(shown), qPrintable(box.text));
    QVERIFY2(box.text.section(shown, 1).size() > 3, qPrintable(box.text));
}

QTEST_MAIN(TstAppMidiCC)
#include "tst_app_midicc.moc"
