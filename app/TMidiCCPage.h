#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
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

private:
    TStringGrid* m_grid;
    QListWidget* m_list;
    QLineEdit* m_editMidiRec;
    QProgressBar* m_gauge;
    QLabel* m_hint;
};
