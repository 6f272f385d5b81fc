#include "FakeClock.h"
#include "RecordingSound.h"
#include "ScriptedPrompter.h"
#include "TConsole.h"
#include "TConsoleBox.h"
#include "TForm1.h"
#include "TMainMenu.h"
#include "TPageArea.h"
#include "TProgressBox.h"
#include "TStringGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEnterEvent>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kWelcome = QStringLiteral("Welcome to ZR5 Remote!");
const QString kFilesNotFound = QStringLiteral("##### Error: Files not found - Resetting File Info");
const QString kMissing = QStringLiteral("##### Error: Missing file ");

// A clock that lets only a few milliseconds pass per wait, as a real one
// does when events wake it early.
class SteppingClock : public Clock
{
public:
    SteppingClock() { Clock::setCurrent(this); }
    ~SteppingClock() override { Clock::setCurrent(nullptr); }
    qint64 nowMs() const override { return m_now; }
    void sleepMs(qint64 ms) override { m_now += qMin<qint64>(ms, 7); }
    void waitProcessingEvents(qint64 ms) override
    {
        ++waits;
        m_now += qMin<qint64>(ms, 7);
    }
    int waits = 0;

private:
    qint64 m_now = 500;
};

QString captionOf(const QObject* object)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* box = qobject_cast<const QGroupBox*>(object))
        return box->title();
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(object))
        return edit->text();
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    if (auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    if (auto* widget = qobject_cast<const QWidget*>(object))
        return widget->windowTitle();
    return {};
}

void touch(const QString& path, bool executable = false)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // One line that every table file can hold.
    file.write("1=x\n");
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class TstAppMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void componentsCarryCaptionAndHint_data();
    void componentsCarryCaptionAndHint();
    void statusBarShowsLongPartOfHint();
    void windowSizeAndFonts();
    void gridSizesAndColumnWidths_data();
    void gridSizesAndColumnWidths();
    void progressBoxAtDesignTime();
    void startsInDisconnectedStateWithDefaults();
    void disconnectedStateUnchecksTheSwitches();

    void consoleLineAppendsAtEndAndFollows();
    void reportDoneWritesDoneBetweenEmptyLines();
    void verboseLineOnlyWhileVerboseChecked_data();
    void verboseLineOnlyWhileVerboseChecked();
    void reportsOfAbortZeroTheProgress_data();
    void reportsOfAbortZeroTheProgress();

    void waitMsWaitsTheTimeAndProcessesEvents();
    void waitMsKeepsWaitingUntilTheDeadline();
    void waitMsZeroReturnsAtOnce();
    void busyLampGoesDarkTenTicksAfterLastFlash();
    void cancelWhileIdleWarnsAndHoldsProgressAtZero();

    void startupReportsMissingFilesInOrder_data();
    void startupReportsMissingFilesInOrder();
    void diamexPortEnablesProductionControls_data();
    void diamexPortEnablesProductionControls();
    void copyFollowsSelectionOfFocusedTextBox();

private:
    std::unique_ptr<TForm1> makeForm(const QStringList& toolSearchPath = {});
    template <typename T = QWidget> T* find(const QString& name) const
    {
        T* child = m_form->findChild<T*>(name);
        if (!child)
            qWarning("no component %s", qPrintable(name));
        return child;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter m_prompter;
    RecordingSound m_sound;
    std::unique_ptr<TForm1> m_form;
};

void TstAppMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_form = makeForm();
    // Tests drive the timer step themselves.
    m_form->Timer1()->stop();
}

void TstAppMainWindow::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

std::unique_ptr<TForm1> TstAppMainWindow::makeForm(const QStringList& toolSearchPath)
{
    TAppEnvironment env;
    env.appPath = m_dir->path();
    env.toolSearchPath = toolSearchPath;
    env.prompter = &m_prompter;
    env.sound = &m_sound;
    return std::make_unique<TForm1>(env);
}

