#pragma once

#include "TFileResult.h"
#include "TPresetTable.h"

#include <QObject>
#include <QString>

class QCheckBox;
class QSlider;
class TForm1;

// The Upper and Lower tabs and the six live switches at work: every edit
// writes the selected preset's entry (or, for a switch, the whole state) and,
// while a board is connected, sends its live parameter at once.
//
// Sliders and switch boxes react to every change of value, whether the user
// or code made it, so that showing a preset or clearing the switches reaches
// the board exactly like a user edit; a value set again unchanged runs
// nothing. The three drop-down lists react to the user's choice only: code
// that selects an item runs nothing.
class TPresetPages : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSwitchCount = 12; // CheckBox0 ... CheckBox11

    // Live parameters of the controls.
    static constexpr int kUpperDrawbarParam = 401; // TrackBarU0 ... U8: 401 ... 409
    static constexpr int kVibKnobParam = 410;
    static constexpr int kUpperPresetParam = 413;
    static constexpr int kLowerPresetParam = 414;
    static constexpr int kLowerDrawbarParam = 416; // TrackBarL0 ... L8: 416 ... 424
    static constexpr int kPedalParam = 425;        // TrackBarB0 ... B3: 425 ... 428
    // Sent as 0 after the switches are cleared.
    static constexpr int kClearParamA = 909;
    static constexpr int kClearParamB = 919;
    // CheckBox0 ... 7 send 900 ... 907, CheckBox8 ... 11 send 914 ... 917.
    static int SwitchParam(int n);

    // Entries of an upper and of a lower preset.
    static constexpr int kUpperVibKnobEntry = 9;
    static constexpr int kUpperButtonsEntry = 10;
    static constexpr int kLowerPedalEntry = 9; // TrackBarB0 ... B3: entries 9 ... 12
    static constexpr int kLowerButtonsEntry = 13;
    static constexpr int kLowerJackSplitEntry = 14;
    static constexpr int kVibLowerBit = 0x20;
    static constexpr int kJackConfBit = 0x40;
    static constexpr int kSplitOnBit = 0x80;

    explicit TPresetPages(TForm1& form);

    // CheckBox0 ... CheckBox11, wherever they sit.
    QCheckBox* CheckBox(int n) const;

    // The controls' operations; n is the number in the control's name.
    void TrackBarUChange(int n);
    void TrackBarLChange(int n);
    void TrackBarBChange(int n);
    void ComboBoxVibKnobChange();
    void ComboBoxUpperPresetChange();
    void ComboBoxLowerPresetChange();
    void CheckBoxClick(int n);

    // Controls (and a few boxes of the window) into the selected preset rows
    // and the state record, and back; ClearSwitches unchecks all twelve boxes.
    void ControlsToState();
    void StateToControls();
    void ClearSwitches();

    TFileResult LoadUpperPresetFile(const QString& path);
    TFileResult LoadLowerPresetFile(const QString& path);

    void ImportUpperPresets1Click();
    void ImportLowerPresets1Click();
    void ExportUpperPresets1Click();
    void ExportLowerPresets1Click();

private:
    using Side = TPresetTable::Side;

    TPresetTable& Table(Side side);
    int SelectedPreset(Side side) const;
    // Stores the slider's position into entry of the selected row, then sends it.
    void DrawbarChange(Side side, QSlider* slider, int entry, int param);
    void SendLive(int param, int value);

    void ImportPresets(Side side);
    void ExportPresets(Side side);
    QString& PresetFilePath(Side side);

    void Connect();

    TForm1& m_form;
};
