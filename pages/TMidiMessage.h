#pragma once

#include <QString>

// One MIDI message as the board's monitor parameter reports the last one it
// received: the status byte in bits 16 to 23, the first data byte in bits 8
// to 14 and the second in bits 0 to 6 of the value.
struct TMidiMessage
{
    int status = 0;
    int data1 = 0;
    int data2 = 0;

    static TMidiMessage Unpack(int packed);

    // A control change on any channel (status 0xB0 to 0xBF).
    bool IsControlChange() const { return (status & 0xF0) == 0xB0; }
    // Decimal, then hexadecimal: "176:7:100 [$B0:$07:$64]".
    QString Text() const;
};
