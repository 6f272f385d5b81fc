#pragma once

#include <QTableWidget>

// A text grid counted the way the page tables count: row 0 is the title row
// (shown as the fixed column header, so it stays in view while the data
// rows scroll) and data rows start at 1. Cells that SetCell creates in the
// leftmost fixedCols columns are shown but never selected or typed into.
class TStringGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 20;

    TStringGrid(const QString& name, int rowCount, int colCount, int fixedCols, int defaultColWidth,
                QWidget* parent = nullptr);

    // Including the title row.
    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int rows);
    int ColCount() const { return columnCount(); }
    void SetColCount(int cols);
    int FixedCols() const { return m_fixedCols; }

    int ColWidth(int col) const { return columnWidth(col); }
    void SetColWidth(int col, int width) { setColumnWidth(col, width); }

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

private:
    int m_fixedCols;
};
