#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "TestBoard.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TLowerPage.h"
#include "TMainMenu.h"
#include "TMidiCCPage.h"
#include "TOrganPage.h"
#include "TPageArea.h"
#include "TProgressBox.h"
#include "TRotaryPage.h"
#include "TStringGrid.h"
#include "TUpperPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
const char kOrganTable[] = "Number,Name,Value,Editor,Max,Comment\n"
                           "430,\"Organ Model\",0,None,3,\"\"\n"
                           "431,\"Generator Leakage\",20,None,127,\"\"\n"
                           "432,\"Wheel Crosstalk\",12,None,127,\"\"\n"
                           "477,\"Active Scan Core\",1,None,7,\"\"\n"
                           "478,\"Key Contact Debounce\",4,None,31,\"\"\n";
const char kRotaryTable[] = "Number,Name,Value\n"
                            "600,\"Cab1 Horn Slow Speed\",48\n"
                            "601,\"Cab1 Horn Fast Speed\",200\n";
const char kMidiCCTable[] = "Number,Controller,Target,\"Target Name\"\n"
                            "3000,\"CC 0 Bank Select\",0,\"(not assigned)\"\n"
                            "3001,\"CC 1 Modulation\",907,\"Leslie Fast\"\n"
                            "3002,\"CC 2 Breath\",401,\"Upper 16'\"\n";

const QStringList kReadDone{"Reading all page parameters...", "", "Done.", ""};
const QStringList kSendDone{"Writing all page parameters...", "", "Done.", ""};

// How a tab comes to be shown.
enum How
{
    Click,
    Key,
    Code
};
} // namespace

using Values = QMap<int, int>; // parameter -> value

// "Get Params", "Send Params", F5, F6 and the change of tab in the real main
// window, with the in-process simulated board on simulated time.
class TstAppPageReadSend : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readFillsTheTablePage_data();
    void readFillsTheTablePage();
    void readFillsThePresetPage_data();
    void readFillsThePresetPage();
    void cancelLeavesLaterRowsAndPrintsNoDone();
    void sendIsNonVolatileWhateverTheBoxSays_data();
    void sendIsNonVolatileWhateverTheBoxSays();
    void choosingATab_data();
    void choosingATab();
    void pageButtonsFollowTheTab();
    void menuKeysOnTabsWithoutParameters_data();
    void menuKeysOnTabsWithoutParameters();

private:
    void makeForm();
    void connectBoard();
    void writeFile(const QString& name, const char* text);
    void clickTab(int tab);
    QStringList consoleLines() const { return m_form->ConsoleBox()->Lines(); }
    QStringList sentLines() const { return m_sim->sentLines(); }
    TPageArea* area() const { return m_form->PageArea(); }
    TStringGrid* grid(int tab) const;
    TPageTable& table(int tab);

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppPageReadSend::init()
{
    m_sim = std::make_unique<TestBoard>();
    QVERIFY(m_sim->dir.isValid());
    writeFile("zr5_organ_defaults.csv", kOrganTable);
    writeFile("zr5_rotary_defaults.csv", kRotaryTable);
    writeFile("zr5_midi_cc_defaults.csv", kMidiCCTable);
    m_prompter = ScriptedPrompter();
    makeForm();
}

