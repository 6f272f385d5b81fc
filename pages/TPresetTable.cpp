#include "TPresetTable.h"

int TPresetTable::firstParameter() const
{
    return m_side == Side::Upper ? upperFirstParameter : lowerFirstParameter;
}

qint32 TPresetTable::at(int flat) const
{
    return flat >= 0 && flat < entryCount ? m_entries[flat] : 0;
}

void TPresetTable::setAt(int flat, qint32 value)
{
    if (flat >= 0 && flat < entryCount)
        m_entries[flat] = value;
}

bool TPresetTable::isValidEntry(int preset, int entry)
{
    return preset >= 0 && preset < presetCount && entry >= 0 && entry < entriesPerPreset;
}

qint32 TPresetTable::entry(int preset, int entry) const
{
    return isValidEntry(preset, entry) ? m_entries[flatIndex(preset, entry)] : 0;
}

void TPresetTable::setEntry(int preset, int entry, qint32 value)
{
    if (isValidEntry(preset, entry))
        m_entries[flatIndex(preset, entry)] = value;
}
