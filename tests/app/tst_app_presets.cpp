#include "BoardEngine.h"
#include "D2xxLibrary.h"
#include "FakeClock.h"
#include "TestBoard.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "SimBoardBackend.h"
#include "TBoardInfoBox.h"
#include "TFactoryPage.h"
#include "TForm1.h"
#include "TLowerPage.h"
#include "TMainMenu.h"
#include "TPageArea.h"
#include "TPresetFile.h"
#include "TPresetPages.h"
#include "TUpdateBox.h"
#include "TUpperPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using Side = TPresetTable::Side;
using Entries = QMap<int, int>; // entry -> value within one preset

// The Upper and Lower tabs, the live switches and the preset menu entries,
// with the window on simulated time and a simulated board behind the link.
class TstAppPresets : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void choosingAPresetSendsItFirstThenWhatChanges_data();
    void choosingAPresetSendsItFirstThenWhatChanges();
    void listSelectionByCodeRunsNothing_data();
    void listSelectionByCodeRunsNothing();
    void drawbarStoresIntoSelectedPresetAndSends_data();
    void drawbarStoresIntoSelectedPresetAndSends();
    void slidersClampAndStoreOnlyWhenMoved();
    void vibKnobShowsKnownPositionsOnly_data();
    void vibKnobShowsKnownPositionsOnly();
    void knobChoiceStoresAndSends();
    void switchBitsShowFromLowByte_data();
    void switchBitsShowFromLowByte();
    void switchClickCapturesWholeState_data();
    void switchClickCapturesWholeState();
    void eachSwitchSendsItsLiveParameter_data();
    void eachSwitchSendsItsLiveParameter();
    void clearSwitches_data();
    void clearSwitches();
    void stateToControlsShowsRecord_data();
    void stateToControlsShowsRecord();
    void exportThenImportRestoresEntriesAndZeroesDummies();
    void dialogsAndCancel_data();
    void dialogsAndCancel();
    void failedFileShowsBoxAndKeepsTable_data();
    void failedFileShowsBoxAndKeepsTable();
    void startUpShowsBothPresetFiles();

private:
    void createForm();
    void connectBoard();
    QStringList sentLines() const { return m_sim->sentLines(); }
    TUpperPage* upper() const { return m_form->PageArea()->UpperPage(); }
    TLowerPage* lower() const { return m_form->PageArea()->LowerPage(); }
    QCheckBox* box(int n) const { return m_form->PresetPages()->CheckBox(n); }
    TPresetTable& table(Side side)
    {
        return side == Side::Upper ? m_form->Pages().upperPresets()
                                   : m_form->Pages().lowerPresets();
    }
    QComboBox* presetList(Side side) const
    {
        return side == Side::Upper ? upper()->ComboBoxUpperPreset()
                                   : lower()->ComboBoxLowerPreset();
    }
    QAction* menuAction(const QString& name) const
    {
        return m_form->MainMenu1()->findChild<QAction*>(name);
    }
    // What a user's choice in a drop-down list does.
    static void choose(QComboBox* list, int index)
    {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void setEntries(Side side, int preset, const Entries& entries)
    {
        for (auto it = entries.begin(); it != entries.end(); ++it)
            table(side).setEntry(preset, it.key(), it.value());
    }

    std::unique_ptr<TestBoard> m_sim;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppPresets::init()
{
    m_sim = std::make_unique<TestBoard>();
    m_prompter = ScriptedPrompter();
    createForm();
}

void TstAppPresets::createForm()
{
    m_form.reset();
    TAppEnvironment env;
    env.appPath = m_sim->dir.path();
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    m_form = std::make_unique<TForm1>(env);
    m_form->Timer1()->stop();
}

void TstAppPresets::cleanup()
{
    m_form.reset();
    m_sim.reset();
}

void TstAppPresets::connectBoard()
{
    QVERIFY(m_sim->open(m_form->Link()));
    m_sim->board->engine().clearReceived();
}

void TstAppPresets::choosingAPresetSendsItFirstThenWhatChanges_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("preset");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<Entries>("after");

    // Entry 3 equals what is shown already and sends nothing; 200 shows as
    // 127 and is stored so; the vibrato knob follows silently; only the
    // low byte of the buttons counts, and the boxes' capture keeps it alone.
    QTest::newRow("upper") << int(Side::Upper) << 5
                           << Entries{{0, 100}, {3, 0}, {8, 200}, {9, 3}, {10, 0x105}}
                           << QStringList{"413=5!", "401=100!", "409=127!", "900=255!", "902=255!"}
                           << Entries{{0, 100}, {8, 127}, {9, 3}, {10, 0x05}};
    QTest::newRow("lower and pedal")
        << int(Side::Lower) << 3 << Entries{{4, 64}, {10, 30}, {13, 0x20}, {14, 0xC0}}
        << QStringList{"414=3!", "420=64!", "426=30!", "905=255!", "916=255!", "917=255!"}
        << Entries{{4, 64}, {10, 30}, {13, 0x20}, {14, 0xC0}};
}

