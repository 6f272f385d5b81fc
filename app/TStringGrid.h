#pragma once

#include <QPersistentModelIndex>
#include <QTableWidget>

class TPageTable;
class TStringGridDelegate;

// A text grid counted the way the page tables count: row 0 is the title row
// (shown as the fixed column header, so it stays in view while the data
// rows scroll) and data rows start at 1. The leftmost fixedCols columns are
// shown but never selected or typed into: neither the mouse nor the keyboard
// can make one of them the selected cell.
//
// Bound to a page table, the grid shows that table and keeps it current:
// SetCell and text the user types write the table as well, so the table
// stays the one truth that page reads, sends and exports use.
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

    // The selected cell; row 0 when nothing is selected.
    int Row() const { return currentRow() + 1; }
    int Col() const { return currentColumn(); }
    // Selects row, keeping the selected column. Like a user's move, this
    // emits currentCellChanged when the selection changes.
    void SetRow(int row);
    // The cell's rectangle in the coordinates of the viewport.
    QRect CellRect(int col, int row) const;

    void BindTable(TPageTable* table);
    TPageTable* Table() const { return m_table; }
    // Takes the bound table's size and every cell. Emits nothing: a reload
    // is no selection or edit by the user.
    void ShowTable();

signals:
    // After every change the user makes to the text of an open cell editor;
    // the bound table already holds text.
    void SetEditText(int col, int row, const QString& text);
    // The cell editor closed, committed or not; text is what the cell holds
    // now, and so does the bound table.
    void EditorClosed(int col, int row, const QString& text);
    // A character typed while the grid has the focus, before the grid acts
    // on it; Enter that closes a cell editor counts as one (code 13).
    void KeyPress(QChar key);
    // The grid scrolled.
    void TopLeftChanged();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool IsFixedAt(const QPoint& viewportPos) const;
    void ShowCell(int col, int row, const QString& text);
    void WriteTable(int col, int row, const QString& text);

    int m_fixedCols;
    TPageTable* m_table = nullptr;
    TStringGridDelegate* m_delegate;
    QPersistentModelIndex m_editIndex;
};