void TstAppMainWindow::componentsCarryCaptionAndHint_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");

    auto row = [](const char* name, const QString& caption, const QString& hint) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << hint;
    };
    // Top strip and page area
    row("BtnRescan", "Device", "Open ZR5 USB Device");
    row("BtnClose", "Close", "Close ZR5 USB Device");
    row("DeviceView", "(not selected)", "");
    row("CheckBox6", "Leslie Run", "Saved to defaults");
    row("CheckBox7", "Leslie Fast", "Saved to defaults");
    row("CheckBox8", "Rev I", "Saved to defaults");
    row("CheckBox9", "Rev II", "Saved to defaults");
    row("CheckBox10", "JackConf", "Audio Jack Configuration,, saved to Lower preset");
    row("CheckBox11", "Split On", "Split ON/OFF, saved to Lower preset");
    row("ReadAll", "Get Params", "Read all params from ZR5 to active tab");
    row("SendAll", "Send Params", "Send all params of active tab to ZR5 and store to EEPROM");
    row("CheckboxEEwrite", "Non-volatile Write",
        "Write changes immediately to non-volatile EEPROM");
    row("PageControl1", "",
        "Read Params / Write Params will update only displayed page of "
        "parameters");
    row("StringGrid1", "", "Organ default settings - Click on value to edit");
    row("StringGrid2", "", "Organ default settings - Click on value to edit");
    row("StringGrid3", "", "MIDI CC translation table - Enter ZR5 parameter number");
    row("Panel1", "", "Click to toggle ON/OFF");
    row("ComboBox1", "", "Select option from drop-down menu");
    row("CheckBit0", "", "Pin 1 is a switch when checked, otherwise button");
    row("CheckBit7", "", "Pin 8 is a switch when checked, otherwise button");
    row("EditMidiRec", "", "Last MIDI control change received");
    // Start-up runs the row step once, which describes the first row.
    row("MIDIccHint", "MIDI CC 0 translated to ", "");
    // Preset tabs
    row("TabSheet4", "", "Saved to upper preset");
    row("TabSheet5", "", "Saved to lower preset");
    row("TrackBarU0", "", "Edit parameter for Upper");
    row("TrackBarU8", "", "Edit parameter");
    row("TrackBarL3", "", "Edit parameter for Lower");
    row("TrackBarB3", "", "Edit parameter for pedal");
    row("CheckBox0", "Perc On", "Percussion, saved to Upper preset");
    row("CheckBox3", "Perc 3rd", "Percussion, saved to Upper preset");
    row("CheckBox4", "Vib On Upper", "Vibrato Upper ON/OFF, saved to Upper preset");
    row("CheckBox5", "Vib On Lower", "Vibrato Lower ON/OFF, saved to Lower preset");
    row("ComboBoxUpperPreset", "", "Select Preset to edit");
    row("ComboBoxVibKnob", "", "Vibrato knob position, saved to Upper Preset");
    // Advanced tab
    row("TabSheet6", "", "Advanced functions for factory production, technicians and OEMs");
    row("BtnRefresh", "Refresh ZR5 Info", "Get ZR5 board information and display label info");
    row("BtnScanCore", "Update ScanCore",
        "Upload a single Scan Core with .DAT file to selected ScanCore flash slot");
    row("ComboBoxScancore", "", "ScanCore to replace by upload");
    row("BtnDSP", "Update DSP", "Upload Reverb DSP core with  .BIN file");
    row("BtnTaper1", "TG1 ('55)", "Upload Tapering/LC Filter Tables");
    row("BtnTaper2", "TG2 ('61)", "Upload Tapering/LC Filter Tables");
    row("BtnTaper3", "TG3 ('72)", "Upload Tapering/LC Filter Tables");
    row("BtnTaper4", "TG4 (Recap)", "Upload Tapering/LC Filter Tables");
    row("BtnFIR", "Update Horn FIR", "Upload horn filter coefficients");
    row("BtnSaveFactory", "Factory Save", "");
    row("BtnRestoreFactory", "Factory Restore", "");
    row("CheckVerbose", "Debug/Verbose Messages",
        "Enable ZR5 serial message output for debugging ");
    row("RestFileInfoBtn", "Reset File Info", "Set import file paths to default (app) location");
    // Factory tab
    row("BitBtn4", "Reload Gen (9996)", "Send 9997 Query Command");
    row("BitBtn1", "Reload Cores (9997)", "Send 9997 Query Command");
    row("BitBtn2", "Reload FPGA (9998)", "Send 9998 Query Command");
    row("BitBtn3", "System Reset (9999)", "Send 9999 Query Command");
    row("TestParam", "0", "ZR5 Parameter Number");
    row("TestVal", "0", "");
    row("EditDiamex", "0",
        "Enter COM Port number of DIAMEX ISP programmer (named ERFOS-S in windows device "
        "manager COM&LPT)");
    row("dd_FirmwareType", "", "Firmware Name to program with DIAMEX ISP programmer");
    row("ProdProg", "Production Prgrm",
        "Complete production program run with DIAMEX ISP programmer and FTDI cable");
    row("BtnAVRonly", "AVR only", "Programs AVR by ISP only, including fuses");
    row("BtnSetFuses", "Repair Fuses", "Repair AVR controller fuse bits by ISP programmer");
    row("EditFTDIdevice", "-1", "Selected FTDI device last used");
    row("EditFTDIcom", "0", "Selected FTDI device last used");
    // Right half
    row("BoardInfoBox", "ZR5 Board Info", "");
    row("EditSerialNumber", "", "Serial Number readout from ZR5");
    row("FPGAversion", "", "FPGA config (Sound Engine) version readout from ZR5");
    row("EditFirmwareVersion", "", "AVR controller firmware version readout from ZR5");
    row("ComboBoxScanDetected", "", "ScanCore  readout from ZR5");
    row("TransferProgress", "", "Send/Read Progress");
    row("BtnCancel", "Cancel Process", "Cancel any running process");
    row("UpdateBox", "ZR5 Firmware and FPGA Update", "");
    row("UpdateAVR", "Update FW", "Start AVRdude and update ZR5 firmware with .HEX file");
    row("UpdateFPGA", "Update FPGA", "Upload FPGA configuration (Sound Engine) and scan cores");
    row("CheckRestoreOrgan", "Organ Defaults",
        "Restores Organ Default Settings after AVR update (takes some time)");
    row("CheckRestoreMidi", "Midi Custom",
        "Restores MIDI CC Settings after AVR update (takes some time)");
    row("CheckRestorePresets", "Presets", "Restores Presets after AVR update (takes some time)");
    row("ConsoleBox", "ZR5 Response/Messages", "");
    row("BtnWriteBasics", "Finalize",
        "Send Finalize setting to ZR5 and set Factory Restore Memory");
    // Main menu
    row("File1", "&File", "Setup Files");
    row("ImportOrganData1", "Import Organ Data", "");
    row("ImportLowerPresets1", "Import Lower Presets", "");
    row("ExportLeslieData1", "Export Rotary Data", "");
    row("ExportMIDICCData1", "Export MIDI CC Data", "");
    row("FileExit1", "&Quit", "Quit|Quit program");
    row("Edit1", "&Edit", "Edit Menu");
    row("EditCut1", "&Ausschneiden",
        "Ausschneiden|Markiertes Objekt in die Zwischenablage verschieben");
    row("EditCopy1", "&Kopieren", "Kopieren|Markiertes Objekt in die Zwischenablage kopieren");
    row("EditPaste1", QString::fromUtf8("&Einfügen"),
        QString::fromUtf8("Einfügen|Inhalt der Zwischenablage einfügen"));
    row("Actions1", "Actions", "Action Menu");
    row("Connect1", "Connect to FTDI Cable/Device", "");
    row("Disconnect1", "Disconnect", "");
    row("ReadParamstoPage", "Read ZR5 to Page", "");
    row("SendParamsfromPage", "Send Page to ZR5", "");
    row("RefreshInfo1", "Refresh Info", "");
    row("ResetZR51", "Reset ZR5", "");
    row("UpdateFPGAandScanCores1", "Update FPGA", "");
    row("UpdateAVRFirmware1", "Update AVR Firmware", "");
    row("Help1", "&Help", "Help");
    row("HelpAbout1", "&Info...", "Info|Show info box");
}

