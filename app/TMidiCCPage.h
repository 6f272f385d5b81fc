#pragma once

#include "TMidiMonitor.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class TItemChoice;
class TPageModel;
class TStringGrid;
class TZr5Com;

// Tab "MIDI Custom CC": the controller translation grid, the target list and
// the monitor of the last MIDI message received.
//
// The row step runs for every user choice of a row (a click, also on the
// row selected already, a keyboard move), for a row the monitor selects, after
// every change of text typed into the grid and once more when the cell
// editor closes, and after a choice in the list; it shows the row's target in
// the list and the hint and, while a board is connected, writes it to the
// controller's translation slot.
class TMidiCCPage : public QWidget
{
    Q_OBJECT

public:
    explicit TMidiCCPage(QWidget* parent = nullptr);

    TStringGrid* StringGrid3() const { return m_grid; }
    QListWidget* MidiCCListBox() const { return m_list; }
    QLineEdit* EditMidiRec() const { return m_editMidiRec; }
    QProgressBar* GaugeMIDIdata() const { return m_gauge; }
    QLabel* MIDIccHint() const { return m_hint; }

    // Shows the model's MIDI CC table and, in MidiCCListBox, its targets.
    void Bind(TPageModel* model);
    // The row step writes through com, non-volatile while nonVolatile is
    // ticked; nothing is written while com is not connected.
    void SetBoard(TZr5Com* com, const QCheckBox* nonVolatile);
    // MidiCCListBox takes the names of the model's target list, position for
    // position, after the list was rebuilt or the buttons were appended.
    void ShowMidiTargets();

    // The row step.
    void StringGrid3Click();
    void StringGrid3SetEditText(int col, int row, const QString& text);
    // The list choice: the chosen target into column 2 of the selected row.
    void MidiCCListBoxClick();
    // One reply of the monitor query: shown, and a moved controller selects
    // its row and moves the gauge.
    void MidiMonitorStep(int reply);
    int LastMidiValue() const { return m_monitor.LastMidiValue(); }

private:
    TStringGrid* m_grid;
    QListWidget* m_list;
    QLineEdit* m_editMidiRec;
    QProgressBar* m_gauge;
    QLabel* m_hint;
    TItemChoice* m_gridChoice;
    TItemChoice* m_listChoice;
    TPageModel* m_model = nullptr;
    TZr5Com* m_com = nullptr;
    const QCheckBox* m_nonVolatile = nullptr;
    TMidiMonitor m_monitor;
};
