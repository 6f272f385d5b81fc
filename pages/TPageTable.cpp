#include "TPageTable.h"

#include "TDecimal.h"

#include <algorithm>

TPageTable::TPageTable(int rowCount, int columnCount)
{
    setColumnCount(columnCount);
    setRowCount(rowCount);
}

void TPageTable::setRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows < rowCount()) {
        m_rows.resize(rows);
        return;
    }
    while (rowCount() < rows) {
        QStringList row;
        row.resize(m_columnCount);
        m_rows.append(row);
    }
}

void TPageTable::setColumnCount(int columns)
{
    m_columnCount = std::max(columns, 0);
    for (QStringList& row : m_rows)
        row.resize(m_columnCount);
}

bool TPageTable::contains(int column, int row) const
{
    return row >= 0 && row < rowCount() && column >= 0 && column < m_columnCount;
}

QString TPageTable::cell(int column, int row) const
{
    return contains(column, row) ? m_rows[row][column] : QString();
}

bool TPageTable::setCell(int column, int row, const QString& text)
{
    if (!contains(column, row))
        return false;
    m_rows[row][column] = text;
    return true;
}

QStringList TPageTable::rowCells(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[row] : QStringList();
}

void TPageTable::setRowCells(int row, const QStringList& fields)
{
    if (row < 0 || row >= rowCount())
        return;
    clearRow(row);
    const int count = std::min(static_cast<int>(fields.size()), m_columnCount);
    for (int column = 0; column < count; ++column)
        m_rows[row][column] = fields[column];
}

void TPageTable::clearRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    for (QString& text : m_rows[row])
        text.clear();
}

int TPageTable::CellInt(int column, int row) const
{
    return TDecimal::orZero(cell(column, row));
}

std::optional<int> TPageTable::ParameterNumberOf(int row) const
{
    if (row < 1 || row >= rowCount())
        return std::nullopt;
    return TDecimal::parse(cell(numberColumn, row));
}

int TPageTable::RowOfParameter(int number, QList<int>* skippedRows) const
{
    for (int row = 1; row < rowCount(); ++row) {
        const std::optional<int> rowNumber = ParameterNumberOf(row);
        if (!rowNumber) {
            if (skippedRows)
                skippedRows->append(row);
            continue;
        }
        if (*rowNumber == number)
            return row;
    }
    return -1;
}

int TPageTable::OrganValueOf(int number, QList<int>* skippedRows) const
{
    const int row = RowOfParameter(number, skippedRows);
    return row < 0 ? 0 : CellInt(valueColumn, row);
}

int TPageTable::SetOrganValueOf(int number, int value, QList<int>* skippedRows)
{
    const int row = RowOfParameter(number, skippedRows);
    if (row < 0 || !setCell(valueColumn, row, QString::number(value)))
        return -1;
    return row;
}
