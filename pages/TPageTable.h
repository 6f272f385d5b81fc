#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One table page (organ, rotary or MIDI CC): a rectangle of text cells.
// Row 0 is the header row; every later row describes one board parameter,
// with its number in column 0 and its value in column 2.
//
// Cells are addressed (column, row), the order the grids use. Reading outside
// the rectangle gives empty text and writing there does nothing, so a grid
// that is repainting during a reload never touches a missing row.
//
// Selection is window business: the lookups return the row they matched so
// that the window can select it.
class TPageTable
{
public:
    static constexpr int numberColumn = 0;
    static constexpr int nameColumn = 1;
    static constexpr int valueColumn = 2;
    static constexpr int kindColumn = 3;
    static constexpr int maximumColumn = 4;

    TPageTable(int rowCount, int columnCount);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return m_columnCount; }
    // Rows 1 .. dataRowCount() hold parameters.
    int dataRowCount() const { return rowCount() > 0 ? rowCount() - 1 : 0; }

    // Existing cells keep their text; new cells are empty.
    void setRowCount(int rows);
    void setColumnCount(int columns);

    QString cell(int column, int row) const;
    bool setCell(int column, int row, const QString& text);
    QStringList rowCells(int row) const;
    // Empties the row, then takes the fields in column order; fields beyond
    // the column count are dropped, missing ones leave their cells empty.
    void setRowCells(int row, const QStringList& fields);
    void clearRow(int row);

    // The cell as a signed decimal integer; 0 when it is not one.
    int CellInt(int column, int row) const;

    // Column 0 of a data row read strictly: nothing when the cell is not a
    // decimal number. Such a row names no parameter; it must never be taken
    // for parameter 0.
    std::optional<int> ParameterNumberOf(int row) const;

    // The first data row whose column 0 is number, or -1. Rows whose column 0
    // is not a number are passed over; when skippedRows is given, the rows
    // passed over before the answer was found are appended to it so that the
    // caller can report them.
    int RowOfParameter(int number, QList<int>* skippedRows = nullptr) const;

    // Column 2 of RowOfParameter(number) read as a number; 0 when no row
    // carries the number.
    int OrganValueOf(int number, QList<int>* skippedRows = nullptr) const;
    // Writes value as decimal text into column 2 of RowOfParameter(number)
    // and returns that row, for the window to select; returns -1 and changes
    // nothing when no row carries the number (or the table has no column 2).
    int SetOrganValueOf(int number, int value, QList<int>* skippedRows = nullptr);

private:
    bool contains(int column, int row) const;

    int m_columnCount = 0;
    QList<QStringList> m_rows;
};
