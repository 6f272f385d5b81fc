#pragma once

#include <QString>

// The five page files that LoadPageTables reads, as full paths. The window
// keeps them in its state record; this is the shape the loader takes them in.
struct TPageFilePaths
{
    static constexpr auto organFileName = "zr5_organ_defaults.csv";
    static constexpr auto rotaryFileName = "zr5_rotary_defaults.csv";
    static constexpr auto midiCCFileName = "zr5_midi_cc_defaults.csv";
    static constexpr auto upperFileName = "zr5_upper_presets.csv";
    static constexpr auto lowerFileName = "zr5_lower_presets.csv";

    QString organ;
    QString rotary;
    QString midiCC;
    QString upper;
    QString lower;

    // The files that ship beside the program, in programFolder.
    static TPageFilePaths defaults(const QString& programFolder);
};
