#include "TPresetPages.h"

#include "TBoardInfoBox.h"
#include "TConsole.h"
#include "TDecimal.h"
#include "TFactoryPage.h"
#include "TForm1.h"
#include "TLowerPage.h"
#include "TMainMenu.h"
#include "TPageArea.h"
#include "TPresetFile.h"
#include "TTopStrip.h"
#include "TUpdateBox.h"
#include "TUpperPage.h"
#include "TZr5Com.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSlider>

namespace {

constexpr int kScanCoreParam = 477;
constexpr int kSwitchOn = 255;
constexpr int kVibKnobPositions = 6;

const QString kImportFilter = QStringLiteral("Import CSV (zr*.csv)");
const QString kExportFilter = QStringLiteral("Export Data (*.csv)");
const QString kPresetSuffix = QStringLiteral("csv");

// The template's entry for filter, added when a caller removed it.
int FilterIndex(Prompter::FileRequest& request, const QString& filter)
{
    const qsizetype index = request.filters.indexOf(filter);
    if (index >= 0)
        return static_cast<int>(index);
    request.filters.append(filter);
    return static_cast<int>(request.filters.size() - 1);
}

} // namespace

TPresetPages::TPresetPages(TForm1& form) : QObject(&form), m_form(form)
{
    setObjectName("PresetPages");
    Connect();
}

int TPresetPages::SwitchParam(int n)
{
    // The reverb, jack and split switches follow a gap in the board's numbers.
    return n < 8 ? 900 + n : 914 + (n - 8);
}

QCheckBox* TPresetPages::CheckBox(int n) const
{
    TPageArea* area = m_form.PageArea();
    if (n < TUpperPage::kSwitches)
        return area->UpperPage()->CheckBox(n);
    if (n < TTopStrip::kFirstSwitch)
        return area->LowerPage()->CheckBox5();
    return m_form.TopStrip()->CheckBox(n);
}

void TPresetPages::Connect()
{
    TUpperPage* upper = m_form.PageArea()->UpperPage();
    TLowerPage* lower = m_form.PageArea()->LowerPage();
    for (int n = 0; n < TUpperPage::kDrawbars; ++n)
        connect(upper->TrackBarU(n), &QSlider::valueChanged, this,
                [this, n] { TrackBarUChange(n); });
    for (int n = 0; n < TLowerPage::kDrawbars; ++n)
        connect(lower->TrackBarL(n), &QSlider::valueChanged, this,
                [this, n] { TrackBarLChange(n); });
    for (int n = 0; n < TLowerPage::kPedals; ++n)
        connect(lower->TrackBarB(n), &QSlider::valueChanged, this,
                [this, n] { TrackBarBChange(n); });
    for (int n = 0; n < kSwitchCount; ++n)
        connect(CheckBox(n), &QCheckBox::toggled, this, [this, n] { CheckBoxClick(n); });

    connect(upper->ComboBoxVibKnob(), &QComboBox::activated, this,
            &TPresetPages::ComboBoxVibKnobChange);
    connect(upper->ComboBoxUpperPreset(), &QComboBox::activated, this,
            &TPresetPages::ComboBoxUpperPresetChange);
    connect(lower->ComboBoxLowerPreset(), &QComboBox::activated, this,
            &TPresetPages::ComboBoxLowerPresetChange);

    TMainMenu* menu = m_form.MainMenu1();
    connect(menu->ImportUpperPresets1(), &QAction::triggered, this,
            &TPresetPages::ImportUpperPresets1Click);
    connect(menu->ImportLowerPresets1(), &QAction::triggered, this,
            &TPresetPages::ImportLowerPresets1Click);
    connect(menu->ExportUpperPresets1(), &QAction::triggered, this,
            &TPresetPages::ExportUpperPresets1Click);
    connect(menu->ExportLowerPresets1(), &QAction::triggered, this,
            &TPresetPages::ExportLowerPresets1Click);
}

TPresetTable& TPresetPages::Table(Side side)
{
    return side == Side::Upper ? m_form.Pages().upperPresets() : m_form.Pages().lowerPresets();
}

int TPresetPages::SelectedPreset(Side side) const
{
    TPageArea* area = m_form.PageArea();
    return side == Side::Upper ? area->UpperPage()->ComboBoxUpperPreset()->currentIndex()
                               : area->LowerPage()->ComboBoxLowerPreset()->currentIndex();
}

void TPresetPages::SendLive(int param, int value)
{
    if (m_form.Link().Connected())
        m_form.Com().SetParam(param, value, false);
}

void TPresetPages::DrawbarChange(Side side, QSlider* slider, int entry, int param)
{
    // The position is already clamped to the slider's range, so a table value
    // outside it is replaced only when the shown position actually moved.
    const int position = slider->value();
    Table(side).setEntry(SelectedPreset(side), entry, position);
    SendLive(param, position);
}

