#pragma once

#include "TMidiMessage.h"

#include <QString>

// The MIDI monitor of the MIDI Custom CC page, without widgets: whether a
// timer step asks the board at all, and what one reply shows and selects.
//
// A control change whose value differs from the last one that moved the
// selection selects its controller's row and moves the gauge; anything else
// is only shown. The last value lives for the run and starts at 0, so the
// first control change to 0 moves nothing.
class TMidiMonitor
{
public:
    // The board parameter that reports the last MIDI message received.
    static constexpr int kQueryParam = 9000;
    // Older controller firmware does not report it.
    static constexpr double kFirstFirmware = 3.54;

    static bool ShouldPoll(bool connected, double firmwareVersion, bool midiTabShown);

    struct Step
    {
        // For the text box, whatever the message was.
        QString text;
        // The MIDI CC table row to select (controller + 1); 0 when the
        // message moves nothing.
        int row = 0;
        // The controller's new value, for the gauge, when row is not 0.
        int value = 0;
    };

    // One reply of the query. lastRow is the table's last data row: a
    // controller beyond it moves nothing and leaves the last value alone.
    Step Take(int reply, int lastRow);

    int LastMidiValue() const { return m_lastMidiValue; }

private:
    int m_lastMidiValue = 0;
};
