#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class TPageModel;
class TStringGrid;

// Tab "MIDI Custom CC": the controller translation grid, the target list and
// the monitor of the last MIDI message received.
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
    // MidiCCListBox takes the names of the model's target list, position for
    // position, after the list was rebuilt or the buttons were appended.
    void ShowMidiTargets();

private:
    TStringGrid* m_grid;
    QListWidget* m_list;
    QLineEdit* m_editMidiRec;
    QProgressBar* m_gauge;
    QLabel* m_hint;
    TPageModel* m_model = nullptr;
};
