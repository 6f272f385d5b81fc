#pragma once

#include <QtGlobal>

#include <array>

// The program's copy of the 16 upper or 16 lower presets: 16 entries of 16
// signed 32-bit integers each, preset after preset. Flat position k mirrors
// board parameter 1000 + k (upper) or 1256 + k (lower); preset 0 is the live
// setting. All entries start at 0.
class TPresetTable
{
public:
    enum class Side
    {
        Upper,
        Lower
    };

    static constexpr int presetCount = 16;
    static constexpr int entriesPerPreset = 16;
    static constexpr int entryCount = presetCount * entriesPerPreset;
    static constexpr int upperFirstParameter = 1000;
    static constexpr int lowerFirstParameter = 1256;

    explicit TPresetTable(Side side) : m_side(side) {}

    Side side() const { return m_side; }
    int firstParameter() const;
    // Board parameter of flat position flat.
    int parameterOf(int flat) const { return firstParameter() + flat; }
    static int flatIndex(int preset, int entry) { return preset * entriesPerPreset + entry; }

    // Out-of-range positions read as 0 and are not written.
    qint32 at(int flat) const;
    void setAt(int flat, qint32 value);
    qint32 entry(int preset, int entry) const;
    void setEntry(int preset, int entry, qint32 value);

    void clear() { m_entries.fill(0); }
    const std::array<qint32, entryCount>& entries() const { return m_entries; }

private:
    static bool isValidEntry(int preset, int entry);

    Side m_side;
    std::array<qint32, entryCount> m_entries{};
};