void TstAppPageReadSend::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppPageReadSend::writeFile(const QString& name, const char* text)
{
    QFile file(m_sim->dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TstAppPageReadSend::makeForm()
{
    TAppEnvironment env;
    env.appPath = m_sim->dir.path();
    env.settingsFile = m_sim->dir.filePath("settings.ini");
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->Timer1()->stop();
}

void TstAppPageReadSend::connectBoard()
{
    QVERIFY(m_sim->open(m_form->Link()));
    m_form->ShowConnectedState();
    m_sim->board->engine().clearReceived();
    m_form->Console().ClearConsole();
}

void TstAppPageReadSend::clickTab(int tab)
{
    QTabBar* bar = area()->PageControl1()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    QCOMPARE(area()->PageControl1()->currentIndex(), tab);
}

TStringGrid* TstAppPageReadSend::grid(int tab) const
{
    switch (tab) {
    case TPageArea::OrganTab:
        return area()->OrganPage()->StringGrid1();
    case TPageArea::RotaryTab:
        return area()->RotaryPage()->StringGrid2();
    default:
        return area()->MidiCCPage()->StringGrid3();
    }
}

TPageTable& TstAppPageReadSend::table(int tab)
{
    switch (tab) {
    case TPageArea::OrganTab:
        return m_form->Pages().organ();
    case TPageArea::RotaryTab:
        return m_form->Pages().rotary();
    default:
        return m_form->Pages().midiCC();
    }
}

void TstAppPageReadSend::readFillsTheTablePage_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<Values>("board");
    QTest::addColumn<QStringList>("column2");
    QTest::addColumn<int>("scanCore");

    QTest::newRow("organ, scan core taken")
        << int(TPageArea::OrganTab) << Values{{430, 3}, {431, 99}, {477, 6}}
        << QStringList{"3", "99", "0", "6", "0"} << 6;
    // Only the organ page refreshes the record's scan core.
    QTest::newRow("rotary") << int(TPageArea::RotaryTab) << Values{{600, 17}, {477, 6}}
                            << QStringList{"17", "0"} << 0;
    QTest::newRow("MIDI CC") << int(TPageArea::MidiCCTab) << Values{{3001, 919}}
                             << QStringList{"0", "919", "0"} << 0;
}

void TstAppPageReadSend::readFillsTheTablePage()
{
    QFETCH(int, tab);
    QFETCH(Values, board);
    QFETCH(QStringList, column2);
    QFETCH(int, scanCore);
    for (auto it = board.begin(); it != board.end(); ++it)
        m_sim->board->engine().setValue(it.key(), it.value(), true);
    connectBoard();
    area()->PageControl1()->setCurrentIndex(tab);
    m_form->ZR5Record().ScanCore = 0;

    QTest::mouseClick(area()->ReadAll(), Qt::LeftButton);

    for (int row = 1; row <= column2.size(); ++row) {
        QCOMPARE(table(tab).cell(2, row), column2[row - 1]);
        QCOMPARE(grid(tab)->Cell(2, row), column2[row - 1]);
    }
    QCOMPARE(m_form->ZR5Record().ScanCore, scanCore);
    QCOMPARE(consoleLines(), kReadDone);
    QCOMPARE(m_form->ProgressBox()->TransferProgress()->value(), 0);
    QCOMPARE(sentLines().size(), column2.size());
}

void TstAppPageReadSend::readFillsThePresetPage_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("firstParam");
    QTest::addColumn<QString>("select");
    QTest::newRow("upper") << int(TPageArea::UpperTab) << 1000 << "413=2!";
    QTest::newRow("lower") << int(TPageArea::LowerTab) << 1256 << "414=2!";
}

void TstAppPageReadSend::readFillsThePresetPage()
{
    QFETCH(int, tab);
    QFETCH(int, firstParam);
    QFETCH(QString, select);
    const bool upper = tab == TPageArea::UpperTab;
    // Drawbar 0 of preset 2, and the last entry of all.
    m_sim->board->engine().setValue(firstParam + 2 * 16, 77, true);
    m_sim->board->engine().setValue(firstParam + 255, 5, true);
    connectBoard();
    area()->PageControl1()->setCurrentIndex(tab);
    QComboBox* presets = upper ? area()->UpperPage()->ComboBoxUpperPreset()
                               : area()->LowerPage()->ComboBoxLowerPreset();
    presets->setCurrentIndex(2);

    QTest::mouseClick(area()->ReadAll(), Qt::LeftButton);

    const QStringList sent = sentLines();
    QCOMPARE(sent.value(0), select);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(sent.value(1 + i), QString::number(firstParam + i) + "?");
    // Showing the preset moves its drawbar, which the board hears at once.
    QCOMPARE(sent.mid(257), QStringList{QString::number(upper ? 401 : 416) + "=77!"});
    TPresetTable& presetTable =
        upper ? m_form->Pages().upperPresets() : m_form->Pages().lowerPresets();
    QCOMPARE(presetTable.entry(2, 0), 77);
    QCOMPARE(presetTable.entry(15, 15), 5);
    // The preset chosen is shown again from the new table.
    QSlider* drawbar =
        upper ? area()->UpperPage()->TrackBarU(0) : area()->LowerPage()->TrackBarL(0);
    QCOMPARE(drawbar->value(), 77);
    QCOMPARE(consoleLines(), kReadDone);
}

