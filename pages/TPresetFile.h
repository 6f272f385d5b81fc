#pragma once

#include "TFileResult.h"
#include "TPresetTable.h"

#include <QString>
#include <QStringList>

// The preset files: one "name=value" line per table entry, 16 blocks of 16
// lines, CR LF after every line, no header, no quoting.
//
// Upper block p: Preset<p>_Drawbar0 .. _Drawbar8, _VibKnob, _Buttons, then
// five Preset<p>_Dummy=0. Lower block p: Preset<p>_Drawbar0 .. _Drawbar12
// (9 to 12 are the pedal), _Buttons, then two Preset<p>_Dummy=0. The entries
// behind the Dummy lines belong to the board's firmware; files hold 0 there.
//
// Reading takes the lines in order, line i into flat position i, whatever the
// names say. The text after the first "=" is read as a decimal integer; a line
// without "=" or without a number gives 0 and is named in a warning. Lines
// after the 256th are ignored; a shorter file leaves the remaining entries as
// they were (and says so in a warning). A file that cannot be read leaves the
// whole table as it was.
class TPresetFile
{
public:
    static TFileResult read(const QString& path, TPresetTable& table);
    static TFileResult fillFromLines(const QStringList& lines, TPresetTable& table,
                                     const QString& displayName);

    // Creates or replaces the file; a failed write keeps the old file.
    static TFileResult write(const QString& path, const TPresetTable& table);
    static QStringList formatLines(const TPresetTable& table);
    // "Preset3_Drawbar0", "Preset3_VibKnob", "Preset3_Dummy", ...
    static QString entryName(TPresetTable::Side side, int flat);
    // Whether the entry is written as a Dummy line holding 0.
    static bool isDummyEntry(TPresetTable::Side side, int entry);
};