void TstAppPresets::choosingAPresetSendsItFirstThenWhatChanges()
{
    QFETCH(int, side);
    QFETCH(int, preset);
    QFETCH(Entries, entries);
    QFETCH(QStringList, expected);
    QFETCH(Entries, after);
    setEntries(Side(side), preset, entries);
    connectBoard();

    choose(presetList(Side(side)), preset);

    QCOMPARE(sentLines(), expected);
    for (auto it = after.begin(); it != after.end(); ++it)
        QCOMPARE(table(Side(side)).entry(preset, it.key()), it.value());
    if (Side(side) == Side::Upper) {
        QCOMPARE(upper()->ComboBoxVibKnob()->currentIndex(), 3);
        QCOMPARE(upper()->TrackBarU(8)->value(), 127);
    }

    // Back to the live preset: it sends the choice and turns everything back.
    m_sim->board->engine().clearReceived();
    choose(presetList(Side(side)), 0);
    QCOMPARE(sentLines().value(0), Side(side) == Side::Upper ? "413=0!" : "414=0!");
    QCOMPARE(sentLines().size(), expected.size());
}

void TstAppPresets::listSelectionByCodeRunsNothing_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("upper preset") << "ComboBoxUpperPreset";
    QTest::newRow("lower preset") << "ComboBoxLowerPreset";
    QTest::newRow("vibrato knob") << "ComboBoxVibKnob";
}

void TstAppPresets::listSelectionByCodeRunsNothing()
{
    QFETCH(QString, list);
    table(Side::Upper).setEntry(4, 0, 90);
    table(Side::Lower).setEntry(4, 0, 90);
    connectBoard();

    m_form->findChild<QComboBox*>(list)->setCurrentIndex(4);

    QCOMPARE(sentLines(), QStringList{});
    QCOMPARE(upper()->TrackBarU(0)->value(), 0);
    QCOMPARE(lower()->TrackBarL(0)->value(), 0);
    QCOMPARE(table(Side::Upper).entry(0, 9), 0);
}

void TstAppPresets::drawbarStoresIntoSelectedPresetAndSends_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("flat");
    QTest::addColumn<QString>("line");

    QTest::newRow("L4 on preset 2")
        << "TrackBarL4" << int(Side::Lower) << 2 << true << 36 << "420=64!";
    QTest::newRow("U0 live") << "TrackBarU0" << int(Side::Upper) << 0 << true << 0 << "401=64!";
    QTest::newRow("U8 on preset 15")
        << "TrackBarU8" << int(Side::Upper) << 15 << true << 248 << "409=64!";
    QTest::newRow("pedal 16' on preset 1")
        << "TrackBarB0" << int(Side::Lower) << 1 << true << 25 << "425=64!";
    QTest::newRow("sustain on preset 15")
        << "TrackBarB3" << int(Side::Lower) << 15 << true << 252 << "428=64!";
    QTest::newRow("disconnected") << "TrackBarL4" << int(Side::Lower) << 2 << false << 36 << "";
}