void TPresetPages::TrackBarUChange(int n)
{
    DrawbarChange(Side::Upper, m_form.PageArea()->UpperPage()->TrackBarU(n), n,
                  kUpperDrawbarParam + n);
}

void TPresetPages::TrackBarLChange(int n)
{
    DrawbarChange(Side::Lower, m_form.PageArea()->LowerPage()->TrackBarL(n), n,
                  kLowerDrawbarParam + n);
}

void TPresetPages::TrackBarBChange(int n)
{
    DrawbarChange(Side::Lower, m_form.PageArea()->LowerPage()->TrackBarB(n), kLowerPedalEntry + n,
                  kPedalParam + n);
}

void TPresetPages::ComboBoxVibKnobChange()
{
    const int index = m_form.PageArea()->UpperPage()->ComboBoxVibKnob()->currentIndex();
    Table(Side::Upper).setEntry(SelectedPreset(Side::Upper), kUpperVibKnobEntry, index);
    SendLive(kVibKnobParam, index);
}

void TPresetPages::ComboBoxUpperPresetChange()
{
    SendLive(kUpperPresetParam, SelectedPreset(Side::Upper));
    StateToControls();
}

void TPresetPages::ComboBoxLowerPresetChange()
{
    SendLive(kLowerPresetParam, SelectedPreset(Side::Lower));
    StateToControls();
}

void TPresetPages::CheckBoxClick(int n)
{
    ControlsToState();
    SendLive(SwitchParam(n), CheckBox(n)->isChecked() ? kSwitchOn : 0);
}

void TPresetPages::ControlsToState()
{
    TZR5Record& record = m_form.ZR5Record();
    TUpdateBox* update = m_form.UpdateBox();
    TUpperPage* upper = m_form.PageArea()->UpperPage();
    TLowerPage* lower = m_form.PageArea()->LowerPage();

    record.FPGAversion = m_form.BoardInfoBox()->FPGAversion()->text();
    record.ScanCore = m_form.Pages().OrganValueOf(kScanCoreParam);
    record.SaveDF = true;
    record.RestoreOrgan = update->CheckRestoreOrgan()->isChecked();
    record.RestoreMidi = update->CheckRestoreMidi()->isChecked();
    record.RestorePresets = update->CheckRestorePresets()->isChecked();

    TPresetTable& upperTable = Table(Side::Upper);
    const int upperPreset = SelectedPreset(Side::Upper);
    for (int n = 0; n < TUpperPage::kDrawbars; ++n)
        upperTable.setEntry(upperPreset, n, upper->TrackBarU(n)->value());
    upperTable.setEntry(upperPreset, kUpperVibKnobEntry, upper->ComboBoxVibKnob()->currentIndex());
    qint32 buttons = 0;
    for (int n = 0; n < TUpperPage::kSwitches; ++n) {
        if (upper->CheckBox(n)->isChecked())
            buttons |= 1 << n;
    }
    upperTable.setEntry(upperPreset, kUpperButtonsEntry, buttons);

    TPresetTable& lowerTable = Table(Side::Lower);
    const int lowerPreset = SelectedPreset(Side::Lower);
    for (int n = 0; n < TLowerPage::kDrawbars; ++n)
        lowerTable.setEntry(lowerPreset, n, lower->TrackBarL(n)->value());
    for (int n = 0; n < TLowerPage::kPedals; ++n)
        lowerTable.setEntry(lowerPreset, kLowerPedalEntry + n, lower->TrackBarB(n)->value());
    lowerTable.setEntry(lowerPreset, kLowerButtonsEntry,
                        lower->CheckBox5()->isChecked() ? kVibLowerBit : 0);

    record.Device =
        TDecimal::parse(m_form.PageArea()->FactoryPage()->EditFTDIdevice()->text()).value_or(-1);
}