void TstAppMainWindow::componentsCarryCaptionAndHint()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);

    QObject* component = m_form->findChild<QObject*>(name);
    QVERIFY2(component, qPrintable(name));
    if (!caption.isEmpty())
        QCOMPARE(captionOf(component), caption);

    // A menu's hint sits on the entry that opens it.
    const QObject* hinted = component;
    if (auto* menu = qobject_cast<QMenu*>(component))
        hinted = menu->menuAction();
    const QString shortHint = hint.section(QLatin1Char('|'), 0, 0);
    const QString longHint =
        hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
    if (auto* widget = qobject_cast<const QWidget*>(hinted)) {
        QCOMPARE(widget->toolTip(), shortHint);
        QCOMPARE(widget->statusTip(), longHint);
    } else if (auto* action = qobject_cast<const QAction*>(hinted)) {
        if (!hint.isEmpty())
            QCOMPARE(action->toolTip(), shortHint);
        QCOMPARE(action->statusTip(), longHint);
    }
}

void TstAppMainWindow::statusBarShowsLongPartOfHint()
{
    QStatusBar* status = find<QStatusBar>("StatusBar");
    QVERIFY(status);

    auto* rescan = find<QPushButton>("BtnRescan");
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(rescan, &enter);
    QCOMPARE(status->currentMessage(), QStringLiteral("Open ZR5 USB Device"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(rescan, &leave);
    QCOMPARE(status->currentMessage(), QString());

    // Menu entries with a two-part hint: short part as tip, long part below.
    QAction* quit = m_form->MainMenu1()->FileExit1();
    QVERIFY(quit->showStatusText(m_form.get()));
    QCOMPARE(status->currentMessage(), QStringLiteral("Quit program"));
    QCOMPARE(quit->toolTip(), QStringLiteral("Quit"));
}

void TstAppMainWindow::windowSizeAndFonts()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("ZR5.4 Remote"));
    QCOMPARE(m_form->minimumWidth(), 950);
    QCOMPARE(m_form->maximumWidth(), 950);
    QCOMPARE(m_form->minimumHeight(), 680);
    QCOMPARE(m_form->width(), 950);
    QCOMPARE(m_form->font().family(), QStringLiteral("Arial"));
    QCOMPARE(m_form->font().pixelSize(), 12);

    auto* memo = find<QPlainTextEdit>("Memo1");
    QVERIFY(QFontInfo(memo->font()).fixedPitch());
    QCOMPARE(memo->font().pixelSize(), 12);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    QCOMPARE(m_form->MainMenu1()->FileExit1()->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(m_form->MainMenu1()->ReadParamstoPage()->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(m_form->MainMenu1()->SendParamsfromPage()->shortcut(), QKeySequence(Qt::Key_F6));
    QCOMPARE(m_form->MainMenu1()->RefreshInfo1()->shortcut(), QKeySequence(Qt::Key_F8));

    auto* tabs = find<QTabWidget>("PageControl1");
    const QStringList captions{"Organ", "Rotary",   "MIDI Custom CC", "Upper",
                               "Lower", "Advanced", "Factory"};
    QCOMPARE(tabs->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(tabs->tabText(i), captions[i]);
}

void TstAppMainWindow::gridSizesAndColumnWidths_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QList<int>>("widths");

    QTest::newRow("organ") << "StringGrid1" << 129 << 6 << QList<int>{32, 200, 162, 80, 36, 32};
    QTest::newRow("rotary") << "StringGrid2" << 129 << 3 << QList<int>{32, 200, 162};
    QTest::newRow("midi cc") << "StringGrid3" << 129 << 4 << QList<int>{40, 186, 40, 40};
}

void TstAppMainWindow::gridSizesAndColumnWidths()
{
    QFETCH(QString, grid);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QList<int>, widths);

    auto* table = find<TStringGrid>(grid);
    QVERIFY(table);
    QCOMPARE(table->RowCount(), rows);
    QCOMPARE(table->ColCount(), cols);
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(table->ColWidth(c), widths[c]);
    QCOMPARE(table->rowHeight(0), 20);

    // Title row and data rows share the numbering of the table.
    table->SetCell(1, 0, "Name");
    table->SetCell(2, rows - 1, "7");
    QCOMPARE(table->Cell(1, 0), QStringLiteral("Name"));
    QCOMPARE(table->Cell(2, rows - 1), QStringLiteral("7"));
    table->SetCell(0, 1, "401");
    QVERIFY(!(table->item(0, 0)->flags() & Qt::ItemIsSelectable));
    QVERIFY(table->item(rows - 2, 2)->flags() & Qt::ItemIsEditable);
}

void TstAppMainWindow::progressBoxAtDesignTime()
{
    TProgressBox box;
    QCOMPARE(box.BusyLedColor(), QColor(0, 64, 0));
    QCOMPARE(box.TransferProgress()->minimum(), 0);
    QCOMPARE(box.TransferProgress()->maximum(), 128);
    QVERIFY(box.BtnCancel()->font().bold());
    QCOMPARE(box.BtnCancel()->palette().color(QPalette::ButtonText), QColor(Qt::red));
    QCOMPARE(box.CancelFlag(), 0);

    TConsoleBox console;
    QCOMPARE(console.Lines(), QStringList{"Console"});
}

void TstAppMainWindow::startsInDisconnectedStateWithDefaults()
{
    const TZR5Record& record = m_form->ZR5Record();
    const QString app = m_dir->path() + QLatin1Char('/');
    QCOMPARE(m_form->AppPath(), app);
    QCOMPARE(record.OrganParamFile, app + "zr5_organ_defaults.csv");
    QCOMPARE(record.LeslieParamFile, app + "zr5_rotary_defaults.csv");
    QCOMPARE(record.MidiCCFile, app + "zr5_midi_cc_defaults.csv");
    QCOMPARE(record.UpperPresetFile, app + "zr5_upper_presets.csv");
    QCOMPARE(record.LowerPresetFile, app + "zr5_lower_presets.csv");
    QCOMPARE(record.Device, -1);
    QCOMPARE(record.ComPort, 0);
    QCOMPARE(record.Owner, QStringLiteral("Brackwell"));
    QCOMPARE(record.FPGAversion, QStringLiteral("00000000"));
    QVERIFY(record.SaveDF);
    // The defaults choose scan core 1; start-up then clears it.
    QCOMPARE(record.ScanCore, 0);
    QCOMPARE(m_form->pos(), QPoint(50, 100));
    QCOMPARE(m_form->OpenDialog1().initialDir, app);
    QCOMPARE(m_form->OpenDialog1().filters.value(1), QStringLiteral("Firmware HEX (zr*.hex)"));
    QCOMPARE(m_form->SaveDialog1().filters, QStringList{"Export Data (*.csv)"});

    QVERIFY(!find<QPushButton>("BtnRescan")->isHidden());
    QVERIFY(find<QPushButton>("BtnRescan")->isEnabled());
    QVERIFY(find<QPushButton>("BtnClose")->isHidden());
    for (const char* name : {"ReadAll", "SendAll", "UpdateFPGA", "UpdateAVR", "BtnWriteBasics",
                             "BtnRefresh", "BtnScanCore", "BtnDSP", "BtnTaper1", "BtnTaper4",
                             "BtnFIR", "BtnSaveFactory", "BtnRestoreFactory"})
        QVERIFY2(!find(name)->isEnabled(), name);
    QVERIFY(!m_form->MainMenu1()->Actions1()->isEnabled());
    for (const char* name : {"ScrollBar1", "Panel1", "ComboBox1", "CheckBit0", "CheckBit7"})
        QVERIFY2(find(name)->isHidden(), name);

    QCOMPARE(find<QTabWidget>("PageControl1")->currentIndex(), 0);
    QCOMPARE(find<QComboBox>("dd_FirmwareType")->currentText(),
             QStringLiteral("ZR5mk3_expander_b.hex"));
    QCOMPARE(find<QComboBox>("dd_FirmwareType")->count(), 9);
    QVERIFY(find("ProdProg")->isEnabled());
    QCOMPARE(find<QComboBox>("ComboBoxScanDetected")->currentText(), QStringLiteral("MIDI input"));
    QVERIFY(!find("ComboBoxScanDetected")->isEnabled());
    QCOMPARE(find<QComboBox>("ComboBoxScancore")->currentIndex(), 1);
    QCOMPARE(find<QComboBox>("ComboBoxScancore")->itemText(9), QStringLiteral("Update ALL"));
    QVERIFY(!find<QCheckBox>("CheckVerbose")->isChecked());
    QCOMPARE(m_form->MidiPollCountdown(), 10);
}

void TstAppMainWindow::disconnectedStateUnchecksTheSwitches()
{
    QStringList names;
    for (int n = 0; n <= 11; ++n)
        names << QStringLiteral("CheckBox%1").arg(n);
    for (const QString& name : names)
        find<QCheckBox>(name)->setChecked(true);

    m_form->ShowDisconnectedState();

    for (const QString& name : names)
        QVERIFY2(!find<QCheckBox>(name)->isChecked(), qPrintable(name));
}

void TstAppMainWindow::consoleLineAppendsAtEndAndFollows()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    TConsole& console = m_form->Console();
    auto* memo = find<QPlainTextEdit>("Memo1");
    // The user may have put the cursor anywhere.
    QTextCursor cursor = memo->textCursor();
    cursor.movePosition(QTextCursor::Start);
    memo->setTextCursor(cursor);

    for (int i = 0; i < 200; ++i)
        console.ConsoleLine(QStringLiteral("line %1").arg(i));
    console.ConsoleLine(QString());

    const QStringList lines = m_form->ConsoleBox()->Lines();
    QCOMPARE(lines.first(), kWelcome);
    QCOMPARE(lines.at(lines.size() - 2), QStringLiteral("line 199"));
    QCOMPARE(lines.last(), QString());
    QScrollBar* bar = memo->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
}