void TstAppPresets::drawbarStoresIntoSelectedPresetAndSends()
{
    QFETCH(QString, slider);
    QFETCH(int, side);
    QFETCH(int, preset);
    QFETCH(bool, connected);
    QFETCH(int, flat);
    QFETCH(QString, line);
    if (connected)
        connectBoard();
    presetList(Side(side))->setCurrentIndex(preset);
    auto* bar = m_form->findChild<QSlider*>(slider);

    bar->setValue(64);

    QCOMPARE(table(Side(side)).at(flat), 64);
    int stored = 0;
    for (qint32 value : table(Side(side)).entries())
        stored += value != 0;
    QCOMPARE(stored, 1);
    QCOMPARE(sentLines(), line.isEmpty() ? QStringList{} : QStringList{line});

    // The same position again is no change.
    bar->setValue(64);
    QCOMPARE(sentLines().size(), line.isEmpty() ? 0 : 1);
}

void TstAppPresets::slidersClampAndStoreOnlyWhenMoved()
{
    setEntries(Side::Upper, 0, {{0, 200}, {1, -7}, {2, 127}});
    table(Side::Upper).setEntry(0, 3, 128);
    upper()->TrackBarU(2)->setValue(127);
    table(Side::Upper).setEntry(0, 2, 300);

    m_form->StateToControls();

    QCOMPARE(upper()->TrackBarU(0)->value(), 127);
    QCOMPARE(upper()->TrackBarU(1)->value(), 0);
    QCOMPARE(upper()->TrackBarU(2)->value(), 127);
    // Moved from 0: the clamped position is stored. Not moved: the table
    // keeps what it held.
    QCOMPARE(table(Side::Upper).entry(0, 0), 127);
    QCOMPARE(table(Side::Upper).entry(0, 1), -7);
    QCOMPARE(table(Side::Upper).entry(0, 2), 300);
    QCOMPARE(table(Side::Upper).entry(0, 3), 127);
}

void TstAppPresets::vibKnobShowsKnownPositionsOnly_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("index");
    QTest::newRow("V1") << 0 << 0;
    QTest::newRow("C3") << 5 << 5;
    QTest::newRow("6") << 6 << -1;
    QTest::newRow("-1") << -1 << -1;
    QTest::newRow("0x102") << 0x102 << -1;
}

void TstAppPresets::vibKnobShowsKnownPositionsOnly()
{
    QFETCH(int, entry);
    QFETCH(int, index);
    upper()->ComboBoxVibKnob()->setCurrentIndex(2);
    table(Side::Upper).setEntry(0, 9, entry);
    connectBoard();

    m_form->StateToControls();

    QCOMPARE(upper()->ComboBoxVibKnob()->currentIndex(), index);
    QCOMPARE(table(Side::Upper).entry(0, 9), entry);
    QCOMPARE(sentLines(), QStringList{});
}

void TstAppPresets::knobChoiceStoresAndSends()
{
    connectBoard();
    upper()->ComboBoxUpperPreset()->setCurrentIndex(7);

    choose(upper()->ComboBoxVibKnob(), 4);

    QCOMPARE(table(Side::Upper).entry(7, 9), 4);
    QCOMPARE(table(Side::Upper).entry(0, 9), 0);
    QCOMPARE(sentLines(), QStringList{"410=4!"});
}

void TstAppPresets::switchBitsShowFromLowByte_data()
{
    QTest::addColumn<int>("upperButtons");
    QTest::addColumn<int>("lowerButtons");
    QTest::addColumn<int>("jackSplit");
    QTest::addColumn<QList<int>>("checked");

    QTest::newRow("all upper") << 0x1F << 0 << 0 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("0x100 is none") << 0x100 << 0 << 0 << QList<int>{};
    QTest::newRow("upper bits above 0x10") << 0xE9 << 0 << 0 << QList<int>{0, 3};
    QTest::newRow("vib lower") << 0 << 0x20 << 0 << QList<int>{5};
    QTest::newRow("lower without 0x20") << 0 << 0xDF << 0 << QList<int>{};
    QTest::newRow("JackConf and Split") << 0 << 0 << 0xC0 << QList<int>{10, 11};
    QTest::newRow("Split, high byte ignored") << 0 << 0 << 0x180 << QList<int>{11};
    QTest::newRow("0x100 jack is none") << 0 << 0 << 0x100 << QList<int>{};
}