// Each slider and switch box set here may run its own operation (see the
// class comment); a switch's operation captures the whole state again, which
// is why a buttons entry is read only once, before its first box changes.
void TPresetPages::StateToControls()
{
    const TZR5Record& record = m_form.ZR5Record();
    TUpdateBox* update = m_form.UpdateBox();
    TUpperPage* upper = m_form.PageArea()->UpperPage();
    TLowerPage* lower = m_form.PageArea()->LowerPage();

    update->CheckRestoreOrgan()->setChecked(record.RestoreOrgan);
    update->CheckRestoreMidi()->setChecked(record.RestoreMidi);
    update->CheckRestorePresets()->setChecked(record.RestorePresets);

    const TPresetTable& upperTable = Table(Side::Upper);
    const int upperPreset = SelectedPreset(Side::Upper);
    for (int n = 0; n < TUpperPage::kDrawbars; ++n)
        upper->TrackBarU(n)->setValue(upperTable.entry(upperPreset, n));
    const qint32 knob = upperTable.entry(upperPreset, kUpperVibKnobEntry);
    upper->ComboBoxVibKnob()->setCurrentIndex(knob >= 0 && knob < kVibKnobPositions ? knob : -1);
    const qint32 upperButtons = upperTable.entry(upperPreset, kUpperButtonsEntry) & 0xFF;
    for (int n = 0; n < TUpperPage::kSwitches; ++n)
        upper->CheckBox(n)->setChecked((upperButtons & (1 << n)) != 0);

    const TPresetTable& lowerTable = Table(Side::Lower);
    const int lowerPreset = SelectedPreset(Side::Lower);
    for (int n = 0; n < TLowerPage::kDrawbars; ++n)
        lower->TrackBarL(n)->setValue(lowerTable.entry(lowerPreset, n));
    for (int n = 0; n < TLowerPage::kPedals; ++n)
        lower->TrackBarB(n)->setValue(lowerTable.entry(lowerPreset, kLowerPedalEntry + n));
    lower->CheckBox5()->setChecked(
        (lowerTable.entry(lowerPreset, kLowerButtonsEntry) & kVibLowerBit) != 0);
    const qint32 jackSplit = lowerTable.entry(lowerPreset, kLowerJackSplitEntry) & 0xFF;
    TTopStrip* strip = m_form.TopStrip();
    strip->CheckBox(10)->setChecked((jackSplit & kJackConfBit) != 0);
    strip->CheckBox(11)->setChecked((jackSplit & kSplitOnBit) != 0);

    TBoardInfoBox* info = m_form.BoardInfoBox();
    TFactoryPage* factory = m_form.PageArea()->FactoryPage();
    info->EditUserName()->setText(record.Owner);
    info->FPGAversion()->setText(record.FPGAversion);
    // QString::number always writes "." whatever the system's locale says.
    info->EditFirmwareVersion()->setText(
        QString::number(record.FirmwareVersion, 'g', QLocale::FloatingPointShortest));
    info->EditSerialNumber()->setText(QString::number(record.SerialNumber));
    factory->EditFTDIdevice()->setText(QString::number(record.Device));
    factory->EditFTDIcom()->setText(QString::number(record.ComPort));
}

void TPresetPages::ClearSwitches()
{
    for (int n = 0; n < kSwitchCount; ++n)
        CheckBox(n)->setChecked(false);
    SendLive(kClearParamA, 0);
    SendLive(kClearParamB, 0);
}

TFileResult TPresetPages::LoadUpperPresetFile(const QString& path)
{
    TFileResult result = m_form.Pages().LoadUpperPresetFile(path);
    if (result.ok())
        StateToControls();
    return result;
}

TFileResult TPresetPages::LoadLowerPresetFile(const QString& path)
{
    TFileResult result = m_form.Pages().LoadLowerPresetFile(path);
    if (result.ok())
        StateToControls();
    return result;
}

QString& TPresetPages::PresetFilePath(Side side)
{
    TZR5Record& record = m_form.ZR5Record();
    return side == Side::Upper ? record.UpperPresetFile : record.LowerPresetFile;
}

void TPresetPages::ImportUpperPresets1Click()
{
    ImportPresets(Side::Upper);
}

void TPresetPages::ImportLowerPresets1Click()
{
    ImportPresets(Side::Lower);
}

void TPresetPages::ExportUpperPresets1Click()
{
    ExportPresets(Side::Upper);
}

void TPresetPages::ExportLowerPresets1Click()
{
    ExportPresets(Side::Lower);
}

void TPresetPages::ImportPresets(Side side)
{
    Prompter::FileRequest& dialog = m_form.OpenDialog1();
    dialog.title = side == Side::Upper ? QStringLiteral("ZR5 Import Upper Presets Data File")
                                       : QStringLiteral("ZR5 Import Lower Presets Data File");
    dialog.filterIndex = FilterIndex(dialog, kImportFilter);
    dialog.defaultSuffix = kPresetSuffix;
    const QString path = m_form.Prompt().OpenFileName(dialog);
    if (path.isEmpty())
        return;
    dialog.fileName = path;
    PresetFilePath(side) = path;
    m_form.Guarded([&] {
        const TFileResult result =
            side == Side::Upper ? LoadUpperPresetFile(path) : LoadLowerPresetFile(path);
        result.throwIfFailed();
        for (const QString& line : result.warningConsoleTexts())
            m_form.Console().ConsoleLine(line);
    });
}

void TPresetPages::ExportPresets(Side side)
{
    Prompter::FileRequest& dialog = m_form.SaveDialog1();
    dialog.title = side == Side::Upper ? QStringLiteral("ZR5 Export Upper Presets Data File")
                                       : QStringLiteral("ZR5 Export Lower Presets Data File");
    dialog.filterIndex = FilterIndex(dialog, kExportFilter);
    dialog.defaultSuffix = kPresetSuffix;
    const QString path = m_form.Prompt().SaveFileName(dialog);
    if (path.isEmpty())
        return;
    dialog.fileName = path;
    PresetFilePath(side) = path;
    // The table as it stands: edits are in it already, so no ControlsToState.
    m_form.Guarded([&] { TPresetFile::write(path, Table(side)).throwIfFailed(); });
}
