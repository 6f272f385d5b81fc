#include "TPageTransfer.h"

#include "OperationHost.h"
#include "TPageTable.h"
#include "TPresetTable.h"
#include "TZr5Com.h"

TPageTransfer::TPageTransfer(TZr5Com& com, OperationHost& host) : m_com(com), m_host(host) {}

bool TPageTransfer::SkipRow(const TPageTable& table, int row, const QString& pageName)
{
    if (table.ParameterNumberOf(row))
        return false;
    // Such a row would otherwise read or write parameter 0 of the board. A
    // blank row is passed over quietly; a word where a number belongs is
    // worth a warning.
    if (table.cell(TPageTable::numberColumn, row).trimmed().isEmpty())
        return true;
    m_host.ConsoleLine(QStringLiteral("##### Warning: %1 table row %2 has no parameter number "
                                      "(\"%3\") - skipped")
                           .arg(pageName)
                           .arg(row)
                           .arg(table.cell(TPageTable::numberColumn, row)));
    return true;
}

bool TPageTransfer::ReadTable(TPageTable& table, const QString& pageName)
{
    m_host.SetProgressMax(table.dataRowCount());
    for (int row = 1; row <= table.dataRowCount(); ++row) {
        m_host.FlashBusyLed();
        if (!SkipRow(table, row, pageName)) {
            const int value = m_com.GetParamInt(*table.ParameterNumberOf(row));
            table.setCell(TPageTable::valueColumn, row, QString::number(value));
        }
        m_host.SetProgress(row - 1);
        if (m_host.CancelRequested())
            return false;
    }
    return true;
}

bool TPageTransfer::SendTable(const TPageTable& table, const QString& pageName)
{
    m_host.SetProgressMax(table.dataRowCount());
    for (int row = 1; row <= table.dataRowCount(); ++row) {
        m_host.FlashBusyLed();
        if (!SkipRow(table, row, pageName))
            m_com.SetParam(*table.ParameterNumberOf(row),
                           table.CellInt(TPageTable::valueColumn, row), true);
        m_host.SetProgress(row - 1);
        if (m_host.CancelRequested())
            return false;
    }
    return true;
}

bool TPageTransfer::ReadPresets(TPresetTable& table, int selectParameter, int selectedPreset)
{
    m_host.SetProgressMax(TPresetTable::entryCount - 1);
    m_com.SetParam(selectParameter, selectedPreset, false);
    m_host.WaitMs(20);
    for (int i = 0; i < TPresetTable::entryCount; ++i) {
        m_host.FlashBusyLed();
        table.setAt(i, m_com.GetParamInt(table.parameterOf(i)));
        m_host.SetProgress(i);
        if (m_host.CancelRequested())
            return false;
    }
    return true;
}

bool TPageTransfer::SendPresets(const TPresetTable& table)
{
    m_host.SetProgressMax(TPresetTable::entryCount - 1);
    for (int i = 0; i < TPresetTable::entryCount; ++i) {
        m_host.FlashBusyLed();
        m_com.SetParam(table.parameterOf(i), table.at(i), true);
        m_host.SetProgress(i);
        if (m_host.CancelRequested())
            return false;
    }
    return true;
}