void TstAppPresets::switchBitsShowFromLowByte()
{
    QFETCH(int, upperButtons);
    QFETCH(int, lowerButtons);
    QFETCH(int, jackSplit);
    QFETCH(QList<int>, checked);
    setEntries(Side::Upper, 0, {{10, upperButtons}});
    setEntries(Side::Lower, 0, {{13, lowerButtons}, {14, jackSplit}});

    m_form->StateToControls();

    for (int n = 0; n < TPresetPages::kSwitchCount; ++n)
        QVERIFY2(box(n)->isChecked() == checked.contains(n), qPrintable(box(n)->objectName()));
}

void TstAppPresets::switchClickCapturesWholeState_data()
{
    QTest::addColumn<bool>("vibLower");
    QTest::addColumn<QString>("deviceText");
    QTest::addColumn<int>("device");
    QTest::newRow("vib lower on, device 3") << true << "3" << 3;
    QTest::newRow("vib lower off, device not a number") << false << "x1" << -1;
    QTest::newRow("empty device box") << false << "" << -1;
}

void TstAppPresets::switchClickCapturesWholeState()
{
    QFETCH(bool, vibLower);
    QFETCH(QString, deviceText);
    QFETCH(int, device);
    m_form->Pages().organ().setCell(0, 1, "477");
    m_form->Pages().organ().setCell(2, 1, "3");
    upper()->ComboBoxUpperPreset()->setCurrentIndex(1);
    lower()->ComboBoxLowerPreset()->setCurrentIndex(2);
    for (int n = 0; n < TUpperPage::kDrawbars; ++n)
        upper()->TrackBarU(n)->setValue(10 + n);
    for (int n = 0; n < TLowerPage::kPedals; ++n)
        lower()->TrackBarB(n)->setValue(50 + n);
    upper()->ComboBoxVibKnob()->setCurrentIndex(4);
    upper()->CheckBox(1)->setChecked(true);
    upper()->CheckBox(4)->setChecked(true);
    lower()->CheckBox5()->setChecked(vibLower);
    // Entries the controls do not show, and stale ones they will overwrite.
    setEntries(Side::Upper, 1, {{9, 0}, {10, 0x7E0}, {11, 11}, {15, 15}});
    setEntries(Side::Lower, 2, {{13, 0x5F}, {14, 0xC0}, {15, 9}});
    table(Side::Upper).setEntry(0, 10, 0x1F);
    m_form->BoardInfoBox()->FPGAversion()->setText("1234ABCD");
    m_form->UpdateBox()->CheckRestoreMidi()->setChecked(true);
    m_form->PageArea()->FactoryPage()->EditFTDIdevice()->setText(deviceText);
    m_form->ZR5Record().SaveDF = false;
    connectBoard();

    box(7)->click();

    const TPresetTable& up = table(Side::Upper);
    for (int n = 0; n < TUpperPage::kDrawbars; ++n)
        QCOMPARE(up.entry(1, n), 10 + n);
    QCOMPARE(up.entry(1, 9), 4);
    QCOMPARE(up.entry(1, 10), 0x12);
    QCOMPARE(up.entry(1, 11), 11);
    QCOMPARE(up.entry(1, 15), 15);
    QCOMPARE(up.entry(0, 10), 0x1F); // not the selected preset
    const TPresetTable& low = table(Side::Lower);
    for (int n = 0; n < TLowerPage::kPedals; ++n)
        QCOMPARE(low.entry(2, 9 + n), 50 + n);
    QCOMPARE(low.entry(2, 0), 0);
    QCOMPARE(low.entry(2, 13), vibLower ? 0x20 : 0);
    QCOMPARE(low.entry(2, 14), 0xC0);
    QCOMPARE(low.entry(2, 15), 9);

    const TZR5Record& record = m_form->ZR5Record();
    QCOMPARE(record.FPGAversion, QStringLiteral("1234ABCD"));
    QCOMPARE(record.ScanCore, 3);
    QVERIFY(record.SaveDF);
    QVERIFY(!record.RestoreOrgan);
    QVERIFY(record.RestoreMidi);
    QVERIFY(!record.RestorePresets);
    QCOMPARE(record.Device, device);
    QCOMPARE(sentLines(), QStringList{"907=255!"});
}

