#pragma once

#include "TButtonTable.h"
#include "TFileResult.h"
#include "TMenuTable.h"
#include "TMidiTargetList.h"
#include "TPageFilePaths.h"
#include "TPageTable.h"
#include "TPresetTable.h"

#include <QFlags>
#include <QString>

#include <functional>

class OperationHost;

// Everything the parameter pages show, for the main window to own for the
// whole run: the three page tables, the two preset tables and the side
// tables. The loaders report through the operation host's console and tell
// the window which pages got new contents, so that it can refresh those
// grids and show the presets again.
class TPageModel
{
public:
    enum Page
    {
        OrganPage = 0x01,
        RotaryPage = 0x02,
        MidiCCPage = 0x04,
        UpperPage = 0x08,
        LowerPage = 0x10,
    };
    Q_DECLARE_FLAGS(Pages, Page)

    // Sizes of the tables before any file is loaded.
    static constexpr int initialRows = 129;
    static constexpr int organInitialColumns = 6;
    static constexpr int rotaryInitialColumns = 3;
    static constexpr int midiCCInitialColumns = 4;

    TPageModel();

    TPageTable& organ() { return m_organ; }
    const TPageTable& organ() const { return m_organ; }
    TPageTable& rotary() { return m_rotary; }
    const TPageTable& rotary() const { return m_rotary; }
    TPageTable& midiCC() { return m_midiCC; }
    const TPageTable& midiCC() const { return m_midiCC; }
    TPresetTable& upperPresets() { return m_upperPresets; }
    const TPresetTable& upperPresets() const { return m_upperPresets; }
    TPresetTable& lowerPresets() { return m_lowerPresets; }
    const TPresetTable& lowerPresets() const { return m_lowerPresets; }
    const TButtonTable& buttons() const { return m_buttons; }
    const TMenuTable& menus() const { return m_menus; }
    const TMidiTargetList& midiTargets() const { return m_midiTargets; }

    // The five page files in the order organ, rotary, MIDI CC, upper, lower:
    // an existing file is loaded and reported as "Using <label> file: <name>";
    // a missing one is reported by ReportMissingFile; a file that cannot be
    // loaded is reported as an error. In the last two cases that table keeps
    // what it held. Then the MIDI target list is rebuilt. Returns the pages
    // whose contents were replaced.
    //
    // loaded, when given, runs for each page right after its file was read
    // and before its "Using" line: the window shows a preset table there,
    // before the next file is read, because showing one captures the
    // controls into both preset tables.
    Pages LoadPageTables(const TPageFilePaths& paths, OperationHost& host,
                         const std::function<void(Page)>& loaded = {});

    // Import and the steps of LoadPageTables: no console output, the caller
    // decides how to show a failure (the table is then unchanged).
    static TFileResult LoadPageTableFile(TPageTable& table, const QString& path);
    TFileResult LoadUpperPresetFile(const QString& path);
    TFileResult LoadLowerPresetFile(const QString& path);

    void RebuildMidiTargetList();

    // The side tables from the program folder, read once at start-up after
    // LoadPageTables. The buttons are appended to the MIDI target list.
    // False when the file is missing or unreadable (reported on the console).
    bool LoadButtonTable(const QString& programFolder, OperationHost& host);
    bool LoadMenuTable(const QString& programFolder, OperationHost& host);

    // "##### Error: Missing file " + name.
    static void ReportMissingFile(OperationHost& host, const QString& name);

    // The organ lookups by parameter number. A row whose column 0 is not a
    // decimal number is passed over; with a host it is reported as an error
    // line, so a broken table file is noticed without a lookup ever taking
    // the row for parameter 0.
    int OrganValueOf(int number, OperationHost* host = nullptr) const;
    // Returns the row written (for the window to select), or -1.
    int SetOrganValueOf(int number, int value, OperationHost* host = nullptr);

    // The entries a drop-down shows for an organ row: MenuTable entries 0 to
    // the row's maximum (column 4) of the menu named by its editor kind
    // (column 3). See TMenuTable::entries for short and unknown menus.
    QStringList MenuEntriesForOrganRow(int row) const;

    // The MIDI CC page's list choice: writes the target of list position
    // index into column 2 of the MIDI CC row. False when either is out of range.
    bool ChooseMidiTarget(int midiCCRow, int index);

private:
    void reportSkippedOrganRows(const QList<int>& rows, OperationHost* host) const;
    void reportResult(const TFileResult& result, OperationHost& host) const;

    TPageTable m_organ;
    TPageTable m_rotary;
    TPageTable m_midiCC;
    TPresetTable m_upperPresets;
    TPresetTable m_lowerPresets;
    TButtonTable m_buttons;
    TMenuTable m_menus;
    TMidiTargetList m_midiTargets;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TPageModel::Pages)