void TstAppMainWindow::reportDoneWritesDoneBetweenEmptyLines()
{
    m_form->Console().ClearConsole();
    m_form->Console().ReportDone();
    QCOMPARE(m_form->ConsoleBox()->Lines(), (QStringList{"", "Done.", ""}));
}

void TstAppMainWindow::verboseLineOnlyWhileVerboseChecked_data()
{
    QTest::addColumn<bool>("verbose");
    QTest::newRow("checked") << true;
    QTest::newRow("unchecked") << false;
}

void TstAppMainWindow::verboseLineOnlyWhileVerboseChecked()
{
    QFETCH(bool, verbose);
    find<QCheckBox>("CheckVerbose")->setChecked(verbose);
    m_form->Console().ClearConsole();
    m_form->Host().VerboseLine("254=374 [ZR5 Firmware]");
    QCOMPARE(m_form->ConsoleBox()->Lines(),
             verbose ? QStringList{"254=374 [ZR5 Firmware]"} : QStringList{});
}

void TstAppMainWindow::reportsOfAbortZeroTheProgress_data()
{
    QTest::addColumn<bool>("timedOut");
    QTest::addColumn<QString>("line");
    QTest::newRow("cancelled") << false << "##### Warning: Process cancelled by user";
    QTest::newRow("timed out") << true << "##### Warning: No response or process timed out";
}