void TstAppPresets::eachSwitchSendsItsLiveParameter_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("param");
    QTest::newRow("Perc On") << 0 << 900;
    QTest::newRow("Vib On Upper") << 4 << 904;
    QTest::newRow("Vib On Lower") << 5 << 905;
    QTest::newRow("Leslie Run") << 6 << 906;
    QTest::newRow("Leslie Fast") << 7 << 907;
    QTest::newRow("Rev I") << 8 << 914;
    QTest::newRow("Rev II") << 9 << 915;
    QTest::newRow("JackConf") << 10 << 916;
    QTest::newRow("Split On") << 11 << 917;
}

void TstAppPresets::eachSwitchSendsItsLiveParameter()
{
    QFETCH(int, n);
    QFETCH(int, param);
    connectBoard();

    box(n)->click();
    box(n)->setChecked(false);
    box(n)->setChecked(false);

    QCOMPARE(sentLines(), (QStringList{QStringLiteral("%1=255!").arg(param),
                                       QStringLiteral("%1=0!").arg(param)}));
}

void TstAppPresets::clearSwitches_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("disconnected") << false << QStringList{};
    QTest::newRow("connected") << true << QStringList{"900=0!", "905=0!", "907=0!",
                                                      "917=0!", "909=0!", "919=0!"};
}

void TstAppPresets::clearSwitches()
{
    QFETCH(bool, connected);
    QFETCH(QStringList, expected);
    for (int n : {0, 5, 7, 11})
        box(n)->setChecked(true);
    QCOMPARE(table(Side::Upper).entry(0, 10), 0x01);
    QCOMPARE(table(Side::Lower).entry(0, 13), 0x20);
    if (connected)
        connectBoard();

    m_form->ClearSwitches();

    for (int n = 0; n < TPresetPages::kSwitchCount; ++n)
        QVERIFY(!box(n)->isChecked());
    QCOMPARE(table(Side::Upper).entry(0, 10), 0);
    QCOMPARE(table(Side::Lower).entry(0, 13), 0);
    QCOMPARE(sentLines(), expected);
}

void TstAppPresets::stateToControlsShowsRecord_data()
{
    QTest::addColumn<double>("firmware");
    QTest::addColumn<QString>("shown");
    QTest::newRow("3.6") << 3.6 << "3.6";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("3.805") << 3.805 << "3.805";
    QTest::newRow("4") << 4.0 << "4";
}

void TstAppPresets::stateToControlsShowsRecord()
{
    QFETCH(double, firmware);
    QFETCH(QString, shown);
    TZR5Record& record = m_form->ZR5Record();
    record.FirmwareVersion = firmware;
    record.Owner = "Somebody";
    record.FPGAversion = "0A0B0C0D";
    record.SerialNumber = 4711;
    record.Device = 2;
    record.ComPort = 7;
    record.RestoreOrgan = true;
    record.RestorePresets = true;

    m_form->StateToControls();

    TBoardInfoBox* info = m_form->BoardInfoBox();
    QCOMPARE(info->EditFirmwareVersion()->text(), shown);
    QCOMPARE(info->EditUserName()->text(), QStringLiteral("Somebody"));
    QCOMPARE(info->FPGAversion()->text(), QStringLiteral("0A0B0C0D"));
    QCOMPARE(info->EditSerialNumber()->text(), QStringLiteral("4711"));
    QCOMPARE(m_form->PageArea()->FactoryPage()->EditFTDIdevice()->text(), QStringLiteral("2"));
    QCOMPARE(m_form->PageArea()->FactoryPage()->EditFTDIcom()->text(), QStringLiteral("7"));
    QVERIFY(m_form->UpdateBox()->CheckRestoreOrgan()->isChecked());
    QVERIFY(!m_form->UpdateBox()->CheckRestoreMidi()->isChecked());
    QVERIFY(m_form->UpdateBox()->CheckRestorePresets()->isChecked());
}