void TstAppPageReadSend::cancelLeavesLaterRowsAndPrintsNoDone()
{
    for (int param : {430, 431, 432, 477, 478})
        m_sim->board->engine().setValue(param, 50 + param % 10, true);
    connectBoard();
    m_form->ZR5Record().ScanCore = 3;
    // The user presses Cancel while the third row is being read.
    QProgressBar* progress = m_form->ProgressBox()->TransferProgress();
    connect(progress, &QProgressBar::valueChanged, this, [this](int position) {
        if (position == 2)
            QTest::mouseClick(m_form->ProgressBox()->BtnCancel(), Qt::LeftButton);
    });

    QTest::mouseClick(area()->ReadAll(), Qt::LeftButton);

    TStringGrid* organ = grid(TPageArea::OrganTab);
    const QStringList expected{"50", "51", "52", "1", "4"};
    for (int row = 1; row <= expected.size(); ++row) {
        QCOMPARE(table(TPageArea::OrganTab).cell(2, row), expected[row - 1]);
        QCOMPARE(organ->Cell(2, row), expected[row - 1]);
    }
    QCOMPARE(m_form->ZR5Record().ScanCore, 3);
    QVERIFY(!consoleLines().contains("Done."));
    QCOMPARE(sentLines().size(), 3);
}

void TstAppPageReadSend::sendIsNonVolatileWhateverTheBoxSays_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("firstParam");
    QTest::addColumn<int>("count");
    QTest::newRow("MIDI CC targets") << int(TPageArea::MidiCCTab) << 3000 << 3;
    // All 256 entries of the side shown, without a preset choice.
    QTest::newRow("upper presets") << int(TPageArea::UpperTab) << 1000 << 256;
    QTest::newRow("lower presets") << int(TPageArea::LowerTab) << 1256 << 256;
}

void TstAppPageReadSend::sendIsNonVolatileWhateverTheBoxSays()
{
    QFETCH(int, tab);
    QFETCH(int, firstParam);
    QFETCH(int, count);
    connectBoard();
    area()->CheckboxEEwrite()->setChecked(false);
    area()->PageControl1()->setCurrentIndex(tab);

    QTest::mouseClick(area()->SendAll(), Qt::LeftButton);

    BoardEngine& board = m_sim->board->engine();
    QStringList writes;
    for (const QString& line : sentLines()) {
        if (line.endsWith('!') && !line.startsWith("wen"))
            writes << line.section('=', 0, 0);
    }
    QCOMPARE(writes.size(), count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(writes[i], QString::number(firstParam + i));
        QVERIFY2(board.isNonVolatile(firstParam + i), qPrintable(writes[i]));
    }
    if (tab == TPageArea::MidiCCTab) {
        QCOMPARE(board.value(3001), 907);
        QCOMPARE(board.value(3002), 401);
    }
    QCOMPARE(consoleLines(), kSendDone);
}