void TstAppMainWindow::reportsOfAbortZeroTheProgress()
{
    QFETCH(bool, timedOut);
    QFETCH(QString, line);
    OperationHost& host = m_form->Host();
    host.SetProgressMax(255);
    host.SetProgress(77);
    QCOMPARE(find<QProgressBar>("TransferProgress")->value(), 77);

    timedOut ? host.ReportTimedOut() : host.ReportCancelled();

    QCOMPARE(find<QProgressBar>("TransferProgress")->value(), 0);
    QCOMPARE(m_form->ConsoleBox()->Lines().last(), line);
}

void TstAppMainWindow::waitMsWaitsTheTimeAndProcessesEvents()
{
    FakeClock clock(1000);
    bool delivered = false;
    QTimer::singleShot(0, this, [&] { delivered = true; });

    m_form->Host().WaitMs(250);

    QVERIFY(clock.nowMs() - 1000 >= 250);
    QVERIFY(delivered);
}

void TstAppMainWindow::waitMsKeepsWaitingUntilTheDeadline()
{
    SteppingClock clock;
    m_form->Host().WaitMs(20);
    QCOMPARE(clock.nowMs() - 500, 20);
    QCOMPARE(clock.waits, 3);
}

void TstAppMainWindow::waitMsZeroReturnsAtOnce()
{
    SteppingClock clock;
    m_form->Host().WaitMs(0);
    QCOMPARE(clock.waits, 0);
    QCOMPARE(clock.nowMs(), 500);
}

