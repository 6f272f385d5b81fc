#include "TStringGrid.h"

#include "TPageTable.h"
#include "TStringGridDelegate.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

TStringGrid::TStringGrid(const QString& name, int rowCount, int colCount, int fixedCols,
                         int defaultColWidth, QWidget* parent)
    : QTableWidget(qMax(0, rowCount - 1), colCount, parent), m_fixedCols(fixedCols),
      m_delegate(new TStringGridDelegate(this))
{
    setObjectName(name);
    setItemDelegate(m_delegate);
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

    connect(m_delegate, &TStringGridDelegate::TextEdited, this,
            [this](const QModelIndex& index, const QString& text) {
                if (!index.isValid())
                    return;
                WriteTable(index.column(), index.row() + 1, text);
                emit SetEditText(index.column(), index.row() + 1, text);
            });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { emit TopLeftChanged(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { emit TopLeftChanged(); });
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
    ShowCell(col, row, text);
    WriteTable(col, row, text);
}

void TStringGrid::ShowCell(int col, int row, const QString& text)
{
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

void TStringGrid::WriteTable(int col, int row, const QString& text)
{
    if (m_table)
        m_table->setCell(col, row, text);
}

void TStringGrid::SetRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    const int col = currentColumn() >= m_fixedCols ? currentColumn() : m_fixedCols;
    setCurrentCell(row - 1, qMin(col, columnCount() - 1));
}

QRect TStringGrid::CellRect(int col, int row) const
{
    return visualRect(model()->index(row - 1, col));
}

void TStringGrid::BindTable(TPageTable* table)
{
    m_table = table;
    ShowTable();
}

void TStringGrid::ShowTable()
{
    if (!m_table)
        return;
    const QSignalBlocker quiet(this);
    SetRowCount(m_table->rowCount());
    SetColCount(m_table->columnCount());
    // Every cell gets an item, so that the fixed columns are read-only even
    // where the file left them empty.
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (int col = 0; col < m_table->columnCount(); ++col)
            ShowCell(col, row, m_table->cell(col, row));
    }
    // The first cell a user could select, as a fresh grid shows it.
    if (currentRow() < 0 && rowCount() > 0 && columnCount() > m_fixedCols)
        setCurrentCell(0, m_fixedCols);
}

bool TStringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool editing = QTableWidget::edit(index, trigger, event);
    if (editing && state() == EditingState)
        m_editIndex = index;
    return editing;
}

void TStringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const QPersistentModelIndex index = m_editIndex;
    m_editIndex = QPersistentModelIndex();
    QTableWidget::closeEditor(editor, hint);
    if (!index.isValid())
        return;
    // A committed editor has written the item; a reverted one left it as it
    // was. Either way the table takes what the cell now shows.
    const int col = index.column();
    const int row = index.row() + 1;
    const QString text = Cell(col, row);
    WriteTable(col, row, text);
    emit EditorClosed(col, row, text);
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        emit KeyPress(QChar(13));
}

QModelIndex TStringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex target = QTableWidget::moveCursor(cursorAction, modifiers);
    if (!target.isValid() || target.column() >= m_fixedCols)
        return target;
    if (columnCount() <= m_fixedCols)
        return currentIndex();
    return model()->index(target.row(), m_fixedCols);
}

void TStringGrid::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0));
    QTableWidget::keyPressEvent(event);
}

bool TStringGrid::IsFixedAt(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() && index.column() < m_fixedCols;
}

void TStringGrid::mousePressEvent(QMouseEvent* event)
{
    if (IsFixedAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (IsFixedAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (IsFixedAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
}