void TstAppPageReadSend::choosingATab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("how");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("lower, connected")
        << int(TPageArea::LowerTab) << true << int(Click) << QStringList{"414=4!"};
    QTest::newRow("upper, connected")
        << int(TPageArea::UpperTab) << true << int(Click) << QStringList{"413=7!"};
    QTest::newRow("lower by arrow key")
        << int(TPageArea::LowerTab) << true << int(Key) << QStringList{"414=4!"};
    QTest::newRow("lower, not connected")
        << int(TPageArea::LowerTab) << false << int(Click) << QStringList{};
    QTest::newRow("rotary, connected")
        << int(TPageArea::RotaryTab) << true << int(Click) << QStringList{};
    // Showing a tab from code (as the connect flow does) is no choice.
    QTest::newRow("lower by code")
        << int(TPageArea::LowerTab) << true << int(Code) << QStringList{};
}

void TstAppPageReadSend::choosingATab()
{
    QFETCH(int, tab);
    QFETCH(bool, connected);
    QFETCH(int, how);
    QFETCH(QStringList, sent);
    if (connected)
        connectBoard();
    area()->UpperPage()->ComboBoxUpperPreset()->setCurrentIndex(7);
    area()->LowerPage()->ComboBoxLowerPreset()->setCurrentIndex(4);
    QTabWidget* tabs = area()->PageControl1();
    if (how == Key)
        tabs->setCurrentIndex(tab - 1);
    m_sim->board->engine().clearReceived();

    if (how == Click)
        clickTab(tab);
    else if (how == Key)
        QTest::keyClick(tabs->tabBar(), Qt::Key_Right);
    else
        tabs->setCurrentIndex(tab);

    QCOMPARE(tabs->currentIndex(), tab);
    QStringList live;
    for (const QString& line : sentLines()) {
        if (line.startsWith("413=") || line.startsWith("414="))
            live << line;
    }
    QCOMPARE(live, sent);
    if (how != Code) {
        QCOMPARE(area()->ReadAll()->isEnabled(), connected);
        QCOMPARE(area()->SendAll()->isEnabled(), connected);
    }
}

void TstAppPageReadSend::pageButtonsFollowTheTab()
{
    connectBoard();
    const QList<QWidget*> buttons{area()->SendAll(), area()->ReadAll(), area()->CheckboxEEwrite()};

    clickTab(TPageArea::AdvancedTab);
    for (QWidget* button : buttons)
        QVERIFY2(button->isHidden(), qPrintable(button->objectName()));
    clickTab(TPageArea::FactoryTab);
    for (QWidget* button : buttons)
        QVERIFY2(button->isHidden(), qPrintable(button->objectName()));

    clickTab(TPageArea::MidiCCTab);
    for (QWidget* button : buttons)
        QVERIFY2(!button->isHidden(), qPrintable(button->objectName()));
    QVERIFY(area()->ReadAll()->isEnabled());
    QVERIFY(area()->ScrollBar1()->isHidden());
    QVERIFY(area()->ComboBox1()->isHidden());
}

void TstAppPageReadSend::menuKeysOnTabsWithoutParameters_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("send");
    QTest::newRow("F5 on Advanced") << int(TPageArea::AdvancedTab) << false;
    QTest::newRow("F6 on Advanced") << int(TPageArea::AdvancedTab) << true;
    QTest::newRow("F5 on Factory") << int(TPageArea::FactoryTab) << false;
}

void TstAppPageReadSend::menuKeysOnTabsWithoutParameters()
{
    QFETCH(int, tab);
    QFETCH(bool, send);
    connectBoard();
    clickTab(tab);
    m_sim->board->engine().clearReceived();
    TMainMenu* menu = m_form->MainMenu1();
    QAction* item = send ? menu->SendParamsfromPage() : menu->ReadParamstoPage();
    QCOMPARE(item->shortcut(), QKeySequence(send ? Qt::Key_F6 : Qt::Key_F5));

    item->trigger();

    QCOMPARE(consoleLines(), send ? kSendDone : kReadDone);
    QVERIFY(sentLines().isEmpty());
}

QTEST_MAIN(TstAppPageReadSend)
#include "tst_app_pagereadsend.moc"
