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

    // Every client that opens the port resets the board (a cable that pulls
    // the reset line): the boot loader comes up for its boot window, so a
    // programming tool finds it also on firmware that cannot be asked to
    // start it.
    bool resetOnOpen = false;

    // Parameter store kept across runs ("" = none); non-volatile writes land there.
    QString stateFile;
    // DataFlash: folder that keeps each area's image and a listing of them
    // across runs ("" = kept in memory only).
    QString flashDir;
    // Block stream faults: NAK or CAN instead of the answer to every n-th
    // packet received (0 = never); what the packet answers suffer (Silent,
    // Garbage or Slow); the line cut after the n-th packet (0 = never).
    int nakEvery = 0;
    int canEvery = 0;
    Fault packetFault = Fault::None;
    int hangUpAfterPacket = 0;
    // The copy of the reverb program into the DSP reports a failure.
    bool dspFails = false;

    // Folder of the shipped table files whose values the board starts with,
    // under whatever the state file holds ("" = none: parameters read 0).
    QString dataDir;
};
