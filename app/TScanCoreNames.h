#pragma once

#include <QStringList>

// The scan cores in slot order. Index 8 is a separator and 9 means all
// cores; the board reports its active core by the same index.
class TScanCoreNames
{
public:
    static constexpr int kSeparator = 8;
    static constexpr int kAll = 9;

    static QStringList All()
    {
        return {"OrganScan61", "MIDI input", "FatarScan",   "Scan16/44",      "Scan16/49",
                "Scan16/61",   "HW Test",    "Opto or XB2", "--------------", "Update ALL"};
    }
};
