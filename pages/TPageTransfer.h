#pragma once

#include <QString>

class OperationHost;
class TPageTable;
class TPresetTable;
class TZr5Com;

// Reads a whole page from the board or sends it, one parameter per row or
// preset entry, with the busy lamp, the progress bar and a cancel check after
// each. Each call returns false when the user cancelled; the caller then skips
// its closing step and prints no "Done.".
class TPageTransfer
{
public:
    TPageTransfer(TZr5Com& com, OperationHost& host);

    // Column 2 of every data row := the board's value of the parameter in
    // column 0. A row without a parameter number is skipped with a warning.
    bool ReadTable(TPageTable& table, const QString& pageName);
    // Every data row's column 2 to its parameter, non-volatile.
    bool SendTable(const TPageTable& table, const QString& pageName);
    // Selects the board's current preset (413 or 414) first, then reads all
    // 256 entries.
    bool ReadPresets(TPresetTable& table, int selectParameter, int selectedPreset);
    // All 256 entries, non-volatile; no preset selection is written.
    bool SendPresets(const TPresetTable& table);

private:
    bool SkipRow(const TPageTable& table, int row, const QString& pageName);

    TZr5Com& m_com;
    OperationHost& m_host;
};
