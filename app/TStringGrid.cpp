#include "TStringGrid.h"

#include <QHeaderView>

TStringGrid::TStringGrid(const QString& name, int rowCount, int colCount, int fixedCols,
                         int defaultColWidth, QWidget* parent)
    : QTableWidget(qMax(0, rowCount - 1), colCount, parent), m_fixedCols(fixedCols)
{
    setObjectName(name);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(defaultColWidth);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // Until a table is loaded the title row is blank, not "1, 2, 3...".
    for (int c = 0; c < colCount; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
}

void TStringGrid::SetRowCount(int rows)
{
    setRowCount(qMax(0, rows - 1));
}

void TStringGrid::SetColCount(int cols)
{
    const int old = columnCount();
    setColumnCount(cols);
    for (int c = old; c < cols; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
}

QString TStringGrid::Cell(int col, int row) const
{
    const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell ? cell->text() : QString();
}

void TStringGrid::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= RowCount())
        return;
    if (row == 0) {
        if (QTableWidgetItem* header = horizontalHeaderItem(col))
            header->setText(text);
        else
            setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        return;
    }
    QTableWidgetItem* cell = item(row - 1, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        if (col < m_fixedCols) {
            cell->setFlags(Qt::ItemIsEnabled);
            cell->setBackground(palette().button());
        }
        setItem(row - 1, col, cell);
    }
    cell->setText(text);
}