void TstAppMainWindow::busyLampGoesDarkTenTicksAfterLastFlash()
{
    TProgressBox* box = m_form->ProgressBox();
    const QColor on(255, 16, 0);
    const QColor off(32, 0, 0);

    m_form->Host().FlashBusyLed();
    QCOMPARE(box->BusyLedColor(), on);
    for (int tick = 0; tick < 5; ++tick)
        m_form->Timer1Timer();
    // A further step of the operation restarts the count.
    m_form->Host().FlashBusyLed();
    for (int tick = 0; tick < 10; ++tick) {
        m_form->Timer1Timer();
        QCOMPARE(box->BusyLedColor(), on);
    }
    m_form->Timer1Timer();
    QCOMPARE(box->BusyLedColor(), off);
    m_form->Timer1Timer();
    QCOMPARE(box->BusyLedColor(), off);
}

void TstAppMainWindow::cancelWhileIdleWarnsAndHoldsProgressAtZero()
{
    auto* progress = find<QProgressBar>("TransferProgress");
    progress->setValue(40);

    QTest::mouseClick(find<QPushButton>("BtnCancel"), Qt::LeftButton);

    QCOMPARE(m_form->ConsoleBox()->Lines().last(),
             QStringLiteral("##### Warning: Process cancelled by user"));
    QVERIFY(m_form->Host().CancelRequested());
    QCOMPARE(find("BtnCancel")->property("tag").toInt(), 1);
    QCOMPARE(progress->value(), 0);

    // Whatever sets the bar meanwhile, the timer holds it at 0 ...
    for (int tick = 0; tick < 25; ++tick) {
        progress->setValue(60);
        m_form->Timer1Timer();
        QCOMPARE(progress->value(), 0);
    }
    QVERIFY(m_form->Host().CancelRequested());
    // ... until the next operation clears the flag.
    m_form->Host().SetCancelFlag(0);
    progress->setValue(60);
    m_form->Timer1Timer();
    QCOMPARE(progress->value(), 60);
}

