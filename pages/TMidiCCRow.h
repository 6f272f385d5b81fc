#pragma once

#include <QString>

#include <optional>

class TMidiTargetList;
class TPageTable;

// A row of the MIDI CC table and what its row step does: data row r stands
// for MIDI controller r - 1, whose translation slot is board parameter
// 3000 + r - 1; column 2 holds the target parameter (0 = not assigned).
class TMidiCCRow
{
public:
    static constexpr int kSlotBase = 3000;
    static constexpr int kControllers = 128;

    static int ControllerOf(int row) { return row - 1; }
    static int RowOf(int controller) { return controller + 1; }
    // The slot parameter of the row's controller; nothing for a row that
    // stands for no MIDI controller (the header, rows past controller 127),
    // whose parameter number would belong to something else on the board.
    static std::optional<int> SlotParameter(int row);

    struct Step
    {
        // Position in the target list whose number is the cell's text, letter
        // case ignored; -1 when none is.
        int listIndex = -1;
        // "MIDI CC <controller> translated to <target name>".
        QString hint;
        // The cell read as a number (0 when it is none).
        int value = 0;
        std::optional<int> parameter;
    };
    // The row step for a selected data row: column 2 is read whichever cell
    // was typed into.
    static Step Describe(const TPageTable& midiCC, const TMidiTargetList& targets, int row);
};
