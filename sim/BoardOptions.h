#pragma once

#include <QString>

// How a simulated board presents itself and misbehaves. Every field has a
// command-line option in zr5-board-sim.
struct BoardOptions
{
    double firmwareVersion = 3.74;
    QString firmwareText = QStringLiteral("ZR5 Firmware 3.74");
    QString fpgaVersion = QStringLiteral("24061201"); // "00000000"/"FFFFFFFF": no configuration
    int serialNumber = 1234;
    QString owner = QStringLiteral("Brackwell");
    int scanCore = 1; // what parameter 477 reads until it is written
    // scanCore wins over the data folder's value of 477 (--scan-core given).
    bool scanCoreGiven = false;
    QString scanVersion = QStringLiteral("23");

    // Pace every byte at 57 600 bit/s 8N1 in both directions.
    bool wireTiming = false;
    // Time from the end of a received line to the first reply byte.
    int replyDelayUs = 500;

    enum class Fault
    {
        None,
        Silent,
        Garbage,
        NoCr,
        Slow
    };
    Fault fault = Fault::None;
    // Extra reply delay of the Slow fault.
    int slowMs = 700;
    // The first n - 1 readiness polls (253?) go unanswered.
    int readyFromPoll = 1;

    // Parameter store kept across runs ("" = none); non-volatile writes land there.
    QString stateFile;
    // Folder of the shipped table files whose values the board starts with,
    // under whatever the state file holds ("" = none: parameters read 0).
    QString dataDir;
};