void TstAppMainWindow::startupReportsMissingFilesInOrder_data()
{
    QTest::addColumn<QStringList>("besideProgram");
    QTest::addColumn<bool>("toolOnPath");
    QTest::addColumn<QStringList>("expected");

    const QString buttons = kMissing + "zr5_buttons.csv";
    const QString menus = kMissing + "zr5_dropdown_menus.csv";
    const QString tool = kMissing + "avrdude";
    const QStringList all{"zr5_organ_defaults.csv", "zr5_buttons.csv", "zr5_dropdown_menus.csv",
                          "avrdude*"};
    // The page files come first, in their own order, then the side tables.
    const QStringList otherPages{
        kMissing + "zr5_rotary_defaults.csv", kMissing + "zr5_midi_cc_defaults.csv",
        kMissing + "zr5_upper_presets.csv", kMissing + "zr5_lower_presets.csv"};
    const QStringList noPages = QStringList{kMissing + "zr5_organ_defaults.csv"} + otherPages;
    const QStringList organOnly =
        QStringList{"Using Organ Param file: zr5_organ_defaults.csv"} + otherPages;

    QTest::newRow("nothing") << QStringList{} << false
                             << QStringList{kWelcome, kFilesNotFound} + noPages +
                                    QStringList{buttons, menus, tool};
    QTest::newRow("everything") << all << false << QStringList{kWelcome} + organOnly;
    QTest::newRow("organ table only")
        << QStringList{"zr5_organ_defaults.csv"} << false
        << QStringList{kWelcome} + organOnly + QStringList{buttons, menus, tool};
    QTest::newRow("tool on the search path")
        << QStringList{"zr5_organ_defaults.csv", "zr5_buttons.csv", "zr5_dropdown_menus.csv"}
        << true << QStringList{kWelcome} + organOnly;
    QTest::newRow("tool that cannot run")
        << QStringList{"zr5_organ_defaults.csv", "zr5_buttons.csv", "zr5_dropdown_menus.csv",
                       "avrdude"}
        << false << QStringList{kWelcome} + organOnly + QStringList{tool};
    QTest::newRow("menus only missing")
        << QStringList{"zr5_organ_defaults.csv", "zr5_buttons.csv", "avrdude*"} << false
        << QStringList{kWelcome} + organOnly + QStringList{menus};
}