void TstAppPresets::exportThenImportRestoresEntriesAndZeroesDummies()
{
    // Values the controls can show unchanged, so that showing them
    // captures nothing new; the entries behind the Dummy lines are not zero.
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat) {
        const int entry = flat % TPresetTable::entriesPerPreset;
        table(Side::Upper)
            .setAt(flat, entry == 9    ? flat % 6
                         : entry == 10 ? flat % 32
                                       : flat % 128);
        table(Side::Lower)
            .setAt(flat, entry == 13   ? (flat & 0x20)
                         : entry == 14 ? 0xC0
                                       : flat % 128);
    }
    m_form->StateToControls();
    QVERIFY(box(10)->isChecked() && box(11)->isChecked());
    const TPresetTable upperBefore = table(Side::Upper);
    const TPresetTable lowerBefore = table(Side::Lower);

    const QString upperPath = QDir(m_sim->dir.path()).filePath("zr_upper.csv");
    const QString lowerPath = QDir(m_sim->dir.path()).filePath("zr_lower.csv");
    for (const QString& path : {upperPath, lowerPath, upperPath, lowerPath})
        m_prompter.fileNames.enqueue(path);
    menuAction("ExportUpperPresets1")->trigger();
    menuAction("ExportLowerPresets1")->trigger();
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat) {
        table(Side::Upper).setAt(flat, -5);
        table(Side::Lower).setAt(flat, -5);
    }
    menuAction("ImportUpperPresets1")->trigger();
    menuAction("ImportLowerPresets1")->trigger();

    QCOMPARE(m_prompter.messages.size(), 0);
    for (int flat = 0; flat < TPresetTable::entryCount; ++flat) {
        const int entry = flat % TPresetTable::entriesPerPreset;
        QCOMPARE(table(Side::Upper).at(flat), entry <= 10 ? upperBefore.at(flat) : 0);
        QCOMPARE(table(Side::Lower).at(flat), entry <= 13 ? lowerBefore.at(flat) : 0);
    }
    QVERIFY(!box(10)->isChecked());
    QVERIFY(!box(11)->isChecked());
    QCOMPARE(m_form->ZR5Record().UpperPresetFile, upperPath);
    QCOMPARE(m_form->ZR5Record().LowerPresetFile, lowerPath);
}

void TstAppPresets::dialogsAndCancel_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::newRow("import upper") << "ImportUpperPresets1" << false
                                  << "ZR5 Import Upper Presets Data File"
                                  << "Import CSV (zr*.csv)";
    QTest::newRow("import lower") << "ImportLowerPresets1" << false
                                  << "ZR5 Import Lower Presets Data File"
                                  << "Import CSV (zr*.csv)";
    QTest::newRow("export upper") << "ExportUpperPresets1" << true
                                  << "ZR5 Export Upper Presets Data File"
                                  << "Export Data (*.csv)";
    QTest::newRow("export lower") << "ExportLowerPresets1" << true
                                  << "ZR5 Export Lower Presets Data File"
                                  << "Export Data (*.csv)";
}

void TstAppPresets::dialogsAndCancel()
{
    QFETCH(QString, action);
    QFETCH(bool, save);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    table(Side::Upper).setEntry(3, 3, 33);
    table(Side::Lower).setEntry(3, 3, 33);
    const TZR5Record before = m_form->ZR5Record();

    menuAction(action)->trigger(); // no scripted name: the user cancels

    QCOMPARE(m_prompter.fileAsks.size(), 1);
    const ScriptedPrompter::FileAsk& ask = m_prompter.fileAsks.first();
    QCOMPARE(ask.save, save);
    QCOMPARE(ask.request.title, title);
    QCOMPARE(ask.request.filters.value(ask.request.filterIndex), filter);
    QCOMPARE(ask.request.defaultSuffix, QStringLiteral("csv"));
    QCOMPARE(m_form->ZR5Record().UpperPresetFile, before.UpperPresetFile);
    QCOMPARE(m_form->ZR5Record().LowerPresetFile, before.LowerPresetFile);
    QCOMPARE(table(Side::Upper).entry(3, 3), 33);
    QCOMPARE(table(Side::Lower).entry(3, 3), 33);
    QVERIFY(m_prompter.messages.isEmpty());
    QCOMPARE(QDir(m_sim->dir.path()).entryList(QDir::Files), QStringList{});
}