void TstAppMainWindow::startupReportsMissingFilesInOrder()
{
    QFETCH(QStringList, besideProgram);
    QFETCH(bool, toolOnPath);
    QFETCH(QStringList, expected);

    for (QString name : besideProgram) {
        const bool executable = name.endsWith(QLatin1Char('*'));
        if (executable)
            name.chop(1);
        touch(m_dir->filePath(name), executable);
    }
    QTemporaryDir bin;
    QStringList searchPath{QStringLiteral("/nonexistent-folder")};
    if (toolOnPath) {
        touch(bin.filePath("avrdude"), true);
        searchPath << bin.path();
    }

    std::unique_ptr<TForm1> form = makeForm(searchPath);

    QCOMPARE(form->ConsoleBox()->Lines(), expected);
    if (toolOnPath)
        QCOMPARE(form->AvrdudePath(), bin.filePath("avrdude"));
    else if (besideProgram.contains("avrdude*"))
        QCOMPARE(form->AvrdudePath(), m_dir->filePath("avrdude"));
    else
        QVERIFY(form->AvrdudePath().isEmpty());
}

void TstAppMainWindow::diamexPortEnablesProductionControls_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("not a number") << "abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("digits then text") << "3a" << false;
    QTest::newRow("0") << "0" << true;
    QTest::newRow("3") << "3" << true;
    QTest::newRow("12") << "12" << true;
}

void TstAppMainWindow::diamexPortEnablesProductionControls()
{
    QFETCH(QString, port);
    QFETCH(bool, enabled);
    auto* diamex = find<QLineEdit>("EditDiamex");
    // Start from the opposite state so that a missed update shows.
    diamex->setText(enabled ? "-1" : "5");
    diamex->setText(port);

    QCOMPARE(find("ProdProg")->isEnabled(), enabled);
    QCOMPARE(find("dd_FirmwareType")->isEnabled(), enabled);
    // The smaller ISP commands do not depend on the port.
    QVERIFY(find("BtnAVRonly")->isEnabled());
    QVERIFY(find("BtnSetFuses")->isEnabled());
}

void TstAppMainWindow::copyFollowsSelectionOfFocusedTextBox()
{
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QAction* cut = m_form->MainMenu1()->EditCut1();
    QAction* copy = m_form->MainMenu1()->EditCopy1();
    QVERIFY(!cut->isEnabled());
    QVERIFY(!copy->isEnabled());

    // The board info boxes are read-only: copy, but no cut.
    auto* owner = find<QLineEdit>("EditUserName");
    owner->setText("Brackwell");
    m_form->PageArea()->PageControl1()->setCurrentIndex(0);
    owner->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), owner);
    owner->selectAll();
    QVERIFY(copy->isEnabled());
    QVERIFY(!cut->isEnabled());
    copy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Brackwell"));

    auto* param = find<QLineEdit>("TestParam");
    m_form->PageArea()->PageControl1()->setCurrentIndex(6);
    param->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), param);
    param->selectAll();
    QVERIFY(cut->isEnabled());
    param->deselect();
    QVERIFY(!copy->isEnabled());
}

QTEST_MAIN(TstAppMainWindow)
#include "tst_app_mainwindow.moc"