void TstAppPresets::failedFileShowsBoxAndKeepsTable_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("name");
    QTest::newRow("import upper, no such file")
        << "ImportUpperPresets1" << int(Side::Upper) << "zr_absent.csv";
    QTest::newRow("import lower, a folder") << "ImportLowerPresets1" << int(Side::Lower) << "sub";
    QTest::newRow("export upper, no such folder")
        << "ExportUpperPresets1" << int(Side::Upper) << "missing/zr_out.csv";
    QTest::newRow("export lower over a folder")
        << "ExportLowerPresets1" << int(Side::Lower) << "sub";
}

void TstAppPresets::failedFileShowsBoxAndKeepsTable()
{
    QFETCH(QString, action);
    QFETCH(int, side);
    QFETCH(QString, name);
    QVERIFY(QDir(m_sim->dir.path()).mkpath("sub"));
    const QString path = QDir(m_sim->dir.path()).filePath(name);
    table(Side(side)).setEntry(2, 5, 77);
    m_prompter.fileNames.enqueue(path);

    menuAction(action)->trigger();

    QCOMPARE(m_prompter.messages.size(), 1);
    const ScriptedPrompter::Message& message = m_prompter.messages.first();
    QCOMPARE(message.icon, Prompter::Icon::Error);
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
    // The system's reason follows the file name.
    QVERIFY2(message.text.section(QDir::toNativeSeparators(path), 1).size() > 3,
             qPrintable(message.text));
    QCOMPARE(table(Side(side)).entry(2, 5), 77);
    const TZR5Record& record = m_form->ZR5Record();
    QCOMPARE(Side(side) == Side::Upper ? record.UpperPresetFile : record.LowerPresetFile, path);
    QCOMPARE(QDir(m_sim->dir.path()).entryList(QDir::Files), QStringList{});
}

void TstAppPresets::startUpShowsBothPresetFiles()
{
    // The upper live preset has a switch on, so showing it captures the
    // state; the lower file, loaded after it, must not be overwritten by
    // that capture.
    TPresetTable upperFile(Side::Upper);
    upperFile.setEntry(0, 0, 20);
    upperFile.setEntry(0, 10, 0x01);
    TPresetTable lowerFile(Side::Lower);
    lowerFile.setEntry(0, 0, 100);
    lowerFile.setEntry(0, 13, 0x20);
    lowerFile.setEntry(0, 14, 0x40);
    const QDir dir(m_sim->dir.path());
    QVERIFY(TPresetFile::write(dir.filePath("zr5_upper_presets.csv"), upperFile).ok());
    QVERIFY(TPresetFile::write(dir.filePath("zr5_lower_presets.csv"), lowerFile).ok());

    createForm();

    QCOMPARE(table(Side::Upper).entry(0, 0), 20);
    QCOMPARE(table(Side::Lower).entry(0, 0), 100);
    QCOMPARE(table(Side::Lower).entry(0, 13), 0x20);
    QCOMPARE(upper()->TrackBarU(0)->value(), 20);
    QCOMPARE(lower()->TrackBarL(0)->value(), 100);
    for (int n : {0, 5})
        QVERIFY2(box(n)->isChecked(), qPrintable(box(n)->objectName()));
    // Entry 14 is written to files as a dummy 0, so JackConf stays off.
    QVERIFY(!box(10)->isChecked());
}

QTEST_MAIN(TstAppPresets)
#include "tst_app_presets.moc"
